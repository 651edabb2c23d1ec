// The GUI description: any number of named forms, each a form text and an action list.
//
// File layout (8-bit text, lines ended by CR LF, a lone CR or a lone LF):
//   F                      number of forms
//   then F times:  N, N lines of form text, M, M lines of action text, K, K skipped lines
// Every count is a decimal integer on a line of its own. An empty line inside an action text
// reads as a line holding one blank.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "config/kx_form.h"

namespace kx {

class TKXForms {
 public:
  // Clears the collection and reads the file; false with a message on a read error or a
  // malformed count (the forms read before the fault stay).
  bool Load(const std::string& path, std::string* error = nullptr);
  bool LoadFromText(std::string_view text, std::string* error = nullptr);
  void Clear() { items_.clear(); }
  // form_text: the lines each followed by CR LF; action_text: lines joined by CR LF.
  bool AddForm(std::string_view form_text, std::string_view action_text, std::string* error = nullptr);
  // The first form whose name equals `name` ignoring letter case; nullptr when none.
  const TKXForm* FindForm(std::string_view name) const;
  size_t Count() const { return items_.size(); }
  const TKXForm& Form(size_t i) const { return *items_[i]; }

 private:
  std::vector<std::unique_ptr<TKXForm>> items_;
};

}  // namespace kx
