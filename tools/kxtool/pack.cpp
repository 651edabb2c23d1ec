// kxtool pack: builds a saver from the engine and an author's source folder.
//
// Source folder:
//   project.ini   the project settings ([General], [Default], [Advance], [Build]); an optional
//                 [FileList] section names the pictures in show order (value 1 selected, 0 not).
//                 Without project.ini the saver gets the default settings and the folder's name
//                 as its ProductName.
//   pictures/     the pictures (.kxp, .jpg, .jpeg, .bmp, .gif, .png); without [FileList] all of
//                 them take part, in the order of their file names. PNG pictures are converted
//                 to what the saver reads: JPEG, or a 32-bit bitmap when they have transparency.
//                 Files of other formats are listed as skipped. A .jpeg picture is stored
//                 under its name with .jpg (the saver shows JPEG pictures named .jpg).
//   content/      other files the saver uses: music, sounds, object images, the preview JPEG
//   gui.kui       the GUI description of the configuration window (optional)
//
// Every picture is decoded once as the saver will decode it; one that does not decode stops
// the pack. The engine is the one built into kxtool unless --engine names another.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>

#include "commands.h"
#include "engine.h"
#include "kxp_png.h"
#include "media/intmath.h"
#include "media/jpeg_codec.h"
#include "package/container.h"
#include "package/ini_file.h"
#include "package/package_writer.h"
#include "package/paths.h"
#include "package/picture_record.h"
#include "platform/file_system.h"
#include "progress.h"

