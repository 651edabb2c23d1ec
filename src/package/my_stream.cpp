#include "package/my_stream.h"

#include "package/picture_params.h"

namespace kx {

TMyStream::TMyStream(const std::string& path, int /*mode*/) {
  if (!file_.Open(path)) throw StreamError("cannot open " + path);
  size_ = file_.Size();
}

TMyStream::~TMyStream() = default;

void TMyStream::CheckLength(int64_t count) const {
  if (count < 0) throw StreamError("negative length");
  if (count > Remaining()) throw StreamError("read beyond end of file");
}

void TMyStream::ReadBuffer(void* buffer, int64_t count) {
  CheckLength(count);
  if (count == 0) return;
  if (file_.Read(buffer, static_cast<size_t>(count)) != static_cast<size_t>(count)) {
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

std::string TMyStream::ReadString() { return ReadSignature(ReadInteger()); }

void TMyStream::ReadToStream(std::vector<uint8_t>& out, int32_t count) {
  CheckLength(count);
  out.resize(static_cast<size_t>(count));
  ReadBuffer(out.data(), count);
}

}  // namespace kx
