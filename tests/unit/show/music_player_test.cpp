#include "show/music_player.h"

#include <gtest/gtest.h>

#include "media/random.h"
#include "show/show_session.h"
#include "fake_show_host.h"

namespace kx {
namespace {

TEST(MusicListTest, SplitsAtSemicolonsAndPrefixesBareNames) {
  struct Case {
    const char* text;
    std::vector<std::string> want;
  } cases[] = {
      {"a.mp3;;b.mp3", {"W/a.mp3", "W/b.mp3"}},
      {"a.mp3", {"W/a.mp3"}},
      {"a.mp3;", {"W/a.mp3"}},
      {"", {}},
      {";;;", {}},
      {"C:\\Music\\x.mp3;y.wav", {"C:\\Music\\x.mp3", "W/y.wav"}},
      {"/abs/z.mid", {"/abs/z.mid"}},
  };
  for (const Case& c : cases) EXPECT_EQ(BuildMusicList(c.text, "W/"), c.want) << c.text;
}

TEST(NextMusicIndexTest, InOrderWrapsAndOneTrackRepeats) {
  EXPECT_EQ(NextMusicIndex(-1, 3, true), 0);
  EXPECT_EQ(NextMusicIndex(1, 3, true), 2);
  EXPECT_EQ(NextMusicIndex(2, 3, true), 0);
  RandomStateGuard guard;
  Random::Seed(7);
  for (bool inOrder : {true, false}) {
    EXPECT_EQ(NextMusicIndex(-1, 1, inOrder), 0);
    EXPECT_EQ(NextMusicIndex(0, 1, inOrder), 0);
  }
}

TEST(NextMusicIndexTest, ShuffledNeverRepeatsAndReachesEveryTrack) {
  RandomStateGuard guard;
  for (int count : {2, 3, 5}) {
    Random::Seed(12345u + static_cast<uint32_t>(count));
    std::vector<int> seen(static_cast<size_t>(count), 0);
    int current = NextMusicIndex(-1, count, false);
    for (int i = 0; i < 500; ++i) {
      const int next = NextMusicIndex(current, count, false);
      ASSERT_NE(next, current) << count;
      ASSERT_GE(next, 0);
      ASSERT_LT(next, count);
      ++seen[static_cast<size_t>(next)];
      current = next;
    }
    for (int n : seen) EXPECT_GT(n, 0) << count;
  }
}

TKXCSetting MusicSetting(const std::string& file, int mode = 1, int volume = 80) {
  TKXCSetting s;
  s.Music = true;
  s.MusicFile = file;
  s.MusicMode = mode;
  s.MusicVolume = volume;
  return s;
}

TEST(MusicPlayerTest, StartOpensSetsVolumeAndPlays) {
  RecordingAudio audio;
  MusicPlayer music;
  music.Start(MusicSetting("a.wav;b.wav"), "W/", &audio);
  EXPECT_TRUE(music.On());
  EXPECT_EQ(music.Index(), 0);
  EXPECT_EQ(audio.log, (std::vector<std::string>{"open W/a.wav", "music-volume 800", "music-play W/a.wav"}));
}

TEST(MusicPlayerTest, NoMusicWhenOffEmptyOrFirstTrackFails) {
  TKXCSetting off = MusicSetting("a.wav");
  off.Music = false;
  RecordingAudio a1;
  MusicPlayer m1;
  m1.Start(off, "W/", &a1);
  EXPECT_FALSE(m1.On());
  EXPECT_TRUE(a1.Lines("open").empty());

  RecordingAudio a2;
  MusicPlayer m2;
  m2.Start(MusicSetting(";;"), "W/", &a2);
  EXPECT_FALSE(m2.On());
  EXPECT_TRUE(a2.Lines("open").empty());

  RecordingAudio a3;
  a3.failOpen = {"W/a.wav"};
  MusicPlayer m3;
  m3.Start(MusicSetting("a.wav;b.wav"), "W/", &a3);
  EXPECT_FALSE(m3.On());
  m3.Notify();
  EXPECT_TRUE(a3.Lines("music-play").empty());

  MusicPlayer m4;
  m4.Start(MusicSetting("a.wav"), "W/", nullptr);
  EXPECT_FALSE(m4.On());
  m4.Notify();
}

TEST(MusicPlayerTest, NotifyAtTrackEndPlaysNextTrackInOrder) {
  RecordingAudio audio;
  MusicPlayer music;
  music.Start(MusicSetting("a.wav;b.wav"), "W/", &audio);
  audio.atEnd = false;  // a notification that is not the end of the track
  music.Notify();
  EXPECT_EQ(audio.Lines("music-play").size(), 1u);
  audio.atEnd = true;
  music.Notify();
  music.Notify();
  EXPECT_EQ(audio.Lines("music-play"),
            (std::vector<std::string>{"music-play W/a.wav", "music-play W/b.wav", "music-play W/a.wav"}));
  EXPECT_EQ(audio.Lines("music-close").size(), 2u);
  EXPECT_EQ(audio.musicVolume, 800);
}

TEST(MusicPlayerTest, OneTrackRepeatsInBothModes) {
  for (int mode : {0, 1}) {
    RecordingAudio audio;
    MusicPlayer music;
    music.Start(MusicSetting("only.mp3", mode), "W/", &audio);
    music.Notify();
    music.Notify();
    EXPECT_EQ(audio.Lines("music-play").size(), 3u) << mode;
    EXPECT_EQ(music.Index(), 0);
  }
}

TEST(MusicPlayerTest, UnopenableNextTrackIsSkippedAndAllFailingStops) {
  RecordingAudio audio;
  MusicPlayer music;
  music.Start(MusicSetting("a.wav;b.wav;c.wav"), "W/", &audio);
  audio.failOpen = {"W/b.wav"};
  music.Notify();
  EXPECT_TRUE(music.On());
  EXPECT_EQ(music.Index(), 2);
  EXPECT_EQ(audio.Lines("music-play").back(), "music-play W/c.wav");

  // Now nothing opens: the music ends after one try per track instead of spinning.
  audio.failOpen = {"W/a.wav", "W/b.wav", "W/c.wav"};
  music.Notify();
  EXPECT_FALSE(music.On());
  EXPECT_EQ(audio.Lines("open-failed").size(), 1u + 3u);
  music.Notify();
  EXPECT_EQ(audio.Lines("open-failed").size(), 4u);
}

TEST(MusicPlayerTest, ShuffledListWithOnlyOneGoodTrackKeepsPlayingIt) {
  RandomStateGuard guard;
  Random::Seed(99);
  RecordingAudio audio;
  MusicPlayer music;
  audio.failOpen = {"W/b.wav", "W/c.wav", "W/d.wav"};
  music.Start(MusicSetting("a.wav;b.wav;c.wav;d.wav", 0), "W/", &audio);
  if (!music.On()) GTEST_SKIP() << "the seed picked a failing first track";
  for (int i = 0; i < 20; ++i) {
    music.Notify();
    ASSERT_TRUE(music.On());
    EXPECT_EQ(audio.openTrack, "W/a.wav");
  }
}

// The show starts the music with the window and stops it at close.
class AudioShowHost : public test::FakeShowHost {
 public:
  AudioShowHost() : FakeShowHost(640, 480) {}
  Audio* GetAudio() override { return &audio; }
  RecordingAudio audio;
};

TEST(ShowMusicTest, FormShowStartsMusicAndFormCloseStopsIt) {
  RandomStateGuard guard;
  TKXCProject project;
  project.FileList.Names = {"/nonexistent/picture.jpg"};
  project.FileList.Flags = {"TRUE"};
  project.Setting = MusicSetting("one.mp3;two.mp3", 1, 50);
  project.Setting.SoundVolume = 30;
  AudioShowHost host;
  host.audio.workFolder = "W/";
  ShowSession session(project, host);
  session.FormShow();
  EXPECT_EQ(host.audio.soundVolume, 30);
  EXPECT_EQ(host.audio.Lines("music-play"), std::vector<std::string>{"music-play W/one.mp3"});
  EXPECT_EQ(host.audio.musicVolume, 500);
  session.MusicNotify();
  EXPECT_EQ(host.audio.Lines("music-play").back(), "music-play W/two.mp3");
  session.FormClose();
  EXPECT_EQ(host.audio.Lines("stop-system").size(), 1u);
  EXPECT_FALSE(session.Music().On());
  EXPECT_EQ(host.audio.log.back(), "music-close");
}

TEST(ShowMusicTest, MusicPlaysEvenWhenNoPictureIsSelected) {
  TKXCProject project;
  project.FileList.Names = {"/nonexistent/picture.jpg"};
  project.FileList.Flags = {"FALSE"};
  project.Setting = MusicSetting("one.mp3");
  AudioShowHost host;
  ShowSession session(project, host);
  EXPECT_FALSE(session.FormShow());
  EXPECT_TRUE(session.Music().On());
  session.FormClose();
}

}  // namespace
}  // namespace kx
