// TMyStream: the small file reader of picture files (read through fs::InputFile, so a
// picture file of the package is read in place). Every read that cannot
// be satisfied in full throws StreamError; so does a length that is negative or larger
// than what is left in the file, before anything is allocated for it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace kx {

class StreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TMyStream {
 public:
  static constexpr int kRead = 1;  // open the file for reading (the only mode)

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

 private:
  void CheckLength(int64_t count) const;

  fs::InputFile file_;
  int64_t size_ = 0;
  int64_t position_ = 0;
};

}  // namespace kx
