#include "media/bmp_decoder.h"

#include <algorithm>
#include <vector>

namespace kx {
namespace {

constexpr int64_t kMaxBmpPixels = int64_t{1} << 28;

uint32_t U16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t U32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// A channel taken out by its mask and scaled to 0..255.
struct Channel {
  int shift = 0;
  int bits = 0;
  uint32_t mask = 0;
  explicit Channel(uint32_t m = 0) : mask(m) {
    if (!m) return;
    while (!((m >> shift) & 1)) ++shift;
    while (bits < 32 - shift && ((m >> (shift + bits)) & 1)) ++bits;
  }
  uint8_t Get(uint32_t v) const {
    if (!bits) return 0;
    const uint32_t x = (v & mask) >> shift;
    if (bits >= 8) return static_cast<uint8_t>(x >> (bits - 8));
    const uint32_t max = (1u << bits) - 1;
    return static_cast<uint8_t>((x * 255 + max / 2) / max);
  }
};

bool Fail(std::string& error, const char* message) {
  error = std::string("bitmap: ") + message;
  return false;
}

// Rows of a bottom-up picture are stored last row first.
inline Pixel* OutRow(Bitmap32& out, int stored_row, bool top_down) {
  return out.Row(top_down ? stored_row : out.Height() - 1 - stored_row);
}

bool DecodeRle(const uint8_t* p, const uint8_t* end, int bpp, const std::vector<Pixel>& palette,
               Bitmap32& out, bool top_down, std::string& error) {
  out.Fill(MakePixel(0, 0, 0));
  const int w = out.Width(), h = out.Height();
  int x = 0, y = 0;
  auto put = [&](int index) {
    if (x < w && y < h) {
      OutRow(out, y, top_down)[x] = index < static_cast<int>(palette.size()) ? palette[index]
                                                                              : MakePixel(0, 0, 0);
    }
    ++x;
  };
  while (true) {
    if (end - p < 2) return true;  // a stream without its end marker keeps what it drew
    const int n = p[0], c = p[1];
    p += 2;
    if (n > 0) {
      for (int i = 0; i < n; ++i) put(bpp == 8 ? c : ((i & 1) ? (c & 15) : (c >> 4)));
      continue;
    }
    if (c == 0) {  // end of line
      x = 0;
      ++y;
    } else if (c == 1) {  // end of picture
      return true;
    } else if (c == 2) {  // move by (dx, dy)
      if (end - p < 2) return Fail(error, "RLE data ended early");
      x += p[0];
      y += p[1];
      p += 2;
    } else {  // c pixels given one by one, padded to 16 bits
      const int bytes = bpp == 8 ? c : (c + 1) / 2;
      const int padded = (bytes + 1) & ~1;
      if (end - p < padded) return Fail(error, "RLE data ended early");
      for (int i = 0; i < c; ++i) put(bpp == 8 ? p[i] : ((i & 1) ? (p[i / 2] & 15) : (p[i / 2] >> 4)));
      p += padded;
    }
    if (y >= h) return true;
  }
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, Bitmap32& out, std::string& error) {
  out.SetSize(0, 0);
  if (!data || size < 14 + 12) return Fail(error, "file too short");
  if (data[0] != 'B' || data[1] != 'M') return Fail(error, "not a bitmap file");
  const uint32_t pixel_offset = U32(data + 10);
  const uint8_t* info = data + 14;
  const size_t rest = size - 14;
  const uint32_t info_size = U32(info);
  if (info_size < 12 || info_size > rest) return Fail(error, "bad info header");
  int64_t width, height;
  int bpp;
  uint32_t compression = 0, colors_used = 0;
  const bool core = info_size < 40;
  if (core) {
    if (info_size != 12) return Fail(error, "bad info header");
    width = U16(info + 4);
    height = static_cast<int16_t>(U16(info + 6));
    bpp = static_cast<int>(U16(info + 10));
  } else {
    width = static_cast<int32_t>(U32(info + 4));
    height = static_cast<int32_t>(U32(info + 8));
    bpp = static_cast<int>(U16(info + 14));
    compression = U32(info + 16);
    colors_used = U32(info + 32);
  }
  const bool top_down = height < 0;
  if (top_down) height = -height;
  if (width <= 0 || height <= 0) return Fail(error, "bad size");
  if (width * height > kMaxBmpPixels) return Fail(error, "picture too large");

  enum : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3, kAlphaBitfields = 6 };
  const bool rle = compression == kRle8 || compression == kRle4;
  if (rle && top_down) return Fail(error, "top-down RLE picture");
  if (compression == kRle8 && bpp != 8) return Fail(error, "RLE8 needs 8 bits");
  if (compression == kRle4 && bpp != 4) return Fail(error, "RLE4 needs 4 bits");
  if (compression != kRgb && !rle && compression != kBitfields && compression != kAlphaBitfields) {
    return Fail(error, "unsupported compression");
  }
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
    return Fail(error, "unsupported bit depth");
  }

