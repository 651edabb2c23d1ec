// kxtool: the authors' command-line tool. It builds savers from the engine and a source
// folder, writes and reads picture files, and renders effects and shows headless.
#include <cstdio>
#include <cstring>
#include <string>

#include "commands.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const kxtool::Args&);
  const char* usage;
};

const Command kCommands[] = {
    {"pack", kxtool::CmdPack, kxtool::kPackUsage},
    {"inspect", kxtool::CmdInspect, "inspect SAVER.scr\n      lists the package inside a saver"},
    {"kxp", kxtool::CmdKxp,
     "kxp make --picture P --out F [options] | kxp dump F [--export DIR]\n"
     "      writes a living picture file, or shows and exports what one holds"},
    {"gui", kxtool::CmdGui, "gui dump FILE\n      shows the windows and controls of a GUI description"},
    {"effect", kxtool::CmdEffect,
     "effect N [--old A --new B] [--size WxH] [--p 0,25,50,75,100] --out SHEET.png | effect --list\n"
     "      draws a transition effect at several progress steps into one sheet"},
    {"render", kxtool::CmdRender, kxtool::kRenderUsage},
};

void PrintUsage(std::FILE* to) {
  std::fprintf(to, "usage: kxtool COMMAND [ARGS]    (kxtool COMMAND --help for one command)\n");
  for (const Command& c : kCommands) std::fprintf(to, "  kxtool %s\n", c.usage);
}

bool IsHelp(const char* a) { return std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage(stderr);
    return 2;
  }
  if (IsHelp(argv[1]) || std::strcmp(argv[1], "help") == 0) {
    PrintUsage(stdout);
    return 0;
  }
  for (const Command& c : kCommands) {
    if (std::strcmp(argv[1], c.name) == 0) {
      for (int i = 2; i < argc; ++i) {
        if (IsHelp(argv[i])) {
          std::printf("usage: kxtool %s\n", c.usage);
          return 0;
        }
      }
      kxtool::Args args(argv + 2, argv + argc);
      return c.run(args);
    }
  }
  std::fprintf(stderr, "kxtool: unknown command '%s'\n", argv[1]);
  PrintUsage(stderr);
  return 2;
}
