// The package container from memory: the marker search and the parts, then each part read
// again as a container of its own (the project container and the file list are nested).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "package/container.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const kx::MarkerPosition m = kx::FindMarkerIn(bytes);
  auto parts = kx::ReadContainerParts(bytes);
  if (m.found != parts.has_value()) __builtin_trap();
  if (parts) {
    size_t total = 0;
    for (const std::string& p : *parts) total += p.size();
    if (total > size) __builtin_trap();  // parts are never longer than the input
    for (const std::string& p : *parts) kx::ReadContainerParts(p, 8);
  }
  kx::ReadContainerParts(bytes, 3);
  return 0;
}
