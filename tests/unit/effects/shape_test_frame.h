// A small harness for the band and shape transitions: an old and a new picture whose pixels
// all differ (so each pixel of a frame tells which picture it came from), one frame drawn
// the way the show draws it, and a comparison of the revealed pixels with a predicate.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "effects/effect.h"
#include "effects/transition.h"
#include "media/bitmap32.h"

namespace kx::testing {

struct ShapeFrame {
  int W, H;
  Bitmap32 old_pic, new_pic, dst;

  ShapeFrame(int w, int h) : W(w), H(h), old_pic(w, h), new_pic(w, h), dst(w, h) {
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        const uint32_t i = static_cast<uint32_t>(y) * static_cast<uint32_t>(W) + x;
        old_pic.SetPixel(x, y, 0xFF000000u | (2 * i));
        new_pic.SetPixel(x, y, 0x7F000000u | (2 * i + 1));
      }
  }

  // Draws one frame the way the show does: Dst starts as the old picture, and the progress
  // in pixels comes from the show's own rule.
  void Run(TEffectProc proc, int P) {
    dst = old_pic;
    const TransitionProgress g = ProgressFor(W, H, P);
    proc(dst, new_pic, W, H, g.X, g.Y, P);
  }

  bool IsNew(int x, int y) const { return dst.GetPixel(x, y) == new_pic.GetPixel(x, y); }

  int64_t NewCount() const {
    int64_t n = 0;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) n += IsNew(x, y);
    return n;
  }

  // Every pixel is either old or new.
  bool Clean() const {
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        if (!IsNew(x, y) && dst.GetPixel(x, y) != old_pic.GetPixel(x, y)) return false;
    return true;
  }

  // Compares the revealed pixels with `expected`; reports the first few mismatches.
  ::testing::AssertionResult RevealedIs(const std::function<bool(int, int)>& expected) const {
    int mismatches = 0;
    std::string where;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        if (IsNew(x, y) != expected(x, y)) {
          if (++mismatches <= 5)
            where += " (" + std::to_string(x) + "," + std::to_string(y) + ")" +
                     (IsNew(x, y) ? "new" : "old");
        }
    if (mismatches == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << mismatches << " pixels differ:" << where;
  }
};

}  // namespace kx::testing
