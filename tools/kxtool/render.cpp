// kxtool render: runs a saver's show headless, with a simulated clock and a fixed seed, and
// writes what the screen shows as PNG pictures, or as a video through the ffmpeg program.
// The same show session as in the saver decides every frame; only the window is replaced.
//
//   kxtool render SAVER --size WxH --seconds S --fps F (--out DIR | --video FILE)
//                 [--every K] [--seed N] [--frame-cost MS] [--move-at SECONDS]
//                 [--key-at SECONDS] [--directx] [--sheet FILE] [--stats]
//
// --stats prints, for each kind of step (a still picture, a living picture, a transition
// frame), the median and 99th percentile of the real time the show's own work took before
// the step was presented (writing the PNG pictures left out).
//
// A video (.mp4, .webm or .gif by its name) gets the frames at the times the PNG pictures
// would have, and the project's music as its sound track when the show has music: the first
// track of the list, repeated to the video's length.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "commands.h"
#include "kxp_png.h"
#include "media/resample.h"
#include "package/package.h"
#include "package/paths.h"
#include "package/user_settings.h"
#include "platform/file_system.h"
#include "progress.h"
#include "show/music_player.h"
#include "show/show_session.h"
#include "step_times.h"

#ifdef _WIN32
#define KX_POPEN _popen
#define KX_PCLOSE _pclose
#else
#include <sys/wait.h>
#define KX_POPEN popen
#define KX_PCLOSE pclose
#endif

namespace kxtool {

namespace {

namespace stdfs = std::filesystem;

struct Options {
  std::string saver, out, sheet, video;
  int width = 1280, height = 720;
  double seconds = 10, fps = 5;
  int every = 1;
  uint32_t seed = 12345;
  int frameCost = 8;
  double moveAt = -1, keyAt = -1;
  bool directx = false;
  bool stats = false;
};

// Real time of the show's work per kind of presented step, counted only when asked for.
class StepTimes {
 public:
  enum Kind { kStill, kLiving, kTransition, kKinds };
  explicit StepTimes(bool on) : on_(on) {}
  void Mark() {
    if (on_) since_ = std::chrono::steady_clock::now();
  }
  void Add(Kind k) {
    if (on_) times_[k].Add(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since_).count());
  }
  void Print(int width, int height) const {
    static const char* kNames[] = {"still", "living", "transition frame"};
    std::printf("step times at %dx%d (real time of the work, ms):\n", width, height);
    for (int k = 0; k < kKinds; ++k) {
      const kxtool::StepHistogram& t = times_[k];
      if (!t.Count()) {
        std::printf("  %-17s none\n", kNames[k]);
        continue;
      }
      std::printf("  %-17s %6llu steps, median %7.2f, 99th percentile %7.2f\n", kNames[k],
                  static_cast<unsigned long long>(t.Count()), t.Median(), t.Percentile99());
    }
  }

 private:
  bool on_;
  std::chrono::steady_clock::time_point since_ = std::chrono::steady_clock::now();
  kxtool::StepHistogram times_[kKinds];
};

class HeadlessHost final : public kx::ShowHost {
 public:
  explicit HeadlessHost(const Options& o) : o_(o), now_(o.seed), times_(o.stats) {}
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

  // Frames go into this pipe instead of PNG files.
  void SetVideo(std::FILE* pipe, Progress* progress) {
    video_ = pipe;
    progress_ = progress;
  }
  bool VideoFailed() const { return video_failed_; }

