#include <cstdio>

#include "commands.h"

namespace kxtool {

int CmdInspect(const Args&) {
  std::fprintf(stderr, "kxtool inspect: not built yet\n");
  return 1;
}

}  // namespace kxtool
