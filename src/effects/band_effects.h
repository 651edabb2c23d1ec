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

TBandEffectRoutine BarsInFromRight;                      // 63
TBandEffectRoutine BarsInFromLeft;                       // 64
TBandEffectRoutine BarsLeftThenRight;                    // 65
TBandEffectRoutine BarsRightThenLeft;                    // 66
TBandEffectRoutine BarsFromBothSides;                    // 67
TBandEffectRoutine ShredFromRight;                       // 68
TBandEffectRoutine ShredFromLeft;                        // 69
TBandEffectRoutine ShredOutFromMiddleHoriz;              // 70
TBandEffectRoutine ShredInToMiddleHoriz;                 // 71
TBandEffectRoutine BarsFromBottom;                       // 74
TBandEffectRoutine BarsFromTop;                          // 75
TBandEffectRoutine BarsTopThenBottom;                    // 76
TBandEffectRoutine BarsBottomThenTop;                    // 77
TBandEffectRoutine BarsFromTopAndBottom;                 // 78
TBandEffectRoutine ShredFromBottom;                      // 79
TBandEffectRoutine ShredFromTop;                         // 80
TBandEffectRoutine ShredFromHorizon;                     // 81
TBandEffectRoutine ShredInToHorizon;                     // 82
TBandEffectRoutine CrissCrossFromBottomRight;            // 89
TBandEffectRoutine CrissCrossFromTopRight;               // 90
TBandEffectRoutine CrissCrossFromBottomLeft;             // 91
TBandEffectRoutine CrissCrossFromTopLeft;                // 92
TBandEffectRoutine CrissCrossBounceFromTopLeft;          // 93
TBandEffectRoutine CrissCrossBounceFromBottomLeft;       // 94
TBandEffectRoutine CrissCrossBounceFromTopRight;         // 95
TBandEffectRoutine CrissCrossBounceFromBottomRight;      // 96
TBandEffectRoutine CrissCrossFromRightTopAndBottom;      // 97
TBandEffectRoutine CrissCrossFromLeftTopAndBottom;       // 98
TBandEffectRoutine CrissCrossFromLeftRightAndBottom;     // 99
TBandEffectRoutine CrissCrossFromLeftRightAndTop;        // 100
TBandEffectRoutine CrissCrossFromTopLeftAndBottom;       // 101
TBandEffectRoutine CrissCrossFromBottomLeftTopRight;     // 102
TBandEffectRoutine ShredFromBottomAndRight;              // 103
TBandEffectRoutine ShredFromTopAndRight;                 // 104
TBandEffectRoutine ShredFromBottomAndLeft;               // 105
TBandEffectRoutine ShredFromTopAndLeft;                  // 106
TBandEffectRoutine ShredFromHorizAndRight;               // 107
TBandEffectRoutine ShredFromHorizAndLeft;                // 108
TBandEffectRoutine ShredFromBottomAndVertMiddle;         // 109
TBandEffectRoutine ShredFromTopAndVertMiddle;            // 110
TBandEffectRoutine ShredFromCentre;                      // 111
TBandEffectRoutine ShredToCentre;                        // 112
TBandEffectRoutine TriangularShred;                      // 120
TBandEffectRoutine SpeckleAppearFromRight;               // 125
TBandEffectRoutine SpeckleAppearFromLeft;                // 126
TBandEffectRoutine SpeckleAppearFromBottom;              // 127
TBandEffectRoutine SpeckleAppearFromTop;                 // 128
TBandEffectRoutine RandomSquaresAppear;                  // 129
TBandEffectRoutine BlindVertically;                      // 138
TBandEffectRoutine BlindHorizontally;                    // 139
TBandEffectRoutine UnevenBlindFromLeft;                  // 140
TBandEffectRoutine UnevenBlindFromRight;                 // 141
TBandEffectRoutine UnevenBlindFromTop;                   // 142
TBandEffectRoutine UnevenBlindFromBottom;                // 143
TBandEffectRoutine RectangularShred;                     // 144
TBandEffectRoutine RectanglesFromLeftToRight;            // 145
TBandEffectRoutine RectanglesFromRightToLeft;            // 146
TBandEffectRoutine RectanglesFromUpToBottom;             // 147
TBandEffectRoutine RectanglesFromBottomToUp;             // 148
TBandEffectRoutine CircularShred;                        // 152
TBandEffectRoutine DiamondShred;                         // 164

}  // namespace kx
