#include "effects/effects_table.h"

#include <array>
#include <cstddef>

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

// Entry N must keep its effect for ever: the numbers are what stored transition lists hold.
// Entries without a routine (nullptr) are skipped when the transition list is built.
constexpr Row kRows[] = {
    {1, {"Fade", Fade}},
    {2, {"Pixelate", Pixelate}},
    {3, {"Dissolve", Dissolve}},
    {4, {"Expand from right", ExpandFromRight}},
    {5, {"Expand from left", ExpandFromLeft}},
    {6, {"Slide in from right", SlideInFromRight}},
    {7, {"Slide in from left", SlideInFromLeft}},
    {8, {"Reveal from left", RevealFromLeft}},
    {9, {"Reveal from right", RevealFromRight}},
    {10, {"Expand in from right", ExpandInFromRight}},
    {11, {"Expand in from left", ExpandInFromLeft}},
    {12, {"Expand in to middle", ExpandInToMiddle}},
    {13, {"Expand out from middle", ExpandOutFromMiddle}},
    {14, {"Reveal out from middle", RevealOutFromMiddle}},
    {15, {"Reveal in from sides", RevealInFromSides}},
    {16, {"Expand in from sides", ExpandInFromSides}},
    {17, {"Unroll from left", UnrollFromLeft}},
    {18, {"Unroll from right", UnrollFromRight}},
    {19, {"Build up from right", BuildUpFromRight}},
    {20, {"Build up from left", BuildUpFromLeft}},
    {21, {"Expand from bottom", ExpandFromBottom}},
    {22, {"Expand from top", ExpandFromTop}},
    {23, {"Slide in from bottom", SlideInFromBottom}},
    {24, {"Slide in from top", SlideInFromTop}},
    {25, {"Reveal from top", RevealFromTop}},
    {26, {"Reveal from bottom", RevealFromBottom}},
    {27, {"Expand in from bottom", ExpandInFromBottom}},
    {28, {"Expand in from top", ExpandInFromTop}},
    {29, {"Expand in to middle (horiz)", ExpandInToMiddleHoriz}},
    {30, {"Expand out from middle (horiz)", ExpandOutFromMiddleHoriz}},
    {31, {"Reveal from middle (horiz)", RevealFromMiddleHoriz}},
    {32, {"Slide in from top / bottom", SlideInFromTopBottom}},
    {33, {"Expand in from top / bottom", ExpandInFromTopBottom}},
    {34, {"Unroll from top", UnrollFromTop}},
    {35, {"Unroll from bottom", UnrollFromBottom}},
    {36, {"Expand gradually from bottom", ExpandGraduallyFromBottom}},
    {37, {"Expand in gradually from top", ExpandInGraduallyFromTop}},
    {38, {"Expand from bottom right", ExpandFromBottomRight}},
    {39, {"Expand from top right", ExpandFromTopRight}},
    {40, {"Expand from top left", ExpandFromTopLeft}},
    {41, {"Expand from bottom left", ExpandFromBottomLeft}},
    {42, {"Slide in from bottom right", SlideInFromBottomRight}},
    {43, {"Slide in from top right", SlideInFromTopRight}},
    {44, {"Slide in from top left", SlideInFromTopLeft}},
    {45, {"Slide in from bottom left", SlideInFromBottomLeft}},
    {46, {"Reveal from top left", RevealFromTopLeft}},
    {47, {"Reveal from bottom left", RevealFromBottomLeft}},
    {48, {"Reveal from bottom right", RevealFromBottomRight}},
    {49, {"Reveal from top right", RevealFromTopRight}},
    {50, {"Appear and Contract to top left", AppearContractToTopLeft}},
    {51, {"Appear and Contract to bottom left", AppearContractToBottomLeft}},
    {52, {"Appear and Contract to bottom right", AppearContractToBottomRight}},
    {53, {"Appear and Contract to top right", AppearContractToTopRight}},
    {54, {"Appear and Contract to middle", AppearContractToMiddle}},
    {55, {"Expand out from centre", ExpandOutFromCentre}},
    {56, {"Reveal out from centre", RevealOutFromCentre}},
    {57, {"Reveal in to centre", RevealInToCentre}},
    {58, {"Quarters Reveal in to middle", QuartersRevealInToMiddle}},
    {59, {"Quarters Expand to middle", QuartersExpandToMiddle}},
    {60, {"Quarters Slide in to middle", QuartersSlideInToMiddle}},
    {61, {"Curved Reveal from left", CurvedRevealFromLeft}},
    {62, {"Curved Reveal from right", CurvedRevealFromRight}},
    {63, {"Bars in from right", BarsInFromRight}},
    {64, {"Bars in from left", BarsInFromLeft}},
    {65, {"Bars left then right", BarsLeftThenRight}},
    {66, {"Bars right then left", BarsRightThenLeft}},
    {67, {"Bars from both sides", BarsFromBothSides}},
    {68, {"Uneven shred from right", ShredFromRight}},
    {69, {"Uneven shred from left", ShredFromLeft}},
    {70, {"Uneven shred out from middle (horiz)", ShredOutFromMiddleHoriz}},
    {71, {"Uneven shred in to middle (horiz)", ShredInToMiddleHoriz}},
    {72, {"Curved Reveal from top", CurvedRevealFromTop}},
    {73, {"Curved Reveal from bottom", CurvedRevealFromBottom}},
    {74, {"Bars from bottom", BarsFromBottom}},
    {75, {"Bars from top", BarsFromTop}},
    {76, {"Bars top then bottom", BarsTopThenBottom}},
    {77, {"Bars bottom then top", BarsBottomThenTop}},
    {78, {"Bars from top and bottom", BarsFromTopAndBottom}},
    {79, {"Uneven shred from bottom", ShredFromBottom}},
    {80, {"Uneven shred from top", ShredFromTop}},
    {81, {"Uneven shred from horizon", ShredFromHorizon}},
    {82, {"Uneven shred in to horizon", ShredInToHorizon}},
    {83, {"Curved reveal from top left", CurvedRevealFromTopLeft}},
    {84, {"Curved reveal from top right", CurvedRevealFromTopRight}},
    {85, {"Curved reveal from bottom left", CurvedRevealFromBottomLeft}},
    {86, {"Curved reveal from bottom right", CurvedRevealFromBottomRight}},
    {87, {"Elliptic reveal out from centre", EllipticRevealOutFromCentre}},
    {88, {"Elliptic reveal in to centre", EllipticRevealInToCentre}},
    {89, {"Criss Cross from bottom right", CrissCrossFromBottomRight}},
    {90, {"Criss Cross from top right", CrissCrossFromTopRight}},
    {91, {"Criss Cross from bottom left", CrissCrossFromBottomLeft}},
    {92, {"Criss Cross from top left", CrissCrossFromTopLeft}},
    {93, {"Criss Cross bounce from top left", CrissCrossBounceFromTopLeft}},
    {94, {"Criss Cross bounce from bottom left", CrissCrossBounceFromBottomLeft}},
    {95, {"Criss Cross bounce from top right", CrissCrossBounceFromTopRight}},
    {96, {"Criss Cross bounce from bottom right", CrissCrossBounceFromBottomRight}},
    {97, {"Criss Cross from right top and bottom", CrissCrossFromRightTopAndBottom}},
    {98, {"Criss Cross from left top and bottom", CrissCrossFromLeftTopAndBottom}},
    {99, {"Criss Cross from left right and bottom", CrissCrossFromLeftRightAndBottom}},
    {100, {"Criss Cross from left right and top", CrissCrossFromLeftRightAndTop}},
    {101, {"Criss Cross from top left and bottom", CrissCrossFromTopLeftAndBottom}},
    {102, {"Criss Cross from bottom left top right", CrissCrossFromBottomLeftTopRight}},
    {103, {"Uneven shred from bottom and right", ShredFromBottomAndRight}},
    {104, {"Uneven shred from top and right", ShredFromTopAndRight}},
    {105, {"Uneven shred from bottom and left", ShredFromBottomAndLeft}},
    {106, {"Uneven shred from top and left", ShredFromTopAndLeft}},
    {107, {"Uneven shred from horiz and right", ShredFromHorizAndRight}},
    {108, {"Uneven shred from horiz and left", ShredFromHorizAndLeft}},
    {109, {"Uneven shred from bottom and vert middle", ShredFromBottomAndVertMiddle}},
    {110, {"Uneven shred from top and vert middle", ShredFromTopAndVertMiddle}},
    {111, {"Uneven shred from centre", ShredFromCentre}},
    {112, {"Uneven shred to centre", ShredToCentre}},
    {113, {"Reveal diagonal from top left", RevealDiagonalFromTopLeft}},
    {114, {"Reveal diagonal from top right", RevealDiagonalFromTopRight}},
    {115, {"Reveal diagonal from bottom left", RevealDiagonalFromBottomLeft}},
    {116, {"Reveal diagonal from bottom right", RevealDiagonalFromBottomRight}},
    {117, {"Diagonal sweep anticlockwise", DiagonalSweepAnticlockwise}},
    {118, {"Diagonal sweep clockwise", DiagonalSweepClockwise}},
    {119, {"Starburst clockwise from center", StarburstClockwiseFromCenter}},
    {120, {"Triangular shred", TriangularShred}},
    {121, {"Pivot from top left", PivotFromTopLeft}},
    {122, {"Pivot from bottom left", PivotFromBottomLeft}},
    {123, {"Pivot from top right", PivotFromTopRight}},
    {124, {"Pivot from bottom right", PivotFromBottomRight}},
    {125, {"Speckle appear from right", SpeckleAppearFromRight}},
    {126, {"Speckle appear from left", SpeckleAppearFromLeft}},
    {127, {"Speckle appear from bottom", SpeckleAppearFromBottom}},
    {128, {"Speckle appear from top", SpeckleAppearFromTop}},
    {129, {"Random squares appear", RandomSquaresAppear}},
    {130, {"Push right", PushRight}},
    {131, {"Push left", PushLeft}},
    {132, {"Push and squeeze right", PushSqueezeRight}},
    {133, {"Push and squeeze left", PushSqueezeLeft}},
    {134, {"Push down", PushDown}},
    {135, {"Push up", PushUp}},
    {136, {"Push and sqeeze down", PushSqueezeDown}},
    {137, {"Push and sqeeze up", PushSqueezeUp}},
    {138, {"Blind vertically", BlindVertically}},
    {139, {"Blind horizontally", BlindHorizontally}},
    {140, {"Uneven blind from left", UnevenBlindFromLeft}},
    {141, {"Uneven blind from right", UnevenBlindFromRight}},
    {142, {"Uneven blind from top", UnevenBlindFromTop}},
    {143, {"Uneven blind from bottom", UnevenBlindFromBottom}},
    {144, {"Rectangular shred", RectangularShred}},
    {145, {"Rectangles from left to right", RectanglesFromLeftToRight}},
    {146, {"Rectangles from right to left", RectanglesFromRightToLeft}},
    {147, {"Rectangles from up to bottom", RectanglesFromUpToBottom}},
    {148, {"Rectangles from bottom to up", RectanglesFromBottomToUp}},
    {149, {"Rotational rectangle in center", RotationalRectangleInCenter}},
    {150, {"Rotational star in center", RotationalStarInCenter}},
    {151, {"Spiral rectangle", SpiralRectangle}},
    {152, {"Circular shred", CircularShred}},
    {153, {"Reveal V from left", RevealVFromLeft}},
    {154, {"Reveal V from right", RevealVFromRight}},
    {155, {"Reveal V from top", RevealVFromTop}},
    {156, {"Reveal V from bottom", RevealVFromBottom}},
    {157, {"Bow Tie Horizontal", BowTieHorizontal}},
    {158, {"Bow Tie Vertical", BowTieVertical}},
    {159, {"Diagonal Cross In", DiagonalCrossIn}},
    {160, {"Diagonal Cross Out", DiagonalCrossOut}},
    {161, {"Starburst anticlockwise from center", StarburstAnticlockwiseFromCenter}},
    {162, {"Zigzag Horizontal", ZigzagHorizontal}},
    {163, {"Zigzag Vertical", ZigzagVertical}},
    {164, {"Diamond shred", DiamondShred}},
    {165, {"Reveal diamond out from centre", RevealDiamondOutFromCentre}},
    {166, {"Reveal diamond in to centre", RevealDiamondInToCentre}},
    {167, {"Diagonal Box Out", DiagonalBoxOut}},
    {168, {"Random Bars Horizontal", RandomBarsHorizontal}},
    {169, {"Random Bars Vertical", RandomBarsVertical}},
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
