#include "package/paths.h"

#include <cctype>

namespace kx {

std::string FileNamePart(std::string_view path) {
  size_t p = path.find_last_of("\\/:");
  return std::string(p == std::string_view::npos ? path : path.substr(p + 1));
}

std::string FolderPart(std::string_view path) {
  size_t p = path.find_last_of("\\/:");
  return p == std::string_view::npos ? std::string() : std::string(path.substr(0, p + 1));
}

std::string BaseNameOf(std::string_view longPath) {
  std::string name = FileNamePart(longPath);
  size_t dot = name.find('.');
  if (dot != std::string::npos) name.resize(dot);
  return name;
}

std::string UserSettingsPathOf(std::string_view longPath) {
  size_t dot = longPath.rfind('.');
  std::string_view stem = dot == std::string_view::npos ? std::string_view() : longPath.substr(0, dot);
  return std::string(stem) + ".ini";
}

std::string ExtensionOf(std::string_view path) {
  std::string name = FileNamePart(path);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string UpperCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return r;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

bool IsSafeContentName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 32 || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' ||
        c == '<' || c == '>' || c == '|')
      return false;
  }
  // Windows drops trailing dots and blanks, which would turn "..." or "CON." into other names.
  if (name.back() == '.' || name.back() == ' ') return false;
  std::string stem = UpperCase(name.substr(0, name.find('.')));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (const char* d : kDevices)
    if (stem == d) return false;
  if (stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
      stem[3] >= '0' && stem[3] <= '9')
    return false;
  return true;
}

}  // namespace kx
