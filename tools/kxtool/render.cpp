// kxtool render: runs a saver's show headless, with a simulated clock and a fixed seed, and
// writes what the screen shows as PNG pictures. The same show session as in the saver
// decides every frame; only the window is replaced.
//
//   kxtool render SAVER --size WxH --seconds S --fps F --out DIR
//                 [--every K] [--seed N] [--frame-cost MS] [--move-at SECONDS]
//                 [--key-at SECONDS] [--directx] [--sheet FILE] [--stats]
// --stats prints, for each kind of step (a still picture, a living picture, a transition
// frame), the median and 99th percentile of the real time the show's own work took before
// the step was presented (writing the PNG pictures left out).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "commands.h"
#include "kxp_png.h"
#include "media/resample.h"
#include "package/package.h"
#include "package/user_settings.h"
#include "platform/file_system.h"
#include "show/show_session.h"

namespace kxtool {

namespace {

namespace stdfs = std::filesystem;

struct Options {
  std::string saver, out, sheet;
  int width = 1280, height = 720;
  double seconds = 10, fps = 5;
  int every = 1;
  uint32_t seed = 12345;
  int frameCost = 8;
  double moveAt = -1, keyAt = -1;
  bool directx = false;
  bool stats = false;
};

// Real time of the show's work per kind of presented step.
class StepTimes {
 public:
  enum Kind { kStill, kLiving, kTransition, kKinds };
  void Mark() { since_ = std::chrono::steady_clock::now(); }
  void Add(Kind k) {
    times_[k].push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since_).count());
  }
  void Print(int width, int height) {
    static const char* kNames[] = {"still", "living", "transition frame"};
    std::printf("step times at %dx%d (real time of the work, ms):\n", width, height);
    for (int k = 0; k < kKinds; ++k) {
      std::vector<double>& t = times_[k];
      if (t.empty()) {
        std::printf("  %-17s none\n", kNames[k]);
        continue;
      }
      std::sort(t.begin(), t.end());
      const size_t p99 = std::min(t.size() - 1, (t.size() * 99) / 100);
      std::printf("  %-17s %6zu steps, median %7.2f, 99th percentile %7.2f\n", kNames[k], t.size(),
                  t[t.size() / 2], t[p99]);
    }
  }

 private:
  std::chrono::steady_clock::time_point since_ = std::chrono::steady_clock::now();
  std::vector<double> times_[kKinds];
};

class HeadlessHost final : public kx::ShowHost {
 public:
  explicit HeadlessHost(const Options& o) : o_(o), now_(o.seed) {}
  void Attach(kx::ShowSession* s) { session_ = s; }

  int ScreenWidth() const override { return o_.width; }
  int ScreenHeight() const override { return o_.height; }
  uint32_t TickCount() override { return now_; }
  void Sleep(int ms) override {
    now_ += static_cast<uint32_t>(ms);
    Capture();
    times_.Mark();
  }
  void ProcessMessages() override {
    Capture();
    Inject();
    times_.Mark();
  }
  void DrawToWindow(const kx::Bitmap32& b, int, int) override { Presented(b); }
  void FillBlack() override {}
  bool StartDirectDraw() override { return o_.directx; }
  void DrawToSurface(const kx::Bitmap32& b) override { Presented(b); }
  // A transition frame presents the screen itself; a show step the picture or the frame.
  void Presented(const kx::Bitmap32& b) {
    if (session_)
      times_.Add(&b == &session_->Screen() ? StepTimes::kTransition
                 : session_->IsStillPicture() ? StepTimes::kStill : StepTimes::kLiving);
    now_ += static_cast<uint32_t>(o_.frameCost);
    times_.Mark();
  }
  StepTimes& Times() { return times_; }
  void ShowError(const std::string& text) override { std::fprintf(stderr, "message: %s\n", text.c_str()); }
  void RequestClose() override {
    if (session_ && session_->CloseQuery()) closed_ = true;
  }
  bool PasswordAllowsClose() override { return true; }
  void SetCursorVisible(bool) override {}

  uint32_t Elapsed() const { return now_ - o_.seed; }
  bool Closed() const { return closed_; }
  int Frames() const { return written_; }
  const std::vector<std::string>& Files() const { return files_; }
  // Called after every show step too.
  void Capture() {
    if (!session_) return;
    const double frameMs = 1000.0 / o_.fps;
    while (Elapsed() >= next_ * frameMs && next_ * frameMs <= o_.seconds * 1000.0) {
      if (next_ % static_cast<uint64_t>(o_.every) == 0) {
        char name[64];
        std::snprintf(name, sizeof name, "frame-%05llu.png", static_cast<unsigned long long>(next_));
        const std::string path = (stdfs::path(o_.out) / name).string();
        std::string error;
        if (WritePng(path, session_->Screen(), error)) {
          ++written_;
          files_.push_back(path);
        } else {
          std::fprintf(stderr, "kxtool render: %s\n", error.c_str());
        }
      }
      ++next_;
    }
  }
  void Inject() {
    if (!session_) return;
    const double t = Elapsed() / 1000.0;
    if (o_.moveAt >= 0 && t >= o_.moveAt && moves_ < 8) {
      session_->MouseMove(100 + moves_ * 7, 100);
      ++moves_;
    }
    if (o_.keyAt >= 0 && t >= o_.keyAt && !keyed_) {
      session_->KeyPress('a');
      keyed_ = true;
    }
  }

