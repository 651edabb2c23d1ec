// The animated objects' description of a living picture (an INI text of [Obj0], [Obj1], ...).
#include <cstddef>
#include <cstdint>
#include <string>

#include "anim/anim_objects.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  kx::TAnimObjects objects;
  objects.LoadFromText(text);
  objects.ResolvePaths("/nonexistent-kxfuzz/");
  objects.LoadFromText(text);  // a second read replaces the first
  return 0;
}
