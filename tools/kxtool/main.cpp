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
    {"pack", kxtool::CmdPack, "pack --engine ENGINE.scr --source FOLDER --out SAVER.scr"},
    {"inspect", kxtool::CmdInspect, "inspect SAVER.scr"},
    {"kxp", kxtool::CmdKxp, "kxp make --picture P --out F [options] | kxp dump F [--export DIR]"},
    {"gui", kxtool::CmdGui, "gui dump FILE"},
    {"effect", kxtool::CmdEffect,
     "effect N [--old A --new B] [--size WxH] [--p 0,25,50,75,100] --out SHEET.png | effect --list"},
    {"render", kxtool::CmdRender,
     "render SAVER --size WxH --seconds S --fps F --out DIR [--every K] [--seed N] [--move-at S] "
     "[--key-at S] [--directx] [--sheet FILE] [--stats]"},
};

int Usage() {
  std::fprintf(stderr, "usage: kxtool COMMAND [ARGS]\n");
  for (const Command& c : kCommands) std::fprintf(stderr, "  kxtool %s\n", c.usage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  for (const Command& c : kCommands) {
    if (std::strcmp(argv[1], c.name) == 0) {
      kxtool::Args args(argv + 2, argv + argc);
      return c.run(args);
    }
  }
  std::fprintf(stderr, "kxtool: unknown command '%s'\n", argv[1]);
  return Usage();
}
