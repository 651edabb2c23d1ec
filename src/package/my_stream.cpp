#include "package/my_stream.h"

#include "package/picture_params.h"

namespace kx {

TMyStream::TMyStream(const std::string& path, int mode) : writing_(mode == kCreate) {
  file_ = std::fopen(path.c_str(), writing_ ? "wb" : "rb");
  if (!file_) throw StreamError("cannot open " + path);
  if (!writing_) {
    const bool sought = std::fseek(file_, 0, SEEK_END) == 0;
    const long end = sought ? std::ftell(file_) : -1;
    if (end < 0 || std::fseek(file_, 0, SEEK_SET) != 0) {
      std::fclose(file_);
      file_ = nullptr;
      throw StreamError("cannot read " + path);
    }
    size_ = end;
  }
}

TMyStream::~TMyStream() {
  if (file_) std::fclose(file_);
}

void TMyStream::CheckLength(int64_t count) const {
  if (count < 0) throw StreamError("negative length");
  if (count > Remaining()) throw StreamError("read beyond end of file");
}

void TMyStream::ReadBuffer(void* buffer, int64_t count) {
  CheckLength(count);
  if (count == 0) return;
  if (std::fread(buffer, 1, static_cast<size_t>(count), file_) != static_cast<size_t>(count)) {
    throw StreamError("read error");
  }
  position_ += count;
}

int32_t TMyStream::ReadInteger() {
  uint8_t b[4];
  ReadBuffer(b, 4);
  return ReadLe32(b);
}

std::string TMyStream::ReadSignature(int count) {
  CheckLength(count);
  std::string s(static_cast<size_t>(count), '\0');
  ReadBuffer(s.data(), count);
  return s;
}

std::string TMyStream::ReadString() {
  const int32_t n = ReadInteger();
  CheckLength(n);
  std::string s(static_cast<size_t>(n), '\0');
  ReadBuffer(s.data(), n);
  return s;
}

void TMyStream::ReadToStream(std::vector<uint8_t>& out, int32_t count) {
  CheckLength(count);
  out.resize(static_cast<size_t>(count));
  ReadBuffer(out.data(), count);
}

void TMyStream::WriteBuffer(const void* buffer, size_t count) {
  if (!file_ || !writing_) throw StreamError("not open for writing");
  if (count && std::fwrite(buffer, 1, count, file_) != count) throw StreamError("write error");
  position_ += static_cast<int64_t>(count);
}

void TMyStream::WriteInteger(int32_t v) {
  uint8_t b[4];
  WriteLe32(b, v);
  WriteBuffer(b, 4);
}

void TMyStream::WriteString(const std::string& s) {
  if (s.size() > INT32_MAX) throw StreamError("string too long");
  WriteInteger(static_cast<int32_t>(s.size()));
  WriteBuffer(s.data(), s.size());
}

void TMyStream::Close() {
  if (!file_) return;
  const bool ok = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!ok && writing_) throw StreamError("write error");
}

}  // namespace kx
