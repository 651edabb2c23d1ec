// File names as 8-bit text in the system's code page, as the command line and the C
// library's file calls have them (UTF-8 on Linux), turned into paths and back without
// another conversion in between. The Windows version lives in src/win32/.
#pragma once

#include <filesystem>
#include <string>

namespace kx::fs {

std::filesystem::path PathOf(const std::string& text);
std::string PathText(const std::filesystem::path& path);

}  // namespace kx::fs
