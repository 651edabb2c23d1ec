// Builds small GIF files in memory with giflib's encoder, for the decoder and player tests.
#pragma once

#include <cstdint>
#include <vector>

#include <gif_lib.h>

namespace kx::testing {

struct GifFrameDef {
  int left = 0, top = 0, width = 1, height = 1;
  std::vector<uint8_t> indices;  // rows top to bottom
  int delay_cs = 10;
  int disposal = 0;
  int transparent = -1;
  bool interlace = false;
  std::vector<uint32_t> local_palette;  // 0xRRGGBB; empty: none
};

inline int WriteToVector(GifFileType* gif, const GifByteType* data, int n) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + n);
  return n;
}

inline ColorMapObject* MakeMap(const std::vector<uint32_t>& colors) {
  int n = 2;
  while (n < static_cast<int>(colors.size())) n *= 2;
  std::vector<GifColorType> c(n, GifColorType{0, 0, 0});
  for (size_t i = 0; i < colors.size(); ++i) {
    c[i] = {static_cast<GifByteType>(colors[i] >> 16), static_cast<GifByteType>((colors[i] >> 8) & 255),
            static_cast<GifByteType>(colors[i] & 255)};
  }
  return GifMakeMapObject(n, c.data());
}

// loop: -1 no NETSCAPE2.0 block, otherwise its repeat count.
inline std::vector<uint8_t> BuildGif(int w, int h, const std::vector<uint32_t>& palette,
                                     const std::vector<GifFrameDef>& frames, int loop = 0) {
  std::vector<uint8_t> out;
  int err = 0;
  GifFileType* gif = EGifOpen(&out, WriteToVector, &err);
  EGifSetGifVersion(gif, true);
  ColorMapObject* global = MakeMap(palette);
  EGifPutScreenDesc(gif, w, h, 8, 0, global);
  if (loop >= 0) {
    const GifByteType app[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    const GifByteType sub[] = {1, static_cast<GifByteType>(loop & 255), static_cast<GifByteType>(loop >> 8)};
    EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
    EGifPutExtensionBlock(gif, sizeof app, app);
    EGifPutExtensionBlock(gif, sizeof sub, sub);
    EGifPutExtensionTrailer(gif);
  }
  for (const GifFrameDef& f : frames) {
    GraphicsControlBlock gcb{};
    gcb.DisposalMode = f.disposal;
    gcb.DelayTime = f.delay_cs;
    gcb.TransparentColor = f.transparent;
    GifByteType ext[4];
    EGifGCBToExtension(&gcb, ext);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext);
    ColorMapObject* local = f.local_palette.empty() ? nullptr : MakeMap(f.local_palette);
    EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlace, local);
    std::vector<int> order;
    if (f.interlace) {
      const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
      for (int p = 0; p < 4; ++p)
        for (int y = start[p]; y < f.height; y += step[p]) order.push_back(y);
    } else {
      for (int y = 0; y < f.height; ++y) order.push_back(y);
    }
    // Frames without their indices end the file after the image descriptor (a broken file).
    if (f.indices.size() < static_cast<size_t>(f.width) * f.height) order.clear();
    for (int y : order) {
      std::vector<GifPixelType> line(f.indices.begin() + y * f.width, f.indices.begin() + (y + 1) * f.width);
      EGifPutLine(gif, line.data(), f.width);
    }
    if (local) GifFreeMapObject(local);
  }
  EGifCloseFile(gif, &err);
  GifFreeMapObject(global);
  return out;
}

}  // namespace kx::testing
