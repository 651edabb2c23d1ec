// The saver engine built into kxtool: the bare win64 kxsaver.scr of the same source, taken
// into the tool when it is built, so that `kxtool pack` needs no --engine.
#pragma once

#include <string_view>

namespace kxtool {

// The engine's bytes, or an empty view when this kxtool was built without one.
std::string_view BuiltInEngine();

}  // namespace kxtool
