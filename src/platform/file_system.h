// Plain file and folder operations on 8-bit paths in the system code page. The core uses
// these instead of calling the operating system; they behave the same natively and in the
// saver (the C runtime maps them to the ANSI file calls on Windows).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace kx::fs {

// Reads a whole file (a packed file from the saver's file, see below); false when it cannot
// be opened or read, or is larger than maxBytes.
bool ReadFile(const std::string& path, std::string& out, uint64_t maxBytes = UINT64_C(1) << 31);
// Creates or replaces a file; false on any error (a partly written file is removed).
bool WriteFile(const std::string& path, std::string_view data);
// True for a file on disk and for a packed file of a mounted folder.
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

// ---------------------------------------------------------------------------------------
// Files read in place from the saver's own file.
//
// The content of a package is not copied into the working folder: the folder is mounted on
// the saver's file instead, with the offset and length of every file inside it. A read of
// folder + name is served from those bytes, so the rest of the engine keeps using the paths
// of the working folder. A file that a system call must open by its path (music, sounds
// played by the system, documents) is written into the folder once, the first time it is
// needed (EnsureOnDisk).

namespace kx::fs {

// One file stored in the saver's file: name (a plain file name), where its bytes begin and
// how many there are.
struct PackedFile {
  std::string name;
  int64_t offset = 0;
  int64_t length = 0;
};

// Makes every file of `files` readable as folder + name from the bytes of `source`. Names
// compare ignoring letter case; of two equal names the later counts. Mounting a folder again
// replaces its files.
void MountPackage(const std::string& folder, const std::string& source,
                  const std::vector<PackedFile>& files);
// Forgets the folder's packed files (what was written to disk stays there).
void UnmountPackage(const std::string& folder);
// True when the path names a packed file of a mounted folder.
bool IsPackedFile(const std::string& path);

// Writes a packed file into its folder the first time it is needed; later calls do nothing.
// True when the file is on disk afterwards (a path that names no packed file: when it
// exists). A failed write leaves no partial file.
bool EnsureOnDisk(const std::string& path);

// Bytes written by EnsureOnDisk since the process started (for the start benchmark).
uint64_t PackedBytesWritten();

// A file opened for reading: a packed file of a mounted folder is read from the saver's
// file (within its bounds), any other path from the disk.
class InputFile {
 public:
  InputFile() = default;
  explicit InputFile(const std::string& path) { Open(path); }
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return file_ != nullptr; }
  int64_t Size() const { return size_; }
  int64_t Position() const { return position_; }
  // Reads up to `count` bytes; the number read (0 at the end or on an error).
  size_t Read(void* buffer, size_t count);
  bool Seek(int64_t position);
  bool Failed() const { return failed_; }

 private:
  std::FILE* file_ = nullptr;
  int64_t begin_ = 0;  // where the file's bytes begin in the opened file
  int64_t size_ = 0;
  int64_t position_ = 0;
  bool failed_ = false;
};

// Seeks a C stream to a 64-bit offset.
bool SeekTo(std::FILE* f, int64_t offset);

}  // namespace kx::fs
