// The drawing operations the transition effects are written against.
//
// All of them work on Bitmap32 pictures and cut every block at the picture's edges: a
// block that reaches outside the destination (or the source) draws only its part inside;
// a block of zero or negative width or height draws nothing (except the mirrored
// destination of StretchRect). Only Dst is ever written. Pixels outside the pictures are
// never touched. Blending touches blue, green and red and keeps Dst's fourth byte; copying
// moves all four bytes.
#pragma once

#include "effects/region.h"
#include "media/bitmap32.h"

namespace kx {

// Copies the w x h block at (sx, sy) of src to (dx, dy) of dst. src may be dst itself:
// overlapping blocks are copied as if through a temporary copy.
void CopyRect(Bitmap32& dst, const Bitmap32& src, int w, int h, int sx, int sy, int dx, int dy);

// Scales the block (sx, sy, sw, sh) of src onto the block (dx, dy, dw, dh) of dst by nearest
// pixel: destination column i (counted from the block's first column drawn) takes source
// column sx + floor(i * sw / |dw|), rows likewise. A negative dw (dh) mirrors the block:
// (dx, dy) then names the first column (row) drawn, the rightmost (lowest), and the block
// covers columns dx + dw + 1 .. dx. Destination pixels whose source pixel lies outside src
// keep their value. src may be dst itself; it is read as it was before the call.
// sw <= 0, sh <= 0, dw = 0 or dh = 0 draws nothing.
void StretchRect(Bitmap32& dst, const Bitmap32& src, int sx, int sy, int sw, int sh, int dx, int dy,
                 int dw, int dh);

// Reveals src through the region: every pixel of the region that lies inside dst takes
// the src pixel at the same position (clip to the region, copy the whole of src at (0, 0),
// clear the clip). src and dst must have the same size; otherwise the common part is used.
void RevealThroughRegion(Bitmap32& dst, const Bitmap32& src, const Region& region);

// Blends the block (left, top, width, height) of src into dst at the same position, with
// weight a := MulDiv(256, percent, 100): d := d + floor(a * (s - d) / 256) for blue, green
// and red. percent 100 gives src exactly, 0 leaves dst.
void BlendRect(Bitmap32& dst, const Bitmap32& src, int percent, int left, int top, int width, int height);

// The shading of a roll: adds an offset to blue, green and red of the pixels of the columns
// first .. first + count - 1 (all rows), each result clamped to 0..255. With
// half := count div 2 the offsets start at -amount; if half < amount they climb by
// amount div half per column up to column half and fall back after it; otherwise they climb
// by 1 every (half div amount) columns in the first half and fall by 1 likewise after it.
// Does nothing unless count > 1 and amount != 0. Columns outside dst are skipped.
void ShadeColumns(Bitmap32& dst, int amount, int first, int count);

// The same for rows first .. first + count - 1, counted from the band's lowest row upward;
// each offset is added to every pixel of its row.
void ShadeRows(Bitmap32& dst, int amount, int first, int count);

}  // namespace kx
