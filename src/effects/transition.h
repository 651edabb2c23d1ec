// The pieces of a transition that the show drives: the transition list and the choice of
// the effect, the frame count, the progress of each frame, and the drawing of one frame.
// The show owns the clock and the three pictures; these are small pure functions.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "media/bitmap32.h"

namespace kx {

class WorkerPool;

// Horizontal and vertical progress in pixels for a frame at Percent: the longer side's
// progress is MulDiv(side, P, 100) and the other follows in proportion.
struct TransitionProgress {
  int X = 0;
  int Y = 0;
};
TransitionProgress ProgressFor(int width, int height, int percent);

// The project's TransitionEffects text split at commas. Blanks around an entry are ignored.
// A number outside 1..169, or of an effect without a routine, is left out. An entry that
// is not a number stays in the list as 0: drawing it means "no transition this time".
// A text without any usable entry gives the single entry 1 (Fade).
std::vector<int> BuildTransitionList(std::string_view text);

// Draws one entry of the list with the process-wide generator (one draw in 0..count-1);
// each transition draws anew. Returns 0 for an entry that is not a number.
int ChooseEffect(const std::vector<int>& list);

// Frames after frame 0: TransitionTime div (cost of preparation and frame 0 + 1), in
// milliseconds; 0 when the first frame cost more than the whole time.
int TransitionFrameCount(int transitionTimeMs, int64_t firstFrameCostMs);

// Progress of frame i of n (1 <= i <= n): round(100 i / n), halves to even; frame 0 is 0.
int FramePercent(int i, int n);

// One frame: work := old, then the effect draws progress percent onto work, reading next.
// The three pictures must have the same size. Returns false (and leaves work a copy of
// old) when the number has no routine or the sizes differ.
// With a pool, the copy of old is split over its threads in bands of rows; the effect then
// draws on the calling thread (its routines draw in their own order and some draw random
// values), so the frame does not depend on the number of threads.
bool TransitionFrame(Bitmap32& work, const Bitmap32& old, const Bitmap32& next, int effect, int percent,
                     WorkerPool* pool = nullptr);

}  // namespace kx
