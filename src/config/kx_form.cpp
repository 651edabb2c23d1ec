#include "config/kx_form.h"

#include "config/text_util.h"
#include "package/paths.h"

namespace kx {

std::string FormNameFromFirstLine(std::string_view first_line) {
  // "object " is 7 characters; a form derived from another one starts "inherited " or
  // "inline ", and the name follows that word instead.
  size_t skip = 7;
  for (std::string_view word : {std::string_view("inherited "), std::string_view("inline ")})
    if (first_line.size() >= word.size() && UpperCase(first_line.substr(0, word.size())) == UpperCase(word))
      skip = word.size();
  if (first_line.size() <= skip) return "";
  const std::string_view rest = first_line.substr(skip);
  const size_t colon = rest.find(':');
  if (colon == std::string_view::npos) return "";
  return std::string(rest.substr(0, colon));
}

namespace {

bool StartsWithUpper(std::string_view line, std::string_view word) {
  return line.size() >= word.size() && UpperCase(line.substr(0, word.size())) == word;
}

}  // namespace

std::string PrepareFormText(const TKXForm& form, std::vector<int>* line_map) {
  std::vector<std::string> lines = form.Text;
  if (lines.empty()) return "";
  lines[0] = "object " + FormNameFromFirstLine(lines[0]) + ": TfmKXConfigWindow";
  std::vector<std::string> kept;
  kept.reserve(lines.size());
  bool root_visible_seen = false;
  if (line_map) line_map->clear();
  for (size_t index = 0; index < lines.size(); ++index) {
    const std::string& raw = lines[index];
    const std::string_view line = cfgtext::Trim(raw);
    // Event bindings: "OnClick = ...", but not a property such as "Only..." or "Once...".
    const bool event = line.size() >= 2 && line[0] == 'O' && line[1] == 'n' &&
                       !(line.size() >= 3 && line[2] >= 'a' && line[2] <= 'z');
    bool remove = event || StartsWithUpper(line, "BORDERICONS") ||
                  StartsWithUpper(line, "BORDERSTYLE") || StartsWithUpper(line, "FORMSTYLE");
    if (!remove && !root_visible_seen && StartsWithUpper(line, "VISIBLE")) {
      root_visible_seen = true;
      remove = true;
    }
    if (remove) continue;
    kept.push_back(raw);
    if (line_map) line_map->push_back(static_cast<int>(index) + 1);
  }
  return cfgtext::JoinLines(kept, false);
}

}  // namespace kx
