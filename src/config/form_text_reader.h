// Reads the text notation of a form into an object tree.
//
//   object Name: TClass        (or "object TClass" for an unnamed component)
//     Path.To.Property = value
//     object Child: TOther ... end
//   end
//
// "inherited" and "inline" stand where "object" may (forms derived from another form, frames
// embedded in a form), and a creation index may follow the class: "object B: TButton [2]".
//
// Values: integers (decimal, or "$" hexadecimal), reals ("1.5", "2E3"), strings made of
// quoted runs ('it''s') and character codes (#39) written next to each other and joined by
// " +" across lines, identifiers (a dotted one, "MainForm.ImageList1", is one name), sets "[a, b]", binary data "{0A1B ...}" over any number of
// lines, lists "( value value )" and collections "< item ... end item ... end >".
// A malformed text gives an error naming the line and what was expected; nesting is limited
// so that no input can exhaust the stack.
#pragma once

#include <string>
#include <string_view>

#include "config/form_object.h"

namespace kx {

struct FormReadResult {
  bool ok = false;
  FormObject root;
  int error_line = 0;     // 1-based
  std::string message;    // "expected '=' after the property name"
  std::string error;      // "line 12: expected '=' after the property name"
};

class FormTextReader {
 public:
  static constexpr int kMaxDepth = 64;
  static FormReadResult Read(std::string_view text);
};

}  // namespace kx
