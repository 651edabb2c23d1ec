#include "media/gif_decoder.h"

#include <algorithm>
#include <cstring>

#include <gif_lib.h>

namespace kx {
namespace {

constexpr int64_t kMaxScreenPixels = int64_t{1} << 26;   // one picture
constexpr int64_t kMaxTotalPixels = int64_t{1} << 26;    // all composed frames together
constexpr int64_t kMaxIndexBytes = int64_t{1} << 28;     // all frames' indices together
// LZW codes are at most 12 bits and one code stands for at most 4096 pixels, so a byte of
// the stream describes fewer than 4096 pixels: sizes beyond that are not in the file.
constexpr int64_t kMaxPixelsPerByte = 4096;

struct MemoryReader {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buf, int n) {
  auto* r = static_cast<MemoryReader*>(gif->UserData);
  if (n <= 0) return 0;
  const size_t k = std::min(static_cast<size_t>(n), r->size - r->pos);
  std::memcpy(buf, r->data + r->pos, k);
  r->pos += k;
  return static_cast<int>(k);
}

std::vector<Pixel> ToPalette(const ColorMapObject* map) {
  std::vector<Pixel> p;
  if (!map || !map->Colors || map->ColorCount <= 0) return p;
  p.reserve(map->ColorCount);
  for (int i = 0; i < map->ColorCount; ++i) {
    const GifColorType& c = map->Colors[i];
    p.push_back(MakePixel(c.Red, c.Green, c.Blue));
  }
  return p;
}

std::string GifMessage(int code) {
  const char* s = GifErrorString(code);
  return std::string("GIF: ") + (s ? s : "cannot decode");
}

// Reads one frame's indices; false when the stream breaks.
bool ReadRaster(GifFileType* gif, GifFrame& f) {
  f.indices.resize(static_cast<size_t>(f.width) * f.height);
  if (gif->Image.Interlace) {
    static const int kStart[] = {0, 4, 2, 1};
    static const int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
      for (int y = kStart[pass]; y < f.height; y += kStep[pass]) {
        if (DGifGetLine(gif, f.indices.data() + static_cast<size_t>(y) * f.width, f.width) !=
            GIF_OK) {
          return false;
        }
      }
    }
    return true;
  }
  for (int y = 0; y < f.height; ++y) {
    if (DGifGetLine(gif, f.indices.data() + static_cast<size_t>(y) * f.width, f.width) != GIF_OK) {
      return false;
    }
  }
  return true;
}

// Paints one frame's pixels over the canvas.
void PaintFrame(const GifFrame& f, const std::vector<Pixel>& global, Bitmap32& canvas) {
  const std::vector<Pixel>& pal = f.palette.empty() ? global : f.palette;
  const int x0 = std::max(0, f.left), y0 = std::max(0, f.top);
  const int x1 = std::min(canvas.Width(), f.left + f.width);
  const int y1 = std::min(canvas.Height(), f.top + f.height);
  for (int y = y0; y < y1; ++y) {
    const uint8_t* idx = f.indices.data() + static_cast<size_t>(y - f.top) * f.width - f.left;
    Pixel* o = canvas.Row(y);
    for (int x = x0; x < x1; ++x) {
      const int i = idx[x];
      if (i == f.transparent_index || i >= static_cast<int>(pal.size())) continue;
      o[x] = pal[i];
    }
  }
}

}  // namespace

int GifImage::FindGlobalIndex(Pixel color) const {
  for (size_t i = 0; i < global_palette.size(); ++i) {
    if ((global_palette[i] & 0xFFFFFF) == (color & 0xFFFFFF)) return static_cast<int>(i);
  }
  return -1;
}

bool GifImage::Compose(GifAnimation& out, std::string& error) const {
  out = GifAnimation{};
  if (frames.empty() || width <= 0 || height <= 0) {
    error = "GIF: no frames";
    return false;
  }
  const int64_t per = static_cast<int64_t>(width) * height;
  if (per * static_cast<int64_t>(frames.size()) > kMaxTotalPixels) {
    error = "GIF: animation too large";
    return false;
  }
  out.width = width;
  out.height = height;
  out.loop_count = loop_count;
  out.frames.reserve(frames.size());
  Bitmap32 canvas(width, height), saved;
  for (const GifFrame& f : frames) {
    if (f.disposal == 3) saved.Assign(canvas);
    PaintFrame(f, global_palette, canvas);
    out.frames.emplace_back();
    out.frames.back().Assign(canvas);
    out.delays_ms.push_back(f.delay_cs <= 1 ? 100 : f.delay_cs * 10);
    if (f.disposal == 2) {
      canvas.FillRect(Rect::FromSize(f.left, f.top, f.width, f.height), 0);
    } else if (f.disposal == 3) {
      canvas.Assign(saved);
    }
  }
  return true;
}

bool GifImage::FirstFrame(Bitmap32& out, std::string& error) const {
  if (frames.empty() || width <= 0 || height <= 0) {
    error = "GIF: no frames";
    return false;
  }
  out.SetSize(width, height);
  PaintFrame(frames[0], global_palette, out);
  for (size_t i = 0; i < out.PixelCount(); ++i) {
    Pixel& p = out.Data()[i];
    if (PixelA(p) == 0) p = MakePixel(0, 0, 0);
  }
  return true;
}

