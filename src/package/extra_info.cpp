#include "package/extra_info.h"

#include "package/ini_file.h"

namespace kx {
namespace {

bool IsBlank(char c) { return c >= 1 && c <= ' '; }

}  // namespace

std::vector<std::string> SplitCommaText(const std::string& text) {
  std::vector<std::string> items;
  const size_t n = text.size();
  size_t p = 0;
  auto skip_blanks = [&] {
    while (p < n && IsBlank(text[p])) ++p;
  };
  skip_blanks();
  while (p < n && text[p] != '\0') {
    std::string item;
    if (text[p] == '"') {
      ++p;
      while (p < n) {
        if (text[p] == '"') {
          if (p + 1 < n && text[p + 1] == '"') {
            item += '"';
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        item += text[p++];
      }
    } else {
      const size_t start = p;
      while (p < n && static_cast<unsigned char>(text[p]) > ' ' && text[p] != ',') ++p;
      item = text.substr(start, p - start);
    }
    items.push_back(item);
    skip_blanks();
    if (p < n && text[p] == ',') {
      if (p + 1 >= n) items.emplace_back();  // a trailing comma ends with an empty item
      ++p;
      skip_blanks();
    }
  }
  return items;
}

std::string JoinCommaText(const std::vector<std::string>& lines) {
  if (lines.size() == 1 && lines[0].empty()) return "\"\"";
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& s = lines[i];
    bool quote = false;
    for (char c : s) {
      if (static_cast<unsigned char>(c) <= ' ' || c == '"' || c == ',') quote = true;
    }
    if (i) out += ',';
    if (!quote) {
      out += s;
      continue;
    }
    out += '"';
    for (char c : s) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }
  return out;
}

void TExtraInfo::LoadFromText(const std::string& comma_text) {
  std::string text;
  for (const std::string& line : SplitCommaText(comma_text)) {
    text += line;
    text += '\n';
  }
  const IniFile ini = IniFile::Parse(text);
  ExeFilename = ini.ReadString("BuildExe", "Filename", ExeFilename);
  ExeMusicFile = ini.ReadString("BuildExe", "MusicFile", ExeMusicFile);
  ExeMusic = ini.ReadBool("BuildExe", "Music", ExeMusic);
  ExeSound = ini.ReadBool("BuildExe", "Sound", ExeSound);
  ScrFilename = ini.ReadString("BuildScr", "Filename", ScrFilename);
  ScrMusicFile = ini.ReadString("BuildScr", "MusicFile", ScrMusicFile);
  ScrMusic = ini.ReadBool("BuildScr", "Music", ScrMusic);
  ScrSound = ini.ReadBool("BuildScr", "Sound", ScrSound);
}

std::string TExtraInfo::ToText() const {
  const std::vector<std::string> lines = {
      "[BuildScr]",
      "Filename=" + ScrFilename,
      "MusicFile=" + ScrMusicFile,
      std::string("Music=") + (ScrMusic ? "1" : "0"),
      std::string("Sound=") + (ScrSound ? "1" : "0"),
      "",
      "[BuildExe]",
      "Filename=" + ExeFilename,
      "MusicFile=" + ExeMusicFile,
      std::string("Music=") + (ExeMusic ? "1" : "0"),
      std::string("Sound=") + (ExeSound ? "1" : "0"),
  };
  return JoinCommaText(lines);
}

}  // namespace kx
