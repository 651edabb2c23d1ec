// Runs the kxtool built beside the test program, as an author would, and collects what it
// prints.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace kx::test {

// The kxtool in the test program's own build folder.
inline std::string ToolPath() {
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "";
  std::string self(buf, static_cast<size_t>(n));
  return self.substr(0, self.find_last_of('/') + 1) + "kxtool";
}

// Runs a command line; its output (both streams) goes into `output`. Returns its exit code,
// -1 when it could not run or did not exit.
inline int RunTool(const std::string& command, std::string& output) {
  output.clear();
  FILE* p = popen((command + " 2>&1").c_str(), "r");
  if (!p) return -1;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) output.append(buf, n);
  const int status = pclose(p);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace kx::test