namespace {

// Reads the frames of the stream, at most max_frames of them (0: all).
bool DecodeGifFrames(const uint8_t* data, size_t size, GifImage& out, std::string& error, size_t max_frames) {
  out = GifImage{};
  if (!data || size < 13) {
    error = "GIF: file too short";
    return false;
  }
  MemoryReader reader{data, size, 0};
  int code = 0;
  GifFileType* gif = DGifOpen(&reader, ReadFromMemory, &code);
  if (!gif) {
    error = GifMessage(code);
    return false;
  }
  out.width = gif->SWidth;
  out.height = gif->SHeight;
  out.global_palette = ToPalette(gif->SColorMap);
  bool ok = true;
  bool broken = false;
  int64_t index_bytes = 0;
  GraphicsControlBlock gcb{};
  bool have_gcb = false;
  if (static_cast<int64_t>(out.width) * out.height > kMaxScreenPixels ||
      static_cast<int64_t>(out.width) * out.height > static_cast<int64_t>(size) * kMaxPixelsPerByte) {
    error = "GIF: picture too large";
    ok = false;
  }
  while (ok && !broken) {
    GifRecordType type;
    if (DGifGetRecordType(gif, &type) != GIF_OK) {
      broken = true;
      break;
    }
    if (type == TERMINATE_RECORD_TYPE) break;
    if (type == EXTENSION_RECORD_TYPE) {
      int ext_code = 0;
      GifByteType* ext = nullptr;
      if (DGifGetExtension(gif, &ext_code, &ext) != GIF_OK) {
        broken = true;
        break;
      }
      bool netscape = false;
      if (ext && ext_code == GRAPHICS_EXT_FUNC_CODE && ext[0] >= 4) {
        DGifExtensionToGCB(ext[0], ext + 1, &gcb);
        have_gcb = true;
      } else if (ext && ext_code == APPLICATION_EXT_FUNC_CODE && ext[0] >= 11 &&
                 std::memcmp(ext + 1, "NETSCAPE2.0", 11) == 0) {
        netscape = true;
      }
      while (ext) {
        if (DGifGetExtensionNext(gif, &ext) != GIF_OK) {
          broken = true;
          break;
        }
        if (ext && netscape && ext[0] >= 3 && ext[1] == 1) {
          out.loop_count = ext[2] | (ext[3] << 8);
        }
      }
      continue;
    }
    if (type != IMAGE_DESC_RECORD_TYPE) continue;
    if (DGifGetImageDesc(gif) != GIF_OK) {
      broken = true;
      break;
    }
    GifFrame f;
    f.left = gif->Image.Left;
    f.top = gif->Image.Top;
    f.width = gif->Image.Width;
    f.height = gif->Image.Height;
    const int64_t n = static_cast<int64_t>(f.width) * f.height;
    if (f.width <= 0 || f.height <= 0 || n > kMaxScreenPixels || index_bytes + n > kMaxIndexBytes) {
      error = "GIF: bad frame size";
      ok = false;
      break;
    }
    if (n > static_cast<int64_t>(size - reader.pos + 1) * kMaxPixelsPerByte) {
      broken = true;  // the rest of the stream cannot hold this frame
      break;
    }
    index_bytes += n;
    f.palette = ToPalette(gif->Image.ColorMap);
    if (have_gcb) {
      f.delay_cs = gcb.DelayTime;
      f.disposal = gcb.DisposalMode;
      f.transparent_index = gcb.TransparentColor;
    }
    have_gcb = false;
    if (f.palette.empty() && out.global_palette.empty()) {
      error = "GIF: frame without a colour table";
      ok = false;
      break;
    }
    if (!ReadRaster(gif, f)) {
      broken = true;
      break;
    }
    out.frames.push_back(std::move(f));
    // giflib keeps a copy of every image description; the pixels are ours.
    if (max_frames > 0 && out.frames.size() >= max_frames) break;
  }
  int close_code = 0;
  DGifCloseFile(gif, &close_code);
  if (ok && out.frames.empty()) {
    error = broken ? "GIF: data ended early" : "GIF: no frames";
    ok = false;
  }
  if (ok && (out.width <= 0 || out.height <= 0)) {
    // A zero logical screen: take the first frame's extent.
    out.width = out.frames[0].left + out.frames[0].width;
    out.height = out.frames[0].top + out.frames[0].height;
    // The frame's offsets are not pixels of the stream: the extent is held to the same
    // limits as a logical screen.
    const int64_t pixels = static_cast<int64_t>(out.width) * out.height;
    if (pixels > kMaxScreenPixels || pixels > static_cast<int64_t>(size) * kMaxPixelsPerByte) {
      error = "GIF: picture too large";
      ok = false;
    }
  }
  if (!ok) out = GifImage{};
  return ok;
}

}  // namespace

bool DecodeGif(const uint8_t* data, size_t size, GifImage& out, std::string& error) {
  return DecodeGifFrames(data, size, out, error, 0);
}

bool DecodeGifStill(const uint8_t* data, size_t size, Bitmap32& out, std::string& error) {
  // The still needs the first frame only: the rest of the stream is not read.
  GifImage image;
  if (!DecodeGifFrames(data, size, image, error, 1)) return false;
  return image.FirstFrame(out, error);
}

}  // namespace kx
