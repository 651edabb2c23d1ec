// Profile (INI) texts read and written with the rules of the Windows profile calls:
// section and key names ignore case, the first occurrence of a section or key wins,
// blanks around names and values are trimmed, a value in double quotes loses them,
// lines starting with ';' are comments, and a missing or unreadable value gives the
// caller's default. Numbers are decimal, or hexadecimal after "0x" or "$".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

class IniFile {
 public:
  IniFile() = default;
  static IniFile Parse(std::string_view text);
  // False when the file cannot be read; the object is then empty.
  bool LoadFromFile(const std::string& path);
  // Writes the whole text; false on any write error.
  bool SaveToFile(const std::string& path) const;
  std::string ToText() const;

  bool HasSection(std::string_view section) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view def) const;
  int ReadInteger(std::string_view section, std::string_view key, int def) const;
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;
  // Key names of a section in file order (first occurrence of each), empty when absent.
  std::vector<std::string> ReadSection(std::string_view section) const;

  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  void WriteBool(std::string_view section, std::string_view key, bool value);
  void EraseSection(std::string_view section);

  // Parses a whole text as an integer with the rules above; nullopt when it is not one.
  static std::optional<int> ParseInteger(std::string_view text);

 private:
  struct Entry {
    std::string key;    // empty for lines that are not key=value (kept as raw)
    std::string value;
    std::string raw;    // the original line for comments and other lines
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  const Section* FindSection(std::string_view name) const;
  Section* FindSection(std::string_view name);
  const Entry* FindEntry(std::string_view section, std::string_view key) const;

  std::vector<Section> sections_;  // sections_[0] holds lines before the first section header
  bool has_preamble_ = false;
};

}  // namespace kx
