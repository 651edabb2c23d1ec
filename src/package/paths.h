// Names derived from paths: the file-name part of a content line, the saver's base name,
// the user settings file name, and the test that keeps extracted files inside the
// working folder.
#pragma once

#include <string>
#include <string_view>

namespace kx {

// The text after the last "\", "/" or ":" (the whole text when there is none).
std::string FileNamePart(std::string_view path);
// The folder part including its final separator ("" when there is none).
std::string FolderPart(std::string_view path);
// The file-name part cut before its first "." (Sea.Views.scr gives Sea).
std::string BaseNameOf(std::string_view longPath);
// The path cut before its last "." plus ".ini" (a path without a dot gives ".ini").
std::string UserSettingsPathOf(std::string_view longPath);
// The extension from the last "." of the file-name part, including the dot ("" if none).
std::string ExtensionOf(std::string_view path);
std::string UpperCase(std::string_view s);
bool EqualNoCase(std::string_view a, std::string_view b);

// A content file name may be written into the working folder only when it is a plain
// name: not empty, not "." or "..", no control characters, and not a device name of
// Windows (CON, PRN, AUX, NUL, COM1..COM9, LPT1..LPT9, with or without an extension).
bool IsSafeContentName(std::string_view name);

}  // namespace kx
