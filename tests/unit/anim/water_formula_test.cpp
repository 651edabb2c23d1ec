// The water of a living picture against a plain transcription of its formula, for the wave
// settings the other engine tests leave at zero: Waves, Perspective, the column modes, jitter
// with Waving, and the column shift under a period other than 360. Each case also names a
// likely slip in the formula and checks that the slip would change the frame, so a case that
// passes does test what it names.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "anim/anim_engine.h"
#include "anim_test_support.h"
#include "media/random.h"
#include "package/region_mask.h"

namespace kx {
namespace {

using test::FakeClock;
using test::MakeLivingPicture;

enum class Slip {
  None,
  HalfRowInteger,     // (Height - r div 2) instead of (Height - r / 2) in the column wave
  PerspectiveHalf,    // the wave density falls by 0.5 instead of 0.8 per row
  MirrorColumnOffBy1, // x = Width - c instead of Width - c - 1 in modes 2 and 5
  NoJitterWhenWaving, // jitter only applied to regions that do not wave
  ShiftUsesPeriod,    // the column shift folded by Period instead of 360
};

int Round(double v) { return static_cast<int>(std::nearbyint(v)); }  // halves to even
double CosDeg(int k) { return std::cos(k * std::numbers::pi / 180.0); }

// One frame of the water drawn over a copy of the picture at the given phases.
Bitmap32 ReferenceFrame(const TProject& rec, const std::array<int64_t, 8>& phase,
                        const std::array<std::vector<int>, 8>& jitter, Slip slip) {
  const Bitmap32& pic = rec.Picture;
  const int W = pic.Width(), H = pic.Height();
  std::vector<int> map(static_cast<size_t>(W) * H);
  std::array<int, 8> top, bottom;
  top.fill(H);
  bottom.fill(-1);
  for (int r = 0; r < H; ++r)
    for (int c = 0; c < W; ++c) {
      const int i = RegionOfPixel(rec.RegionMask.GetPixel(c, r)) - 1;
      map[r * W + c] = i;
      if (i >= 0) {
        top[i] = std::min(top[i], r);
        bottom[i] = std::max(bottom[i], r);
      }
    }
  auto region = [&](int r, int c) { return map[r * W + c]; };
  double amp[8], freq[8], ampInc[8] = {}, freqInc[8] = {};
  int rowOff[8] = {}, shiftOff[8] = {};
  for (int i = 0; i < 8; ++i) {
    const TWaveParam& w = rec.WaveParams[i];
    amp[i] = w.Amplitude;
    freq[i] = w.Waves / (360.0 / w.Period);
    if (w.Perspective) {
      const int span = bottom[i] - top[i];
      ampInc[i] = span != 0 ? static_cast<double>(w.Amplitude) / span : w.Amplitude;
      freqInc[i] = span != 0 ? freq[i] / span : freq[i];
    }
  }
  Bitmap32 out;
  out.Assign(pic);
  for (int r = 0; r < H; ++r) {
    for (int i = 0; i < 8; ++i) {
      if (r < top[i] || r > bottom[i]) continue;
      const TWaveParam& w = rec.WaveParams[i];
      if (w.Perspective) {
        amp[i] += ampInc[i];
        freq[i] -= (slip == Slip::PerspectiveHalf ? 0.5 : 0.8) * freqInc[i];
      }
      const int angle = Round((H - r) * freq[i] * 360 / H + static_cast<double>(phase[i]));
      rowOff[i] = Round(CosDeg(std::abs((angle % w.Period) % 360)) * amp[i]);
      const int shiftAngle = slip == Slip::ShiftUsesPeriod ? angle % w.Period : angle % 360;
      shiftOff[i] = Round(std::cos(shiftAngle * std::numbers::pi / 180.0) * amp[i]);
    }
    for (int c = 0; c < W; ++c) {
      const int i = region(r, c);
      if (i < 0) continue;
      const TWaveParam& w = rec.WaveParams[i];
      const int j = jitter[i][c];
      const bool rowsMode = w.Mode < 2;
      int sr;
      if (w.Waving) {
        if (w.Mode >= 2 && w.Mode <= 5) {
          int x = (w.Mode == 3 || w.Mode == 4) ? c : W - c - 1;
          if (slip == Slip::MirrorColumnOffBy1 && (w.Mode == 2 || w.Mode == 5)) x = W - c;
          const double half = slip == Slip::HalfRowInteger ? r / 2 : r / 2.0;
          const int a = Round(x * freq[i] / 2 * (H - half) / H + static_cast<double>(phase[i]));
          rowOff[i] = Round(CosDeg(std::abs((a % w.Period) % 360)) * amp[i]);
        }
        sr = r + rowOff[i] - (rowsMode && slip != Slip::NoJitterWhenWaving ? j : 0);
      } else {
        sr = r - j;
      }
      sr = std::max(sr, 0);
      int dr = std::max(r - (rowsMode && (w.Waving == 0 || slip != Slip::NoJitterWhenWaving) ? j : 0), 0);
      int sc = c;
      if (w.ShiftColumns) sc = std::clamp(c - shiftOff[i], 0, W - 1);
      dr = std::min(dr, H - 1);
      if (region(dr, sc) != i) continue;
      sr = std::min(sr, H - 1);
      if (region(sr, sc) == i) out.SetPixel(c, dr, pic.GetPixel(sc, sr));
    }
  }
  return out;
}

// Region 1's wave set afresh: everything else of it zero.
TWaveParam& SetWave(TProject& rec, int mode, int waves, int perspective, int period, int amplitude) {
  TWaveParam& w = rec.WaveParams[0];
  w = TWaveParam{};
  w.Amplitude = amplitude;
  w.Mode = mode;
  w.Waves = waves;
  w.Perspective = static_cast<uint8_t>(perspective);
  w.Period = period;
  w.WaveSpeed = 15;
  return w;
}

// The engine on `rec` with the fake clock and no weather, prepared.
void StartEngine(TAnimEngine& engine, TProject& rec, FakeClock& clock) {
  engine.SetClock(clock.Fn());
  engine.Attach(rec, nullptr);
  engine.SetWeather(false);
  engine.Prepare(false);
}

std::array<int64_t, 8> Phases(const TAnimEngine& engine) {
  std::array<int64_t, 8> phase;
  for (int i = 0; i < 8; ++i) phase[i] = engine.Phase(i);
  return phase;
}

struct Case {
  const char* name;
  int mode, waves, perspective, period, shift, waving, jitter;
  Slip slip;  // the slip this case must catch
};

TEST(WaterFormula, FramesFollowTheFormula) {
  const Case cases[] = {
      {"waves over the rows", 1, 5, 0, 360, 0, 1, 0, Slip::PerspectiveHalf},  // slip must not matter
      {"perspective, phase up", 1, 5, 1, 360, 0, 1, 0, Slip::PerspectiveHalf},
      {"perspective, phase down", 0, 7, 1, 360, 0, 1, 0, Slip::PerspectiveHalf},
      {"mode 2: columns right to left", 2, 9, 0, 360, 0, 1, 0, Slip::MirrorColumnOffBy1},
      {"mode 2: the row halved as a real", 2, 9, 0, 360, 0, 1, 0, Slip::HalfRowInteger},
      {"mode 4: columns left to right, phase down", 4, 9, 1, 360, 0, 1, 0, Slip::HalfRowInteger},
      {"mode 5: columns right to left, phase down", 5, 9, 0, 360, 0, 1, 0, Slip::MirrorColumnOffBy1},
      {"jitter with waving, mode 1", 1, 3, 0, 360, 0, 1, 4, Slip::NoJitterWhenWaving},
      {"jitter with waving, mode 0", 0, 3, 1, 360, 0, 1, 3, Slip::NoJitterWhenWaving},
      {"jitter without waving", 1, 3, 0, 360, 0, 0, 3, Slip::None},
      {"shift under a 180 period", 1, 3, 0, 180, 1, 1, 0, Slip::ShiftUsesPeriod},
      {"shift under a 180 period, no waving", 1, 3, 0, 180, 1, 0, 0, Slip::ShiftUsesPeriod},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    RandomStateGuard guard;
    FakeClock clock;
    TProject rec;
    MakeLivingPicture(rec, 48, 40, 6, 37);
    TWaveParam& w = SetWave(rec, k.mode, k.waves, k.perspective, k.period, 7);
    w.ShiftColumns = static_cast<uint8_t>(k.shift);
    w.Waving = static_cast<uint8_t>(k.waving);
    w.JitterRange = k.jitter;
    TAnimEngine engine;
    const uint32_t prepared_at = clock.now;
    StartEngine(engine, rec, clock);
    // The jitter the engine drew when it was prepared: the generator seeded from the clock,
    // then every column of every region in turn.
    std::array<std::vector<int>, 8> jitter;
    Random::Seed(prepared_at);
    for (int i = 0; i < 8; ++i)
      for (int c = 0; c < 48; ++c) jitter[i].push_back(Random::Next(rec.WaveParams[i].JitterRange));
    bool slip_seen = k.slip == Slip::None;
    for (int t : {0, 130, 470, 910}) {
      clock.Advance(static_cast<uint32_t>(t));
      const std::array<int64_t, 8> phase = Phases(engine);
      engine.ResetFrame();
      engine.Step();
      const Bitmap32 expect = ReferenceFrame(rec, phase, jitter, Slip::None);
      ASSERT_EQ(engine.WaveFrame(), expect) << "at +" << t << " ms, phase " << phase[0];
      if (k.slip != Slip::None && ReferenceFrame(rec, phase, jitter, k.slip) != expect) slip_seen = true;
    }
    if (std::string(k.name) != "waves over the rows") {
      EXPECT_TRUE(slip_seen) << "the case does not catch its slip";
    }
    engine.Detach();
  }
}

// The column modes over long rows at phases from the first steps (angles of both signs along
// one row) to hours of showing (angles far beyond what a row spans), under periods below,
// at and above 360, with and without perspective.
TEST(WaterFormula, ColumnWavesFollowTheFormulaAtEveryPhase) {
  struct ColumnCase {
    int mode, waves, period, perspective, amplitude;
  };
  const ColumnCase cases[] = {
      {2, 17, 360, 1, 6}, {3, 9, 360, 0, 9}, {4, 17, 100, 1, 5}, {5, 5, 500, 1, 7},
      {2, 40, -200, 0, 4}, {3, 3, 45, 1, 8},  {5, 120, 360, 0, 3}, {4, 1, 7, 1, 6},
  };
  // Clock advances in milliseconds: small ones, then ones that take the phase past 2^29.
  const uint32_t advances[] = {0, 33, 170, 2500, 61000, 3600000, 1200000000u, 2000000000u, 33};
  for (const ColumnCase& k : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << k.mode << " waves " << k.waves << " period " << k.period);
    RandomStateGuard guard;
    FakeClock clock;
    TProject rec;
    MakeLivingPicture(rec, 240, 60, 10, 55);
    SetWave(rec, k.mode, k.waves, k.perspective, k.period, k.amplitude);
    TAnimEngine engine;
    StartEngine(engine, rec, clock);
    std::array<std::vector<int>, 8> no_jitter;
    no_jitter.fill(std::vector<int>(240));
    for (uint32_t t : advances) {
      clock.Advance(t);
      const std::array<int64_t, 8> phase = Phases(engine);
      engine.ResetFrame();
      engine.Step();
      ASSERT_EQ(engine.WaveFrame(), ReferenceFrame(rec, phase, no_jitter, Slip::None)) << "phase " << phase[0];
    }
    engine.Detach();
  }
}

}  // namespace
}  // namespace kx
