#include "media/jpeg_codec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <jerror.h>
#include <jpeglib.h>

#include "media/resample.h"

namespace kx {
namespace {

constexpr int64_t kMaxJpegPixels = int64_t{1} << 28;

struct ErrorManager {
  jpeg_error_mgr pub;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Warnings that mean the picture data is broken become errors; the rest are ignored.
void OnMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;
  const int code = cinfo->err->msg_code;
  if (code == JWRN_JPEG_EOF || code == JWRN_HUFF_BAD_CODE) OnError(cinfo);
}

void InitErrors(ErrorManager& err) {
  jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  err.pub.emit_message = OnMessage;
  err.pub.output_message = [](j_common_ptr) {};
  err.message[0] = 0;
}

inline Pixel FromCmyk(const uint8_t* p) {
  // Adobe writes inverted CMYK: the stored values are 255 - ink.
  const uint32_t k = p[3];
  const uint32_t r = (p[0] * k + 127) / 255, g = (p[1] * k + 127) / 255, b = (p[2] * k + 127) / 255;
  return MakePixel(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b));
}

// The parts that may jump: no C++ objects with destructors live in these frames.

bool Create(jpeg_decompress_struct& cinfo, ErrorManager& err) {
  if (setjmp(err.jump)) return false;
  jpeg_create_decompress(&cinfo);
  return true;
}

// Reads the header and prepares the output at DCT scale m/8 (m = 0: chosen for the sizes).
bool StartDecode(jpeg_decompress_struct& cinfo, ErrorManager& err, const uint8_t* data,
                 size_t size, int min_w, int min_h, JpegInfo* info, bool header_only,
                 bool* cmyk) {
  if (setjmp(err.jump)) return false;
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  if (info) {
    info->width = static_cast<int>(cinfo.image_width);
    info->height = static_cast<int>(cinfo.image_height);
  }
  if (header_only) return true;
  // Every 8 x 8 block of every scan costs at least a bit or two of entropy-coded data, so a
  // stream far too short for the size it declares is refused before anything is allocated.
  constexpr int64_t kMaxPixelsPerByte = 1024;
  if (static_cast<int64_t>(cinfo.image_width) * cinfo.image_height >
      static_cast<int64_t>(size) * kMaxPixelsPerByte) {
    std::snprintf(err.message, sizeof err.message, "data too short for a %ux%u picture",
                  cinfo.image_width, cinfo.image_height);
    return false;
  }
  cinfo.scale_num = JpegScaleFor(cinfo.image_width, cinfo.image_height, min_w, min_h);
  cinfo.scale_denom = 8;
  *cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = *cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  jpeg_calc_output_dimensions(&cinfo);
  const int64_t pixels = static_cast<int64_t>(cinfo.output_width) * cinfo.output_height;
  if (pixels <= 0 || pixels > kMaxJpegPixels) {
    std::snprintf(err.message, sizeof err.message, "picture too large");
    return false;
  }
  return true;
}

// Decodes every row; each row lands in `line` (output_width pixels, plus 4 bytes per pixel
// of `cmyk_line` for CMYK streams) and is handed to `sink`, or straight into `out` rows.
struct RowSink {
  Bitmap32* out = nullptr;         // rows decoded in place when set
  RowResampler* resampler = nullptr;
  Pixel* line = nullptr;
  uint8_t* cmyk_line = nullptr;
};

bool ReadRows(jpeg_decompress_struct& cinfo, ErrorManager& err, bool cmyk, const RowSink& sink) {
  if (setjmp(err.jump)) return false;
  jpeg_start_decompress(&cinfo);
  const int w = static_cast<int>(cinfo.output_width);
  while (cinfo.output_scanline < cinfo.output_height) {
    const int y = static_cast<int>(cinfo.output_scanline);
    if (!cmyk && sink.out) {
      JSAMPROW rows[16];
      const int n = std::min<int>(16, static_cast<int>(cinfo.output_height) - y);
      for (int k = 0; k < n; ++k) rows[k] = reinterpret_cast<JSAMPROW>(sink.out->Row(y + k));
      if (jpeg_read_scanlines(&cinfo, rows, n) == 0) break;
      continue;
    }
    Pixel* target = sink.out ? sink.out->Row(y) : sink.line;
    JSAMPROW row = cmyk ? sink.cmyk_line : reinterpret_cast<JSAMPROW>(target);
    if (jpeg_read_scanlines(&cinfo, &row, 1) == 0) break;
    if (cmyk) {
      for (int x = 0; x < w; ++x) target[x] = FromCmyk(sink.cmyk_line + 4 * x);
    }
    if (sink.resampler) sink.resampler->PushRow(y, target);
  }
  if (cinfo.output_scanline < cinfo.output_height) {
    std::snprintf(err.message, sizeof err.message, "JPEG data ended early");
    return false;
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

// Decodes into `out`: the picture itself, or, when fit_w and fit_h are given, the picture
// resampled with `filter` to exactly fit_w x fit_h.
bool Run(const uint8_t* data, size_t size, Bitmap32& out, std::string& error, int min_w,
         int min_h, JpegInfo* info, bool header_only, int fit_w = 0, int fit_h = 0,
         StretchFilter filter = StretchFilter::Lanczos) {
  if (!data || size == 0) {
    error = "empty JPEG stream";
    if (!header_only) out.SetSize(0, 0);
    return false;
  }
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  InitErrors(err);
  cinfo.err = &err.pub;
  bool cmyk = false;
  bool ok = Create(cinfo, err) && StartDecode(cinfo, err, data, size, min_w, min_h, info, header_only, &cmyk);
  if (ok && !header_only) {
    const int w = static_cast<int>(cinfo.output_width), h = static_cast<int>(cinfo.output_height);
    std::vector<Pixel> line;
    std::vector<uint8_t> cmyk_line;
    RowSink sink;
    std::unique_ptr<RowResampler> resampler;
    if (cmyk) cmyk_line.resize(static_cast<size_t>(w) * 4);
    sink.cmyk_line = cmyk_line.data();
    if (fit_w > 0 && fit_h > 0) {
      ok = out.SetSize(fit_w, fit_h);
      line.resize(w);
      sink.line = line.data();
      resampler = std::make_unique<RowResampler>(Rect{0, 0, w, h}, fit_w, fit_h,
                                                 Rect{0, 0, fit_w, fit_h}, filter, out.Data(),
                                                 fit_w);
      sink.resampler = resampler.get();
    } else {
      ok = out.SetSize(w, h);
      sink.out = &out;
    }
    if (!ok) {
      std::snprintf(err.message, sizeof err.message, "picture too large");
    } else {
      ok = ReadRows(cinfo, err, cmyk, sink);
    }
  }
  jpeg_destroy_decompress(&cinfo);
  if (!ok) {
    error = err.message[0] ? std::string("JPEG: ") + err.message : "JPEG: cannot decode";
    if (!header_only) out.SetSize(0, 0);
  }
  return ok;
}

}  // namespace

int JpegScaleFor(int width, int height, int min_width, int min_height) {
  if (min_width <= 0 || min_height <= 0) return 8;
  if (width < 2 * static_cast<int64_t>(min_width) || height < 2 * static_cast<int64_t>(min_height)) {
    return 8;
  }
  for (int m = 1; m < 8; ++m) {
    // libjpeg's scaled size: ceil(size * m / 8)
    const int64_t w = (static_cast<int64_t>(width) * m + 7) / 8;
    const int64_t h = (static_cast<int64_t>(height) * m + 7) / 8;
    if (w >= min_width && h >= min_height) return m;
  }
  return 8;
}

bool ReadJpegInfo(const uint8_t* data, size_t size, JpegInfo& info, std::string& error) {
  Bitmap32 unused;
  return Run(data, size, unused, error, 0, 0, &info, true);
}

bool DecodeJpeg(const uint8_t* data, size_t size, Bitmap32& out, std::string& error,
                int min_width, int min_height, JpegInfo* info) {
  return Run(data, size, out, error, min_width, min_height, info, false);
}

bool DecodeJpegFitted(const uint8_t* data, size_t size, int width, int height,
                      StretchFilter filter, Bitmap32& out, std::string& error, JpegInfo* info) {
  if (width <= 0 || height <= 0) {
    out.SetSize(0, 0);
    error = "empty target size";
    return false;
  }
  if (filter == StretchFilter::Nearest || filter == StretchFilter::Draft) {
    Bitmap32 full;
    if (!Run(data, size, full, error, width, height, info, false)) return false;
    Resample(full, out, width, height, filter);
    return true;
  }
  return Run(data, size, out, error, width, height, info, false, width, height, filter);
}

namespace {

bool EncodeInto(jpeg_compress_struct& cinfo, ErrorManager& err, const Bitmap32& in, int quality,
                unsigned char** buffer, unsigned long* length) {
  if (setjmp(err.jump)) return false;
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, buffer, length);
  cinfo.image_width = in.Width();
  cinfo.image_height = in.Height();
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_EXT_BGRA;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(
        reinterpret_cast<const JSAMPLE*>(in.Row(static_cast<int>(cinfo.next_scanline))));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  return true;
}

}  // namespace

bool EncodeJpeg(const Bitmap32& in, int quality, std::vector<uint8_t>& out, std::string& error) {
  if (in.Empty()) {
    error = "empty picture";
    return false;
  }
  jpeg_compress_struct cinfo;
  ErrorManager err;
  InitErrors(err);
  cinfo.err = &err.pub;
  unsigned char* buffer = nullptr;
  unsigned long length = 0;
  const bool ok = EncodeInto(cinfo, err, in, quality < 1 ? 1 : (quality > 100 ? 100 : quality),
                             &buffer, &length);
  jpeg_destroy_compress(&cinfo);
  if (ok) out.assign(buffer, buffer + length);
  std::free(buffer);
  if (!ok) error = std::string("JPEG: ") + err.message;
  return ok;
}

}  // namespace kx
