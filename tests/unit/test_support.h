// Small helpers shared by the unit tests: a temporary folder removed at the end of a test.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/file_system.h"

namespace kx::test {

class TempDir {
 public:
  TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kxtest-XXXXXX").string();
    path_ = ::mkdtemp(tmpl.data()) ? tmpl + "/" : std::string();
  }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // The folder, ending with "/".
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }
  std::string Write(const std::string& name, const std::string& data) const {
    fs::WriteFile(path_ + name, data);
    return path_ + name;
  }
  std::string Read(const std::string& name) const {
    std::string s;
    fs::ReadFile(path_ + name, s);
    return s;
  }

 private:
  std::string path_;
};

}  // namespace kx::test
