// The music device's command strings, as the show's music player sends them: for every
// music format the device type, time format, volume and play with notify; the end of a
// track from the status replies; and a device that cannot open.
#include "show/mci_commands.h"

#include <gtest/gtest.h>

#include <set>

#include "show/music_player.h"

namespace kx {
namespace {

// The sound services with the real MCI conversation and a recording device: `failTypes`
// are the device types that do not open; status replies come from `position`/`length`.
class MciAudio : public RecordingAudio {
 public:
  MciAudio()
      : device([this](const std::string& c, bool notify, std::string& reply) {
          sent.push_back(c + (notify ? " [notify]" : ""));
          for (const std::string& t : failTypes)
            if (c.rfind("open ", 0) == 0 && c.find(" type " + t + " ") != std::string::npos) return 275;
          if (c.find(" position") != std::string::npos) reply = position;
          if (c.find(" length") != std::string::npos) reply = length;
          return 0;
        }) {}
  bool OpenMusic(const std::string& path) override { return device.Open(path); }
  void SetMusicVolume(int volume) override { device.SetVolume(volume); }
  bool PlayMusic() override { return device.Play(); }
  bool MusicAtEnd() override { return device.AtEnd(notified); }
  void CloseMusic() override { device.Close(); }

  MciMusicDevice device;
  std::vector<std::string> sent;
  std::set<std::string> failTypes;
  std::string position = "0", length = "1000";
  bool notified = false;
};

TKXCSetting Music(const std::string& file, int volume = 80) {
  TKXCSetting s;
  s.Music = true;
  s.MusicFile = file;
  s.MusicMode = 1;
  s.MusicVolume = volume;
  return s;
}

TEST(MciCommandsTest, EveryMusicFormatOpensItsDeviceAndPlaysWithNotify) {
  const struct {
    const char* file;
    const char* type;
  } cases[] = {
      {"Rain.wav", "waveaudio"}, {"TUNE.MID", "sequencer"}, {"tune.midi", "sequencer"},
      {"song.Rmi", "sequencer"}, {"My Song.mp3", "mpegvideo"}, {"track.WMA", "mpegvideo"},
  };
  for (const auto& c : cases) {
    MciAudio audio;
    MusicPlayer player;
    player.Start(Music(c.file, 75), "C:\\Temp\\kx 12\\", &audio);
    EXPECT_TRUE(player.On()) << c.file;
    const std::vector<std::string> want = {
        std::string("open \"C:\\Temp\\kx 12\\") + c.file + "\" type " + c.type + " alias kxmusic",
        "set kxmusic time format milliseconds",
        "setaudio kxmusic volume to 750",
        "play kxmusic notify [notify]",
    };
    EXPECT_EQ(audio.sent, want) << c.file;
    player.Stop();
    EXPECT_EQ(audio.sent.back(), "close kxmusic") << c.file;
  }
}

TEST(MciCommandsTest, VolumeIsHeldToTheDeviceRangeAndUnquotablePathsAreRefused) {
  EXPECT_EQ(mci::SetVolume("m", 0), "setaudio m volume to 0");
  EXPECT_EQ(mci::SetVolume("m", 1000), "setaudio m volume to 1000");
  EXPECT_EQ(mci::SetVolume("m", 1500), "setaudio m volume to 1000");
  EXPECT_EQ(mci::SetVolume("m", -5), "setaudio m volume to 0");
  for (const char* bad : {"", "a\"b.mp3", "a\nb.mp3", "a\rb.wav"}) EXPECT_EQ(mci::Open(bad, "m"), "") << bad;
  EXPECT_EQ(mci::DeviceTypeFor("noextension"), std::string("mpegvideo"));
  EXPECT_EQ(mci::DeviceTypeFor("dir.wav\\file"), std::string("mpegvideo"));
}

TEST(MciCommandsTest, TrackEndFromNotificationOrStatus) {
  const struct {
    const char* position;
    const char* length;
    bool end;
  } cases[] = {
      {"1000", "1000", true}, {"1200", "1000", true}, {"999", "1000", false}, {"0", "0", false},
      {"", "1000", false},    {"12x", "1000", false}, {" 1000\r\n", "1000 ", true},
      {"99999999999999999999", "1", false},
  };
  for (const auto& c : cases) EXPECT_EQ(mci::AtEnd(c.position, c.length), c.end) << c.position << "/" << c.length;

  MciAudio audio;
  EXPECT_FALSE(audio.device.AtEnd(true)) << "nothing is open";
  EXPECT_TRUE(audio.sent.empty());
  ASSERT_TRUE(audio.device.Open("a.mp3"));
  EXPECT_TRUE(audio.device.AtEnd(true));
  audio.position = "400";
  EXPECT_FALSE(audio.device.AtEnd(false));
  EXPECT_EQ(audio.sent.back(), "status kxmusic length");
}

TEST(MciCommandsTest, ADeviceThatCannotOpenIsSkippedWithNothingElseSent) {
  // No MIDI device: the first track is a MIDI file, so there is no music at all.
  MciAudio first;
  first.failTypes = {"sequencer"};
  MusicPlayer p1;
  p1.Start(Music("a.mid;b.wav"), "W\\", &first);
  EXPECT_FALSE(p1.On());
  EXPECT_EQ(first.sent, (std::vector<std::string>{"open \"W\\a.mid\" type sequencer alias kxmusic"}));

  // A later MIDI track is skipped: the device is closed, the MIDI open fails and the
  // next track plays.
  MciAudio later;
  later.failTypes = {"sequencer"};
  MusicPlayer p2;
  p2.Start(Music("a.mp3;b.mid;c.wav"), "W\\", &later);
  ASSERT_TRUE(p2.On());
  later.sent.clear();
  later.notified = true;
  p2.Notify();
  EXPECT_TRUE(p2.On());
  EXPECT_EQ(later.sent, (std::vector<std::string>{
                            "close kxmusic",
                            "open \"W\\b.mid\" type sequencer alias kxmusic",
                            "open \"W\\c.wav\" type waveaudio alias kxmusic",
                            "set kxmusic time format milliseconds",
                            "setaudio kxmusic volume to 800",
                            "play kxmusic notify [notify]",
                        }));
}

}  // namespace
}  // namespace kx
