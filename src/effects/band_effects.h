// Band and grid transitions: the new picture shows through a region made of many bands,
// slats or cells (bars and criss-cross patterns, jagged shreds, speckles, random squares,
// blinds, stripes, and grids of growing squares, circles, diamonds and triangles).
//
// The region builders are public so that their geometry can be checked on its own; the
// procs follow the effect contract of effect.h.
#pragma once

#include "effects/effect.h"

namespace kx {

class TComplexRegion;

// Full-width bands down the picture (horizontal kind hk, progress px) and full-height bands
// across it (vertical kind vk, progress py). Kinds: 0 off; 1 from the right (bottom);
// 2 from the left (top); 3 odd bands from the left (top) and even bands from the right
// (bottom) at once; 4 even bands from the left (top), then odd ones from the right
// (bottom); 5 the reverse of 4. Kinds 1, 2, 4 and 5 fill in two phases over 0..2W (0..2H).
void BarsRegion(TComplexRegion& region, int px, int py, int W, int H, int hk, int vk);

// Thin bands with a random edge. Kinds: 0 off; 1 from the right (bottom); 2 from the left
// (top); 3 out from the middle line; 4 in from both sides. One random draw per band (the
// draws are made also when the edge is straight: at no progress and at full progress).
void ShredRegion(TComplexRegion& region, int px, int py, int W, int H, int hk, int vk);

// A solid band from one edge with loose square speckles ahead of it. Kinds: 0 off;
// 1 from the right (bottom); any other from the left (top). No speckles at no progress
// and at full progress.
void SpeckleRegion(TComplexRegion& region, int px, int py, int W, int H, int hk, int vk);

// The signature of an effect routine, for declaring the routines below.
using TBandEffectRoutine = void(Bitmap32& Dst, const Bitmap32& Src, int Width, int Height,
                                int XProgress, int YProgress, int Percent);

// The bodies most routines share. Each takes the routine's arguments and then the constants
// that make one effect of its family.
namespace band {

// m multiplies both progresses (the two-phase kinds run over 0..2W); hk and vk are the
// kinds of BarsRegion.
void Bars(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P, int m, int hk,
          int vk);
// hk and vk are the kinds of ShredRegion and SpeckleRegion.
void Shred(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P, int hk, int vk);
void Speckle(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P, int hk,
             int vk);
// Full-height slats every X pixels (full-width slats every Y pixels with swap), each
// MulDiv(X, P, 100) wide, laid from the left (top) when forward, else from the right (bottom).
void UnevenBlind(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P,
                 bool swap, bool forward);
// Stripes across the picture plus an uneven blind; vertical stripes the columns and slats
// the rows.
void Rectangles(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P,
                bool vertical, bool forward);

// The effect routine that runs Body with the constants Args after its own arguments.
template <auto Body, int... Args>
void Routine(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  Body(Dst, Src, W, H, X, Y, P, Args...);
}

}  // namespace band

inline constexpr TEffectProc BarsInFromRight = band::Routine<band::Bars, 2, 1, 0>;  // 63
inline constexpr TEffectProc BarsInFromLeft = band::Routine<band::Bars, 2, 2, 0>;  // 64
inline constexpr TEffectProc BarsLeftThenRight = band::Routine<band::Bars, 2, 4, 0>;  // 65
inline constexpr TEffectProc BarsRightThenLeft = band::Routine<band::Bars, 2, 5, 0>;  // 66
inline constexpr TEffectProc BarsFromBothSides = band::Routine<band::Bars, 1, 3, 0>;  // 67
inline constexpr TEffectProc ShredFromRight = band::Routine<band::Shred, 1, 0>;  // 68
inline constexpr TEffectProc ShredFromLeft = band::Routine<band::Shred, 2, 0>;  // 69
inline constexpr TEffectProc ShredOutFromMiddleHoriz = band::Routine<band::Shred, 3, 0>;  // 70
inline constexpr TEffectProc ShredInToMiddleHoriz = band::Routine<band::Shred, 4, 0>;  // 71
inline constexpr TEffectProc BarsFromBottom = band::Routine<band::Bars, 2, 0, 1>;  // 74
inline constexpr TEffectProc BarsFromTop = band::Routine<band::Bars, 2, 0, 2>;  // 75
inline constexpr TEffectProc BarsTopThenBottom = band::Routine<band::Bars, 2, 0, 4>;  // 76
inline constexpr TEffectProc BarsBottomThenTop = band::Routine<band::Bars, 2, 0, 5>;  // 77
inline constexpr TEffectProc BarsFromTopAndBottom = band::Routine<band::Bars, 1, 0, 3>;  // 78
inline constexpr TEffectProc ShredFromBottom = band::Routine<band::Shred, 0, 1>;  // 79
inline constexpr TEffectProc ShredFromTop = band::Routine<band::Shred, 0, 2>;  // 80
inline constexpr TEffectProc ShredFromHorizon = band::Routine<band::Shred, 0, 3>;  // 81
inline constexpr TEffectProc ShredInToHorizon = band::Routine<band::Shred, 0, 4>;  // 82
inline constexpr TEffectProc CrissCrossFromBottomRight = band::Routine<band::Bars, 2, 1, 1>;  // 89
inline constexpr TEffectProc CrissCrossFromTopRight = band::Routine<band::Bars, 2, 1, 2>;  // 90
inline constexpr TEffectProc CrissCrossFromBottomLeft = band::Routine<band::Bars, 2, 2, 1>;  // 91
inline constexpr TEffectProc CrissCrossFromTopLeft = band::Routine<band::Bars, 2, 2, 2>;  // 92
inline constexpr TEffectProc CrissCrossBounceFromTopLeft = band::Routine<band::Bars, 2, 4, 4>;  // 93
inline constexpr TEffectProc CrissCrossBounceFromBottomLeft = band::Routine<band::Bars, 2, 4, 5>;  // 94
inline constexpr TEffectProc CrissCrossBounceFromTopRight = band::Routine<band::Bars, 2, 5, 4>;  // 95
inline constexpr TEffectProc CrissCrossBounceFromBottomRight = band::Routine<band::Bars, 2, 5, 5>;  // 96
inline constexpr TEffectProc CrissCrossFromRightTopAndBottom = band::Routine<band::Bars, 1, 1, 3>;  // 97
inline constexpr TEffectProc CrissCrossFromLeftTopAndBottom = band::Routine<band::Bars, 1, 2, 3>;  // 98
inline constexpr TEffectProc CrissCrossFromLeftRightAndBottom = band::Routine<band::Bars, 1, 3, 1>;  // 99
inline constexpr TEffectProc CrissCrossFromLeftRightAndTop = band::Routine<band::Bars, 1, 3, 2>;  // 100
inline constexpr TEffectProc CrissCrossFromTopLeftAndBottom = band::Routine<band::Bars, 1, 3, 3>;  // 101
TBandEffectRoutine CrissCrossFromBottomLeftTopRight;  // 102
inline constexpr TEffectProc ShredFromBottomAndRight = band::Routine<band::Shred, 1, 1>;  // 103
inline constexpr TEffectProc ShredFromTopAndRight = band::Routine<band::Shred, 1, 2>;  // 104
inline constexpr TEffectProc ShredFromBottomAndLeft = band::Routine<band::Shred, 2, 1>;  // 105
inline constexpr TEffectProc ShredFromTopAndLeft = band::Routine<band::Shred, 2, 2>;  // 106
inline constexpr TEffectProc ShredFromHorizAndRight = band::Routine<band::Shred, 1, 3>;  // 107
inline constexpr TEffectProc ShredFromHorizAndLeft = band::Routine<band::Shred, 2, 3>;  // 108
inline constexpr TEffectProc ShredFromBottomAndVertMiddle = band::Routine<band::Shred, 3, 1>;  // 109
inline constexpr TEffectProc ShredFromTopAndVertMiddle = band::Routine<band::Shred, 3, 2>;  // 110
inline constexpr TEffectProc ShredFromCentre = band::Routine<band::Shred, 3, 3>;  // 111
inline constexpr TEffectProc ShredToCentre = band::Routine<band::Shred, 4, 4>;  // 112
TBandEffectRoutine TriangularShred;  // 120
inline constexpr TEffectProc SpeckleAppearFromRight = band::Routine<band::Speckle, 1, 0>;  // 125
inline constexpr TEffectProc SpeckleAppearFromLeft = band::Routine<band::Speckle, 2, 0>;  // 126
inline constexpr TEffectProc SpeckleAppearFromBottom = band::Routine<band::Speckle, 0, 1>;  // 127
inline constexpr TEffectProc SpeckleAppearFromTop = band::Routine<band::Speckle, 0, 2>;  // 128
TBandEffectRoutine RandomSquaresAppear;  // 129
TBandEffectRoutine BlindVertically;  // 138
TBandEffectRoutine BlindHorizontally;  // 139
inline constexpr TEffectProc UnevenBlindFromLeft = band::Routine<band::UnevenBlind, 0, 1>;  // 140
inline constexpr TEffectProc UnevenBlindFromRight = band::Routine<band::UnevenBlind, 0, 0>;  // 141
inline constexpr TEffectProc UnevenBlindFromTop = band::Routine<band::UnevenBlind, 1, 1>;  // 142
inline constexpr TEffectProc UnevenBlindFromBottom = band::Routine<band::UnevenBlind, 1, 0>;  // 143
TBandEffectRoutine RectangularShred;  // 144
inline constexpr TEffectProc RectanglesFromLeftToRight = band::Routine<band::Rectangles, 0, 1>;  // 145
inline constexpr TEffectProc RectanglesFromRightToLeft = band::Routine<band::Rectangles, 0, 0>;  // 146
inline constexpr TEffectProc RectanglesFromUpToBottom = band::Routine<band::Rectangles, 1, 1>;  // 147
inline constexpr TEffectProc RectanglesFromBottomToUp = band::Routine<band::Rectangles, 1, 0>;  // 148
TBandEffectRoutine CircularShred;  // 152
TBandEffectRoutine DiamondShred;  // 164

}  // namespace kx
