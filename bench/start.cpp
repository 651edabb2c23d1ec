// The start of a large saver: 100 pictures of 6.2 MB each (a photograph's size today) and
// 5 MB of music, about 625 MB in all, appended to 2.5 MB of engine bytes. Measured from the
// start until the first picture is decoded and fitted to a 1920 x 1080 screen and the music
// can be opened, with the bytes the start has written into the working folder by then:
//   - extracted: the package written out whole, then every file copied out of it (how a
//     saver started before its files were read in place; the baseline of this run);
//   - in place:  the files read where they are in the saver's file, only the music written.
// Wall-clock time (the start waits for the disk), the fastest of the runs and the ratio to
// the baseline. The saver is made in a temporary folder at the start and removed at the end.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "media/bitmap32.h"
#include "media/jpeg_codec.h"
#include "media/picture_decoder.h"
#include "media/random.h"
#include "package/container.h"
#include "package/package.h"
#include "package/package_writer.h"
#include "package/paths.h"
#include "platform/file_system.h"

namespace {

namespace stdfs = std::filesystem;

constexpr int kPictures = 100;
constexpr size_t kPictureBytes = 6200000;
constexpr size_t kMusicBytes = 5u << 20;
constexpr int kScreenW = 1920, kScreenH = 1080;

void AppendLE32(std::string& out, int64_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

// A photograph-like JPEG of 4000 x 3000 (gradients, texture and noise), padded after its end
// to the size of a photograph file.
std::string Photograph() {
  kx::Bitmap32 b(4000, 3000);
  kx::Random::Seed(777);
  for (int y = 0; y < b.Height(); ++y) {
    kx::Pixel* row = b.Row(y);
    for (int x = 0; x < b.Width(); ++x) {
      const int n = kx::Random::Next(20);
      const int t = ((x / 9) ^ (y / 7)) & 15;
      row[x] = kx::MakePixel(static_cast<uint8_t>(x * 180 / 4000 + n + t), static_cast<uint8_t>(y * 160 / 3000 + n),
                             static_cast<uint8_t>((x + y) * 140 / 7000 + n + t));
    }
  }
  std::vector<uint8_t> jpeg;
  std::string error;
  if (!kx::EncodeJpeg(b, 92, jpeg, error)) {
    std::fprintf(stderr, "encode: %s\n", error.c_str());
    std::exit(1);
  }
  std::string s(jpeg.begin(), jpeg.end());
  if (s.size() > kPictureBytes) s.resize(kPictureBytes);  // never: the picture is smaller
  while (s.size() < kPictureBytes) s.push_back(static_cast<char>(kx::Random::Next(256)));
  return s;
}

// Writes the saver part by part, so that the 600 MB are never held in memory twice.
bool WriteSaver(const std::string& path, const std::string& photo) {
  std::vector<std::string> names;
  std::string nameList;
  for (int i = 0; i < kPictures; ++i) {
    names.push_back("Photo" + std::to_string(i) + ".jpg");
    nameList += "C:\\author\\pictures\\" + names.back() + "\r\n";
  }
  nameList += "C:\\author\\music.mp3\r\n";
  const std::string project = kx::WriteContainer(
      {kx::FileListIni(names), "[General]\r\nProductName=Start\r\n[Default]\r\nDuration=5\r\n", "[UI]\r\n"});
  const std::string music(kMusicBytes, 'm');
  int64_t contentSize = kx::kMarkerLength + 4 + (kPictures + 1) * 4 + kPictures * static_cast<int64_t>(photo.size()) +
                        static_cast<int64_t>(music.size());
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::string head(2500000, 'E');  // the engine's own image
  head += kx::ContainerMarker();
  AppendLE32(head, 4);
  AppendLE32(head, static_cast<int64_t>(project.size()));
  head += project;
  AppendLE32(head, static_cast<int64_t>(nameList.size()));
  head += nameList;
  AppendLE32(head, contentSize);
  head += kx::ContainerMarker();
  AppendLE32(head, kPictures + 1);
  bool ok = std::fwrite(head.data(), 1, head.size(), f) == head.size();
  for (int i = 0; ok && i <= kPictures; ++i) {
    const std::string& part = i < kPictures ? photo : music;
    std::string len;
    AppendLE32(len, static_cast<int64_t>(part.size()));
    ok = std::fwrite(len.data(), 1, 4, f) == 4 && std::fwrite(part.data(), 1, part.size(), f) == part.size();
  }
  std::string gui;
  AppendLE32(gui, 5);
  gui += "gui\r\n";
  ok = ok && std::fwrite(gui.data(), 1, gui.size(), f) == gui.size();
  return (std::fclose(f) == 0) && ok;
}

uint64_t BytesIn(const std::string& folder) {
  uint64_t n = 0;
  std::error_code ec;
  for (const auto& e : stdfs::directory_iterator(folder, ec))
    if (e.is_regular_file(ec)) n += e.file_size(ec);
  return n;
}

bool FirstPictureReady(const std::string& path) {
  auto fit = [](int w, int h, int& fw, int& fh) {
    fw = kScreenW;
    fh = kScreenH;
    if (static_cast<int64_t>(w) * fh > static_cast<int64_t>(h) * fw)
      fh = static_cast<int>((static_cast<int64_t>(h) * fw + w / 2) / w);
    else
      fw = static_cast<int>((static_cast<int64_t>(w) * fh + h / 2) / h);
    return true;
  };
  kx::Bitmap32 out;
  std::string error;
  if (!kx::LoadPictureFileFitted(path, fit, kx::StretchFilter::Lanczos, out, error)) {
    std::fprintf(stderr, "first picture: %s\n", error.c_str());
    return false;
  }
  return out.Width() == kScreenW || out.Height() == kScreenH;
}

struct Figure {
  double seconds = 1e9;
  uint64_t bytes = 0;
};

using Clock = std::chrono::steady_clock;

// The start as it was: every part written into the folder, then the content copied out.
bool StartExtracted(const std::string& saver, const std::string& w, Figure& fig) {
  const auto t0 = Clock::now();
  kx::ExtractContainerParts(saver, {w + kx::kProjectFile, w + kx::kNamesFile, w + kx::kContentFile, w + kx::kGuiFile});
  std::string names;
  if (!kx::fs::ReadFile(w + kx::kNamesFile, names)) return false;
  std::vector<std::string> targets;
  for (const std::string& line : kx::SplitLines(names)) targets.push_back(w + kx::FileNamePart(line));
  kx::ExtractContainerParts(w + kx::kContentFile, targets);
  kx::TKXCProject project;
  project.LoadFromFile(w + kx::kProjectFile);
  if (project.FileList.Names.empty() || !FirstPictureReady(w + project.FileList.Names[0])) return false;
  if (!kx::fs::FileExists(w + "music.mp3")) return false;
  const double s = std::chrono::duration<double>(Clock::now() - t0).count();
  if (s < fig.seconds) fig.seconds = s;
  fig.bytes = BytesIn(w);
  std::error_code ec;
  for (const auto& e : stdfs::directory_iterator(w, ec)) stdfs::remove(e.path(), ec);
  return true;
}

bool StartInPlace(const std::string& saver, const std::string& w, Figure& fig) {
  const auto t0 = Clock::now();
  kx::TKXCProject project;
  if (!kx::ExtractPackage(project, saver, w).ok || project.FileList.Names.empty()) return false;
  if (!FirstPictureReady(project.FileList.Names[0])) return false;
  if (!kx::fs::EnsureOnDisk(w + "music.mp3")) return false;
  const double s = std::chrono::duration<double>(Clock::now() - t0).count();
  if (s < fig.seconds) fig.seconds = s;
  fig.bytes = BytesIn(w);
  kx::RemovePackage(w);
  kx::fs::MakeDirectory(w);
  return true;
}

}  // namespace

int main() {
  std::string tmpl = (stdfs::temp_directory_path() / "kxstart-XXXXXX").string();
  if (!::mkdtemp(tmpl.data())) return 1;
  const std::string dir = tmpl + "/";
  const std::string saver = dir + "Start.scr", work = dir + "Start1234/";
  int rc = 0;
  std::printf("making the saver (%d pictures of %zu bytes, %zu bytes of music)...\n", kPictures, kPictureBytes,
              kMusicBytes);
  std::fflush(stdout);
  if (!WriteSaver(saver, Photograph()) || !kx::fs::MakeDirectory(work)) {
    std::fprintf(stderr, "cannot write the saver in %s\n", dir.c_str());
    rc = 1;
  }
  Figure extracted, inPlace;
  for (int run = 0; rc == 0 && run < 3; ++run)
    if (!StartExtracted(saver, work, extracted) || !StartInPlace(saver, work, inPlace)) rc = 1;
  for (int run = 0; rc == 0 && run < 2; ++run)
    if (!StartInPlace(saver, work, inPlace)) rc = 1;
  std::error_code ec;
  const uint64_t saverBytes = stdfs::file_size(saver, ec);
  stdfs::remove_all(dir, ec);
  if (rc != 0) {
    std::fprintf(stderr, "a start failed\n");
    return rc;
  }
  const double mb = 1024.0 * 1024.0;
  std::printf("saver %.0f MB\n", static_cast<double>(saverBytes) / mb);
  std::printf("%-10s %12s %14s\n", "start", "first (s)", "written (MB)");
  std::printf("%-10s %12.3f %14.1f\n", "extracted", extracted.seconds, static_cast<double>(extracted.bytes) / mb);
  std::printf("%-10s %12.3f %14.1f\n", "in place", inPlace.seconds, static_cast<double>(inPlace.bytes) / mb);
  std::printf("in place / extracted: time %.3f, bytes written %.4f\n", inPlace.seconds / extracted.seconds,
              static_cast<double>(inPlace.bytes) / static_cast<double>(extracted.bytes));
  return 0;
}
