#include "package/ini_file.h"

#include "package/paths.h"
#include "platform/file_system.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace kx {

namespace {

std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
  return s.substr(b, e - b);
}

}  // namespace

IniFile IniFile::Parse(std::string_view text) {
  IniFile ini;
  ini.sections_.push_back(Section{});  // lines before the first header
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string_view t = Trim(line);
    if (!t.empty() && t.front() == '[') {
      size_t close = t.find(']');
      std::string_view name = close == std::string_view::npos ? t.substr(1) : t.substr(1, close - 1);
      ini.sections_.push_back(Section{std::string(Trim(name)), {}});
      continue;
    }
    Entry e;
    e.raw = std::string(line);
    size_t eq = t.find('=');
    if (!t.empty() && t.front() != ';' && eq != std::string_view::npos) {
      std::string_view key = Trim(t.substr(0, eq));
      std::string_view value = Trim(t.substr(eq + 1));
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
      if (!key.empty()) {
        e.key = std::string(key);
        e.value = std::string(value);
      }
    }
    if (ini.sections_.size() == 1) ini.has_preamble_ = true;
    ini.sections_.back().entries.push_back(std::move(e));
  }
  return ini;
}

bool IniFile::LoadFromFile(const std::string& path) {
  std::string text;
  if (!fs::ReadFile(path, text)) {
    *this = IniFile();
    return false;
  }
  *this = Parse(text);
  return true;
}

std::string IniFile::ToText() const {
  std::string out;
  for (size_t i = 0; i < sections_.size(); ++i) {
    const Section& s = sections_[i];
    if (i > 0) out += "[" + s.name + "]\r\n";
    for (const Entry& e : s.entries) {
      if (e.key.empty())
        out += e.raw;
      else
        out += e.key + "=" + e.value;
      out += "\r\n";
    }
  }
  return out;
}

bool IniFile::SaveToFile(const std::string& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  const std::string text = ToText();
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  return static_cast<bool>(out);
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
  for (size_t i = 1; i < sections_.size(); ++i)
    if (EqualNoCase(sections_[i].name, name)) return &sections_[i];
  return nullptr;
}

IniFile::Section* IniFile::FindSection(std::string_view name) {
  return const_cast<Section*>(static_cast<const IniFile*>(this)->FindSection(name));
}

const IniFile::Entry* IniFile::FindEntry(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (!s) return nullptr;
  for (const Entry& e : s->entries)
    if (!e.key.empty() && EqualNoCase(e.key, key)) return &e;
  return nullptr;
}

bool IniFile::HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view def) const {
  const Entry* e = FindEntry(section, key);
  return e ? e->value : std::string(def);
}

std::optional<int> IniFile::ParseInteger(std::string_view text) {
  std::string_view t = Trim(text);
  if (t.empty()) return std::nullopt;
  bool negative = false;
  size_t i = 0;
  if (t[0] == '-' || t[0] == '+') {
    negative = t[0] == '-';
    ++i;
  }
  int base = 10;
  if (i < t.size() && t[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= t.size()) return std::nullopt;
  long long v = 0;
  for (; i < t.size(); ++i) {
    int d;
    char c = t[i];
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return std::nullopt;
    v = v * base + d;
    if (v > (base == 16 ? 0xFFFFFFFFLL : 2147483648LL)) return std::nullopt;
  }
  if (negative) v = -v;
  if (base == 16 && !negative && v > INT_MAX) v -= 0x100000000LL;  // "$FFFFFFFF" is -1
  if (v > INT_MAX || v < INT_MIN) return std::nullopt;
  return static_cast<int>(v);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
  const Entry* e = FindEntry(section, key);
  if (!e) return def;
  return ParseInteger(e->value).value_or(def);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

std::vector<std::string> IniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> keys;
  const Section* s = FindSection(section);
  if (!s) return keys;
  for (const Entry& e : s->entries) {
    if (e.key.empty()) continue;
    bool seen = std::any_of(keys.begin(), keys.end(),
                            [&](const std::string& k) { return EqualNoCase(k, e.key); });
    if (!seen) keys.push_back(e.key);
  }
  return keys;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  if (sections_.empty()) sections_.push_back(Section{});
  Section* s = FindSection(section);
  if (!s) {
    sections_.push_back(Section{std::string(section), {}});
    s = &sections_.back();
  }
  for (Entry& e : s->entries) {
    if (!e.key.empty() && EqualNoCase(e.key, key)) {
      e.value = std::string(value);
      return;
    }
  }
  // A new key goes after the section's last key, before trailing blank lines.
  auto it = s->entries.end();
  while (it != s->entries.begin() && std::prev(it)->key.empty() && Trim(std::prev(it)->raw).empty()) --it;
  s->entries.insert(it, Entry{std::string(key), std::string(value), {}});
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void IniFile::EraseSection(std::string_view section) {
  for (size_t i = 1; i < sections_.size();) {
    if (EqualNoCase(sections_[i].name, section))
      sections_.erase(sections_.begin() + static_cast<long>(i));
    else
      ++i;
  }
}

}  // namespace kx
