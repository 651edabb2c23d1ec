// The subcommands of kxtool. Each lives in a file of its own and returns the exit code.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/path_text.h"

namespace kxtool {

using Args = std::vector<std::string>;  // the arguments after the subcommand's name

int CmdPack(const Args& args);     // pack.cpp
int CmdInspect(const Args& args);  // inspect.cpp
int CmdKxp(const Args& args);      // kxp.cpp
int CmdGui(const Args& args);      // gui.cpp
int CmdEffect(const Args& args);   // effect.cpp
int CmdRender(const Args& args);   // render.cpp

extern const char kPackUsage[];    // pack.cpp
extern const char kRenderUsage[];  // render.cpp

// File names are 8-bit text in the system's code page, as on the command line.
using kx::fs::PathOf;
using kx::fs::PathText;

}  // namespace kxtool
