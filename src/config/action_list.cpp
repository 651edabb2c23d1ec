#include "config/action_list.h"

#include "config/text_util.h"
#include "package/paths.h"

namespace kx {

bool TActionList::Parse(std::string_view text, std::string* error) {
  auto fail = [&](const std::string& m) {
    if (error) *error = m;
    return false;
  };
  if (text.empty()) return true;
  const std::vector<std::string> lines = cfgtext::SplitLines(text);
  if (lines.empty()) return true;
  const std::optional<int> count = cfgtext::ToInt(lines[0]);
  if (!count || *count < 0) return fail("action text line 1: expected the number of actions, found '" + lines[0] + "'");
  for (int i = 0; i < *count; ++i) {
    const size_t base = 1 + 5 * static_cast<size_t>(i);
    if (base + 4 >= lines.size())
      return fail("action text ends inside action " + std::to_string(i + 1) + " of " + std::to_string(*count));
    const std::optional<int> code = cfgtext::ToInt(lines[base + 1]);
    if (!code) return fail("action text line " + std::to_string(base + 2) + ": expected an action code, found '" + lines[base + 1] + "'");
    TAction a;
    a.Code = *code;
    a.Param1 = lines[base + 2];
    a.Param2 = lines[base + 3];
    a.Param3 = lines[base + 4];
    items_.emplace_back(lines[base], std::move(a));
  }
  return true;
}

const TAction* TActionList::Find(std::string_view component) const {
  for (const auto& [name, action] : items_)
    if (EqualNoCase(name, component)) return &action;
  return nullptr;
}

}  // namespace kx
