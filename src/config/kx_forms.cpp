#include "config/kx_forms.h"

#include <fstream>
#include <sstream>

#include "config/text_util.h"
#include "package/paths.h"
#include "platform/file_system.h"

namespace kx {

bool TKXForms::Load(const std::string& path, std::string* error) {
  Clear();
  std::string text;
  if (!fs::ReadFile(path, text)) {
    if (error) *error = "cannot read " + path;
    return false;
  }
  return LoadFromText(text, error);
}

bool TKXForms::LoadFromText(std::string_view text, std::string* error) {
  Clear();
  const std::vector<std::string> lines = cfgtext::SplitLines(text);
  size_t i = 0;
  auto fail = [&](const std::string& m) {
    if (error) *error = m;
    return false;
  };
  // Reads the count on line i (0-based); it must leave room for its lines in the file.
  auto count_at = [&](size_t at, const char* what, int& out) {
    if (at >= lines.size()) return fail("line " + std::to_string(at + 1) + ": the file ends where " + what + " is expected");
    const std::optional<int> v = cfgtext::ToInt(lines[at]);
    if (!v || *v < 0)
      return fail("line " + std::to_string(at + 1) + ": expected " + what + ", found '" + lines[at] + "'");
    if (static_cast<size_t>(*v) > lines.size() - at - 1)
      return fail("line " + std::to_string(at + 1) + ": " + what + " " + std::to_string(*v) + " runs past the end of the file");
    out = *v;
    return true;
  };
  int forms = 0;
  if (lines.empty()) return fail("line 1: the file is empty");
  {
    const std::optional<int> v = cfgtext::ToInt(lines[0]);
    if (!v || *v < 0) return fail("line 1: expected the number of forms, found '" + lines[0] + "'");
    forms = *v;
  }
  for (int f = 0; f < forms; ++f) {
    int n = 0, m = 0, k = 0;
    ++i;
    if (!count_at(i, "the number of form text lines", n)) return false;
    std::string form_text;
    for (int j = 1; j <= n; ++j) {
      form_text += lines[i + j];
      form_text += "\r\n";
    }
    i += n;
    ++i;
    if (!count_at(i, "the number of action text lines", m)) return false;
    std::vector<std::string> action_lines;
    for (int j = 1; j <= m; ++j) action_lines.push_back(lines[i + j].empty() ? " " : lines[i + j]);
    i += m;
    ++i;
    if (!count_at(i, "the number of further lines", k)) return false;
    i += k;
    std::string action_error;
    if (!AddForm(form_text, cfgtext::JoinLines(action_lines, false), &action_error))
      return fail("form " + std::to_string(f + 1) + ": " + action_error);
  }
  return true;
}

bool TKXForms::AddForm(std::string_view form_text, std::string_view action_text, std::string* error) {
  auto form = std::make_unique<TKXForm>();
  if (!form->Actions.Parse(action_text, error)) return false;
  form->Text = cfgtext::SplitLines(form_text);
  form->Name = form->Text.empty() ? "" : FormNameFromFirstLine(form->Text[0]);
  items_.push_back(std::move(form));
  return true;
}

const TKXForm* TKXForms::FindForm(std::string_view name) const {
  for (const auto& f : items_)
    if (EqualNoCase(f->Name, name)) return f.get();
  return nullptr;
}

}  // namespace kx
