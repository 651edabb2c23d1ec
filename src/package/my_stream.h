// TMyStream: the small file reader (and writer) of picture files. Every read that cannot
// be satisfied in full throws StreamError; so does a length that is negative or larger
// than what is left in the file, before anything is allocated for it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace kx {

class StreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TMyStream {
 public:
  static constexpr int kCreate = 0;  // create or rewrite the file
  static constexpr int kRead = 1;    // open it for reading

  // Throws StreamError when the file cannot be opened.
  TMyStream(const std::string& path, int mode);
  ~TMyStream();
  TMyStream(const TMyStream&) = delete;
  TMyStream& operator=(const TMyStream&) = delete;

  void ReadBuffer(void* buffer, int64_t count);
  int32_t ReadInteger();
  // Reads `count` bytes as a string.
  std::string ReadSignature(int count);
  // A 32-bit length followed by that many bytes.
  std::string ReadString();
  // Sizes `out` to `count` bytes and fills it from the file.
  void ReadToStream(std::vector<uint8_t>& out, int32_t count);

  // Bytes left to read.
  int64_t Remaining() const { return size_ - position_; }
  bool AtEnd() const { return position_ >= size_; }

  void WriteBuffer(const void* buffer, size_t count);
  void WriteInteger(int32_t v);
  void WriteString(const std::string& s);
  // Flushes and closes a written file; throws when the data did not reach the disk.
  void Close();

 private:
  void CheckLength(int64_t count) const;

  FILE* file_ = nullptr;
  int64_t size_ = 0;
  int64_t position_ = 0;
  bool writing_ = false;
};

}  // namespace kx