 private:
  const Options& o_;
  kx::ShowSession* session_ = nullptr;
  uint32_t now_;
  uint64_t next_ = 0;
  int written_ = 0;
  std::vector<std::string> files_;
  int moves_ = 0;
  bool keyed_ = false;
  bool closed_ = false;
  StepTimes times_;
};

bool ParseSize(const std::string& s, int& w, int& h) {
  return std::sscanf(s.c_str(), "%dx%d", &w, &h) == 2 && w > 0 && h > 0 && w <= 8192 && h <= 8192;
}

// Up to 12 frames, evenly chosen, side by side in rows of four at 320 pixels wide.
bool WriteSheet(const std::vector<std::string>& files, const std::string& path) {
  if (files.empty()) return false;
  const size_t n = std::min<size_t>(12, files.size());
  std::vector<kx::Bitmap32> cells;
  for (size_t i = 0; i < n; ++i) {
    kx::Bitmap32 frame, cell;
    std::string error;
    if (!ReadPng(files[i * files.size() / n], frame, error)) return false;
    const int cw = 320, ch = std::max(1, frame.Height() * 320 / std::max(1, frame.Width()));
    kx::Resample(frame, cell, cw, ch, kx::StretchFilter::Bilinear);
    cells.push_back(std::move(cell));
  }
  const int cols = static_cast<int>(std::min<size_t>(4, n)), rows = static_cast<int>((n + 3) / 4);
  const int cw = cells[0].Width(), ch = cells[0].Height(), gap = 4;
  kx::Bitmap32 sheet(cols * (cw + gap) + gap, rows * (ch + gap) + gap);
  sheet.Fill(kx::MakePixel(40, 40, 40));
  for (size_t i = 0; i < n; ++i)
    sheet.CopyRect(cells[i], cells[i].BoundsRect(), gap + static_cast<int>(i % 4) * (cw + gap),
                   gap + static_cast<int>(i / 4) * (ch + gap));
  std::string error;
  return WritePng(path, sheet, error);
}

}  // namespace

int CmdRender(const Args& args) {
  Options o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> std::string { return i + 1 < args.size() ? args[++i] : std::string(); };
    if (a == "--size") {
      if (!ParseSize(value(), o.width, o.height)) { std::fprintf(stderr, "kxtool render: --size WxH\n"); return 2; }
    } else if (a == "--seconds") o.seconds = std::atof(value().c_str());
    else if (a == "--fps") o.fps = std::atof(value().c_str());
    else if (a == "--every") o.every = std::max(1, std::atoi(value().c_str()));
    else if (a == "--seed") o.seed = static_cast<uint32_t>(std::strtoul(value().c_str(), nullptr, 10));
    else if (a == "--frame-cost") o.frameCost = std::max(0, std::atoi(value().c_str()));
    else if (a == "--move-at") o.moveAt = std::atof(value().c_str());
    else if (a == "--key-at") o.keyAt = std::atof(value().c_str());
    else if (a == "--directx") o.directx = true;
    else if (a == "--stats") o.stats = true;
    else if (a == "--out") o.out = value();
    else if (a == "--sheet") o.sheet = value();
    else if (!a.empty() && a[0] != '-' && o.saver.empty()) o.saver = a;
    else { std::fprintf(stderr, "kxtool render: unknown option %s\n", a.c_str()); return 2; }
  }
  if (o.saver.empty() || o.out.empty() || o.fps <= 0 || o.seconds <= 0) {
    std::fprintf(stderr, "usage: kxtool render SAVER --size WxH --seconds S --fps F --out DIR [--every K] "
                         "[--seed N] [--frame-cost MS] [--move-at S] [--key-at S] [--directx] [--sheet FILE] [--stats]\n");
    return 2;
  }
  std::error_code ec;
  stdfs::create_directories(o.out, ec);
  std::string tmpl = (stdfs::temp_directory_path() / "kxrender-XXXXXX").string();
  if (!::mkdtemp(tmpl.data())) {
    std::fprintf(stderr, "kxtool render: cannot make a working folder\n");
    return 1;
  }
  const std::string work = tmpl + "/";
  kx::TKXCProject project;
  const kx::ExtractResult extracted = kx::ExtractPackage(project, o.saver, work);
  int rc = 0;
  if (!extracted.ok) {
    std::fprintf(stderr, "kxtool render: %s carries no package\n", o.saver.c_str());
    rc = 1;
  } else if (!kx::PrepareShowProject(project, kx::UserSettingsLocation::For(o.saver, ""))) {
    std::fprintf(stderr, "message: This screensaver does not contain any image.\n");
    rc = 1;
  } else {
    HeadlessHost host(o);
    kx::ShowSession session(project, host);
    host.Attach(&session);
    const bool running = session.FormShow();
    while (!host.Closed() && host.Elapsed() < o.seconds * 1000.0) {
      if (running) session.ShowIdle();
      else host.Sleep(33);
      host.Capture();
      host.Inject();
    }
    session.FormClose();
    std::printf("%d frames written to %s; %d transitions", host.Frames(), o.out.c_str(), session.TransitionsRun());
    if (host.Closed()) std::printf("; the show closed at %.3f s", host.Elapsed() / 1000.0);
    std::printf("\n");
    if (o.stats) host.Times().Print(o.width, o.height);
    if (!o.sheet.empty() && !WriteSheet(host.Files(), o.sheet)) {
      std::fprintf(stderr, "kxtool render: cannot write the sheet %s\n", o.sheet.c_str());
      rc = 1;
    }
  }
  kx::RemovePackage(work);
  stdfs::remove_all(tmpl, ec);
  return rc;
}

}  // namespace kxtool
