#include <cstdio>

#include "commands.h"

namespace kxtool {

int CmdPack(const Args&) {
  std::fprintf(stderr, "kxtool pack: not built yet\n");
  return 1;
}

}  // namespace kxtool
