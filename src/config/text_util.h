// Small text helpers of the configuration window code: line splitting with the profile-text
// line rules (CR LF, a lone CR or a lone LF ends a line), trimming of blanks and control
// characters, and whole-text integers. Letter case and extensions: package/paths.h.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx::cfgtext {

// "a\r\nb\r\n" gives {"a", "b"}; "" gives {}; "a\n\nb" gives {"a", "", "b"}.
std::vector<std::string> SplitLines(std::string_view text);
std::string JoinLines(const std::vector<std::string>& lines, bool trailing_break);
// Removes leading and trailing characters up to and including the blank (control characters too).
std::string_view Trim(std::string_view s);
// A whole text as a 32-bit integer (decimal, "$" or "0x" hexadecimal, blanks around allowed).
std::optional<int> ToInt(std::string_view s);

}  // namespace kx::cfgtext
