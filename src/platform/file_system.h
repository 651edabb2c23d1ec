// Plain file and folder operations on 8-bit paths in the system code page. The core uses
// these instead of calling the operating system; they behave the same natively and in the
// saver (the C runtime maps them to the ANSI file calls on Windows).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kx::fs {

// Reads a whole file; false when it cannot be opened or read, or is larger than maxBytes.
bool ReadFile(const std::string& path, std::string& out, uint64_t maxBytes = UINT64_C(1) << 31);
// Creates or replaces a file; false on any error (a partly written file is removed).
bool WriteFile(const std::string& path, std::string_view data);
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates one folder level; true when it exists afterwards.
bool MakeDirectory(const std::string& path);
// Missing files are not an error for the callers; both return whether something was removed.
bool DeleteFile(const std::string& path);
bool RemoveDirectory(const std::string& path);

// The separator that ends a folder path: "\" when the folder uses it, "/" otherwise.
char SeparatorOf(std::string_view folder);

}  // namespace kx::fs