  uint32_t Elapsed() const { return now_ - o_.seed; }
  bool Closed() const { return closed_; }
  int Frames() const { return written_; }
  const std::vector<std::string>& Files() const { return files_; }
  // Called after every show step too.
  void Capture() {
    if (!session_) return;
    const double frameMs = 1000.0 / o_.fps;
    while (Elapsed() >= next_ * frameMs && next_ * frameMs <= o_.seconds * 1000.0) {
      if (video_) {
        // A video holds the frames before its end: seconds x fps of them.
        if (next_ * frameMs < o_.seconds * 1000.0 - 1e-6) WriteVideoFrame();
        ++next_;
        continue;
      }
      if (next_ % static_cast<uint64_t>(o_.every) == 0) {
        char name[64];
        std::snprintf(name, sizeof name, "frame-%05llu.png", static_cast<unsigned long long>(next_));
        const std::string path = PathText(PathOf(o_.out) / name);
        std::string error;
        if (WritePng(path, session_->Screen(), error)) {
          ++written_;
          files_.push_back(path);
          if (progress_) progress_->Update(written_);
        } else {
          std::fprintf(stderr, "kxtool render: %s\n", error.c_str());
        }
      }
      ++next_;
    }
  }
  void WriteVideoFrame() {
    const kx::Bitmap32& screen = session_->Screen();
    const size_t bytes = static_cast<size_t>(o_.width) * static_cast<size_t>(o_.height) * 4;
    if (video_failed_) return;
    if (screen.Width() == o_.width && screen.Height() == o_.height) {
      video_failed_ = std::fwrite(screen.Data(), 1, bytes, video_) != bytes;
    } else {
      // No picture on the screen yet: a black frame keeps the video's clock.
      if (black_.size() != bytes) black_.assign(bytes, '\0');
      video_failed_ = std::fwrite(black_.data(), 1, bytes, video_) != bytes;
    }
    ++written_;
    if (progress_) progress_->Update(written_);
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
  std::FILE* video_ = nullptr;
  Progress* progress_ = nullptr;
  bool video_failed_ = false;
  std::string black_;
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

// A new private folder under the temporary folder, for the package while the show runs.
std::string MakeWorkFolder() {
  std::error_code ec;
  const stdfs::path temp = stdfs::temp_directory_path(ec);
  if (ec) return "";
  std::random_device random;
  for (int i = 0; i < 100; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "kxrender-%08x", static_cast<unsigned>(random()));
    const stdfs::path p = temp / name;
    if (stdfs::create_directory(p, ec)) {
      stdfs::permissions(p, stdfs::perms::owner_all, stdfs::perm_options::replace, ec);
      return PathText(p);
    }
  }
  return "";
}

// One argument of a shell command line.
std::string Quote(const std::string& a) {
#ifdef _WIN32
  return "\"" + a + "\"";  // Windows file names hold no double quote
#else
  std::string q = "'";
  for (char c : a) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
#endif
}

const char* NullDevice() {
#ifdef _WIN32
  return "NUL";
#else
  return "/dev/null";
#endif
}

bool HaveFfmpeg() {
  const std::string probe = std::string("ffmpeg -version >") + NullDevice() + " 2>&1";
  const int rc = std::system(probe.c_str());
#ifdef _WIN32
  return rc == 0;
#else
  return rc != -1 && WIFEXITED(rc) && WEXITSTATUS(rc) == 0;
#endif
}

// The ffmpeg command that reads raw BGRA frames from its input and writes the video, with
// `music` (may be empty) as the sound track.
std::string VideoCommand(const Options& o, const std::string& format, const std::string& music) {
  char size[32], fps[32], seconds[32];
  std::snprintf(size, sizeof size, "%dx%d", o.width, o.height);
  std::snprintf(fps, sizeof fps, "%g", o.fps);
  std::snprintf(seconds, sizeof seconds, "%.3f", o.seconds);
  std::string c = "ffmpeg -hide_banner -loglevel error -y -f rawvideo -pix_fmt bgra -s ";
  c += std::string(size) + " -r " + fps + " -i -";
  const bool audio = !music.empty() && format != ".gif";
  if (audio) c += " -stream_loop -1 -i " + Quote(music) + " -map 0:v -map 1:a -t " + seconds;
  if (format == ".mp4") {
    c += " -c:v libx264 -preset medium -crf 18 -pix_fmt yuv420p -movflags +faststart";
    if (audio) c += " -c:a aac -b:a 160k";
  } else if (format == ".webm") {
    c += " -c:v libvpx-vp9 -b:v 0 -crf 30 -pix_fmt yuv420p";
    if (audio) c += " -c:a libopus -b:a 128k";
  } else {
    c += " -vf \"split[a][b];[a]palettegen=stats_mode=diff[p];[b][p]paletteuse\" -loop 0";
  }
  return c + " " + Quote(o.video);
}

}  // namespace

const char kRenderUsage[] =
    "render SAVER --size WxH --seconds S --fps F (--out DIR | --video FILE) [--every K] [--seed N]\n"
    "       [--frame-cost MS] [--move-at S] [--key-at S] [--directx] [--sheet FILE] [--stats]\n"
    "      runs the show headless and writes its frames as PNG pictures into DIR, or as a video\n"
    "      (.mp4, .webm or .gif; needs the ffmpeg program) with the project's music";

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
    else if (a == "--video") o.video = value();
    else if (a == "--sheet") o.sheet = value();
    else if (!a.empty() && a[0] != '-' && o.saver.empty()) o.saver = a;
    else { std::fprintf(stderr, "kxtool render: unknown option %s\n", a.c_str()); return 2; }
  }
  if (o.saver.empty() || o.out.empty() == o.video.empty() || o.fps <= 0 || o.seconds <= 0 ||
      o.fps > 240 || o.seconds > 24 * 3600) {
    std::fprintf(stderr, "usage: kxtool %s\n", kRenderUsage);
    return 2;
  }
  const std::string format = kx::UpperCase(kx::ExtensionOf(o.video)) == ".MP4"    ? ".mp4"
                             : kx::UpperCase(kx::ExtensionOf(o.video)) == ".WEBM" ? ".webm"
                             : kx::UpperCase(kx::ExtensionOf(o.video)) == ".GIF"  ? ".gif"
                                                                                  : "";
  if (!o.video.empty()) {
    if (format.empty()) {
      std::fprintf(stderr, "kxtool render: the video's name must end with .mp4, .webm or .gif\n");
      return 2;
    }
    if (!HaveFfmpeg()) {
      std::fprintf(stderr, "kxtool render: --video needs the ffmpeg program, which is not installed "
                           "(on Debian: apt-get install ffmpeg; on Windows: put ffmpeg.exe on the PATH)\n");
      return 1;
    }
  }
  std::error_code ec;
  if (!o.out.empty()) stdfs::create_directories(PathOf(o.out), ec);
  const std::string tmpl = MakeWorkFolder();
  if (tmpl.empty()) {
    std::fprintf(stderr, "kxtool render: cannot make a working folder\n");
    return 1;
  }
