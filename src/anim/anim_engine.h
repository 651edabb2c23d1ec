// The animation of a living picture. Each step redraws the water regions of the picture
// (marked by the region mask, up to six, each with its wave record) with rows, and in
// some modes columns, displaced along cosine waves whose phase runs with the elapsed
// time, optionally over a mirrored copy of the rows above the region (a reflection);
// then the animated objects and the weather (snow or rain) are drawn over that frame.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "media/bitmap32.h"
#include "package/picture_record.h"

namespace kx {

class WorkerPool;

class TAnimObjects;
class TSnow;
class TRain;

class TAnimEngine {
 public:
  using Clock = std::function<uint32_t()>;  // milliseconds

  TAnimEngine();
  ~TAnimEngine();
  TAnimEngine(const TAnimEngine&) = delete;
  TAnimEngine& operator=(const TAnimEngine&) = delete;

  // The number of threads that draw a step (the calling one included); 0, the default,
  // takes one per processor (at most 8). The frames do not depend on it. The engine's
  // worker threads start with the first Prepare and stop when the engine is destroyed.
  void SetThreads(int threads);
  int Threads() const;
  // Draws with the show's pool (not owned; it outlives the engine) while no thread count is
  // set; null goes back to the engine's own.
  void SharePool(WorkerPool* pool) { shared_pool_ = pool; }

  // The clock of the animation, passed on to the objects by Prepare.
  void SetClock(Clock clock) { clock_ = std::move(clock); }
  // The living picture and its objects (neither owned; objects may be null). The objects
  // are placed in the picture's own coordinates: picture_width/height is the size the
  // picture had in its file (0 takes the record's PictureWidth/PictureHeight).
  void Attach(TProject& record, TAnimObjects* objects, int picture_width = 0,
              int picture_height = 0);
  // Switches snow or rain on (by the record's weather Kind) or off.
  void SetWeather(bool on);
  // Once per living picture after Attach: also gives the objects this engine's clock.
  // With `run_workers` false the objects are started without their worker threads
  // (tests step them by hand).
  void Prepare(bool run_workers = true);
  // Advances by the time since the previous step and redraws.
  void Step();
  // The frame to show: the composite when there is weather or an object, else the waves.
  const Bitmap32& Output() const;
  // Back to the unanimated picture (the reflections drawn again).
  void ResetFrame();
  // Frees the objects' hold on the picture: stops their workers and forgets the record.
  void Detach();

  const Bitmap32& WaveFrame() const { return wave_frame_; }
  const Bitmap32& Composite() const { return composite_; }
  const Bitmap32& ReflectionCopy() const { return reflection_; }
  int64_t Phase(int i) const { return phase_[i & 7]; }
  bool AnyReflection() const { return any_reflection_; }
  const TSnow* Snow() const { return snow_.get(); }
  const TRain* Rain() const { return rain_.get(); }

 private:
  struct Span {
    int c0, c1;  // columns c0 .. c1 - 1
    int region;
  };
  // The values of the wave formula for one row of one region, computed once per step.
  struct RowWave {
    int offset = 0;  // the row's displacement
    int shift = 0;   // the sideways shift of ShiftColumns
    double amp = 0, freq = 0;
  };
  // The working memory of one band of rows.
  struct BandScratch {
    std::vector<int32_t> angles;             // the column wave's angle of each column
    std::array<std::array<int32_t, 360>, 8> table;  // offset of each whole-degree angle
    std::array<std::array<int64_t, 360>, 8> step;   // the same in pixels (offset * width)
    std::array<int32_t, 8> table_min{}, table_max{};
    std::array<double, 8> table_amp{};
    std::array<bool, 8> table_valid{};
  };
  void PrepareReflection();
  void BuildRegionMap();
  void ComputeRowWaves();
  void DisplaceRows();
  void DisplaceBand(int r0, int r1, BandScratch& scratch);
  void ColumnSpan(int r, const Span& sp, const RowWave& rw, BandScratch& scratch);
  void JitterSpan(int r, const Span& sp, const RowWave& rw);
  void CopySpan(int r, int sr, int c0, int c1, int region, bool shift, int shift_by);
  WorkerPool& Pool();
  void DrawObjects(int64_t dt);
  bool HasObjects() const;
  uint32_t Now() const { return clock_(); }

  Clock clock_;
  int width_ = 0, height_ = 0;
  std::array<int64_t, 8> phase_{};  // degrees, kept far from overflow by saturation
  TProject* project_ = nullptr;
  const Bitmap32* picture_ = nullptr;
  const Bitmap32* mask_ = nullptr;
  TAnimObjects* objects_ = nullptr;
  int pic_w_ = 0, pic_h_ = 0;
  Bitmap32 reflection_, wave_frame_, composite_;
  int speed_percent_ = 100;
  std::vector<int16_t> region_map_;           // width * height, -1 for none
  std::vector<std::vector<Span>> row_spans_;  // the region runs of each row
  std::vector<int16_t> row_region_;           // the region that fills a whole row, -1 for none
  std::array<std::vector<int32_t>, 8> jitter_;
  std::array<int, 8> region_top_{}, region_bottom_{};
  std::unique_ptr<TSnow> snow_;
  std::unique_ptr<TRain> rain_;
  bool weather_on_ = false;
  uint32_t last_tick_ = 0;
  bool any_reflection_ = false;
  bool prepared_ = false;
  std::array<double, 361> cos_table_{};
  int threads_ = 0;
  std::unique_ptr<WorkerPool> pool_;
  WorkerPool* shared_pool_ = nullptr;
  std::vector<RowWave> row_waves_;  // height * 8
  std::vector<BandScratch> scratch_;
  std::array<bool, 8> jitter_moves_{};  // a jitter value of the region is not 0
  std::array<int32_t, 8> jitter_max_{};
  // The objects of a step, in drawing order.
  struct Drawn {
    Rect rect;
    const Bitmap32* image;
  };
  std::vector<Drawn> drawn_;
};

}  // namespace kx
