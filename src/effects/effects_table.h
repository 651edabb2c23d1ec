// The effect table: 169 numbered transition effects, each a name and a routine.
// Effects[N] is effect number N (1..169); the numbers are what a project's transition
// list stores, so they never change. Every entry has a routine (checked when compiled).
#pragma once

#include <array>

#include "effects/effect.h"

namespace kx {

struct EffectTable {
  std::array<TEffect, EffectCount> Entries;

  // Effect number n, 1 <= n <= 169.
  constexpr const TEffect& operator[](int n) const { return Entries[static_cast<size_t>(n - 1)]; }
  static constexpr int size() { return EffectCount; }
  static constexpr bool IsValidNumber(int n) { return n >= 1 && n <= EffectCount; }
  // True when n is a number of the table whose entry has a routine.
  constexpr bool HasProc(int n) const { return IsValidNumber(n) && (*this)[n].Proc != nullptr; }
};

extern const EffectTable Effects;

}  // namespace kx
