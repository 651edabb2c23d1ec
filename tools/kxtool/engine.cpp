#include "engine.h"

// KX_ENGINE_FILE is the path of the engine to take in; the assembler reads the file itself,
// so the bytes never pass through a generated source file.
#ifdef KX_ENGINE_FILE
#if defined(_WIN32)
#define KX_RODATA ".section .rdata,\"dr\"\n"
#else
#define KX_RODATA ".section .rodata\n"
#endif
__asm__(KX_RODATA
        ".balign 16\n"
        "kx_engine_begin:\n"
        ".incbin \"" KX_ENGINE_FILE "\"\n"
        "kx_engine_end:\n"
        ".balign 16\n"
        ".text\n");
extern "C" const char kx_engine_begin[] __asm__("kx_engine_begin");
extern "C" const char kx_engine_end[] __asm__("kx_engine_end");
#endif

namespace kxtool {

std::string_view BuiltInEngine() {
#ifdef KX_ENGINE_FILE
  return std::string_view(kx_engine_begin, static_cast<size_t>(kx_engine_end - kx_engine_begin));
#else
  return {};
#endif
}

}  // namespace kxtool