namespace kxtool {

namespace {

namespace stdfs = std::filesystem;

constexpr int kJpegQuality = 92;

enum class Kind { Skipped, Kxp, Jpeg, Bmp, Gif, Png };

Kind KindOf(const std::string& name) {
  const std::string ext = kx::UpperCase(kx::ExtensionOf(name));
  if (ext == ".KXP") return Kind::Kxp;
  if (ext == ".JPG" || ext == ".JPEG") return Kind::Jpeg;
  if (ext == ".BMP") return Kind::Bmp;
  if (ext == ".GIF") return Kind::Gif;
  if (ext == ".PNG") return Kind::Png;
  return Kind::Skipped;
}

const char* KindName(Kind k) {
  switch (k) {
    case Kind::Kxp: return "living picture";
    case Kind::Jpeg: return "JPEG";
    case Kind::Bmp: return "bitmap";
    case Kind::Gif: return "GIF";
    case Kind::Png: return "PNG";
    default: return "";
  }
}

// The saver tells a still picture by its extension and takes every other one, .jpeg
// included, for a living picture: a .jpeg picture goes into the package as .jpg.
std::string StoredPictureName(const std::string& name) {
  if (kx::UpperCase(kx::ExtensionOf(name)) != ".JPEG") return name;
  return name.substr(0, name.size() - 5) + ".jpg";
}

std::vector<std::string> FilesIn(const stdfs::path& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  if (!stdfs::is_directory(dir, ec)) return names;
  for (const auto& e : stdfs::directory_iterator(dir, ec))
    if (e.is_regular_file(ec)) names.push_back(PathText(e.path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

// The project text without its [FileList] section.
std::string SettingsText(const std::string& projectText) {
  kx::IniFile ini = kx::IniFile::Parse(projectText);
  ini.EraseSection("FileList");
  ini.EraseSection("FileListHeader");
  return ini.ToText();
}

// The name of the source folder itself, also when it is given with a trailing separator.
std::string FolderName(const stdfs::path& src) {
  std::error_code ec;
  stdfs::path p = stdfs::absolute(src, ec).lexically_normal();
  if (p.filename().empty()) p = p.parent_path();
  const std::string name = PathText(p.filename());
  return name.empty() ? "My Screensaver" : name;
}

bool HasTransparency(const kx::Bitmap32& b) {
  for (int y = 0; y < b.Height(); ++y) {
    const kx::Pixel* row = b.Row(y);
    for (int x = 0; x < b.Width(); ++x)
      if (kx::PixelA(row[x]) != 255) return true;
  }
  return false;
}

void Put16(std::string& s, uint32_t v) {
  s += static_cast<char>(v & 255);
  s += static_cast<char>((v >> 8) & 255);
}
void Put32(std::string& s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

// A 32-bit Windows bitmap with an alpha channel (BITMAPV4HEADER, BI_BITFIELDS), colours
// premultiplied by their alpha as Windows' alpha blending expects. A reader that ignores
// the alpha byte sees the picture over black, the show's own background.
std::string Bitmap32File(const kx::Bitmap32& b) {
  const uint32_t headerSize = 14 + 108;
  const uint32_t dataSize = static_cast<uint32_t>(b.Width()) * static_cast<uint32_t>(b.Height()) * 4;
  std::string f;
  f.reserve(headerSize + dataSize);
  f += "BM";
  Put32(f, headerSize + dataSize);
  Put32(f, 0);
  Put32(f, headerSize);
  Put32(f, 108);
  Put32(f, static_cast<uint32_t>(b.Width()));
  Put32(f, static_cast<uint32_t>(b.Height()));  // bottom-up rows
  Put16(f, 1);
  Put16(f, 32);
  Put32(f, 3);  // BI_BITFIELDS
  Put32(f, dataSize);
  Put32(f, 2835);  // 72 dots per inch
  Put32(f, 2835);
  Put32(f, 0);
  Put32(f, 0);
  Put32(f, 0x00FF0000);  // red, green, blue and alpha masks
  Put32(f, 0x0000FF00);
  Put32(f, 0x000000FF);
  Put32(f, 0xFF000000);
  Put32(f, 0x73524742);  // LCS_sRGB
  for (int i = 0; i < 12; ++i) Put32(f, 0);  // endpoints and gamma, unused for sRGB
  for (int y = b.Height() - 1; y >= 0; --y) {
    const kx::Pixel* row = b.Row(y);
    for (int x = 0; x < b.Width(); ++x) {
      const kx::Pixel p = row[x];
      const int a = kx::PixelA(p);
      f += static_cast<char>(kx::MulDiv(kx::PixelB(p), a, 255));
      f += static_cast<char>(kx::MulDiv(kx::PixelG(p), a, 255));
      f += static_cast<char>(kx::MulDiv(kx::PixelR(p), a, 255));
      f += static_cast<char>(a);
    }
  }
  return f;
}

struct Picture {
  std::string source;  // the file name in pictures/
  std::string stored;  // the name in the package
  std::string bytes;   // the converted file, empty when the file is stored as it is
};

// Decodes one picture as the saver will and, for a PNG, converts it. False with a message
// when the picture does not decode.
bool CheckPicture(const stdfs::path& path, Kind kind, Picture& pic, std::string& line, std::string& error) {
  const std::string file = PathText(path);
  int w = 0, h = 0;
  if (kind == Kind::Kxp) {
    kx::TProject record;
    if (!record.LoadFromFile(file)) {
      error = record.LastError().empty() ? "not a picture file" : record.LastError();
      return false;
    }
    w = record.PictureWidth ? record.PictureWidth : record.Picture.Width();
    h = record.PictureHeight ? record.PictureHeight : record.Picture.Height();
  } else {
    kx::Bitmap32 b;
    if (!ReadAnyPicture(file, b, error)) {
      // The decoders name the file themselves; keep only their reason.
      const std::string prefix = file + ": ";
      if (error.compare(0, prefix.size(), prefix) == 0) error.erase(0, prefix.size());
      return false;
    }
    w = b.Width();
    h = b.Height();
    if (kind == Kind::Png) {
      const std::string stem = PathText(path.stem());
      if (HasTransparency(b)) {
        pic.stored = stem + ".bmp";
        pic.bytes = Bitmap32File(b);
        line = std::string("PNG ") + std::to_string(w) + "x" + std::to_string(h) +
               " with transparency, converted to " + pic.stored + " (32-bit bitmap)";
      } else {
        std::vector<uint8_t> jpeg;
        if (!kx::EncodeJpeg(b, kJpegQuality, jpeg, error)) return false;
        pic.stored = stem + ".jpg";
        pic.bytes.assign(jpeg.begin(), jpeg.end());
        // The converted picture is decoded again, as the saver will read it.
        kx::Bitmap32 check;
        if (!kx::DecodeJpeg(jpeg.data(), jpeg.size(), check, error)) return false;
        line = std::string("PNG ") + std::to_string(w) + "x" + std::to_string(h) + ", converted to " +
               pic.stored + " (JPEG)";
      }
      return true;
    }
  }
  line = std::string(KindName(kind)) + " " + std::to_string(w) + "x" + std::to_string(h);
  return true;
}

}  // namespace

const char kPackUsage[] =
    "pack --source FOLDER --out SAVER.scr [--engine ENGINE.scr] [--allow-empty]\n"
    "      builds a saver from a source folder: project.ini (optional), pictures/, content/,\n"
    "      gui.kui; the engine built into kxtool is used unless --engine names another;\n"
    "      --allow-empty packs a saver without pictures (to try the saver's own message)";

int CmdPack(const Args& args) {
  std::string engine, source, out;
  bool allowEmpty = false, missingValue = false;
  for (size_t i = 0; i < args.size(); ++i) {
    auto value = [&]() -> std::string {
      if (i + 1 < args.size()) return args[++i];
      missingValue = true;
      return {};
    };
    if (args[i] == "--engine") engine = value();
    else if (args[i] == "--source") source = value();
    else if (args[i] == "--out") out = value();
    else if (args[i] == "--allow-empty") allowEmpty = true;
    else {
      std::fprintf(stderr, "kxtool pack: unknown option %s\n", args[i].c_str());
      return 2;
    }
  }
  if (source.empty() || out.empty() || missingValue) {
    std::fprintf(stderr, "usage: kxtool %s\n", kPackUsage);
    return 2;
  }
  std::string engineBytes;
  if (!engine.empty()) {
    if (!kx::fs::ReadFile(engine, engineBytes)) {
      std::fprintf(stderr, "kxtool pack: cannot read the engine %s\n", engine.c_str());
      return 1;
    }
  } else {
    engineBytes = std::string(BuiltInEngine());
    if (engineBytes.empty()) {
      std::fprintf(stderr, "kxtool pack: this kxtool was built without an engine; give --engine ENGINE.scr\n");
      return 2;
    }
  }
  if (kx::FindMarkerIn(engineBytes).found) {
    std::fprintf(stderr, "kxtool pack: %s already carries a package; give the bare engine\n",
                 engine.empty() ? "the built-in engine" : engine.c_str());
    return 1;
  }
  const stdfs::path src = PathOf(source);
  std::error_code ec;
  if (!stdfs::is_directory(src, ec)) {
    std::fprintf(stderr, "kxtool pack: the source folder %s does not exist\n", source.c_str());
    return 1;
  }
  std::string projectText;
  kx::PackageSource pkg;
  if (kx::fs::ReadFile(PathText(src / "project.ini"), projectText)) {
    pkg.settingsIni = SettingsText(projectText);
  } else {
    kx::IniFile defaults;
    const std::string name = FolderName(src);
    defaults.WriteString("General", "ProductName", name);
    pkg.settingsIni = defaults.ToText();
    std::printf("%s has no project.ini: the saver gets the default settings and ProductName=%s\n",
                source.c_str(), name.c_str());
  }
  const kx::IniFile projectIni = kx::IniFile::Parse(projectText);

  // The pictures, each decoded once; PNG pictures converted.
  std::vector<Picture> pictures;
  std::vector<std::string> skipped;
  std::map<std::string, std::string> storedAs;  // upper-cased source name -> stored name
  {
    const std::vector<std::string> names = FilesIn(src / "pictures");
    Progress progress("checking pictures", static_cast<long long>(names.size()));
    long long done = 0;
    for (const std::string& n : names) {
      progress.Update(done++);
      const Kind kind = KindOf(n);
      if (kind == Kind::Skipped) {
        skipped.push_back(n);
        continue;
      }
      Picture pic{n, StoredPictureName(n), {}};
      std::string line, error;
      if (!CheckPicture(src / "pictures" / PathOf(n), kind, pic, line, error)) {
        progress.Done();
        std::fprintf(stderr, "kxtool pack: pictures/%s does not decode: %s\n", n.c_str(), error.c_str());
        return 1;
      }
      progress.Done();
      std::printf("  pictures/%s: %s\n", n.c_str(), line.c_str());
      if (pic.bytes.empty() && pic.stored != n) std::printf("%s is stored as %s\n", n.c_str(), pic.stored.c_str());
      storedAs[kx::UpperCase(n)] = pic.stored;
      pictures.push_back(std::move(pic));
    }
  }
  if (!skipped.empty()) {
    std::string list;
    for (const std::string& n : skipped) list += (list.empty() ? "" : ", ") + n;
    std::printf("skipped (not a picture format kxtool reads: .kxp .jpg .jpeg .bmp .gif .png): %s\n", list.c_str());
  }

  std::vector<std::string> listed = projectIni.ReadSection("FileList");
  if (listed.empty()) {
    for (const Picture& p : pictures) listed.push_back(p.stored);
    pkg.fileListIni = kx::FileListIni(listed);
  } else {
    std::string fl = "[FileListHeader]\r\nHeader=1\r\n[FileList]\r\n";
    for (std::string& n : listed) {
      const bool on = projectIni.ReadBool("FileList", n, true);
      const auto it = storedAs.find(kx::UpperCase(n));
      if (it != storedAs.end()) n = it->second;  // a converted PNG keeps its place
      fl += n + "=" + (on ? "1" : "0") + "\r\n";
    }
    pkg.fileListIni = fl;
  }
  if (listed.empty() && allowEmpty) {
    std::printf("no picture: the saver will say that it does not contain any image\n");
  } else if (listed.empty()) {
    std::fprintf(stderr, "kxtool pack: %s has no picture: put .kxp, .jpg, .bmp, .gif or .png files into %s\n",
                 source.c_str(), PathText(src / "pictures").c_str());
    return 1;
  }
  pkg.uiIni = "[UI]\r\nUIFile=KXGUI.kui\r\n";

  std::set<std::string> added;
  auto add = [&](const std::string& name, std::string bytes) -> bool {
    if (!kx::IsSafeContentName(name)) {
      std::fprintf(stderr, "kxtool pack: %s is not a usable file name\n", name.c_str());
      return false;
    }
    if (!added.insert(kx::UpperCase(name)).second) {
      std::fprintf(stderr, "kxtool pack: two content files are named %s\n", name.c_str());
      return false;
    }
    pkg.files.emplace_back(name, std::move(bytes));
    return true;
  };
  auto addFile = [&](const std::string& name, const stdfs::path& path) -> bool {
    std::string bytes;
    if (!kx::fs::ReadFile(PathText(path), bytes)) {
      std::fprintf(stderr, "kxtool pack: cannot read %s\n", PathText(path).c_str());
      return false;
    }
    return add(name, std::move(bytes));
  };
  for (Picture& p : pictures) {
    const bool ok = p.bytes.empty() ? addFile(p.stored, src / "pictures" / PathOf(p.source))
                                    : add(p.stored, std::move(p.bytes));
    if (!ok) return 1;
  }
  for (const std::string& n : FilesIn(src / "content"))
    if (!addFile(n, src / "content" / PathOf(n))) return 1;
  for (const std::string& n : listed) {
    if (!added.count(kx::UpperCase(StoredPictureName(n)))) {
      std::fprintf(stderr, "kxtool pack: the file list names %s, which is in neither pictures/ nor content/\n", n.c_str());
      return 1;
    }
  }
  kx::fs::ReadFile(PathText(src / "gui.kui"), pkg.guiText);

  if (!kx::fs::WriteFile(out, engineBytes + kx::BuildPackage(pkg))) {
    std::fprintf(stderr, "kxtool pack: cannot write %s\n", out.c_str());
    return 1;
  }
  stdfs::permissions(PathOf(out), stdfs::perms::owner_exec | stdfs::perms::group_exec | stdfs::perms::others_exec,
                     stdfs::perm_options::add, ec);
  std::printf("%s: %zu pictures, %zu files\n", out.c_str(), listed.size(), pkg.files.size());
  return 0;
}

}  // namespace kxtool
