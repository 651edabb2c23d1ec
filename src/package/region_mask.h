// The region mask of a living picture. In a picture file it is a list of integers: the
// mask's width and height, then runs v with v / 10 pixels of region code v % 10, filling
// the mask row by row, left to right, top to bottom (a run may continue on the next row).
// Codes 1 to 6 are the six water regions, each shown in the mask by its own colour:
//   1 red, 2 magenta, 3 blue, 4 cyan, 5 green, 6 yellow;
// 0 and the codes 7 to 9 (which nothing defines) are "no region" and black.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/bitmap32.h"

namespace kx {

// The mask colour of a region code 0..9 (opaque; black for no region).
Pixel RegionColor(int code);
// The region 1..6 of a mask pixel (alpha ignored), 0 for any other colour.
int RegionOfPixel(Pixel p);

// Decodes runs into `mask`. Fewer than three entries give just the size (an empty list an
// empty mask). Runs that go past the last row, or a size too large for a bitmap, fail.
// A run with a negative value counts as no pixels.
bool DecodeRegionMask(const std::vector<int32_t>& runs, Bitmap32& mask, std::string& error);

// The runs of a mask: each pixel's region (RegionOfPixel) run-length coded.
std::vector<int32_t> EncodeRegionMask(const Bitmap32& mask);

}  // namespace kx
