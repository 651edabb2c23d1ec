#include <gtest/gtest.h>

#include "package/file_loader.h"
#include "package/my_stream.h"
#include "package/picture_fixture.h"
#include "package/picture_record.h"
#include "package/region_mask.h"
#include "media/random.h"

namespace kx {
namespace {

using testing::SamplePicture;
using testing::TempFile;

TWaveParam Wave(int k) {
  TWaveParam w;
  w.Amplitude = 10 + k;
  w.Waves = 20 + k;
  w.WaveSpeed = 30 + k;
  w.Mode = k % 6;
  w.ShiftColumns = 1;
  w.Waving = 0;
  w.Perspective = 0;
  w.Period = 180 + k;
  w.JitterRange = k;
  w.Reflection = 1;
  return w;
}

TEST(PictureFileTest, SignatureMustMatchExactly) {
  struct Case {
    const char* signature;
    bool ok;
  } cases[] = {{"KX060697", true}, {"kx060697", false}, {"Kx060697", false}, {"KX060698", false}};
  for (const Case& c : cases) {
    PictureFileContent content = SamplePicture();
    content.signature = c.signature;
    TempFile file(BuildPictureFile(content));
    TProject record;
    EXPECT_EQ(record.LoadFromFile(file.path()), c.ok) << c.signature;
    std::string shown;
    record.SetMessageHandler([&](const std::string& text) { shown = text; });
    EXPECT_EQ(record.LoadThumbnail(file.path()), c.ok) << c.signature;
    if (!c.ok) {
      EXPECT_EQ(record.LastError(), "Incorrect Project File!");
      EXPECT_EQ(shown, "File: " + file.path() + "\r\nIncorrect Project File!");
      EXPECT_FALSE(record.Loaded);
    }
  }
}

// Where a file may end: anywhere inside items 1 to 10 fails; after item 10 the load succeeds
// with what was read.
TEST(PictureFileTest, FileEndings) {
  PictureFileContent full = SamplePicture();
  full.sound_slots[0].SoundFile = "rain.wav";
  full.anim_text = "[Obj0]\r\nObjType=IMG\r\n";
  full.extra_text = "[BuildScr],Music=1";
  for (int i = 0; i < 8; ++i) full.waves[i] = Wave(i);

  PictureFileContent to10 = full;
  to10.last_item = 10;
  const size_t size10 = BuildPictureFile(to10).size();
  const std::vector<uint8_t> all = BuildPictureFile(full);

  // Cut points inside items 1..10 (a few bytes into the signature, the title, the thumbnail,
  // the region runs, the picture and the weather record).
  for (size_t cut : {size_t{0}, size_t{5}, size_t{10}, size_t{30}, size10 - 200, size10 - 40, size10 - 1}) {
    TempFile file(std::vector<uint8_t>(all.begin(), all.begin() + cut));
    TProject record;
    EXPECT_FALSE(record.LoadFromFile(file.path())) << "cut at " << cut;
    EXPECT_FALSE(record.Loaded);
  }

  struct Case {
    const char* name;
    size_t cut;
    bool slots, anim, extra;
    int extra_waves;  // wave records read from item 14
  } cases[] = {
      {"ends after item 10", size10, false, false, false, 0},
      {"ends inside the sound slots", size10 + 300, false, false, false, 0},
      {"ends after the sound slots", size10 + 8 * 268, true, false, false, 0},
      {"ends after AnimText", size10 + 8 * 268 + 4 + full.anim_text.size(), true, true, false, 0},
      {"ends inside item 14", all.size() - 40, true, true, true, 2},  // records 5, 6 and part of 7
      {"complete", all.size(), true, true, true, 4},
  };
  for (const Case& c : cases) {
    TempFile file(std::vector<uint8_t>(all.begin(), all.begin() + c.cut));
    TProject record;
    ASSERT_TRUE(record.LoadFromFile(file.path())) << c.name << ": " << record.LastError();
    EXPECT_TRUE(record.Loaded);
    EXPECT_EQ(record.FindFreeSoundSlot(), c.slots ? 1 : 0) << c.name;
    EXPECT_EQ(record.AnimText, c.anim ? full.anim_text : "") << c.name;
    EXPECT_EQ(record.ExtraInfo.ScrMusic, c.extra) << c.name;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(record.WaveParams[i], Wave(i)) << c.name;
    for (int i = 4; i < 8; ++i) {
      EXPECT_EQ(record.WaveParams[i], i - 4 < c.extra_waves ? Wave(i) : TWaveParam{}) << c.name << " wave " << i;
    }
  }
}

TEST(PictureFileTest, ExtraWaveCount) {
  struct Case {
    int32_t count;
    int read;
  } cases[] = {{0, 0}, {2, 2}, {4, 4}, {-3, 0}};
  for (const Case& c : cases) {
    PictureFileContent content = SamplePicture();
    for (int i = 0; i < 8; ++i) content.waves[i] = Wave(i);
    content.extra_waves = c.count;
    TempFile file(BuildPictureFile(content));
    TProject record;
    ASSERT_TRUE(record.LoadFromFile(file.path())) << c.count;
    for (int i = 4; i < 8; ++i) {
      EXPECT_EQ(record.WaveParams[i], i - 4 < c.read ? Wave(i) : TWaveParam{}) << c.count;
      EXPECT_EQ(record.WaveValues[i], record.WaveParams[i].WaveSpeed);
    }
  }
  // More than four further records: only four are read, and the load stays a success.
  PictureFileContent content = SamplePicture();
  content.extra_waves = 4;
  std::vector<uint8_t> bytes = BuildPictureFile(content);
  WriteLe32(bytes.data() + bytes.size() - 4 * 32 - 4, 6);
  bytes.insert(bytes.end(), 64, 0xEE);
  TempFile file(bytes);
  TProject record;
  EXPECT_TRUE(record.LoadFromFile(file.path()));
  EXPECT_EQ(record.WaveParams[7], TWaveParam{});
}

// Lengths and counts from the file are checked against what is left before anything is
// allocated; broken JPEG streams fail the load.
TEST(PictureFileTest, UntrustedLengthsAndStreams) {
  const PictureFileContent base = SamplePicture();
  const std::vector<uint8_t> good = BuildPictureFile(base);
  // Item offsets: the signature, then each string and stream as a 32-bit length and its bytes.
  const size_t title_at = 8;
  const size_t thumb_at = title_at + 4 + base.title.size() + 4 + base.description.size();
  const size_t runs_at = thumb_at + 4 + base.thumbnail_jpeg.size() + 4 + 4 * 32;
  const size_t picture_at = runs_at + 4 + 4 * base.region_runs.size();
  ASSERT_EQ(ReadLe32(good.data() + thumb_at), static_cast<int32_t>(base.thumbnail_jpeg.size()));
  ASSERT_EQ(ReadLe32(good.data() + runs_at), static_cast<int32_t>(base.region_runs.size()));
  ASSERT_EQ(ReadLe32(good.data() + picture_at), static_cast<int32_t>(base.picture_jpeg.size()));
  struct Case {
    const char* name;
    size_t at;
    int32_t value;
    const char* error;  // the reason the load gives
  } cases[] = {
      {"negative title length", title_at, -1, "negative length"},
      {"title longer than the file", title_at, 0x7FFFFFFF, "read beyond end of file"},
      {"negative thumbnail length", thumb_at, -5, "negative length"},
      {"thumbnail longer than the file", thumb_at, 100000000, "read beyond end of file"},
      {"negative region count", runs_at, -1, "bad region run count"},
      {"region count beyond the file", runs_at, 0x20000000, "bad region run count"},
      {"region mask wider than any bitmap", runs_at + 4, 1 << 30, "region mask too large"},
      {"region mask larger than its runs", runs_at + 4, 5000000, "region runs do not cover the mask"},
      {"region runs overflow the mask", runs_at + 16, 62, "region runs overflow the mask"},
      {"negative picture length", picture_at, -2, "negative length"},
      {"picture longer than the file", picture_at, 1 << 24, "read beyond end of file"},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = good;
    WriteLe32(bytes.data() + c.at, c.value);
    TempFile file(bytes);
    TProject record;
    EXPECT_FALSE(record.LoadFromFile(file.path())) << c.name;
    EXPECT_FALSE(record.Loaded) << c.name;
    EXPECT_NE(record.LastError().find(c.error), std::string::npos) << c.name << ": " << record.LastError();
  }
  PictureFileContent broken = base;
  broken.picture_jpeg.resize(broken.picture_jpeg.size() / 2);
  TempFile broken_picture(BuildPictureFile(broken));
  TProject record;
  EXPECT_FALSE(record.LoadFromFile(broken_picture.path()));
  // The thumbnail grid's header load does not touch the picture stream.
  EXPECT_TRUE(record.LoadThumbnail(broken_picture.path()));
  EXPECT_EQ(record.Thumbnail.Width(), 4);
  EXPECT_EQ(record.Title, "Lake");
  EXPECT_TRUE(record.Picture.Empty());

  broken = base;
  broken.thumbnail_jpeg.assign(40, 0xFF);
  TempFile broken_thumb(BuildPictureFile(broken));
  std::string shown;
  record.SetMessageHandler([&](const std::string& text) { shown = text; });
  EXPECT_FALSE(record.LoadThumbnail(broken_thumb.path()));
  EXPECT_EQ(shown.rfind("File: " + broken_thumb.path() + "\r\n", 0), 0u) << shown;
}

TEST(PictureFileTest, RegionMaskDecoding) {
  const Pixel red = RegionColor(1), magenta = RegionColor(2), none = RegionColor(0);
  struct Case {
    const char* name;
    std::vector<int32_t> runs;
    bool ok;
    int w, h;
    std::vector<Pixel> pixels;
  } cases[] = {
      {"worked example", {4, 2, 31, 52}, true, 4, 2, {red, red, red, magenta, magenta, magenta, magenta, magenta}},
      {"empty list", {}, true, 0, 0, {}},
      {"size only", {2, 1}, true, 2, 1, {none, none}},
      {"short runs leave no region", {2, 2, 13}, true, 2, 2, {RegionColor(3), none, none, none}},
      {"codes 7 to 9 are no region", {3, 1, 17, 18, 19}, true, 3, 1, {none, none, none}},
      {"negative run is empty", {2, 1, -21, 21}, true, 2, 1, {red, red}},
      {"one pixel too many", {2, 2, 51}, false, 0, 0, {}},
      {"runs on a mask with no width", {0, 5, 11}, false, 0, 0, {}},
      {"huge run", {2, 2, 2000000001}, false, 0, 0, {}},
      // A mask larger than its runs describe is not allocated (small ones may stay empty).
      {"size only, far beyond no runs", {5000, 5000}, false, 0, 0, {}},
      {"size far beyond its runs", {5000, 5000, 11, 21}, false, 0, 0, {}},
  };
  for (const Case& c : cases) {
    Bitmap32 mask;
    std::string error;
    EXPECT_EQ(DecodeRegionMask(c.runs, mask, error), c.ok) << c.name;
    EXPECT_EQ(mask.Width(), c.w) << c.name;
    EXPECT_EQ(mask.Height(), c.h) << c.name;
    for (size_t i = 0; i < c.pixels.size() && i < mask.PixelCount(); ++i) {
      EXPECT_EQ(mask.Data()[i], c.pixels[i]) << c.name << " pixel " << i;
    }
  }
}

TEST(PictureFileTest, RegionColours) {
  // The six colours as the file's authors write them (0x00BBGGRR) and in our pixels.
  const uint32_t authored[7] = {0, 0x0000FF, 0xFF00FF, 0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF};
  for (int code = 0; code <= 6; ++code) {
    const uint32_t c = authored[code];
    const Pixel expect = MakePixel(c & 255, (c >> 8) & 255, c >> 16);
    EXPECT_EQ(RegionColor(code), expect) << code;
    EXPECT_EQ(RegionOfPixel(expect), code);
    EXPECT_EQ(RegionOfPixel(expect & 0xFFFFFF), code) << "alpha is ignored";
  }
  EXPECT_EQ(RegionOfPixel(MakePixel(254, 0, 0)), 0);
  EXPECT_EQ(RegionOfPixel(MakePixel(255, 255, 255)), 0);

  Bitmap32 mask(5, 3);
  for (size_t i = 0; i < mask.PixelCount(); ++i) mask.Data()[i] = RegionColor(static_cast<int>(i / 4) % 7);
  mask.SetPixel(4, 2, MakePixel(1, 2, 3));  // not a region colour: no region
  Bitmap32 back;
  std::string error;
  ASSERT_TRUE(DecodeRegionMask(EncodeRegionMask(mask), back, error));
  mask.SetPixel(4, 2, RegionColor(0));
  EXPECT_EQ(back, mask);
}

TEST(PictureFileTest, OlderFilesSound) {
  struct Case {
    const char* sound;
    int used;  // slots already taken
    int slot;  // where the sound lands, -1 nowhere
  } cases[] = {
      {"<NO SOUND>", 0, -1}, {"<no sound>", 0, -1}, {"<No Sound>", 3, -1}, {"", 0, -1},
      {"brook.wav", 0, 0},   {"brook.wav", 6, 6},   {"brook.wav", 8, -1},
  };
  for (const Case& c : cases) {
    PictureFileContent content = SamplePicture();
    content.sound_name = c.sound;
    for (int i = 0; i < c.used; ++i) {
      content.sound_slots[i].SoundFile = "s" + std::to_string(i) + ".wav";
      content.sound_slots[i].PlayMode = 2;
    }
    content.sound_slots[7].MinSeconds = 3;  // a free slot's other fields stay
    TempFile file(BuildPictureFile(content));
    TProject record;
    ASSERT_TRUE(record.LoadFromFile(file.path()));
    const int expect_free = c.slot >= 0 ? c.used + 1 : c.used;
    EXPECT_EQ(record.FindFreeSoundSlot(), std::min(expect_free, 8)) << c.sound << " " << c.used;
    if (c.slot >= 0) {
      EXPECT_EQ(record.SoundSlots[c.slot].SoundFile, c.sound);
      EXPECT_EQ(record.SoundSlots[c.slot].PlayMode, 0);
    }
  }
  // A name longer than a slot holds is cut to 255 characters.
  PictureFileContent content = SamplePicture();
  content.sound_name = std::string(300, 'w');
  TempFile file(BuildPictureFile(content));
  TProject record;
  ASSERT_TRUE(record.LoadFromFile(file.path()));
  EXPECT_EQ(record.SoundSlots[0].SoundFile, std::string(255, 'w'));
}

TEST(PictureFileTest, WeatherOpacityDefaults) {
  struct Case {
    TWeatherParam in;
    int32_t opacity;
  } cases[] = {
      {{2, 75, 5, 90, 10, 0}, 6}, {{1, 300, 3, 0, 0, 0}, 9}, {{0, 0, 0, 0, 0, 0}, 0},
      {{2, 75, 5, 90, 10, 3}, 3}, {{3, 1, 1, 1, 1, 0}, 0},
  };
  for (const Case& c : cases) {
    PictureFileContent content = SamplePicture();
    content.weather = c.in;
    TempFile file(BuildPictureFile(content));
    TProject record;
    ASSERT_TRUE(record.LoadFromFile(file.path()));
    TWeatherParam expect = c.in;
    expect.Opacity = c.opacity;
    EXPECT_EQ(record.Weather, expect) << c.in.Kind;
  }
}

// Every field written comes back.
TEST(PictureFileTest, RoundTrip) {
  PictureFileContent c = SamplePicture();
  for (int i = 0; i < 8; ++i) c.waves[i] = Wave(i);
  c.waves[2].Align19 = 7;
  c.waves[2].Reserved31 = 9;
  c.weather = {2, 120, 7, 30, 12, 4};
  for (int i = 0; i < 5; ++i) c.sound_slots[i] = {"C:\\Sounds\\s" + std::to_string(i) + ".wav", i % 3, i, 10 + i};
  c.anim_text = "[Obj0]\r\nObjType=GIF\r\nFilename=bird.gif\r\n";
  TExtraInfo extra;
  extra.ScrFilename = "C:\\Out\\My Saver.scr";
  extra.ScrMusic = true;
  extra.ExeSound = false;
  extra.ExeMusicFile = "a,b.mp3";
  c.extra_text = extra.ToText();
  TempFile file(BuildPictureFile(c));

  TProject record;
  ASSERT_TRUE(record.LoadFromFile(file.path())) << record.LastError();
  EXPECT_TRUE(record.Loaded);
  EXPECT_EQ(record.FileName, file.path());
  EXPECT_EQ(record.Title, c.title);
  EXPECT_EQ(record.Description, c.description);
  EXPECT_EQ(record.PictureWidth, 8);
  EXPECT_EQ(record.PictureHeight, 6);
  EXPECT_EQ(record.Thumbnail.Width(), 4);
  EXPECT_NEAR(PixelG(record.Picture.GetPixel(3, 3)), 255, 3);
  EXPECT_NEAR(PixelB(record.Thumbnail.GetPixel(1, 1)), 255, 3);
  EXPECT_EQ(EncodeRegionMask(record.RegionMask), c.region_runs);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(record.GetWaveParam(i), c.waves[i]);
    EXPECT_EQ(record.WaveValues[i], c.waves[i].WaveSpeed);
  }
  EXPECT_EQ(record.Weather, c.weather);
  EXPECT_EQ(record.SoundSlots, c.sound_slots);
  EXPECT_EQ(record.AnimText, c.anim_text);
  EXPECT_EQ(record.ExtraInfo, extra);
  EXPECT_EQ(record.AnimSpeed, 100);
  record.SetAnimSpeed(50);
  EXPECT_EQ(record.AnimSpeed, 50);

