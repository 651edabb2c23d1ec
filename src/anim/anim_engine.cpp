#include "anim/anim_engine.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "anim/anim_objects.h"
#include "anim/rain.h"
#include "anim/snow.h"
#include "media/intmath.h"
#include "media/random.h"
#include "package/region_mask.h"

namespace kx {

namespace {

// Round half to even, with values far outside any picture kept in range first (a broken
// wave record must not make the conversion overflow).
inline int RoundSafe(double v) {
  if (!(v > -1e9)) v = -1e9;
  if (!(v < 1e9)) v = 1e9;
  return RoundHalfEven(v);
}

bool PhaseRunsDown(int mode) { return mode == 0 || mode == 4 || mode == 5; }
bool JitterApplies(int mode) { return mode < 2; }
bool ColumnWave(int mode) { return mode >= 2 && mode <= 5; }

}  // namespace

TAnimEngine::TAnimEngine() : clock_(SteadyMs) {
  for (int k = 0; k <= 360; ++k) cos_table_[k] = std::cos(k * std::numbers::pi / 180.0);
}

TAnimEngine::~TAnimEngine() { Detach(); }

void TAnimEngine::Attach(TProject& record, TAnimObjects* objects, int pw, int ph) {
  project_ = &record;
  picture_ = &record.Picture;
  mask_ = &record.RegionMask;
  speed_percent_ = record.AnimSpeed;
  objects_ = objects;
  pic_w_ = pw > 0 ? pw : record.PictureWidth;
  pic_h_ = ph > 0 ? ph : record.PictureHeight;
  prepared_ = false;
}

void TAnimEngine::Detach() {
  if (objects_) objects_->StopAll();
  objects_ = nullptr;
  snow_.reset();
  rain_.reset();
  weather_on_ = false;
  project_ = nullptr;
  picture_ = nullptr;
  mask_ = nullptr;
  prepared_ = false;
}

bool TAnimEngine::HasObjects() const { return objects_ && objects_->Count() > 0; }

void TAnimEngine::SetWeather(bool on) {
  weather_on_ = on;
  snow_.reset();
  rain_.reset();
  if (!on || !project_) return;
  const TWeatherParam& w = project_->Weather;
  if (w.Kind == 1) {
    snow_ = std::make_unique<TSnow>();
    snow_->Bitmap = &composite_;
    snow_->SetCount(w.Count);
    snow_->Init();
  } else if (w.Kind == 2) {
    rain_ = std::make_unique<TRain>();
    rain_->Bitmap = &composite_;
    rain_->SetCount(w.Count);
    rain_->Init();
  }
}

void TAnimEngine::Prepare(bool run_workers) {
  if (!picture_) return;
  const uint32_t now = Now();
  last_tick_ = now;
  width_ = picture_->Width();
  height_ = picture_->Height();
  wave_frame_.SetSize(width_, height_);
  if (project_->Weather.Kind > 0 || HasObjects()) composite_.SetSize(width_, height_);
  Random::Seed(now);
  phase_.fill(0);

  any_reflection_ = false;
  for (const TWaveParam& w : project_->WaveParams) any_reflection_ = any_reflection_ || w.Reflection;
  if (any_reflection_) PrepareReflection();
  BuildRegionMap();
  for (int i = 0; i < 8; ++i) {
    const int range = project_->WaveParams[i].JitterRange;
    jitter_[i].assign(width_, 0);
    for (int c = 0; c < width_; ++c) jitter_[i][c] = Random::Next(range);
  }
  if (objects_) {
    for (int i = 0; i < objects_->Count(); ++i) {
      (*objects_)[i].SetClock(clock_);
      (*objects_)[i].SetFrame(width_, height_, pic_w_, pic_h_);
      (*objects_)[i].Start(run_workers);
    }
  }
  prepared_ = true;
  Step();
  wave_frame_.Assign(*picture_);
}

void TAnimEngine::PrepareReflection() {
  reflection_.Assign(*picture_);
  if (mask_->Width() != width_ || mask_->Height() != height_) return;
  std::array<int, 8> top;
  top.fill(-1);
  for (int r = 0; r < height_; ++r) {
    const Pixel* m = mask_->Row(r);
    Pixel* out = reflection_.Row(r);
    for (int c = 0; c < width_; ++c) {
      const int n = RegionOfPixel(m[c]);
      if (n <= 0 || !project_->WaveParams[n - 1].Reflection) continue;
      if (top[n - 1] == -1) top[n - 1] = r;
      const int s = 2 * top[n - 1] - r - 1;
      if (s >= 0) out[c] = picture_->Row(s)[c];
    }
  }
}

void TAnimEngine::BuildRegionMap() {
  region_top_.fill(50000);
  region_bottom_.fill(0);
  region_map_.assign(static_cast<size_t>(width_) * height_, -1);
  row_spans_.assign(height_, {});
  row_region_.assign(height_, -1);
  // A mask of another size than the picture marks no region.
  if (mask_->Width() != width_ || mask_->Height() != height_) return;
  for (int r = 0; r < height_; ++r) {
    const Pixel* m = mask_->Row(r);
    int16_t* map = region_map_.data() + static_cast<size_t>(r) * width_;
    std::vector<Span>& spans = row_spans_[r];
    for (int c = 0; c < width_; ++c) {
      const int n = RegionOfPixel(m[c]);
      map[c] = static_cast<int16_t>(n - 1);
      if (n <= 0) continue;
      region_top_[n - 1] = std::min(region_top_[n - 1], r);
      region_bottom_[n - 1] = std::max(region_bottom_[n - 1], r);
      if (!spans.empty() && spans.back().c1 == c && spans.back().region == n - 1)
        spans.back().c1 = c + 1;
      else
        spans.push_back({c, c + 1, n - 1});
    }
    if (spans.size() == 1 && spans[0].c0 == 0 && spans[0].c1 == width_) row_region_[r] = static_cast<int16_t>(spans[0].region);
  }
}

void TAnimEngine::DisplaceRows() {
  const TWaveParams& waves = project_->WaveParams;
  const Bitmap32& source = any_reflection_ ? reflection_ : *picture_;
  double amp[8], freq[8], amp_inc[8], freq_inc[8];
  int row_offset[8] = {}, shift_offset[8] = {}, period[8];
  for (int i = 0; i < 8; ++i) {
    const TWaveParam& w = waves[i];
    amp[i] = w.Amplitude;
    freq[i] = w.Period == 0 ? 0.0 : w.Waves / (360.0 / w.Period);
    // A period of 0 would divide by zero: the angle is then taken modulo 360 only.
    period[i] = w.Period == 0 ? 360 : w.Period;
    amp_inc[i] = freq_inc[i] = 0;
    if (w.Perspective) {
      const int span = region_bottom_[i] - region_top_[i];
      amp_inc[i] = span != 0 ? static_cast<double>(w.Amplitude) / span : w.Amplitude;
      freq_inc[i] = span != 0 ? freq[i] / span : freq[i];
    }
  }
  int present[8], present_count = 0;
  for (int i = 0; i < 8; ++i)
    if (region_top_[i] <= region_bottom_[i]) present[present_count++] = i;

  const int h = height_, wdt = width_;
  int offset_table[360];
  int offset_row = -1, offset_region = -1;
  for (int r = 0; r < h; ++r) {
    for (int k = 0; k < present_count; ++k) {
      const int i = present[k];
      if (r < region_top_[i] || r > region_bottom_[i]) continue;
      if (waves[i].Perspective) {
        amp[i] += amp_inc[i];
        freq[i] -= 0.8 * freq_inc[i];
      }
      const int angle = RoundSafe((h - r) * freq[i] * 360 / h + phase_[i]);
      row_offset[i] = RoundSafe(cos_table_[std::abs((angle % period[i]) % 360)] * amp[i]);
      shift_offset[i] =
          RoundSafe(std::cos((angle % 360) * std::numbers::pi / 180.0) * amp[i]);
    }
    const std::vector<Span>& spans = row_spans_[r];
    if (spans.empty()) continue;
    Pixel* const frame_row_r = wave_frame_.Row(r);
    for (const Span& sp : spans) {
      const int i = sp.region;
      const TWaveParam& w = waves[i];
      const bool jit = JitterApplies(w.Mode);
      const bool col = w.Waving && ColumnWave(w.Mode);
      const int32_t* jitter = jitter_[i].data();
      const bool shift = w.ShiftColumns != 0;
      // The column wave of this row: the angle grows along the row, and the offset of each
      // whole-degree angle is the same for the whole row.
      double col_factor = 0;
      if (col) {
        col_factor = h - r / 2.0;
        if (offset_row != r || offset_region != i) {
          for (int k = 0; k < 360; ++k) offset_table[k] = RoundSafe(cos_table_[k] * amp[i]);
          offset_row = r;
          offset_region = i;
        }
      }
      // The common case (rows only, no jitter, no sideways shift): one source row, and
      // every destination is the pixel itself.
      if (w.Waving && !col && !shift && w.JitterRange <= 1) {
        const int sr = std::min(std::max(r + row_offset[i], 0), h - 1);
        const int16_t* map_s = region_map_.data() + static_cast<size_t>(sr) * wdt;
        const Pixel* src = source.Row(sr);
        for (int c = sp.c0; c < sp.c1; ++c)
          if (map_s[c] == i) frame_row_r[c] = src[c];
        continue;
      }
      // Everything the loop reads is in locals: pixel writes could otherwise alias them.
      const bool waving = w.Waving != 0;
      const bool x_forward = w.Mode == 3 || w.Mode == 4;
      const int per = period[i];
      const int shift_by = shift_offset[i];
      const double fq = freq[i], ph = static_cast<double>(phase_[i]);
      int offset = row_offset[i];
      const int16_t* const map = region_map_.data();
      // Rows that one region fills need no look at the map.
      const int16_t* const whole = row_region_.data();
      for (int c = sp.c0; c < sp.c1; ++c) {
        const int j = jitter[c];
        int sr;
        if (waving) {
          if (col) {
            const int x = x_forward ? c : wdt - c - 1;
            const int a = RoundSafe(x * fq * 0.5 * col_factor / h + ph);
            int m = a % per;
            if (m >= 360 || m <= -360) m %= 360;
            offset = offset_table[m < 0 ? -m : m];
          }
          sr = r + offset - (jit ? j : 0);
        } else {
          sr = r - j;
        }
        sr = std::max(sr, 0);
        int dr = std::max(jit ? r - j : r, 0);
        int sc = c;
        if (shift) sc = std::clamp(c - shift_by, 0, wdt - 1);
        dr = std::min(dr, h - 1);
        if (whole[dr] != i && map[static_cast<size_t>(dr) * wdt + sc] != i) continue;
        sr = std::min(sr, h - 1);
        if (whole[sr] != i && map[static_cast<size_t>(sr) * wdt + sc] != i) continue;
        wave_frame_.Row(dr)[c] = source.Row(sr)[sc];
      }
      row_offset[i] = offset;  // the column wave's last value stays for later columns
    }
  }
}

void TAnimEngine::Step() {
  if (!prepared_ || !picture_) return;
  const uint32_t now = Now();
  const int64_t dt = static_cast<int64_t>(static_cast<uint32_t>(now - last_tick_));
  last_tick_ = now;
  if (wave_frame_.Width() != width_ || wave_frame_.Height() != height_) return;

  DisplaceRows();

  for (int i = 0; i < 8; ++i) {
    const TWaveParam& w = project_->WaveParams[i];
    const int delta = RoundSafe(w.WaveSpeed * static_cast<double>(dt) / 50 * speed_percent_ / 100);
    constexpr int64_t kLimit = int64_t{1} << 60;
    phase_[i] = std::clamp<int64_t>(phase_[i] + (PhaseRunsDown(w.Mode) ? -delta : delta), -kLimit, kLimit);
  }

  if (weather_on_ || HasObjects()) composite_.Assign(wave_frame_);
  DrawObjects(dt);
  if (weather_on_) {
    const TWeatherParam& w = project_->Weather;
    const int frame_time = static_cast<int>(std::min<int64_t>(dt, 1000000));
    if (snow_) {
      snow_->FrameTime = frame_time;
      snow_->SpeedPercent = speed_percent_;
      snow_->SpeedIndex = w.Speed;
      snow_->Opacity = w.Opacity;
      snow_->Step();
    } else if (rain_) {
      rain_->FrameTime = frame_time;
      rain_->SpeedPercent = speed_percent_;
      rain_->SpeedIndex = w.Speed;
      rain_->Length = w.Length;
      rain_->Opacity = w.Opacity;
      rain_->Direction = 180 - w.Angle;
      rain_->Step();
    }
  }
}

void TAnimEngine::DrawObjects(int64_t dt) {
  if (!objects_ || composite_.Empty()) return;
  for (int i = 0; i < objects_->Count(); ++i) {
    TAnimObject& o = (*objects_)[i];
    const TAnimObject::View v = o.TakeView();
    const Bitmap32* image = o.CurrentImage(dt);
    if (!v.Visible || !image || image->Empty()) continue;
    const int left = v.Left, top = v.Top;
    const int right = RoundSafe(left + image->Width() * v.ScaleX * v.WidthSize / 100);
    const int bottom = RoundSafe(top + image->Height() * v.ScaleY * v.HeightSize / 100);
    const Bitmap32* src = image;
    if (v.Mirrored) {
      const Bitmap32& m = o.MirroredImage();
      if (m.Width() == image->Width() && m.Height() == image->Height()) src = &m;
    }
    composite_.StretchDraw({left, top, right, bottom}, *src, src->BoundsRect());
  }
}

const Bitmap32& TAnimEngine::Output() const {
  if ((weather_on_ || HasObjects()) && !composite_.Empty()) return composite_;
  return wave_frame_;
}

void TAnimEngine::ResetFrame() {
  if (!picture_) return;
  wave_frame_.Assign(*picture_);
  if (any_reflection_) PrepareReflection();
}

}  // namespace kx