  // Colour masks.
  size_t after_header = 14 + info_size;
  uint32_t masks[3] = {0, 0, 0};
  if (bpp == 16) {
    masks[0] = 0x7C00;
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
  } else if (bpp == 32) {
    masks[0] = 0xFF0000;
    masks[1] = 0xFF00;
    masks[2] = 0xFF;
  }
  if (compression == kBitfields || compression == kAlphaBitfields) {
    if (bpp != 16 && bpp != 32) return Fail(error, "bit fields need 16 or 32 bits");
    const uint8_t* m;
    if (info_size >= 52) {
      m = info + 40;
    } else {
      const size_t n = compression == kAlphaBitfields ? 16 : 12;
      if (size < after_header + n) return Fail(error, "file too short");
      m = data + after_header;
      after_header += n;
    }
    for (int i = 0; i < 3; ++i) masks[i] = U32(m + 4 * i);
  }

  // Colour table.
  std::vector<Pixel> palette;
  if (bpp <= 8) {
    const size_t entry = core ? 3 : 4;
    size_t count = colors_used ? colors_used : (size_t{1} << bpp);
    count = std::min<size_t>(count, 256);
    // A table that runs into the pixels or the file end is cut to what is there.
    size_t limit = size;
    if (pixel_offset >= after_header && pixel_offset <= size) limit = pixel_offset;
    if (limit < after_header) return Fail(error, "file too short");
    count = std::min(count, (limit - after_header) / entry);
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* e = data + after_header + i * entry;
      palette.push_back(MakePixel(e[2], e[1], e[0]));
    }
    after_header += count * entry;
    if (palette.empty()) return Fail(error, "missing colour table");
  }

  const size_t start = (pixel_offset >= 14 + 12 && pixel_offset < size) ? pixel_offset : after_header;
  if (start >= size) return Fail(error, "no pixel data");
  const uint8_t* pix = data + start;
  const size_t avail = size - start;
  // The size is checked against what the file can hold before anything is allocated: every
  // stored row of an uncompressed picture is in the file; a run-length stream ends each row
  // with a 2-byte marker and a 2-byte run gives at most 255 pixels.
  const size_t stride = ((static_cast<size_t>(width) * static_cast<size_t>(bpp) + 31) / 32) * 4;
  if (rle) {
    if (static_cast<uint64_t>(height) * 2 > avail ||
        static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > uint64_t{avail} * 128) {
      return Fail(error, "pixel data ended early");
    }
  } else if (stride * static_cast<uint64_t>(height) > avail) {
    return Fail(error, "pixel data ended early");
  }
  if (!out.SetSize(static_cast<int>(width), static_cast<int>(height))) {
    return Fail(error, "picture too large");
  }
  const int w = out.Width(), h = out.Height();

  if (rle) {
    if (!DecodeRle(pix, pix + avail, bpp, palette, out, top_down, error)) {
      out.SetSize(0, 0);
      return false;
    }
    return true;
  }

  const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
  const Pixel black = MakePixel(0, 0, 0);
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = pix + stride * y;
    Pixel* o = OutRow(out, y, top_down);
    switch (bpp) {
      case 1:
      case 4:
      case 8: {
        const int per_byte = 8 / bpp;
        const int mask = (1 << bpp) - 1;
        for (int x = 0; x < w; ++x) {
          const int shift = 8 - bpp * (x % per_byte + 1);
          const size_t index = (s[x / per_byte] >> shift) & mask;
          o[x] = index < palette.size() ? palette[index] : black;
        }
        break;
      }
      case 16:
        for (int x = 0; x < w; ++x) {
          const uint32_t v = U16(s + 2 * x);
          o[x] = MakePixel(red.Get(v), green.Get(v), blue.Get(v));
        }
        break;
      case 24:
        for (int x = 0; x < w; ++x) o[x] = MakePixel(s[3 * x + 2], s[3 * x + 1], s[3 * x]);
        break;
      case 32:
        for (int x = 0; x < w; ++x) {
          const uint32_t v = U32(s + 4 * x);
          o[x] = MakePixel(red.Get(v), green.Get(v), blue.Get(v));
        }
        break;
    }
  }
  return true;
}

}  // namespace kx
