// kxtool kxp: writes and reads picture files (".kxp").
//
//   kxtool kxp make --picture P --out F [options]
//   kxtool kxp dump F [--export DIR]
//
// make options (each may also come from a settings file given with --settings; options on
// the command line win):
//   --picture FILE       the picture, JPEG (kept byte for byte) or PNG/BMP/GIF (encoded)
//   --mask FILE          region mask picture in the six region colours (PNG or BMP)
//   --thumbnail FILE     thumbnail picture; default: the picture fitted into 160 x 120
//   --title T  --description D  --sound-name S
//   --weather KIND,COUNT,SPEED,ANGLE,LENGTH,OPACITY
//   --wave N,AMPLITUDE,WAVES,SPEED,MODE,SHIFT,WAVING,PERSPECTIVE,PERIOD,JITTER,REFLECTION
//   --sound N,FILE,PLAYMODE,MINSECONDS,MAXSECONDS     (N is 1..8, repeatable)
//   --anim-file FILE     the animated objects' INI text, stored as it is
//   --extra-file FILE    an INI text with [BuildScr] and [BuildExe], stored as a comma list
//   --extra-text TEXT    the comma list as it is
//   --extra-waves M      item 14's count (default 4)
//   --end-after ITEM     end the file after item 10..14 (default 14)
//   --wave-count-field N item 5 as stored (default 4; the reader ignores it)
//   --quality Q          JPEG quality for encoded pictures (default 90)
// Settings file (INI): [Picture] Title, Description, SoundName, Picture, Mask, Thumbnail,
// AnimFile, Quality, ExtraWaves, EndAfter; [Wave1]..[Wave8] Amplitude, Waves, WaveSpeed, Mode,
// ShiftColumns, Waving, Perspective, Period, JitterRange, Reflection; [Weather] Kind,
// Count, Speed, Angle, Length, Opacity; [Sound1]..[Sound8] File, PlayMode, MinSeconds,
// MaxSeconds; [BuildScr] and [BuildExe] as the extra text. Relative paths in the file are
// taken from the file's folder.
//
// dump loads the file exactly as the show does (a file the show rejects is an error with a
// message on stderr and exit code 1) and prints every field as JSON, with a summary of the
// region mask; --export writes picture.png, thumbnail.png and mask.png into DIR.
#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "commands.h"
#include "json_text.h"
#include "kxp_png.h"
#include "media/jpeg_codec.h"
#include "media/picture_decoder.h"
#include "media/resample.h"
#include "package/extra_info.h"
#include "package/file_loader.h"
#include "package/ini_file.h"
#include "package/picture_record.h"
#include "package/picture_writer.h"
#include "package/region_mask.h"

