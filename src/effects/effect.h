// The calling contract of a transition effect. Dst holds the whole old picture on
// entry; the effect draws the frame for progress Percent onto it, mostly by copying
// parts of Src. Src is never written. Width and Height are the size of Dst (and Src);
// XProgress runs 0..Width, YProgress 0..Height, Percent 0..100.
#pragma once

#include "media/bitmap32.h"

namespace kx {

using TEffectProc = void (*)(Bitmap32& Dst, const Bitmap32& Src, int Width, int Height,
                             int XProgress, int YProgress, int Percent);

struct TEffect {
  const char* Name;
  TEffectProc Proc;  // never null in the table
};

constexpr int EffectCount = 169;

}  // namespace kx
