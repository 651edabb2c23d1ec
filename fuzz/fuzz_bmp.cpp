// Windows bitmap files from memory.
#include <cstddef>
#include <cstdint>
#include <string>

#include "media/bmp_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kx::Bitmap32 out;
  std::string error;
  if (kx::DecodeBmp(data, size, out, error)) {
    if (out.Width() <= 0 || out.Height() <= 0) __builtin_trap();
  } else if (out.Width() != 0 || error.empty()) {
    __builtin_trap();  // a failure leaves an empty picture and says why
  }
  return 0;
}
