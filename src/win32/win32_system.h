// Small services of the operating system that the start-up needs: the long form of a
// path, the temporary and per-user folders, the saver's own path.
#pragma once

#include <string>

namespace kx::win32 {

// The long form of an existing file's path, each component as the file system reports
// it (C:\PROGRA~1\MYSAVE~1.SCR gives C:\Program Files\My Saver.scr), or "" when the path
// holds "\\", "*" or "?" or names no existing file.
std::string ExpandLongFileName(const std::string& path);
// The program's own path in long form. Paths the walk above cannot expand (network
// paths) fall back to the system's long path, then to the path as reported.
std::string ModuleLongPath();
// The user's temporary folder, ending with "\".
std::string TempFolder();
// The engine's per-user folder under the user's application data ("...\kxsaver\"),
// or "" when there is none.
std::string PerUserFolder();
// The folder that savers share for common sounds and images: Program Files (from the
// registry, its 32-bit view first, then the 64-bit one; the first whose shared folder
// exists) followed by "Velbrin\Common\". When the registry has no Program Files folder,
// the saver's folder with its first "Tarnvik\" removed stands in, and *from_registry is false.
std::string SharedCommonFolder(const std::string& executable_folder, bool* from_registry);

}  // namespace kx::win32