#ifdef _WIN32
  const std::string work = tmpl + "\\";
#else
  const std::string work = tmpl + "/";
#endif
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
    std::FILE* pipe = nullptr;
    const long long videoFrames = static_cast<long long>(o.seconds * o.fps + 1 - 1e-6);
    const long long pngFrames = (static_cast<long long>(o.seconds * o.fps + 1e-6) + o.every) / o.every;
    Progress progress("rendering frames", o.video.empty() ? pngFrames : videoFrames);
    host.SetVideo(nullptr, &progress);
    if (!o.video.empty()) {
      std::string music;
      if (project.Setting.Music) {
        const std::vector<std::string> tracks = kx::BuildMusicList(project.Setting.MusicFile, work);
        // ffmpeg reads the track by its path: a packed file is written into the working folder.
        if (!tracks.empty() && kx::fs::EnsureOnDisk(tracks[0])) music = tracks[0];
      }
      const std::string command = VideoCommand(o, format, music);
#ifdef _WIN32
      pipe = KX_POPEN(command.c_str(), "wb");
#else
      pipe = KX_POPEN(command.c_str(), "w");
#endif
      if (!pipe) {
        std::fprintf(stderr, "kxtool render: cannot start ffmpeg\n");
        kx::RemovePackage(work);
        stdfs::remove_all(PathOf(tmpl), ec);
        return 1;
      }
      host.SetVideo(pipe, &progress);
      if (!music.empty()) std::printf("sound track: %s\n", kx::FileNamePart(music).c_str());
    }
    const bool running = session.FormShow();
    while (!host.Closed() && host.Elapsed() < o.seconds * 1000.0) {
      if (running) session.ShowIdle();
      else host.Sleep(33);
      host.Capture();
      host.Inject();
    }
    session.FormClose();
    progress.Done();
    if (pipe) {
      const int status = KX_PCLOSE(pipe);
#ifdef _WIN32
      const bool ffmpegOk = status == 0;
#else
      const bool ffmpegOk = status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
#endif
      if (host.VideoFailed() || !ffmpegOk) {
        std::fprintf(stderr, "kxtool render: ffmpeg could not write the video %s\n", o.video.c_str());
        rc = 1;
      }
    }
    std::printf("%d frames written to %s; %d transitions", host.Frames(), o.video.empty() ? o.out.c_str() : o.video.c_str(),
                session.TransitionsRun());
    if (host.Closed()) std::printf("; the show closed at %.3f s", host.Elapsed() / 1000.0);
    std::printf("\n");
    if (o.stats) host.Times().Print(o.width, o.height);
    if (!o.sheet.empty() && !WriteSheet(host.Files(), o.sheet)) {
      std::fprintf(stderr, "kxtool render: cannot write the sheet %s\n", o.sheet.c_str());
      rc = 1;
    }
  }
  kx::RemovePackage(work);
  stdfs::remove_all(PathOf(tmpl), ec);
  return rc;
}

}  // namespace kxtool
