#include "win32/win32_system.h"

#include <windows.h>
#include <shlobj.h>

#include "package/paths.h"

namespace kx::win32 {

std::string ExpandLongFileName(const std::string& path) {
  if (path.find("\\\\") != std::string::npos || path.find_first_of("*?") != std::string::npos)
    return {};
  DWORD attrs = GetFileAttributesA(path.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) return {};
  std::string current = path;
  std::string result;
  for (;;) {
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(current.c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) break;
    FindClose(h);
    result = "\\" + std::string(data.cFileName) + result;
    size_t slash = current.find_last_of('\\');
    if (slash == std::string::npos) {
      current.clear();
      break;
    }
    current = current.substr(0, slash);
    if (current.size() == 2 && current[1] == ':') current += '\\';  // a drive root keeps "\"
    if (current.size() <= 2) break;
  }
  return current.substr(0, 2) + result;
}

std::string ModuleLongPath() {
  char buf[MAX_PATH * 2];
  DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
  std::string raw(buf, n < sizeof buf ? n : 0);
  std::string expanded = ExpandLongFileName(raw);
  if (!expanded.empty()) return expanded;
  char longBuf[MAX_PATH * 2];
  DWORD m = GetLongPathNameA(raw.c_str(), longBuf, sizeof longBuf);
  if (m > 0 && m < sizeof longBuf) return std::string(longBuf, m);
  return raw;
}

std::string TempFolder() {
  char buf[MAX_PATH + 1];
  DWORD n = GetTempPathA(sizeof buf, buf);
  std::string t = (n > 0 && n < sizeof buf) ? std::string(buf, n) : std::string("C:\\");
  if (t.back() != '\\') t += '\\';
  return t;
}

std::string PerUserFolder() {
  char buf[MAX_PATH];
  if (SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buf) != S_OK) return {};
  std::string f(buf);
  if (f.empty()) return {};
  if (f.back() != '\\') f += '\\';
  return f + "kxsaver\\";
}

namespace {

// "ProgramFilesDir" from one view of the registry, or "" when that view has none.
std::string ProgramFilesFrom(REGSAM view) {
  std::string folder;
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ | view,
                    &key) != ERROR_SUCCESS)
    return folder;
  char value[MAX_PATH + 1] = {};
  DWORD size = MAX_PATH, type = 0;
  if (RegQueryValueExA(key, "ProgramFilesDir", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
          ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    value[size < MAX_PATH ? size : MAX_PATH] = 0;
    folder = value;
  }
  RegCloseKey(key);
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

bool FolderExists(const std::string& folder) {
  const DWORD attrs = GetFileAttributesA(folder.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::string SharedCommonFolder(const std::string& executable_folder, bool* from_registry) {
  const char kShared[] = "Velbrin\\Common\\";
  // The shared files were installed by a 32-bit authoring tool, under the Program Files
  // folder of the 32-bit view ("C:\Program Files (x86)" on 64-bit Windows); the 64-bit
  // view comes second. The first whose shared folder exists is used; when none exists,
  // the first value read.
  std::string first;
  for (REGSAM view : {static_cast<REGSAM>(KEY_WOW64_32KEY), static_cast<REGSAM>(KEY_WOW64_64KEY)}) {
    const std::string base = ProgramFilesFrom(view);
    if (base.empty()) continue;
    if (FolderExists(base + kShared)) {
      first = base;
      break;
    }
    if (first.empty()) first = base;
  }
  const bool read = !first.empty();
  std::string folder = first;
  if (!read) {
    // The saver's folder with its first "Tarnvik\" removed stands in for Program Files.
    folder = executable_folder;
    const size_t at = UpperCase(folder).find("TARNVIK\\");
    if (at != std::string::npos) folder.erase(at, 8);
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
  }
  folder += kShared;
  if (from_registry) *from_registry = read;
  return folder;
}

}  // namespace kx::win32
