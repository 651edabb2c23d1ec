#include "effects/effects_table.h"

#include <array>
#include <cstddef>
#include <type_traits>

#include "effects/band_effects.h"
#include "effects/effects_moving.h"
#include "effects/effects_pixel.h"
#include "effects/shape_effects.h"

namespace kx {

namespace {

struct Row {
  int Number;
  TEffect Effect;
};

// One entry. Every effect has a routine: a null one does not compile.
template <class Proc>
constexpr Row R(int number, const char* name, Proc proc) {
  static_assert(std::is_same_v<Proc, TEffectProc>, "every effect of the table has a routine");
  return {number, {name, proc}};
}

// Entry N must keep its effect for ever: the numbers are what stored transition lists hold.
constexpr Row kRows[] = {
    R(1, "Fade", Fade),
    R(2, "Pixelate", Pixelate),
    R(3, "Dissolve", Dissolve),
    R(4, "Expand from right", ExpandFromRight),
    R(5, "Expand from left", ExpandFromLeft),
    R(6, "Slide in from right", SlideInFromRight),
    R(7, "Slide in from left", SlideInFromLeft),
    R(8, "Reveal from left", RevealFromLeft),
    R(9, "Reveal from right", RevealFromRight),
    R(10, "Expand in from right", ExpandInFromRight),
    R(11, "Expand in from left", ExpandInFromLeft),
    R(12, "Expand in to middle", ExpandInToMiddle),
    R(13, "Expand out from middle", ExpandOutFromMiddle),
    R(14, "Reveal out from middle", RevealOutFromMiddle),
    R(15, "Reveal in from sides", RevealInFromSides),
    R(16, "Expand in from sides", ExpandInFromSides),
    R(17, "Unroll from left", UnrollFromLeft),
    R(18, "Unroll from right", UnrollFromRight),
    R(19, "Build up from right", BuildUpFromRight),
    R(20, "Build up from left", BuildUpFromLeft),
    R(21, "Expand from bottom", ExpandFromBottom),
    R(22, "Expand from top", ExpandFromTop),
    R(23, "Slide in from bottom", SlideInFromBottom),
    R(24, "Slide in from top", SlideInFromTop),
    R(25, "Reveal from top", RevealFromTop),
    R(26, "Reveal from bottom", RevealFromBottom),
    R(27, "Expand in from bottom", ExpandInFromBottom),
    R(28, "Expand in from top", ExpandInFromTop),
    R(29, "Expand in to middle (horiz)", ExpandInToMiddleHoriz),
    R(30, "Expand out from middle (horiz)", ExpandOutFromMiddleHoriz),
    R(31, "Reveal from middle (horiz)", RevealFromMiddleHoriz),
    R(32, "Slide in from top / bottom", SlideInFromTopBottom),
    R(33, "Expand in from top / bottom", ExpandInFromTopBottom),
    R(34, "Unroll from top", UnrollFromTop),
    R(35, "Unroll from bottom", UnrollFromBottom),
    R(36, "Expand gradually from bottom", ExpandGraduallyFromBottom),
    R(37, "Expand in gradually from top", ExpandInGraduallyFromTop),
    R(38, "Expand from bottom right", ExpandFromBottomRight),
    R(39, "Expand from top right", ExpandFromTopRight),
    R(40, "Expand from top left", ExpandFromTopLeft),
    R(41, "Expand from bottom left", ExpandFromBottomLeft),
    R(42, "Slide in from bottom right", SlideInFromBottomRight),
    R(43, "Slide in from top right", SlideInFromTopRight),
    R(44, "Slide in from top left", SlideInFromTopLeft),
    R(45, "Slide in from bottom left", SlideInFromBottomLeft),
    R(46, "Reveal from top left", RevealFromTopLeft),
    R(47, "Reveal from bottom left", RevealFromBottomLeft),
    R(48, "Reveal from bottom right", RevealFromBottomRight),
    R(49, "Reveal from top right", RevealFromTopRight),
    R(50, "Appear and Contract to top left", AppearContractToTopLeft),
    R(51, "Appear and Contract to bottom left", AppearContractToBottomLeft),
    R(52, "Appear and Contract to bottom right", AppearContractToBottomRight),
    R(53, "Appear and Contract to top right", AppearContractToTopRight),
    R(54, "Appear and Contract to middle", AppearContractToMiddle),
    R(55, "Expand out from centre", ExpandOutFromCentre),
    R(56, "Reveal out from centre", RevealOutFromCentre),
    R(57, "Reveal in to centre", RevealInToCentre),
    R(58, "Quarters Reveal in to middle", QuartersRevealInToMiddle),
    R(59, "Quarters Expand to middle", QuartersExpandToMiddle),
    R(60, "Quarters Slide in to middle", QuartersSlideInToMiddle),
    R(61, "Curved Reveal from left", CurvedRevealFromLeft),
    R(62, "Curved Reveal from right", CurvedRevealFromRight),
    R(63, "Bars in from right", BarsInFromRight),
    R(64, "Bars in from left", BarsInFromLeft),
    R(65, "Bars left then right", BarsLeftThenRight),
    R(66, "Bars right then left", BarsRightThenLeft),
    R(67, "Bars from both sides", BarsFromBothSides),
    R(68, "Uneven shred from right", ShredFromRight),
    R(69, "Uneven shred from left", ShredFromLeft),
    R(70, "Uneven shred out from middle (horiz)", ShredOutFromMiddleHoriz),
    R(71, "Uneven shred in to middle (horiz)", ShredInToMiddleHoriz),
    R(72, "Curved Reveal from top", CurvedRevealFromTop),
    R(73, "Curved Reveal from bottom", CurvedRevealFromBottom),
    R(74, "Bars from bottom", BarsFromBottom),
    R(75, "Bars from top", BarsFromTop),
    R(76, "Bars top then bottom", BarsTopThenBottom),
    R(77, "Bars bottom then top", BarsBottomThenTop),
    R(78, "Bars from top and bottom", BarsFromTopAndBottom),
    R(79, "Uneven shred from bottom", ShredFromBottom),
    R(80, "Uneven shred from top", ShredFromTop),
    R(81, "Uneven shred from horizon", ShredFromHorizon),
    R(82, "Uneven shred in to horizon", ShredInToHorizon),
    R(83, "Curved reveal from top left", CurvedRevealFromTopLeft),
    R(84, "Curved reveal from top right", CurvedRevealFromTopRight),
    R(85, "Curved reveal from bottom left", CurvedRevealFromBottomLeft),
    R(86, "Curved reveal from bottom right", CurvedRevealFromBottomRight),
    R(87, "Elliptic reveal out from centre", EllipticRevealOutFromCentre),
    R(88, "Elliptic reveal in to centre", EllipticRevealInToCentre),
    R(89, "Criss Cross from bottom right", CrissCrossFromBottomRight),
    R(90, "Criss Cross from top right", CrissCrossFromTopRight),
    R(91, "Criss Cross from bottom left", CrissCrossFromBottomLeft),
    R(92, "Criss Cross from top left", CrissCrossFromTopLeft),
    R(93, "Criss Cross bounce from top left", CrissCrossBounceFromTopLeft),
    R(94, "Criss Cross bounce from bottom left", CrissCrossBounceFromBottomLeft),
    R(95, "Criss Cross bounce from top right", CrissCrossBounceFromTopRight),
    R(96, "Criss Cross bounce from bottom right", CrissCrossBounceFromBottomRight),
    R(97, "Criss Cross from right top and bottom", CrissCrossFromRightTopAndBottom),
    R(98, "Criss Cross from left top and bottom", CrissCrossFromLeftTopAndBottom),
    R(99, "Criss Cross from left right and bottom", CrissCrossFromLeftRightAndBottom),
    R(100, "Criss Cross from left right and top", CrissCrossFromLeftRightAndTop),
    R(101, "Criss Cross from top left and bottom", CrissCrossFromTopLeftAndBottom),
    R(102, "Criss Cross from bottom left top right", CrissCrossFromBottomLeftTopRight),
    R(103, "Uneven shred from bottom and right", ShredFromBottomAndRight),
    R(104, "Uneven shred from top and right", ShredFromTopAndRight),
    R(105, "Uneven shred from bottom and left", ShredFromBottomAndLeft),
    R(106, "Uneven shred from top and left", ShredFromTopAndLeft),
    R(107, "Uneven shred from horiz and right", ShredFromHorizAndRight),
    R(108, "Uneven shred from horiz and left", ShredFromHorizAndLeft),
    R(109, "Uneven shred from bottom and vert middle", ShredFromBottomAndVertMiddle),
    R(110, "Uneven shred from top and vert middle", ShredFromTopAndVertMiddle),
    R(111, "Uneven shred from centre", ShredFromCentre),
    R(112, "Uneven shred to centre", ShredToCentre),
    R(113, "Reveal diagonal from top left", RevealDiagonalFromTopLeft),
    R(114, "Reveal diagonal from top right", RevealDiagonalFromTopRight),
    R(115, "Reveal diagonal from bottom left", RevealDiagonalFromBottomLeft),
    R(116, "Reveal diagonal from bottom right", RevealDiagonalFromBottomRight),
    R(117, "Diagonal sweep anticlockwise", DiagonalSweepAnticlockwise),
    R(118, "Diagonal sweep clockwise", DiagonalSweepClockwise),
    R(119, "Starburst clockwise from center", StarburstClockwiseFromCenter),
    R(120, "Triangular shred", TriangularShred),
    R(121, "Pivot from top left", PivotFromTopLeft),
    R(122, "Pivot from bottom left", PivotFromBottomLeft),
    R(123, "Pivot from top right", PivotFromTopRight),
    R(124, "Pivot from bottom right", PivotFromBottomRight),
    R(125, "Speckle appear from right", SpeckleAppearFromRight),
    R(126, "Speckle appear from left", SpeckleAppearFromLeft),
    R(127, "Speckle appear from bottom", SpeckleAppearFromBottom),
    R(128, "Speckle appear from top", SpeckleAppearFromTop),
    R(129, "Random squares appear", RandomSquaresAppear),
    R(130, "Push right", PushRight),
    R(131, "Push left", PushLeft),
    R(132, "Push and squeeze right", PushSqueezeRight),
    R(133, "Push and squeeze left", PushSqueezeLeft),
    R(134, "Push down", PushDown),
    R(135, "Push up", PushUp),
    R(136, "Push and sqeeze down", PushSqueezeDown),
    R(137, "Push and sqeeze up", PushSqueezeUp),
    R(138, "Blind vertically", BlindVertically),
    R(139, "Blind horizontally", BlindHorizontally),
    R(140, "Uneven blind from left", UnevenBlindFromLeft),
    R(141, "Uneven blind from right", UnevenBlindFromRight),
    R(142, "Uneven blind from top", UnevenBlindFromTop),
    R(143, "Uneven blind from bottom", UnevenBlindFromBottom),
    R(144, "Rectangular shred", RectangularShred),
    R(145, "Rectangles from left to right", RectanglesFromLeftToRight),
    R(146, "Rectangles from right to left", RectanglesFromRightToLeft),
    R(147, "Rectangles from up to bottom", RectanglesFromUpToBottom),
    R(148, "Rectangles from bottom to up", RectanglesFromBottomToUp),
    R(149, "Rotational rectangle in center", RotationalRectangleInCenter),
    R(150, "Rotational star in center", RotationalStarInCenter),
    R(151, "Spiral rectangle", SpiralRectangle),
    R(152, "Circular shred", CircularShred),
    R(153, "Reveal V from left", RevealVFromLeft),
    R(154, "Reveal V from right", RevealVFromRight),
    R(155, "Reveal V from top", RevealVFromTop),
    R(156, "Reveal V from bottom", RevealVFromBottom),
    R(157, "Bow Tie Horizontal", BowTieHorizontal),
    R(158, "Bow Tie Vertical", BowTieVertical),
    R(159, "Diagonal Cross In", DiagonalCrossIn),
    R(160, "Diagonal Cross Out", DiagonalCrossOut),
    R(161, "Starburst anticlockwise from center", StarburstAnticlockwiseFromCenter),
    R(162, "Zigzag Horizontal", ZigzagHorizontal),
    R(163, "Zigzag Vertical", ZigzagVertical),
    R(164, "Diamond shred", DiamondShred),
    R(165, "Reveal diamond out from centre", RevealDiamondOutFromCentre),
    R(166, "Reveal diamond in to centre", RevealDiamondInToCentre),
    R(167, "Diagonal Box Out", DiagonalBoxOut),
    R(168, "Random Bars Horizontal", RandomBarsHorizontal),
    R(169, "Random Bars Vertical", RandomBarsVertical),
};

static_assert(std::size(kRows) == EffectCount, "the effect table has 169 entries");

constexpr bool NumberedInOrder() {
  for (std::size_t k = 0; k < std::size(kRows); ++k)
    if (kRows[k].Number != static_cast<int>(k) + 1) return false;
  return true;
}
static_assert(NumberedInOrder(), "entry N of the effect table is effect number N");

constexpr EffectTable MakeTable() {
  EffectTable t{};
  for (std::size_t k = 0; k < std::size(kRows); ++k) t.Entries[k] = kRows[k].Effect;
  return t;
}

}  // namespace

constinit const EffectTable Effects = MakeTable();

}  // namespace kx
