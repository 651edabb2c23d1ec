#include "platform/path_text.h"

#ifndef _WIN32
namespace kx::fs {

std::filesystem::path PathOf(const std::string& text) { return std::filesystem::path(text); }
std::string PathText(const std::filesystem::path& path) { return path.string(); }

}  // namespace kx::fs
#endif
