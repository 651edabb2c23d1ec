// The subcommands of kxtool. Each lives in a file of its own and returns the exit code.
#pragma once

#include <string>
#include <vector>

namespace kxtool {

using Args = std::vector<std::string>;  // the arguments after the subcommand's name

int CmdPack(const Args& args);     // pack.cpp
int CmdInspect(const Args& args);  // inspect.cpp
int CmdKxp(const Args& args);      // kxp.cpp
int CmdGui(const Args& args);      // gui.cpp
int CmdEffect(const Args& args);   // effect.cpp
int CmdRender(const Args& args);   // render.cpp

}  // namespace kxtool
