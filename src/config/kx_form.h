// One form of a GUI description: its name, the lines of its form text as read, and its
// action list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/action_list.h"

namespace kx {

struct TKXForm {
  std::string Name;
  std::vector<std::string> Text;
  TActionList Actions;
};

// The form name from the first line of a form text: the line without its first seven
// characters ("object "), up to the first ':' ("" when there is none).
std::string FormNameFromFirstLine(std::string_view first_line);

// The form text ready to be read: the root becomes the configuration window class, and event
// lines, border and form-style settings and the root's own Visible line are removed.
// line_map (optional) receives, for every line of the result, its 1-based line in form.Text.
std::string PrepareFormText(const TKXForm& form, std::vector<int>* line_map = nullptr);

}  // namespace kx
