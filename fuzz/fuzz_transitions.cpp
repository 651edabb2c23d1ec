// The project's transition list (TransitionEffects) and the effect drawn from it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "effects/effects_table.h"
#include "effects/transition.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<int> list = kx::BuildTransitionList(text);
  if (list.empty()) __builtin_trap();  // a list without usable entries is {1}
  for (int n : list)
    if (n != 0 && !kx::Effects.HasProc(n)) __builtin_trap();
  const int chosen = kx::ChooseEffect(list);
  if (chosen != 0 && !kx::Effects.HasProc(chosen)) __builtin_trap();
  return 0;
}
