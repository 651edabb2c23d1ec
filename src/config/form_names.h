// Names a form text may use for values: colours, cursors and character sets.
#pragma once

#include <optional>
#include <string_view>

#include "config/form_model.h"

namespace kx {

std::optional<FormColor> ColorFromName(std::string_view name);   // "clBtnFace", "clNavy"
std::optional<int> CursorFromName(std::string_view name);        // "crHandPoint" = -21
std::optional<int> CharsetFromName(std::string_view name);       // "ANSI_CHARSET" = 0

}  // namespace kx