  TFileLoader loader;
  ASSERT_TRUE(loader.LoadFull(file.path()));
  EXPECT_EQ(loader.WaveCountField, 4);
  EXPECT_EQ(loader.ExtraWaveCount, 4);
  EXPECT_TRUE(loader.HasSoundSlots);
  EXPECT_EQ(loader.RegionRuns(), c.region_runs);
}

TEST(PictureFileTest, StreamReads) {
  TempFile file({1, 0, 0, 0, 'a', 'b', 0xFF, 0xFF, 0xFF, 0xFF});
  TMyStream in(file.path(), TMyStream::kRead);
  EXPECT_EQ(in.ReadInteger(), 1);
  EXPECT_EQ(in.ReadSignature(2), "ab");
  EXPECT_EQ(in.Remaining(), 4);
  std::vector<uint8_t> data;
  EXPECT_THROW(in.ReadToStream(data, 5), StreamError);
  EXPECT_THROW(in.ReadToStream(data, -1), StreamError);
  EXPECT_TRUE(data.empty());
  EXPECT_EQ(in.ReadInteger(), -1);
  EXPECT_TRUE(in.AtEnd());
  EXPECT_THROW(in.ReadInteger(), StreamError);
  EXPECT_THROW(TMyStream("/nonexistent/dir/x.kxp", TMyStream::kRead), StreamError);
}

}  // namespace
}  // namespace kx

namespace kx {
namespace {

// Damaged copies of a valid file (bytes changed, file cut) load or fail, never crash; the
// sanitizer build checks the memory accesses.
TEST(PictureFileTest, DamagedFilesNeverCrash) {
  PictureFileContent c = testing::SamplePicture();
  c.anim_text = "[Obj0]";
  c.extra_text = "[BuildScr],Music=1";
  const std::vector<uint8_t> good = BuildPictureFile(c);
  RandomStateGuard guard;
  Random::Seed(20261210);
  int loaded = 0;
  for (int round = 0; round < 200; ++round) {
    std::vector<uint8_t> bytes = good;
    const int flips = 1 + Random::Next(4);
    for (int i = 0; i < flips; ++i) bytes[Random::Next(static_cast<int>(bytes.size()))] = static_cast<uint8_t>(Random::Next(256));
    if (Random::Next(3) == 0) bytes.resize(Random::Next(static_cast<int>(bytes.size())));
    testing::TempFile file(bytes);
    TProject record;
    if (record.LoadFromFile(file.path())) ++loaded;
    record.LoadThumbnail(file.path());
  }
  EXPECT_GT(loaded, 0);
}

}  // namespace
}  // namespace kx
