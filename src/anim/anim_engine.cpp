#include "anim/anim_engine.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "anim/anim_objects.h"
#include "anim/rain.h"
#include "anim/snow.h"
#include "media/intmath.h"
#include "media/random.h"
#include "media/worker_pool.h"
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
    jitter_moves_[i] = false;
    jitter_max_[i] = 0;
    for (int c = 0; c < width_; ++c) {
      jitter_[i][c] = Random::Next(range);
      jitter_moves_[i] = jitter_moves_[i] || jitter_[i][c] != 0;
      jitter_max_[i] = std::max(jitter_max_[i], jitter_[i][c]);
    }
  }
  row_waves_.assign(static_cast<size_t>(height_) * 8, RowWave{});
  scratch_.resize(Pool().Threads());
  for (BandScratch& s : scratch_) {
    s.angles.assign(width_, 0);
    s.table_valid.fill(false);
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

void TAnimEngine::ComputeRowWaves() {
  const TWaveParams& waves = project_->WaveParams;
  double amp[8], freq[8], amp_inc[8], freq_inc[8];
  int period[8];
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
  const int h = height_;
  for (int i = 0; i < 8; ++i) {
    if (region_top_[i] > region_bottom_[i]) continue;
    for (int r = region_top_[i]; r <= region_bottom_[i]; ++r) {
      if (waves[i].Perspective) {
        amp[i] += amp_inc[i];
        freq[i] -= 0.8 * freq_inc[i];
      }
      const int angle = RoundSafe((h - r) * freq[i] * 360 / h + phase_[i]);
      RowWave& rw = row_waves_[static_cast<size_t>(r) * 8 + i];
      rw.offset = RoundSafe(cos_table_[std::abs((angle % period[i]) % 360)] * amp[i]);
      rw.shift = RoundSafe(std::cos((angle % 360) * std::numbers::pi / 180.0) * amp[i]);
      rw.amp = amp[i];
      rw.freq = freq[i];
    }
  }
}

// The pixels of row sr (clamped) move to row r in columns c0 .. c1 - 1, taken ShiftBy columns
// to the left when shift is on (clamped at the picture's sides), where both the destination
// and the source pixel of the source column belong to the region.
void TAnimEngine::CopySpan(int r, int sr, int c0, int c1, int region, bool shift, int shift_by) {
  const Bitmap32& source = any_reflection_ ? reflection_ : *picture_;
  const int wdt = width_;
  Pixel* const dst = wave_frame_.Row(r);
  const Pixel* const src = source.Row(sr);
  const int16_t* const map_d = region_map_.data() + static_cast<size_t>(r) * wdt;
  const int16_t* const map_s = region_map_.data() + static_cast<size_t>(sr) * wdt;
  const bool whole = row_region_[r] == region && row_region_[sr] == region;
  const int16_t i = static_cast<int16_t>(region);
  if (!shift) {
    if (whole) {
      std::copy(src + c0, src + c1, dst + c0);
      return;
    }
    for (int c = c0; c < c1; ++c)
      if (map_s[c] == i) dst[c] = src[c];
    return;
  }
  // Columns whose source is clamped to the first column, those inside, those clamped to
  // the last one.
  const int64_t s = shift_by;
  const int a = static_cast<int>(std::clamp<int64_t>(s, c0, c1));
  const int b = static_cast<int>(std::clamp<int64_t>(s + wdt, a, c1));
  auto edge = [&](int from, int to, int sc) {
    if (from >= to || map_d[sc] != i || map_s[sc] != i) return;
    std::fill(dst + from, dst + to, src[sc]);
  };
  edge(c0, a, 0);
  if (whole) {
    std::copy(src + (a - shift_by), src + (b - shift_by), dst + a);
  } else {
    const int16_t* const md = map_d - shift_by;
    const int16_t* const ms = map_s - shift_by;
    const Pixel* const sp = src - shift_by;
    for (int c = a; c < b; ++c)
      if (md[c] == i && ms[c] == i) dst[c] = sp[c];
  }
  edge(b, c1, wdt - 1);
}

// The column modes: the angle grows along the row, so each column has its own offset; the
// source rows then differ column by column but stay within a few rows of this one.
void TAnimEngine::ColumnSpan(int r, const Span& sp, const RowWave& rw, BandScratch& scratch) {
  const TWaveParam& w = project_->WaveParams[sp.region];
  const int i = sp.region;
  const int h = height_, wdt = width_;
  // The offset of each whole-degree angle, the same for every row of the same amplitude.
  std::array<int32_t, 360>& table = scratch.table[i];
  std::array<int64_t, 360>& step = scratch.step[i];
  if (!scratch.table_valid[i] || !(scratch.table_amp[i] == rw.amp)) {
    int lo = INT32_MAX, hi = INT32_MIN;
    int k = 0;
#if defined(__SSE2__)
    // RoundSafe two entries at a time.
    const __m128d va = _mm_set1_pd(rw.amp), vlo = _mm_set1_pd(-1e9), vhi = _mm_set1_pd(1e9);
    const __m128d magic = _mm_set1_pd(6755399441055744.0);
    for (; k + 2 <= 360; k += 2) {
      __m128d v = _mm_mul_pd(_mm_loadu_pd(cos_table_.data() + k), va);
      v = _mm_min_pd(_mm_max_pd(v, vlo), vhi);
      v = _mm_sub_pd(_mm_add_pd(v, magic), magic);
      _mm_storel_epi64(reinterpret_cast<__m128i*>(table.data() + k), _mm_cvttpd_epi32(v));
    }
#endif
    for (; k < 360; ++k) table[k] = RoundSafe(cos_table_[k] * rw.amp);
    for (k = 0; k < 360; ++k) {
      step[k] = static_cast<int64_t>(table[k]) * wdt;
      lo = std::min(lo, table[k]);
      hi = std::max(hi, table[k]);
    }
    scratch.table_amp[i] = rw.amp;
    scratch.table_min[i] = lo;
    scratch.table_max[i] = hi;
    scratch.table_valid[i] = true;
  }
  const bool x_forward = w.Mode == 3 || w.Mode == 4;
  const double fq = rw.freq, ph = static_cast<double>(phase_[i]);
  const double col_factor = h - r / 2.0;
  const int n = sp.c1 - sp.c0;
  // x = c or wdt - 1 - c; the angle is Round(x * fq * 0.5 * col_factor / h + ph), evaluated
  // in this order (two columns at a time where the processor has the instructions).
  const int x0 = x_forward ? sp.c0 : wdt - 1 - sp.c0, dx = x_forward ? 1 : -1;
  // The angle's remainder by the period and then by 360 equals that of its magnitude, with
  // the sign of the angle, and the table is even, so each column needs only the remainder of
  // the angle's magnitude: exact in floating point too, the angles being whole numbers far
  // below 2^53.
  const int per = w.Period == 0 ? 360 : w.Period;
  const uint32_t divisor = static_cast<uint32_t>(per < 0 ? -static_cast<int64_t>(per) : per);
  const bool fold360 = divisor > 360;
  // The remainder of |a| by the period (a multiplication, exactly) and then by 360.
  const uint64_t magic = UINT64_C(0xFFFFFFFFFFFFFFFF) / divisor + 1;
  auto fold_period = [&](int32_t a) -> uint32_t {
    const uint32_t u = static_cast<uint32_t>(a < 0 ? -static_cast<int64_t>(a) : a);
    return static_cast<uint32_t>((static_cast<unsigned __int128>(magic * u) * divisor) >> 64);
  };
  auto fold = [&](int32_t a) -> uint32_t {
    const uint32_t m = fold_period(a);
    return fold360 ? m % 360 : m;
  };
  const Bitmap32& source = any_reflection_ ? reflection_ : *picture_;
  Pixel* const dst = wave_frame_.Row(r);
  const int16_t* const map = region_map_.data();
  const int16_t* const map_d = map + static_cast<size_t>(r) * wdt;
  const int16_t* const whole = row_region_.data();
  const bool shift = w.ShiftColumns != 0;
  const int shift_by = rw.shift;
  const int16_t ri = static_cast<int16_t>(i);
  // Every row a column can come from lies inside the picture and wholly inside the region:
  // nothing to clamp and no mask to look at.
  const int lo = scratch.table_min[i], hi = scratch.table_max[i];
  bool clean = !shift && r + lo >= 0 && r + hi <= h - 1;
  for (int y = r + lo; clean && y <= r + hi; ++y) clean = whole[y] == ri;
  const Pixel* const src_row = source.Row(r) + sp.c0;
  const int64_t* const st = step.data();
  Pixel* const out = dst + sp.c0;
  // index[k]: the table entry of column c0 + k, where the pixels are not moved at once.
  int32_t* const index = scratch.angles.data();
  auto exact = [&](int k) { return RoundSafe((x0 + dx * k) * fq * 0.5 * col_factor / h + ph); };
  int k = 0;
  // Along the row the angle moves by the same real amount from column to column, and the
  // formula's floating-point angles are monotonic in the column. Walked in fixed point
  // (32 fraction bits) the angle is the rounded floating-point value wherever it lies clear of
  // a half (the two differ by less than 2^-18 of a degree while the angles stay below 2^29);
  // the few columns near a half, and the first of each part, are evaluated as the formula
  // says. The angles change sign at most once along the run, so each part of one sign walks
  // their magnitude.
  const double slope = fq * 0.5 * col_factor / h;
  constexpr double kWalkLimit = 536870912.0;  // 2^29
  if (n > 0 && std::abs(slope) * wdt + std::abs(ph) < kWalkLimit) {
    constexpr double kOne = 4294967296.0;
    constexpr int64_t kHalf = int64_t{1} << 31, kNear = int64_t{1} << 17;  // 2^-15
    // Columns k0 .. k1 - 1, whose angles have the sign `sign` (or are 0). The remainder is
    // taken column by column (by multiplications), so that no column waits for the one
    // before it.
    auto walk = [&](int k0, int k1, int sign, auto by_360, auto sink) {
      const int64_t step_fix = std::llround(slope * dx * sign * kOne);
      int64_t acc = std::llround((static_cast<double>(x0 + dx * k0) * slope + ph) * sign * kOne);
      for (int kk = k0; kk < k1; ++kk, acc += step_fix) {
        uint32_t u;
        if (kk == k0 || static_cast<uint32_t>(acc + kHalf + kNear) < static_cast<uint32_t>(2 * kNear))
          u = static_cast<uint32_t>(static_cast<int64_t>(exact(kk)) * sign);
        else
          u = static_cast<uint32_t>((acc + kHalf) >> 32);
        uint32_t m;
        if constexpr (decltype(by_360)::value) {
          m = u % 360;
        } else {
          m = static_cast<uint32_t>((static_cast<unsigned __int128>(magic * u) * divisor) >> 64);
          if (fold360) m %= 360;
        }
        sink(kk, m);
      }
    };
    // The angles change sign at most once along the run: the first column of the other sign.
    const int32_t first = exact(0), last = exact(n - 1);
    const int s0 = first > 0 || (first == 0 && last >= 0) ? 1 : -1;
    int split = n;
    if ((last > 0 && s0 < 0) || (last < 0 && s0 > 0)) {
      int a_lo = 0, a_hi = n - 1;  // exact(a_lo) is on s0's side, exact(a_hi) is not
      while (a_hi - a_lo > 1) {
        const int mid = a_lo + (a_hi - a_lo) / 2;
        const int32_t v = exact(mid);
        if ((s0 > 0 && v >= 0) || (s0 < 0 && v <= 0)) a_lo = mid;
        else a_hi = mid;
      }
      split = a_hi;
    }
    auto run = [&](auto sink) {
      auto part = [&](int k0, int k1, int sign) {
        if (k0 >= k1) return;
        if (divisor == 360) walk(k0, k1, sign, std::true_type{}, sink);
        else walk(k0, k1, sign, std::false_type{}, sink);
      };
      part(0, split, s0);
      part(split, n, -s0);
    };
    if (clean) {
      run([&](int kk, uint32_t idx) { out[kk] = src_row[kk + st[idx]]; });
      return;
    }
    run([&](int kk, uint32_t idx) { index[kk] = static_cast<int32_t>(idx); });
    k = n;
  }
#if defined(__SSE2__)
  {
    const __m128d vfq = _mm_set1_pd(fq), half = _mm_set1_pd(0.5), vcf = _mm_set1_pd(col_factor);
    const __m128d vh = _mm_set1_pd(static_cast<double>(h)), vph = _mm_set1_pd(ph);
    const __m128d lo = _mm_set1_pd(-1e9), hi = _mm_set1_pd(1e9), magic = _mm_set1_pd(6755399441055744.0);
    const __m128d step2 = _mm_set1_pd(2.0 * dx);
    const __m128d sign = _mm_set1_pd(-0.0), zero = _mm_setzero_pd();
    const __m128d d1 = _mm_set1_pd(static_cast<double>(divisor)), inv1 = _mm_set1_pd(1.0 / divisor);
    const __m128d d2 = _mm_set1_pd(360.0), inv2 = _mm_set1_pd(1.0 / 360.0);
    // u mod d for whole u >= 0: the nearest quotient, and one d back where it was too big.
    auto mod = [&](__m128d u, __m128d d, __m128d inv) {
      const __m128d q = _mm_sub_pd(_mm_add_pd(_mm_mul_pd(u, inv), magic), magic);
      const __m128d m = _mm_sub_pd(u, _mm_mul_pd(q, d));
      return _mm_add_pd(m, _mm_and_pd(_mm_cmplt_pd(m, zero), d));
    };
    __m128d vx = _mm_set_pd(x0 + dx * (k + 1), x0 + dx * k);
    for (; k + 2 <= n; k += 2) {
      // x * fq * 0.5 * col_factor / h + ph, rounded half to even, in this order.
      __m128d v = _mm_mul_pd(vx, vfq);
      v = _mm_mul_pd(v, half);
      v = _mm_mul_pd(v, vcf);
      v = _mm_div_pd(v, vh);
      v = _mm_add_pd(v, vph);
      v = _mm_min_pd(_mm_max_pd(v, lo), hi);
      v = _mm_sub_pd(_mm_add_pd(v, magic), magic);
      v = _mm_andnot_pd(sign, v);
      v = mod(v, d1, inv1);
      if (fold360) v = mod(v, d2, inv2);
      _mm_storel_epi64(reinterpret_cast<__m128i*>(index + k), _mm_cvttpd_epi32(v));
      vx = _mm_add_pd(vx, step2);
    }
  }
#endif
  for (; k < n; ++k) index[k] = static_cast<int32_t>(fold(exact(k)));
  if (clean) {
    for (int k2 = 0; k2 < n; ++k2) out[k2] = src_row[k2 + st[index[k2]]];
    return;
  }
  for (int k2 = 0; k2 < n; ++k2) {
    const int c = sp.c0 + k2;
    const int sr = std::clamp(r + table[index[k2]], 0, h - 1);
    int sc = c;
    if (shift) sc = static_cast<int>(std::clamp<int64_t>(static_cast<int64_t>(c) - shift_by, 0, wdt - 1));
    if (whole[r] != ri && map_d[sc] != ri) continue;
    if (whole[sr] != ri && map[static_cast<size_t>(sr) * wdt + sc] != ri) continue;
    dst[c] = source.Row(sr)[sc];
  }
}

// Everything else: the still regions (the source row moves by the column's jitter) and the
// row modes with jitter, which moves both the source and the destination row of a column.
void TAnimEngine::JitterSpan(int r, const Span& sp, const RowWave& rw) {
  const TWaveParam& w = project_->WaveParams[sp.region];
  const int i = sp.region;
  const int h = height_, wdt = width_;
  const bool jit = JitterApplies(w.Mode);
  const bool waving = w.Waving != 0;
  const bool shift = w.ShiftColumns != 0;
  const int shift_by = rw.shift;
  const int64_t base = waving ? static_cast<int64_t>(r) + rw.offset : r;
  const int32_t* const jitter = jitter_[i].data();
  const Bitmap32& source = any_reflection_ ? reflection_ : *picture_;
  const int16_t* const map = region_map_.data();
  const int16_t* const whole = row_region_.data();
  const int16_t ri = static_cast<int16_t>(i);
  // A few jitter values, and every row they reach lies inside the picture and wholly in the
  // region: the rows of each value are looked up once, and the mask not at all.
  constexpr int kFewValues = 32;
  const int jmax = jitter_max_[i];
  if (jit && jmax < kFewValues && base - jmax >= 0 && base <= h - 1 && r - jmax >= 0) {
    bool clean = true;
    for (int v = 0; v <= jmax && clean; ++v)
      clean = whole[r - v] == ri && whole[base - v] == ri;
    if (clean) {
      Pixel* dst_rows[kFewValues];
      const Pixel* src_rows[kFewValues];
      for (int v = 0; v <= jmax; ++v) {
        dst_rows[v] = wave_frame_.Row(r - v);
        src_rows[v] = source.Row(static_cast<int>(base - v));
      }
      if (!shift) {
        for (int c = sp.c0; c < sp.c1; ++c) dst_rows[jitter[c]][c] = src_rows[jitter[c]][c];
      } else {
        for (int c = sp.c0; c < sp.c1; ++c) {
          const int sc = static_cast<int>(std::clamp<int64_t>(static_cast<int64_t>(c) - shift_by, 0, wdt - 1));
          dst_rows[jitter[c]][c] = src_rows[jitter[c]][sc];
        }
      }
      return;
    }
  }
  for (int c = sp.c0; c < sp.c1; ++c) {
    const int64_t j = jitter[c];
    const int64_t sr64 = waving ? base - (jit ? j : 0) : base - j;
    const int sr = static_cast<int>(std::clamp<int64_t>(sr64, 0, h - 1));
    const int dr = jit ? static_cast<int>(std::clamp<int64_t>(r - j, 0, h - 1)) : r;
    int sc = c;
    if (shift) sc = static_cast<int>(std::clamp<int64_t>(static_cast<int64_t>(c) - shift_by, 0, wdt - 1));
    if (whole[dr] != ri && map[static_cast<size_t>(dr) * wdt + sc] != ri) continue;
    if (whole[sr] != ri && map[static_cast<size_t>(sr) * wdt + sc] != ri) continue;
    wave_frame_.Row(dr)[c] = source.Row(sr)[sc];
  }
}

void TAnimEngine::DisplaceBand(int r0, int r1, BandScratch& scratch) {
  const TWaveParams& waves = project_->WaveParams;
  const int h = height_;
  for (int r = r0; r < r1; ++r) {
    for (const Span& sp : row_spans_[r]) {
      const int i = sp.region;
      const TWaveParam& w = waves[i];
      const RowWave& rw = row_waves_[static_cast<size_t>(r) * 8 + i];
      const bool col = w.Waving && ColumnWave(w.Mode);
      const bool moves_rows = JitterApplies(w.Mode) ? jitter_moves_[i] : false;
      if (col) {
        ColumnSpan(r, sp, rw, scratch);
      } else if (w.Waving && !moves_rows) {
        // One source row for the whole run.
        CopySpan(r, std::clamp(r + rw.offset, 0, h - 1), sp.c0, sp.c1, i, w.ShiftColumns != 0, rw.shift);
      } else {
        JitterSpan(r, sp, rw);
      }
    }
  }
}

void TAnimEngine::DisplaceRows() {
  ComputeRowWaves();
  // Jitter in a rows mode writes into the rows above: those frames are drawn on one thread
  // so that the rows keep their order.
  bool one_band = false;
  for (int i = 0; i < 8; ++i)
    if (region_top_[i] <= region_bottom_[i] && JitterApplies(project_->WaveParams[i].Mode) && jitter_moves_[i])
      one_band = true;
  const bool copy = weather_on_ || HasObjects();
  const bool copy_rows = copy && composite_.Width() == width_ && composite_.Height() == height_;
  WorkerPool& pool = Pool();
  if (scratch_.size() < static_cast<size_t>(pool.Threads())) {  // the thread count changed
    scratch_.resize(pool.Threads());
    for (BandScratch& s : scratch_) s.angles.resize(width_);
  }
  auto band = [&](int b, int r0, int r1) {
    if (!copy_rows || one_band) {
      DisplaceBand(r0, r1, scratch_[b]);
      return;
    }
    // Each row goes to the composite while it is still in the cache.
    for (int r = r0; r < r1; ++r) {
      DisplaceBand(r, r + 1, scratch_[b]);
      std::copy(wave_frame_.Row(r), wave_frame_.Row(r) + width_, composite_.Row(r));
    }
  };
  pool.ForBands(height_, band, one_band ? 1 : 0);
  if (copy && (!copy_rows || one_band)) composite_.Assign(wave_frame_);
}

WorkerPool& TAnimEngine::Pool() {
  if (shared_pool_ && threads_ == 0) return *shared_pool_;
  const int want = threads_ > 0 ? threads_ : WorkerPool::DefaultThreads();
  if (!pool_ || pool_->Threads() != want) pool_ = std::make_unique<WorkerPool>(want);
  return *pool_;
}

void TAnimEngine::SetThreads(int threads) {
  threads_ = threads < 0 ? 0 : threads;
  if (pool_ && pool_->Threads() != (threads_ > 0 ? threads_ : WorkerPool::DefaultThreads())) pool_.reset();
}

int TAnimEngine::Threads() const {
  if (shared_pool_ && threads_ == 0) return shared_pool_->Threads();
  return threads_ > 0 ? threads_ : (pool_ ? pool_->Threads() : WorkerPool::DefaultThreads());
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
  // The objects' views and images are taken here, in list order; then each band of rows
  // draws every object's part in that band, later objects over earlier ones.
  drawn_.clear();
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
    drawn_.push_back({{left, top, right, bottom}, src});
  }
  if (drawn_.empty()) return;
  Pool().ForBands(composite_.Height(), [&](int, int r0, int r1) {
    for (const Drawn& d : drawn_) composite_.StretchDrawRows(d.rect, *d.image, d.image->BoundsRect(), r0, r1);
  });
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
