#include "show/sound_slots.h"

#include <gtest/gtest.h>

#include <set>

#include "fake_show_host.h"
#include "media/jpeg_codec.h"
#include "media/random.h"
#include "package/picture_writer.h"
#include "show/show_session.h"
#include "show/sound_wave.h"
#include "test_support.h"

namespace kx {
namespace {

// A sound player over a recording audio, an imaginary file system and a fake clock that
// ticks in show steps of 33 milliseconds.
struct Rig {
  RecordingAudio audio;
  std::set<std::string> files;
  int messages = 0;
  uint32_t now = 4294960000u;  // close to the wrap of the tick count
  SoundSlotPlayer player{&audio, "W/", [this] { ++messages; },
                         [this](const std::string& p) { return files.count(p) > 0; }};

  void Load(const TProject& record) {
    player.LoadSoundSlots(record, now);
    player.TickSoundSlots(now);
  }
  // Runs the idle ticks of `ms` milliseconds and returns the play lines recorded.
  std::vector<std::string> Run(int ms) {
    for (int t = 0; t < ms; t += 33) {
      now += 33;
      player.TickSoundSlots(now);
    }
    return audio.Lines("play");
  }
};

TProject Record(std::initializer_list<TSoundSlot> slots) {
  TProject r;
  size_t i = 0;
  for (const TSoundSlot& s : slots) r.SoundSlots[i++] = s;
  return r;
}

TEST(SoundSlotsTest, ModeZeroStartsOnceAndLoops) {
  Rig rig;
  rig.files = {"W/loop.wav"};
  rig.Load(Record({{"C:\\author\\loop.wav", 0, 0, 0}}));
  EXPECT_EQ(rig.Run(60000), std::vector<std::string>{"play 0 loop W/loop.wav"});
  EXPECT_EQ(rig.messages, 1);
}

TEST(SoundSlotsTest, FixedAndRandomDelaysAndOtherModes) {
  struct Case {
    TSoundSlot slot;
    int plays;  // in 21 seconds after loading
  } cases[] = {
      {{"s.wav", 1, 5, 5}, 4},   // every 5 seconds (as the 33 ms steps allow)
      {{"s.wav", 2, 4, 99}, 5},  // every MinSeconds; MaxSeconds plays no part
      {{"s.wav", 2, 7, 0}, 2},
      {{"s.wav", 3, 1, 2}, 0},
      {{"s.wav", -1, 1, 2}, 0},
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.files = {"s.wav"};
    rig.Load(Record({c.slot}));
    EXPECT_EQ(static_cast<int>(rig.Run(21000).size()), c.plays) << c.slot.PlayMode << " " << c.slot.MinSeconds;
    for (const std::string& l : rig.audio.Lines("play")) EXPECT_EQ(l, "play 0 once s.wav");
  }
}

TEST(SoundSlotsTest, ModeOneWaitsBetweenMinAndMaxSeconds) {
  RandomStateGuard guard;
  Random::Seed(42);
  Rig rig;
  rig.files = {"s.wav"};
  rig.Load(Record({{"s.wav", 1, 2, 5}}));
  std::set<uint32_t> gaps;
  uint32_t last = rig.now;
  size_t plays = 0;
  for (int t = 0; t < 200000; t += 33) {
    rig.now += 33;
    rig.player.TickSoundSlots(rig.now);
    if (rig.audio.Lines("play").size() != plays) {
      plays = rig.audio.Lines("play").size();
      const uint32_t seconds = (rig.now - last) / 1000;
      EXPECT_GE(seconds, 2u);
      EXPECT_LE(seconds, 4u);
      gaps.insert(seconds);
      last = rig.now;
    }
  }
  EXPECT_EQ(gaps, (std::set<uint32_t>{2, 3, 4}));
}

TEST(SoundSlotsTest, EachSlotPlaysItsOwnSoundWhenAnEarlierOneIsMissing) {
  Rig rig;
  rig.files = {"W/b.wav", "W/c.wav"};
  rig.audio.failAdd = {"W/c.wav"};
  rig.Load(Record({{"a.wav", 0, 0, 0}, {"b.wav", 0, 0, 0}, {"c.wav", 0, 0, 0}, {"", 0, 0, 0}, {"d.wav", 0, 0, 0}}));
  EXPECT_EQ(rig.player.SlotCount(), 3);  // the slots after the first free one are not used
  EXPECT_FALSE(rig.player.State(0).Enabled);
  EXPECT_TRUE(rig.player.State(1).Enabled);
  EXPECT_FALSE(rig.player.State(2).Enabled);
  EXPECT_EQ(rig.audio.Lines("play"), std::vector<std::string>{"play 0 loop W/b.wav"});
}

TEST(SoundSlotsTest, FindsFilesInFourPlacesInOrder) {
  struct Case {
    std::set<std::string> files;
    const char* want;
  } cases[] = {
      {{"D:\\a\\x.wav", "W/x.wav"}, "D:\\a\\x.wav"},
      {{"W/x.wav", "C:\\Common\\sounds\\x.wav"}, "W/x.wav"},
      {{"C:\\Common\\sounds\\x.wav", "C:\\Saver\\sounds\\x.wav"}, "C:\\Common\\sounds\\x.wav"},
      {{"C:\\Saver\\sounds\\x.wav"}, "C:\\Saver\\sounds\\x.wav"},
      {{"W/sounds/x.wav", "x.wav"}, ""},
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.files = c.files;
    rig.audio.commonSounds = "C:\\Common\\";
    rig.audio.executableFolder = "C:\\Saver\\";
    EXPECT_EQ(rig.player.FindSoundFile("D:\\a\\x.wav"), c.want);
  }
}

TEST(SoundSlotsTest, StopSoundEffectsStopsClearsAndForgetsSlots) {
  Rig rig;
  rig.files = {"s.wav"};
  rig.Load(Record({{"s.wav", 2, 1, 1}}));
  rig.player.StopSoundEffects();
  EXPECT_EQ(rig.audio.log.back(), "clear");
  EXPECT_EQ(rig.audio.log[rig.audio.log.size() - 2], "stop");
  EXPECT_TRUE(rig.Run(5000).empty());
}

TEST(SoundSlotsTest, NoAudioMeansNoSound) {
  SoundSlotPlayer player(nullptr, "W/", {}, [](const std::string&) { return true; });
  TProject r = Record({{"s.wav", 0, 0, 0}});
  player.LoadSoundSlots(r, 0);
  player.TickSoundSlots(1000);
  player.StopSoundEffects();
  EXPECT_FALSE(player.State(0).Enabled);
}

TEST(SoundVolumeTest, MapsPercentToHundredthsOfDecibels) {
  EXPECT_EQ(SoundBufferVolume(100), 0);
  EXPECT_EQ(SoundBufferVolume(80), -800);
  EXPECT_EQ(SoundBufferVolume(0), -4000);
  EXPECT_EQ(SoundBufferVolume(150), 0);        // never louder than full
  EXPECT_EQ(SoundBufferVolume(-200), -10000);  // DirectSound's lowest
}

std::string Wave(int tag, int channels, int rate, int bits, const std::string& samples, bool padFirst = false) {
  auto le = [](uint32_t v, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
  };
  std::string fmt = le(static_cast<uint32_t>(tag), 2) + le(static_cast<uint32_t>(channels), 2) +
                    le(static_cast<uint32_t>(rate), 4) + le(static_cast<uint32_t>(rate * channels * bits / 8), 4) +
                    le(static_cast<uint32_t>(channels * bits / 8), 2) + le(static_cast<uint32_t>(bits), 2);
  std::string body = "WAVE";
  if (padFirst) body += "LIST" + le(3, 4) + "abc" + std::string(1, '\0');
  body += "fmt " + le(static_cast<uint32_t>(fmt.size()), 4) + fmt;
  body += "data" + le(static_cast<uint32_t>(samples.size()), 4) + samples;
  return "RIFF" + le(static_cast<uint32_t>(body.size()), 4) + body;
}

TEST(WaveSoundTest, ReadsPcmFormatsAndSkipsOtherChunks) {
  WaveSound w;
  std::string error;
  const std::string stereo = Wave(1, 2, 22050, 16, std::string(10, '\1'), true);
  ASSERT_TRUE(ParseWaveSound(stereo, w, error)) << error;
  EXPECT_EQ(w.Channels, 2);
  EXPECT_EQ(w.SampleRate, 22050);
  EXPECT_EQ(w.BitsPerSample, 16);
  EXPECT_EQ(w.BlockAlign, 4);
  EXPECT_EQ(w.DataSize, 8u);  // whole blocks only
  EXPECT_EQ(stereo.substr(w.DataOffset, 1), "\1");
  ASSERT_TRUE(ParseWaveSound(Wave(1, 1, 8000, 8, "abc"), w, error)) << error;
  EXPECT_EQ(w.DataSize, 3u);
}

TEST(WaveSoundTest, RefusesBrokenAndUnsupportedFiles) {
  std::string good = Wave(1, 1, 8000, 8, "abcd");
  std::string claimsMore = good;
  claimsMore[good.size() - 8] = '\x7F';  // data length far past the end: cut to what is there
  WaveSound w;
  std::string error;
  ASSERT_TRUE(ParseWaveSound(claimsMore, w, error));
  EXPECT_EQ(w.DataSize, 4u);
  const std::string bad[] = {
      "",
      "RIFF",
      good.substr(0, 12),
      good.substr(0, 30),                       // format chunk cut short
      "RIFX" + good.substr(4),
      Wave(3, 1, 8000, 32, "abcd"),             // floating point
      Wave(1, 3, 8000, 16, "abcdef"),           // three channels
      Wave(1, 1, 8000, 24, "abc"),              // 24-bit
      Wave(1, 1, 0, 8, "abc"),                  // no rate
      Wave(1, 2, 8000, 16, "ab"),               // less than one block
      good.substr(0, 36),                       // no data chunk
  };
  for (const std::string& b : bad) EXPECT_FALSE(ParseWaveSound(b, w, error)) << b.size();
}

// The show loads a living picture's sounds when the picture is shown, ticks them on every
// step, and stops them when a still picture follows and when the window closes.
class AudioShowHost : public test::FakeShowHost {
 public:
  AudioShowHost() : FakeShowHost(320, 240) {}
  Audio* GetAudio() override { return &audio; }
  RecordingAudio audio;
};

std::string Jpeg(int w, int h) {
  Bitmap32 b(w, h);
  b.Fill(MakePixel(10, 20, 30));
  std::vector<uint8_t> jpeg;
  std::string error;
  EncodeJpeg(b, 90, jpeg, error);
  return std::string(jpeg.begin(), jpeg.end());
}

TEST(ShowSoundTest, LivingPictureSoundsRunUntilAStillPictureOrTheClose) {
  test::TempDir dir;
  const std::string jpeg = Jpeg(64, 48);
  PictureFileContent kxp;
  kxp.picture_jpeg.assign(jpeg.begin(), jpeg.end());
  kxp.thumbnail_jpeg = kxp.picture_jpeg;
  kxp.sound_slots[0] = {"C:\\author\\loop.wav", 0, 0, 0};
  kxp.sound_slots[1] = {"tick.wav", 2, 1, 0};
  std::string error;
  ASSERT_TRUE(WritePictureFile(dir / "living.kxp", kxp, error)) << error;
  dir.Write("still.jpg", jpeg);
  dir.Write("loop.wav", "x");
  dir.Write("tick.wav", "x");

  for (bool soundOn : {true, false}) {
    TKXCProject project;
    project.FileList.Names = {dir / "living.kxp", dir / "still.jpg"};
    project.FileList.Flags = {"TRUE", "TRUE"};
    project.Setting.ShowImageMode = 1;
    project.Setting.Duration = 3;
    project.Setting.Transition = false;
    project.Setting.Music = false;
    project.Setting.Sound = soundOn;
    AudioShowHost host;
    host.audio.workFolder = dir.path();
    ShowSession session(project, host);
    ASSERT_TRUE(session.FormShow());
    ASSERT_EQ(session.LoadedFile(), dir / "living.kxp");
    const uint32_t start = host.now;
    while (host.now - start < 2500) session.ShowIdle();
    if (!soundOn) {
      EXPECT_TRUE(host.audio.Lines("add").empty());
      EXPECT_TRUE(host.audio.Lines("play").empty());
      continue;
    }
    EXPECT_EQ(host.audio.Lines("play"),
              (std::vector<std::string>{"play 0 loop " + dir / "loop.wav", "play 1 once " + dir / "tick.wav",
                                        "play 1 once " + dir / "tick.wav"}));
    while (session.LoadedFile() != dir / "still.jpg" && host.now - start < 10000) session.ShowIdle();
    ASSERT_EQ(session.LoadedFile(), dir / "still.jpg");
    EXPECT_EQ(host.audio.log.back(), "clear");
    const size_t plays = host.audio.Lines("play").size();
    while (host.now - start < 6000) session.ShowIdle();
    EXPECT_EQ(host.audio.Lines("play").size(), plays);  // a still picture has no sounds
    session.FormClose();
    EXPECT_EQ(host.audio.Lines("stop-system").size(), 1u);
  }
}

}  // namespace
}  // namespace kx
