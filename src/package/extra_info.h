// TExtraInfo: the authoring tool's build settings kept in a picture file's ExtraText, and
// the comma-list form that text is stored in: the lines of a small INI text joined by
// commas, an item holding blanks, commas or quotes enclosed in double quotes (a quote
// inside doubled), an empty item for an empty line. The engine only reads these values.
#pragma once

#include <string>
#include <vector>

namespace kx {

// Splits a comma list into its items (lines).
std::vector<std::string> SplitCommaText(const std::string& text);
// Joins lines into a comma list; SplitCommaText gives them back.
std::string JoinCommaText(const std::vector<std::string>& lines);

struct TExtraInfo {
  // [BuildExe]
  std::string ExeFilename;
  std::string ExeMusicFile;
  bool ExeMusic = false;
  bool ExeSound = true;
  // [BuildScr]
  std::string ScrFilename;
  std::string ScrMusicFile;
  bool ScrMusic = false;
  bool ScrSound = true;

  // Reads the comma list; missing keys keep their defaults.
  void LoadFromText(const std::string& comma_text);
  // The comma list of both sections, as the authoring tool writes it.
  std::string ToText() const;
  bool operator==(const TExtraInfo&) const = default;
};

}  // namespace kx
