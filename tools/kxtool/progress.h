// The progress line of a long pack or render: "done/total, percent, time left", rewritten
// in place on a terminal, and nothing at all when the tool's error output is not a terminal
// (a script or a log file gets only the result lines).
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#ifdef _WIN32
#include <io.h>
#define KX_ISATTY _isatty
#define KX_FILENO _fileno
#else
#include <unistd.h>
#define KX_ISATTY isatty
#define KX_FILENO fileno
#endif

namespace kxtool {

class Progress {
 public:
  Progress(std::string what, long long total)
      : what_(std::move(what)), total_(total), on_(total > 0 && KX_ISATTY(KX_FILENO(stderr))),
        start_(std::chrono::steady_clock::now()) {}
  ~Progress() { Done(); }

  // At most a few updates a second reach the terminal.
  void Update(long long done) {
    if (!on_) return;
    const auto now = std::chrono::steady_clock::now();
    if (shown_ && done < total_ && now - last_ < std::chrono::milliseconds(200)) return;
    last_ = now;
    shown_ = true;
    const double elapsed = std::chrono::duration<double>(now - start_).count();
    const long long d = done < total_ ? done : total_;
    const int percent = static_cast<int>(d * 100 / total_);
    char left[32] = "?";
    if (d > 0) {
      const long long s = static_cast<long long>(elapsed * static_cast<double>(total_ - d) / static_cast<double>(d) + 0.5);
      std::snprintf(left, sizeof left, "%lld:%02lld", s / 60, s % 60);
    }
    std::fprintf(stderr, "\r%s %lld/%lld, %3d%%, %s left  ", what_.c_str(), d, total_, percent, left);
    std::fflush(stderr);
  }
  // Clears the line so that the next output starts on a clean one.
  void Done() {
    if (!on_ || !shown_) return;
    std::fprintf(stderr, "\r%*s\r", static_cast<int>(what_.size()) + 40, "");
    std::fflush(stderr);
    shown_ = false;
  }

 private:
  std::string what_;
  long long total_;
  bool on_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point start_, last_;
};

}  // namespace kxtool
