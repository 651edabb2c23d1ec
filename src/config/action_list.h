// The action list of one form: what each named control does when it is clicked. The text
// holds the number of actions E, then five lines per action: the component name, the action
// code and three parameters (an unused parameter is a line holding one blank).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kx {

// Action codes as the authoring tool labels them.
enum ActionCode : uint8_t {
  kActionOpenUrl = 0,
  kActionShowWindow = 1,
  kActionNextPicture = 2,
  kActionPreviousPicture = 3,
  kActionPreviewSelected = 4,
  kActionOpenSetting = 5,
  kActionCloseWindow = 6,
  kActionSetWallpaper = 9,
};

struct TAction {
  std::string Param1, Param2, Param3;
  int32_t Code = 0;  // only the low 8 bits select what happens
};

class TActionList {
 public:
  // Fills the list from an action text; false with a message when a count or code is not an
  // integer or the text ends early (actions read before the fault stay).
  bool Parse(std::string_view text, std::string* error = nullptr);
  // The first action stored under the component name, letter case ignored; nullptr when none.
  const TAction* Find(std::string_view component) const;
  const std::vector<std::pair<std::string, TAction>>& Items() const { return items_; }
  void Clear() { items_.clear(); }

 private:
  std::vector<std::pair<std::string, TAction>> items_;
};

}  // namespace kx
