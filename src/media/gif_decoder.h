// GIF pictures through giflib, read record by record so every size is checked before
// anything is allocated. DecodeGif keeps each frame as the file has it (indices, its own
// colour table if any, delay, disposal, transparent index); callers may change a frame's
// transparency or disposal before composing. Compose paints the frames one after the other
// on the logical screen, as a viewer shows them, and gives one full picture per frame:
//   - pixels no frame has painted are transparent (0x00000000);
//   - a frame's transparent index leaves the pixel below it;
//   - disposal 2 clears the frame's rectangle to transparent before the next frame,
//     disposal 3 puts back what was there before the frame, 0 and 1 leave the frame;
//   - a delay of 0 or 1 hundredths of a second plays as 100 ms, as browsers do.
// A stream that breaks inside a later frame keeps the frames before it; one that breaks
// before the first frame is complete is an error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "media/bitmap32.h"

namespace kx {

struct GifFrame {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> indices;  // width * height colour indices, rows top to bottom
  std::vector<Pixel> palette;    // the frame's own colour table; empty: the global one
  int delay_cs = 0;              // hundredths of a second
  int disposal = 0;              // 0 unspecified, 1 leave, 2 clear to background, 3 restore
  int transparent_index = -1;    // -1: no transparent colour
};

struct GifAnimation {
  int width = 0;
  int height = 0;
  std::vector<Bitmap32> frames;  // full pictures, transparent pixels have alpha 0
  std::vector<int> delays_ms;    // one per frame, at least 20
  int loop_count = -1;           // -1 play once, 0 endlessly, n: n repetitions after the first play
};

struct GifImage {
  int width = 0;   // the logical screen
  int height = 0;
  std::vector<Pixel> global_palette;
  int loop_count = -1;  // from the NETSCAPE2.0 extension; -1 when absent
  std::vector<GifFrame> frames;

  // Index of an opaque colour (alpha ignored) in the global colour table, or -1.
  int FindGlobalIndex(Pixel color) const;
  // Paints all frames.
  bool Compose(GifAnimation& out, std::string& error) const;
  // The first frame painted, transparent pixels black: the GIF as a still picture.
  bool FirstFrame(Bitmap32& out, std::string& error) const;
};

bool DecodeGif(const uint8_t* data, size_t size, GifImage& out, std::string& error);

// The still picture of a GIF file: its first frame (the frames after it are not read, so a
// damage further on in the stream does not matter).
bool DecodeGifStill(const uint8_t* data, size_t size, Bitmap32& out, std::string& error);

}  // namespace kx
