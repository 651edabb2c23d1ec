// kxtool pack: builds a saver from the engine and an author's source folder.
//
// Source folder:
//   project.ini   the project settings ([General], [Default], [Advance], [Build]); an optional
//                 [FileList] section names the pictures in show order (value 1 selected, 0 not)
//   pictures/     the pictures (.kxp, .jpg, .jpeg, .bmp, .gif); without [FileList] all of them
//                 take part, in the order of their file names; a .jpeg picture is stored
//                 under its name with .jpg (the saver shows JPEG pictures named .jpg)
//   content/      other files the saver uses: music, sounds, object images, the preview JPEG
//   gui.kui       the GUI description of the configuration window (optional)
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

#include "commands.h"
#include "package/container.h"
#include "package/ini_file.h"
#include "package/package_writer.h"
#include "package/paths.h"
#include "platform/file_system.h"

namespace kxtool {

namespace {

namespace stdfs = std::filesystem;

bool IsPicture(const std::string& name) {
  const std::string ext = kx::UpperCase(kx::ExtensionOf(name));
  return ext == ".KXP" || ext == ".JPG" || ext == ".JPEG" || ext == ".BMP" || ext == ".GIF";
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
    if (e.is_regular_file()) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The project text without its [FileList] section, and the file list it names.
std::string SettingsText(const std::string& projectText) {
  kx::IniFile ini = kx::IniFile::Parse(projectText);
  ini.EraseSection("FileList");
  ini.EraseSection("FileListHeader");
  return ini.ToText();
}

}  // namespace

int CmdPack(const Args& args) {
  std::string engine, source, out;
  for (size_t i = 0; i + 1 < args.size(); i += 2) {
    if (args[i] == "--engine") engine = args[i + 1];
    else if (args[i] == "--source") source = args[i + 1];
    else if (args[i] == "--out") out = args[i + 1];
    else {
      std::fprintf(stderr, "kxtool pack: unknown option %s\n", args[i].c_str());
      return 2;
    }
  }
  if (engine.empty() || source.empty() || out.empty() || args.size() % 2) {
    std::fprintf(stderr, "usage: kxtool pack --engine ENGINE.scr --source FOLDER --out SAVER.scr\n");
    return 2;
  }
  std::string engineBytes;
  if (!kx::fs::ReadFile(engine, engineBytes)) {
    std::fprintf(stderr, "kxtool pack: cannot read the engine %s\n", engine.c_str());
    return 1;
  }
  if (kx::FindMarkerIn(engineBytes).found) {
    std::fprintf(stderr, "kxtool pack: %s already carries a package; give the bare engine\n", engine.c_str());
    return 1;
  }
  const stdfs::path src(source);
  std::string projectText;
  if (!kx::fs::ReadFile((src / "project.ini").string(), projectText)) {
    std::fprintf(stderr, "kxtool pack: %s has no project.ini\n", source.c_str());
    return 1;
  }
  const kx::IniFile projectIni = kx::IniFile::Parse(projectText);

  kx::PackageSource pkg;
  std::vector<std::string> pictures = FilesIn(src / "pictures");
  pictures.erase(std::remove_if(pictures.begin(), pictures.end(), [](const std::string& n) { return !IsPicture(n); }),
                 pictures.end());
  std::vector<std::string> stored;
  for (const std::string& n : pictures) {
    stored.push_back(StoredPictureName(n));
    if (stored.back() != n) std::printf("%s is stored as %s\n", n.c_str(), stored.back().c_str());
  }
  std::vector<std::string> listed = projectIni.ReadSection("FileList");
  if (listed.empty()) {
    pkg.fileListIni = kx::FileListIni(stored);
    listed = stored;
  } else {
    std::string fl = "[FileListHeader]\r\nHeader=1\r\n[FileList]\r\n";
    for (const std::string& n : listed)
      fl += StoredPictureName(n) + "=" + (projectIni.ReadBool("FileList", n, true) ? "1" : "0") + "\r\n";
    pkg.fileListIni = fl;
  }
  pkg.settingsIni = SettingsText(projectText);
  pkg.uiIni = "[UI]\r\nUIFile=KXGUI.kui\r\n";

  std::set<std::string> added;
  auto add = [&](const stdfs::path& path, const std::string& name) -> bool {
    if (!kx::IsSafeContentName(name)) {
      std::fprintf(stderr, "kxtool pack: %s is not a usable file name\n", name.c_str());
      return false;
    }
    if (!added.insert(kx::UpperCase(name)).second) {
      std::fprintf(stderr, "kxtool pack: two content files are named %s\n", name.c_str());
      return false;
    }
    std::string bytes;
    if (!kx::fs::ReadFile(path.string(), bytes)) {
      std::fprintf(stderr, "kxtool pack: cannot read %s\n", path.string().c_str());
      return false;
    }
    pkg.files.emplace_back(name, std::move(bytes));
    return true;
  };
  for (size_t i = 0; i < pictures.size(); ++i)
    if (!add(src / "pictures" / pictures[i], stored[i])) return 1;
  for (const std::string& n : FilesIn(src / "content"))
    if (!add(src / "content" / n, n)) return 1;
  for (const std::string& n : listed) {
    if (!added.count(kx::UpperCase(StoredPictureName(n)))) {
      std::fprintf(stderr, "kxtool pack: the file list names %s, which is in neither pictures/ nor content/\n", n.c_str());
      return 1;
    }
  }
  kx::fs::ReadFile((src / "gui.kui").string(), pkg.guiText);

  if (!kx::fs::WriteFile(out, engineBytes + kx::BuildPackage(pkg))) {
    std::fprintf(stderr, "kxtool pack: cannot write %s\n", out.c_str());
    return 1;
  }
  std::error_code ec;
  stdfs::permissions(out, stdfs::perms::owner_exec | stdfs::perms::group_exec | stdfs::perms::others_exec,
                     stdfs::perm_options::add, ec);
  std::printf("%s: %zu pictures, %zu files\n", out.c_str(), listed.size(), pkg.files.size());
  return 0;
}

}  // namespace kxtool