namespace kxtool {
namespace {

using kx::Bitmap32;

int Fail(const std::string& message) {
  std::fprintf(stderr, "kxtool kxp: %s\n", message.c_str());
  return 1;
}

bool ParseInts(const std::string& text, std::vector<std::string>& parts, size_t count) {
  parts.clear();
  std::string item;
  std::stringstream ss(text);
  while (std::getline(ss, item, ',')) parts.push_back(item);
  return parts.size() == count;
}

bool ToInt(const std::string& s, int& out) {
  const auto v = kx::IniFile::ParseInteger(s);
  if (!v) return false;
  out = *v;
  return true;
}

std::string FolderOf(const std::string& path) {
  const size_t sep = path.find_last_of('/');
  return sep == std::string::npos ? "" : path.substr(0, sep + 1);
}

std::string Resolve(const std::string& base, const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  return base + path;
}

bool ReadText(const std::string& path, std::string& out, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!kx::ReadWholeFile(path, bytes, error)) return false;
  out.assign(bytes.begin(), bytes.end());
  return true;
}

// The INI text of the extra sections as a comma list (lines without their line breaks).
std::string ExtraFromIni(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  std::stringstream ss(text);
  while (std::getline(ss, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return kx::JoinCommaText(lines);
}

struct MakeOptions {
  std::string picture, mask, thumbnail, out, anim_file, extra_file;
  int quality = 90;
  kx::PictureFileContent content;
  bool have_extra_text = false;
};

bool SetWave(kx::TWaveParam& w, const std::vector<std::string>& v, std::string& error) {
  int n[10];
  for (int i = 0; i < 10; ++i) {
    if (!ToInt(v[i], n[i])) {
      error = "bad wave value '" + v[i] + "'";
      return false;
    }
  }
  w.Amplitude = n[0];
  w.Waves = n[1];
  w.WaveSpeed = n[2];
  w.Mode = n[3];
  w.ShiftColumns = static_cast<uint8_t>(n[4]);
  w.Waving = static_cast<uint8_t>(n[5]);
  w.Perspective = static_cast<uint8_t>(n[6]);
  w.Period = n[7];
  w.JitterRange = n[8];
  w.Reflection = static_cast<uint8_t>(n[9]);
  return true;
}

bool ApplySettingsFile(const std::string& path, MakeOptions& o, std::string& error) {
  kx::IniFile ini;
  if (!ini.LoadFromFile(path)) {
    error = "cannot read " + path;
    return false;
  }
  const std::string base = FolderOf(path);
  kx::PictureFileContent& c = o.content;
  c.title = ini.ReadString("Picture", "Title", c.title);
  c.description = ini.ReadString("Picture", "Description", c.description);
  c.sound_name = ini.ReadString("Picture", "SoundName", c.sound_name);
  o.picture = Resolve(base, ini.ReadString("Picture", "Picture", ""));
  o.mask = Resolve(base, ini.ReadString("Picture", "Mask", ""));
  o.thumbnail = Resolve(base, ini.ReadString("Picture", "Thumbnail", ""));
  o.anim_file = Resolve(base, ini.ReadString("Picture", "AnimFile", ""));
  o.quality = ini.ReadInteger("Picture", "Quality", o.quality);
  c.extra_waves = ini.ReadInteger("Picture", "ExtraWaves", c.extra_waves);
  c.last_item = ini.ReadInteger("Picture", "EndAfter", c.last_item);
  for (int i = 0; i < 8; ++i) {
    const std::string s = "Wave" + std::to_string(i + 1);
    kx::TWaveParam& w = c.waves[i];
    w.Amplitude = ini.ReadInteger(s, "Amplitude", w.Amplitude);
    w.Waves = ini.ReadInteger(s, "Waves", w.Waves);
    w.WaveSpeed = ini.ReadInteger(s, "WaveSpeed", w.WaveSpeed);
    w.Mode = ini.ReadInteger(s, "Mode", w.Mode);
    w.ShiftColumns = static_cast<uint8_t>(ini.ReadInteger(s, "ShiftColumns", w.ShiftColumns));
    w.Waving = static_cast<uint8_t>(ini.ReadInteger(s, "Waving", w.Waving));
    w.Perspective = static_cast<uint8_t>(ini.ReadInteger(s, "Perspective", w.Perspective));
    w.Period = ini.ReadInteger(s, "Period", w.Period);
    w.JitterRange = ini.ReadInteger(s, "JitterRange", w.JitterRange);
    w.Reflection = static_cast<uint8_t>(ini.ReadInteger(s, "Reflection", w.Reflection));
  }
  kx::TWeatherParam& wp = c.weather;
  wp.Kind = ini.ReadInteger("Weather", "Kind", wp.Kind);
  wp.Count = ini.ReadInteger("Weather", "Count", wp.Count);
  wp.Speed = ini.ReadInteger("Weather", "Speed", wp.Speed);
  wp.Angle = ini.ReadInteger("Weather", "Angle", wp.Angle);
  wp.Length = ini.ReadInteger("Weather", "Length", wp.Length);
  wp.Opacity = ini.ReadInteger("Weather", "Opacity", wp.Opacity);
  for (int i = 0; i < 8; ++i) {
    const std::string s = "Sound" + std::to_string(i + 1);
    kx::TSoundSlot& slot = c.sound_slots[i];
    slot.SoundFile = ini.ReadString(s, "File", slot.SoundFile);
    slot.PlayMode = ini.ReadInteger(s, "PlayMode", slot.PlayMode);
    slot.MinSeconds = ini.ReadInteger(s, "MinSeconds", slot.MinSeconds);
    slot.MaxSeconds = ini.ReadInteger(s, "MaxSeconds", slot.MaxSeconds);
  }
  if (ini.HasSection("BuildScr") || ini.HasSection("BuildExe")) {
    kx::IniFile extra;
    for (const char* sec : {"BuildScr", "BuildExe"}) {
      for (const std::string& key : ini.ReadSection(sec)) {
        extra.WriteString(sec, key, ini.ReadString(sec, key, ""));
      }
    }
    c.extra_text = ExtraFromIni(extra.ToText());
    o.have_extra_text = true;
  }
  return true;
}

bool ParseMake(const Args& args, MakeOptions& o, std::string& error) {
  // The settings file first, so that the command line can override it.
  for (size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == "--settings" && !ApplySettingsFile(args[i + 1], o, error)) return false;
  }
  kx::PictureFileContent& c = o.content;
  std::vector<std::string> v;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (i + 1 >= args.size()) {
      error = "missing value after " + a;
      return false;
    }
    const std::string& val = args[++i];
    if (a == "--settings") {
    } else if (a == "--picture") {
      o.picture = val;
    } else if (a == "--mask") {
      o.mask = val;
    } else if (a == "--thumbnail") {
      o.thumbnail = val;
    } else if (a == "--out") {
      o.out = val;
    } else if (a == "--title") {
      c.title = val;
    } else if (a == "--description") {
      c.description = val;
    } else if (a == "--sound-name") {
      c.sound_name = val;
    } else if (a == "--anim-file") {
      o.anim_file = val;
    } else if (a == "--extra-file") {
      o.extra_file = val;
    } else if (a == "--extra-text") {
      c.extra_text = val;
      o.have_extra_text = true;
    } else if (a == "--quality" || a == "--extra-waves" || a == "--end-after") {
      int n;
      if (!ToInt(val, n)) {
        error = "bad number after " + a;
        return false;
      }
      (a == "--quality" ? o.quality : a == "--extra-waves" ? c.extra_waves : c.last_item) = n;
    } else if (a == "--weather") {
      int n[6];
      if (!ParseInts(val, v, 6)) {
        error = "--weather needs 6 values";
        return false;
      }
      for (int k = 0; k < 6; ++k) {
        if (!ToInt(v[k], n[k])) {
          error = "bad weather value '" + v[k] + "'";
          return false;
        }
      }
      c.weather = {n[0], n[1], n[2], n[3], n[4], n[5]};
    } else if (a == "--wave") {
      int index;
      if (!ParseInts(val, v, 11) || !ToInt(v[0], index) || index < 1 || index > 8) {
        error = "--wave needs N (1..8) and 10 values";
        return false;
      }
      v.erase(v.begin());
      if (!SetWave(c.waves[index - 1], v, error)) return false;
    } else if (a == "--sound") {
      // The file name may hold commas: N first, the three numbers last.
      const size_t first = val.find(',');
      const size_t c3 = val.rfind(',');
      const size_t c2 = c3 == std::string::npos || c3 == 0 ? std::string::npos : val.rfind(',', c3 - 1);
      const size_t c1 = c2 == std::string::npos || c2 == 0 ? std::string::npos : val.rfind(',', c2 - 1);
      int index, mode, lo, hi;
      if (first == std::string::npos || c1 == std::string::npos || c1 <= first ||
          !ToInt(val.substr(0, first), index) || index < 1 || index > 8 ||
          !ToInt(val.substr(c1 + 1, c2 - c1 - 1), mode) || !ToInt(val.substr(c2 + 1, c3 - c2 - 1), lo) ||
          !ToInt(val.substr(c3 + 1), hi)) {
        error = "--sound needs N,FILE,PLAYMODE,MINSECONDS,MAXSECONDS";
        return false;
      }
      c.sound_slots[index - 1] = {val.substr(first + 1, c1 - first - 1), mode, lo, hi};
    } else if (a == "--wave-count-field") {
      if (!ToInt(val, c.wave_count_field)) {
        error = "bad number after " + a;
        return false;
      }
    } else {
      error = "unknown option " + a;
      return false;
    }
  }
  if (o.picture.empty() || o.out.empty()) {
    error = "make needs --picture and --out";
    return false;
  }
  if (c.last_item < 10 || c.last_item > 14) {
    error = "--end-after must be 10..14";
    return false;
  }
  return true;
}

// The JPEG stream of a picture file: a JPEG file as it is (after checking it decodes),
// anything else encoded.
bool JpegOf(const std::string& path, int quality, std::vector<uint8_t>& jpeg, Bitmap32& decoded,
            std::string& error) {
  if (kx::PictureKindOfPath(path) == kx::PictureKind::Jpeg ||
      (path.size() > 5 && (path.ends_with(".jpeg") || path.ends_with(".JPEG")))) {
    if (!kx::ReadWholeFile(path, jpeg, error)) return false;
    if (!kx::DecodeJpeg(jpeg.data(), jpeg.size(), decoded, error)) {
      error = path + ": " + error;
      return false;
    }
    return true;
  }
  if (!ReadAnyPicture(path, decoded, error)) return false;
  return kx::EncodeJpeg(decoded, quality, jpeg, error);
}

int Make(const Args& args) {
  MakeOptions o;
  std::string error;
  if (!ParseMake(args, o, error)) return Fail(error);
  kx::PictureFileContent& c = o.content;
  Bitmap32 picture;
  if (!JpegOf(o.picture, o.quality, c.picture_jpeg, picture, error)) return Fail(error);

  Bitmap32 thumb;
  if (!o.thumbnail.empty()) {
    if (!JpegOf(o.thumbnail, o.quality, c.thumbnail_jpeg, thumb, error)) return Fail(error);
  } else {
    // Fitted into 160 x 120 keeping the picture's shape; a smaller picture keeps its size.
    int tw = std::min(160, picture.Width()), th = std::min(120, picture.Height());
    if (static_cast<int64_t>(picture.Width()) * th > static_cast<int64_t>(picture.Height()) * tw) {
      th = std::max(1, static_cast<int>((static_cast<int64_t>(picture.Height()) * tw + picture.Width() / 2) / picture.Width()));
    } else {
      tw = std::max(1, static_cast<int>((static_cast<int64_t>(picture.Width()) * th + picture.Height() / 2) / picture.Height()));
    }
    kx::Resample(picture, thumb, tw, th, kx::StretchFilter::Lanczos);
    if (!kx::EncodeJpeg(thumb, o.quality, c.thumbnail_jpeg, error)) return Fail(error);
  }

  if (!o.mask.empty()) {
    Bitmap32 mask;
    if (!ReadAnyPicture(o.mask, mask, error)) return Fail(error);
    if (mask.Width() != picture.Width() || mask.Height() != picture.Height()) {
      std::fprintf(stderr, "kxtool kxp: warning: mask is %dx%d, picture %dx%d\n", mask.Width(),
                   mask.Height(), picture.Width(), picture.Height());
    }
    c.region_runs = kx::EncodeRegionMask(mask);
  }
  if (!o.anim_file.empty() && !ReadText(o.anim_file, c.anim_text, error)) return Fail(error);
  if (!o.extra_file.empty()) {
    std::string text;
    if (!ReadText(o.extra_file, text, error)) return Fail(error);
    c.extra_text = ExtraFromIni(text);
  }
  if (!kx::WritePictureFile(o.out, c, error)) return Fail(error);
  return 0;
}

const char* Bool(bool b) { return b ? "true" : "false"; }

int Dump(const Args& args) {
  std::string path, export_dir;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--export" && i + 1 < args.size()) {
      export_dir = args[++i];
    } else if (path.empty() && args[i].rfind("--", 0) != 0) {
      path = args[i];
    } else {
      return Fail("dump: unexpected argument " + args[i]);
    }
  }
  if (path.empty()) return Fail("dump needs a file");
  kx::TProject record;
  if (!record.LoadFromFile(path)) return Fail(path + ": " + record.LastError());
  kx::TFileLoader raw;  // the values the record does not keep
  if (!raw.LoadFull(path)) return Fail(path + ": " + raw.Error());

  // Region mask summary: pixels and bounds of each region.
  int64_t count[7] = {};
  int bounds[7][4];
  for (auto& b : bounds) b[0] = b[1] = INT32_MAX, b[2] = b[3] = -1;
  const Bitmap32& mask = record.RegionMask;
  for (int y = 0; y < mask.Height(); ++y) {
    const kx::Pixel* row = mask.Row(y);
    for (int x = 0; x < mask.Width(); ++x) {
      const int r = kx::RegionOfPixel(row[x]);
      ++count[r];
      int* b = bounds[r];
      b[0] = std::min(b[0], x);
      b[1] = std::min(b[1], y);
      b[2] = std::max(b[2], x + 1);
      b[3] = std::max(b[3], y + 1);
    }
  }

  std::string o = "{\n";
  auto add = [&](const std::string& key, const std::string& value, bool last = false) {
    o += "  " + JsonString(key) + ": " + value + (last ? "\n" : ",\n");
  };
  add("file", JsonString(path));
  add("title", JsonString(record.Title));
  add("description", JsonString(record.Description));
  add("picture", "{\"width\": " + std::to_string(record.PictureWidth) + ", \"height\": " +
                     std::to_string(record.PictureHeight) + "}");
  add("thumbnail", "{\"width\": " + std::to_string(record.Thumbnail.Width()) + ", \"height\": " +
                       std::to_string(record.Thumbnail.Height()) + "}");
  std::string m = "{\"width\": " + std::to_string(mask.Width()) + ", \"height\": " +
                  std::to_string(mask.Height()) + ", \"run_count\": " +
                  std::to_string(raw.RegionRuns().size() >= 2 ? raw.RegionRuns().size() - 2 : 0) +
                  ", \"regions\": [";
  bool first = true;
  for (int r = 0; r <= 6; ++r) {
    if (!count[r]) continue;
    m += std::string(first ? "" : ", ") + "{\"region\": " + std::to_string(r) + ", \"pixels\": " +
         std::to_string(count[r]) + ", \"bounds\": [" + std::to_string(bounds[r][0]) + ", " +
         std::to_string(bounds[r][1]) + ", " + std::to_string(bounds[r][2]) + ", " +
         std::to_string(bounds[r][3]) + "]}";
    first = false;
  }
  add("region_mask", m + "]}");
  add("wave_count_field", std::to_string(raw.WaveCountField));
  add("extra_wave_count", std::to_string(raw.ExtraWaveCount));
  std::string waves = "[\n";
  for (int i = 0; i < 8; ++i) {
    const kx::TWaveParam& w = record.WaveParams[i];
    char buf[400];
    std::snprintf(buf, sizeof buf,
                  "    {\"amplitude\": %d, \"waves\": %d, \"wave_speed\": %d, \"mode\": %d, "
                  "\"shift_columns\": %d, \"waving\": %d, \"perspective\": %d, \"byte19\": %d, "
                  "\"period\": %d, \"jitter_range\": %d, \"byte28\": %d, \"reflection\": %d, "
                  "\"byte30\": %d, \"byte31\": %d}%s\n",
                  w.Amplitude, w.Waves, w.WaveSpeed, w.Mode, w.ShiftColumns, w.Waving,
                  w.Perspective, w.Align19, w.Period, w.JitterRange, w.Reserved28, w.Reflection,
                  w.Reserved30, w.Reserved31, i < 7 ? "," : "");
    waves += buf;
  }
  add("waves", waves + "  ]");
  std::string values = "[";
  for (int i = 0; i < 8; ++i) values += (i ? ", " : "") + std::to_string(record.WaveValues[i]);
  add("wave_values", values + "]");
  const kx::TWeatherParam& wp = record.Weather;
  add("weather", "{\"kind\": " + std::to_string(wp.Kind) + ", \"count\": " + std::to_string(wp.Count) +
                     ", \"speed\": " + std::to_string(wp.Speed) + ", \"angle\": " +
                     std::to_string(wp.Angle) + ", \"length\": " + std::to_string(wp.Length) +
                     ", \"opacity\": " + std::to_string(wp.Opacity) + "}");
  add("sound_name", JsonString(raw.SoundName));
  add("has_sound_slots", Bool(raw.HasSoundSlots));
  std::string slots = "[\n";
  for (int i = 0; i < 8; ++i) {
    const kx::TSoundSlot& s = record.SoundSlots[i];
    slots += "    {\"file\": " + JsonString(s.SoundFile) + ", \"play_mode\": " + std::to_string(s.PlayMode) +
             ", \"min_seconds\": " + std::to_string(s.MinSeconds) + ", \"max_seconds\": " +
             std::to_string(s.MaxSeconds) + "}" + (i < 7 ? ",\n" : "\n");
  }
  add("sound_slots", slots + "  ]");
  add("first_free_sound_slot", std::to_string(record.FindFreeSoundSlot()));
  add("anim_text", JsonString(record.AnimText));
  add("extra_text", JsonString(raw.ExtraText));
  const kx::TExtraInfo& e = record.ExtraInfo;
  add("extra_info", "{\"scr_filename\": " + JsonString(e.ScrFilename) + ", \"scr_music_file\": " +
                        JsonString(e.ScrMusicFile) + ", \"scr_music\": " + Bool(e.ScrMusic) +
                        ", \"scr_sound\": " + Bool(e.ScrSound) + ", \"exe_filename\": " +
                        JsonString(e.ExeFilename) + ", \"exe_music_file\": " + JsonString(e.ExeMusicFile) +
                        ", \"exe_music\": " + Bool(e.ExeMusic) + ", \"exe_sound\": " +
                        Bool(e.ExeSound) + "}",
      true);
  o += "}\n";
  std::fputs(o.c_str(), stdout);

  if (!export_dir.empty()) {
    const std::string dir = export_dir.back() == '/' ? export_dir : export_dir + "/";
    std::string error;
    if (!WritePng(dir + "picture.png", record.Picture, error) ||
        !WritePng(dir + "thumbnail.png", record.Thumbnail, error) ||
        (!mask.Empty() && !WritePng(dir + "mask.png", mask, error))) {
      return Fail(error);
    }
  }
  return 0;
}

}  // namespace

int CmdKxp(const Args& args) {
  if (args.empty()) return Fail("usage: kxtool kxp make|dump ...");
  const Args rest(args.begin() + 1, args.end());
  if (args[0] == "make") return Make(rest);
  if (args[0] == "dump") return Dump(rest);
  return Fail("unknown kxp command '" + args[0] + "'");
}

}  // namespace kxtool
