// Shape transitions: the new picture shows through one geometric shape, or a few, whose
// size, position or angle follows the progress: curved and elliptic reveals, diagonal
// triangles and sweeps, starbursts, V shapes and bow ties, diagonal crosses, zigzag
// ribbons, diamonds, and rotating rectangles and stars.
#pragma once

#include "effects/effect.h"

namespace kx {

// Turns every point (x, y) of the flat list xy (pointCount points) by theta radians about
// (ox, oy), rounding each coordinate to the nearest integer (halves to even). With y
// pointing down a positive angle turns clockwise on screen.
void RotatePoints(int* xy, int pointCount, int ox, int oy, double theta);

// The signature of an effect routine, for declaring the routines below.
using TShapeEffectRoutine = void(Bitmap32& Dst, const Bitmap32& Src, int Width, int Height,
                                 int XProgress, int YProgress, int Percent);

TShapeEffectRoutine CurvedRevealFromLeft;              // 61
TShapeEffectRoutine CurvedRevealFromRight;             // 62
TShapeEffectRoutine CurvedRevealFromTop;               // 72
TShapeEffectRoutine CurvedRevealFromBottom;            // 73
TShapeEffectRoutine CurvedRevealFromTopLeft;           // 83
TShapeEffectRoutine CurvedRevealFromTopRight;          // 84
TShapeEffectRoutine CurvedRevealFromBottomLeft;        // 85
TShapeEffectRoutine CurvedRevealFromBottomRight;       // 86
TShapeEffectRoutine EllipticRevealOutFromCentre;       // 87
TShapeEffectRoutine EllipticRevealInToCentre;          // 88
TShapeEffectRoutine RevealDiagonalFromTopLeft;         // 113
TShapeEffectRoutine RevealDiagonalFromTopRight;        // 114
TShapeEffectRoutine RevealDiagonalFromBottomLeft;      // 115
TShapeEffectRoutine RevealDiagonalFromBottomRight;     // 116
TShapeEffectRoutine DiagonalSweepAnticlockwise;        // 117
TShapeEffectRoutine DiagonalSweepClockwise;            // 118
TShapeEffectRoutine StarburstClockwiseFromCenter;      // 119
TShapeEffectRoutine RotationalRectangleInCenter;       // 149
TShapeEffectRoutine RotationalStarInCenter;            // 150
TShapeEffectRoutine SpiralRectangle;                   // 151
TShapeEffectRoutine RevealVFromLeft;                   // 153
TShapeEffectRoutine RevealVFromRight;                  // 154
TShapeEffectRoutine RevealVFromTop;                    // 155
TShapeEffectRoutine RevealVFromBottom;                 // 156
TShapeEffectRoutine BowTieHorizontal;                  // 157
TShapeEffectRoutine BowTieVertical;                    // 158
TShapeEffectRoutine DiagonalCrossIn;                   // 159
TShapeEffectRoutine DiagonalCrossOut;                  // 160
TShapeEffectRoutine StarburstAnticlockwiseFromCenter;  // 161
TShapeEffectRoutine ZigzagHorizontal;                  // 162
TShapeEffectRoutine ZigzagVertical;                    // 163
TShapeEffectRoutine RevealDiamondOutFromCentre;        // 165
TShapeEffectRoutine RevealDiamondInToCentre;           // 166
TShapeEffectRoutine DiagonalBoxOut;                    // 167

}  // namespace kx
