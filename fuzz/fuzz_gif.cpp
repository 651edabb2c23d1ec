// GIF pictures from memory: the frames decoded, then composed as a viewer shows them, the
// first frame as a still picture, and the still-picture entry point.
#include <cstddef>
#include <cstdint>
#include <string>

#include "media/gif_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  kx::GifImage image;
  if (kx::DecodeGif(data, size, image, error)) {
    kx::GifAnimation animation;
    if (image.Compose(animation, error)) {
      if (animation.frames.size() != animation.delays_ms.size()) __builtin_trap();
    }
    // Callers may change a frame's transparency and disposal before composing.
    for (kx::GifFrame& f : image.frames) {
      f.disposal = (f.disposal + 1) & 3;
      f.transparent_index = f.transparent_index < 0 ? 0 : -1;
    }
    image.Compose(animation, error);
    kx::Bitmap32 still;
    image.FirstFrame(still, error);
  }
  kx::Bitmap32 still;
  kx::DecodeGifStill(data, size, still, error);
  return 0;
}
