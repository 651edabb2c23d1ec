#include "platform/file_system.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <mutex>
#include <set>
#ifdef _WIN32
#include <direct.h>
#else
#include <unistd.h>
#endif

namespace kx::fs {

bool ReadFile(const std::string& path, std::string& out, uint64_t maxBytes) {
  out.clear();
  InputFile f(path);
  if (!f.IsOpen() || static_cast<uint64_t>(f.Size()) > maxBytes) return false;
  out.resize(static_cast<size_t>(f.Size()));
  const bool ok = f.Read(out.data(), out.size()) == out.size();
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
  if (IsPackedFile(path)) return true;
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

// ---------------------------------------------------------------------------------------
// Packed files.

bool SeekTo(std::FILE* f, int64_t offset) {
  if (offset < 0) return false;
#ifdef _WIN32
  return ::_fseeki64(f, offset, SEEK_SET) == 0;
#else
  return ::fseeko(f, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

namespace {

int64_t TellOf(std::FILE* f) {
#ifdef _WIN32
  return ::_ftelli64(f);
#else
  return static_cast<int64_t>(::ftello(f));
#endif
}

// Paths of the working folder are compared as Windows compares them: ASCII letters ignore
// case, and "\" and "/" are the same separator.
std::string FoldPath(std::string_view s) {
  std::string r(s);
  for (char& c : r) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    else if (c == '/') c = '\\';
  }
  return r;
}

struct Mount {
  std::string folder;  // folded, ends with the separator
  std::string source;
  std::map<std::string, PackedFile> files;  // by folded name
  std::set<std::string> written;            // folded names already on disk
};

struct Mounts {
  std::mutex mutex;
  std::vector<Mount> list;
  uint64_t bytes_written = 0;
};

Mounts& TheMounts() {
  static Mounts m;
  return m;
}

// The mount and the folded name of a path inside a mounted folder; null when the path names
// no packed file. Called with the mutex held.
Mount* Find(Mounts& m, const std::string& path, std::string& name) {
  const std::string p = FoldPath(path);
  for (Mount& mount : m.list) {
    if (p.size() <= mount.folder.size() || p.compare(0, mount.folder.size(), mount.folder) != 0) continue;
    name = p.substr(mount.folder.size());
    if (name.find('\\') != std::string::npos) return nullptr;
    return mount.files.count(name) ? &mount : nullptr;
  }
  return nullptr;
}

bool FindPacked(const std::string& path, std::string& source, PackedFile& file) {
  Mounts& m = TheMounts();
  std::lock_guard<std::mutex> lock(m.mutex);
  std::string name;
  Mount* mount = Find(m, path, name);
  if (!mount) return false;
  source = mount->source;
  file = mount->files.at(name);
  return true;
}

}  // namespace

void MountPackage(const std::string& folder, const std::string& source,
                  const std::vector<PackedFile>& files) {
  Mount mount;
  mount.folder = FoldPath(folder);
  if (mount.folder.empty() || mount.folder.back() != '\\') mount.folder += '\\';
  mount.source = source;
  for (const PackedFile& f : files) {
    if (f.name.empty() || f.offset < 0 || f.length < 0) continue;
    mount.files[FoldPath(f.name)] = f;
  }
  Mounts& m = TheMounts();
  std::lock_guard<std::mutex> lock(m.mutex);
  for (Mount& old : m.list) {
    if (old.folder == mount.folder) {
      old = std::move(mount);
      return;
    }
  }
  m.list.push_back(std::move(mount));
}

void UnmountPackage(const std::string& folder) {
  std::string f = FoldPath(folder);
  if (f.empty() || f.back() != '\\') f += '\\';
  Mounts& m = TheMounts();
  std::lock_guard<std::mutex> lock(m.mutex);
  m.list.erase(std::remove_if(m.list.begin(), m.list.end(), [&](const Mount& x) { return x.folder == f; }),
               m.list.end());
}

bool IsPackedFile(const std::string& path) {
  std::string source;
  PackedFile file;
  return FindPacked(path, source, file);
}

bool EnsureOnDisk(const std::string& path) {
  Mounts& m = TheMounts();
  std::lock_guard<std::mutex> lock(m.mutex);
  std::string name;
  Mount* mount = Find(m, path, name);
  if (!mount) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !(st.st_mode & S_IFDIR);
  }
  if (mount->written.count(name)) return true;
  const PackedFile file = mount->files.at(name);
  std::FILE* in = std::fopen(mount->source.c_str(), "rb");
  if (!in) return false;
  std::FILE* out = std::fopen(path.c_str(), "wb");
  bool ok = out && SeekTo(in, file.offset);
  std::vector<char> buf(65536);
  int64_t left = file.length;
  while (ok && left > 0) {
    const size_t want = static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(buf.size())));
    const size_t got = std::fread(buf.data(), 1, want, in);
    ok = got == want && std::fwrite(buf.data(), 1, got, out) == got;
    left -= static_cast<int64_t>(got);
  }
  std::fclose(in);
  if (out) ok = (std::fclose(out) == 0) && ok;
  if (!ok) {
    if (out) std::remove(path.c_str());
    return false;
  }
  mount->written.insert(name);
  m.bytes_written += static_cast<uint64_t>(file.length);
  return true;
}

uint64_t PackedBytesWritten() {
  Mounts& m = TheMounts();
  std::lock_guard<std::mutex> lock(m.mutex);
  return m.bytes_written;
}

InputFile::~InputFile() { Close(); }

bool InputFile::Open(const std::string& path) {
  Close();
  std::string source;
  PackedFile packed;
  if (FindPacked(path, source, packed)) {
    file_ = std::fopen(source.c_str(), "rb");
    if (!file_) return false;
    // The bounds were checked against the saver's file when it was mounted; a file that
    // has shrunk since gives short reads, never reads beyond it.
    begin_ = packed.offset;
    size_ = packed.length;
  } else {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) return false;
    const bool sought = std::fseek(file_, 0, SEEK_END) == 0;
    const int64_t end = sought ? TellOf(file_) : -1;
    if (end < 0) {
      Close();
      return false;
    }
    begin_ = 0;
    size_ = end;
  }
  if (!SeekTo(file_, begin_)) {
    Close();
    return false;
  }
  return true;
}

void InputFile::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  begin_ = size_ = position_ = 0;
  failed_ = false;
}

size_t InputFile::Read(void* buffer, size_t count) {
  if (!file_ || count == 0 || position_ >= size_) return 0;
  const size_t want = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(count), size_ - position_));
  const size_t got = std::fread(buffer, 1, want, file_);
  if (got < want) failed_ = true;
  position_ += static_cast<int64_t>(got);
  return got;
}

bool InputFile::Seek(int64_t position) {
  if (!file_ || position < 0 || position > size_) return false;
  if (!SeekTo(file_, begin_ + position)) return false;
  position_ = position;
  return true;
}

}  // namespace kx::fs
