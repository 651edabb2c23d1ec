#include "platform/file_system.h"

#include <sys/stat.h>

#include <cstdio>
#ifdef _WIN32
#include <direct.h>
#else
#include <unistd.h>
#endif

namespace kx::fs {

bool ReadFile(const std::string& path, std::string& out, uint64_t maxBytes) {
  out.clear();
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  char buf[65536];
  bool ok = true;
  for (;;) {
    size_t n = std::fread(buf, 1, sizeof buf, f);
    if (n == 0) {
      ok = !std::ferror(f);
      break;
    }
    if (out.size() + n > maxBytes) {
      ok = false;
      break;
    }
    out.append(buf, n);
  }
  std::fclose(f);
  if (!ok) out.clear();
  return ok;
}

bool WriteFile(const std::string& path, std::string_view data) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = data.empty() || std::fwrite(data.data(), 1, data.size(), f) == data.size();
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) std::remove(path.c_str());
  return ok;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !(st.st_mode & S_IFDIR);
}

bool DirectoryExists(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && (p.back() == '\\' || p.back() == '/') &&
         !(p.size() == 3 && p[1] == ':'))
    p.pop_back();
  struct stat st {};
  return ::stat(p.c_str(), &st) == 0 && (st.st_mode & S_IFDIR);
}

bool MakeDirectory(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && (p.back() == '\\' || p.back() == '/')) p.pop_back();
#ifdef _WIN32
  ::_mkdir(p.c_str());
#else
  ::mkdir(p.c_str(), 0700);
#endif
  return DirectoryExists(p);
}

bool DeleteFile(const std::string& path) { return std::remove(path.c_str()) == 0; }

bool RemoveDirectory(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && (p.back() == '\\' || p.back() == '/')) p.pop_back();
#ifdef _WIN32
  return ::_rmdir(p.c_str()) == 0;
#else
  return ::rmdir(p.c_str()) == 0;
#endif
}

char SeparatorOf(std::string_view folder) {
  return folder.find('\\') != std::string_view::npos ? '\\' : '/';
}

}  // namespace kx::fs
