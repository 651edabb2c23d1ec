#include "package/container.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/file_system.h"

namespace kx {

namespace {

// The plain marker text; its increased form must never stand in the engine's image.
const char kPlainMarker[] = "{KXRESROURCE}";
// Read through a volatile so the compiler cannot fold the increased form into a constant.
volatile unsigned char kMarkerIncrement = 1;

int32_t ReadLE32(const unsigned char* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                              (static_cast<uint32_t>(p[2]) << 16) |
                              (static_cast<uint32_t>(p[3]) << 24));
}

void AppendLE32(std::string& out, int32_t v) {
  uint32_t u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

// Marker matching over a stream of bytes. A byte that breaks a partial match is tested
// again against the first marker byte, so "||KX..." still finds the marker at the second
// byte. The marker's first byte occurs nowhere else in it, so this is the whole rule.
class MarkerMatcher {
 public:
  MarkerMatcher() : marker_(ContainerMarker()) {}
  // True when b completes the marker.
  bool Feed(unsigned char b) {
    if (b == static_cast<unsigned char>(marker_[m_])) {
      if (++m_ == kMarkerLength) return true;
      return false;
    }
    m_ = (b == static_cast<unsigned char>(marker_[0])) ? 1 : 0;
    return false;
  }

 private:
  std::string marker_;
  int m_ = 0;
};

bool ReadCount(std::FILE* f, int64_t position, int32_t& count) {
  if (!fs::SeekTo(f, position)) return false;
  unsigned char b[4];
  if (std::fread(b, 1, 4, f) != 4) return false;
  count = ReadLE32(b);
  return true;
}

}  // namespace

std::string ContainerMarker() {
  std::string m(kPlainMarker, kMarkerLength);
  for (char& c : m) c = static_cast<char>(static_cast<unsigned char>(c) + kMarkerIncrement);
  return m;
}

MarkerPosition FindMarkerIn(std::string_view data) {
  MarkerPosition r;
  MarkerMatcher matcher;
  for (size_t i = 0; i < data.size(); ++i) {
    if (matcher.Feed(static_cast<unsigned char>(data[i]))) {
      r.position = static_cast<int64_t>(i + 1);
      if (r.position + 4 > static_cast<int64_t>(data.size())) return MarkerPosition{};
      r.count = ReadLE32(reinterpret_cast<const unsigned char*>(data.data()) + r.position);
      r.found = true;
      return r;
    }
  }
  return r;
}

MarkerPosition FindPackageMarker(const std::string& path) {
  MarkerPosition r;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return r;
  MarkerMatcher matcher;
  unsigned char block[kCopyBlock];
  int64_t counter = 0;
  bool complete = false;
  while (!complete) {
    size_t n = std::fread(block, 1, sizeof block, f);
    if (n == 0) break;
    for (size_t i = 0; i < n; ++i) {
      ++counter;
      if (matcher.Feed(block[i])) {
        complete = true;
        break;
      }
    }
  }
  if (complete && ReadCount(f, counter, r.count)) {
    r.found = true;
    r.position = counter;
  }
  std::fclose(f);
  return r;
}

int ExtractContainerParts(const std::string& path, const std::vector<std::string>& names) {
  MarkerPosition m = FindPackageMarker(path);
  if (!m.found) return 0;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return 0;
  int written = 0;
  int32_t count = 0;
  if (ReadCount(f, m.position, count)) {
    const size_t parts = count > 0 ? static_cast<size_t>(count) : 0;
    char buf[kCopyBlock];
    for (size_t i = 0; i < parts && i < names.size(); ++i) {
      unsigned char lb[4];
      if (std::fread(lb, 1, 4, f) != 4) break;
      int64_t length = ReadLE32(lb);
      if (length < 0) length = 0;
      // A part whose target cannot be created is read past; the others are still written.
      std::FILE* out = names[i].empty() ? nullptr : std::fopen(names[i].c_str(), "wb");
      int64_t copied = 0;
      bool ended = false;
      while (copied < length) {
        size_t want = static_cast<size_t>(std::min<int64_t>(kCopyBlock, length - copied));
        size_t got = std::fread(buf, 1, want, f);
        if (got == 0) {
          ended = true;
          break;
        }
        if (out) std::fwrite(buf, 1, got, out);
        copied += static_cast<int64_t>(got);
      }
      if (out) {
        std::fclose(out);
        ++written;
      }
      if (ended) break;
    }
  }
  std::fclose(f);
  return written;
}

std::optional<std::vector<std::string>> ReadContainerParts(std::string_view data, size_t maxParts) {
  MarkerPosition m = FindMarkerIn(data);
  if (!m.found) return std::nullopt;
  std::vector<std::string> parts;
  size_t pos = static_cast<size_t>(m.position) + 4;
  const size_t count = m.count > 0 ? static_cast<size_t>(m.count) : 0;
  for (size_t i = 0; i < count && i < maxParts; ++i) {
    if (pos + 4 > data.size()) break;
    int64_t length = ReadLE32(reinterpret_cast<const unsigned char*>(data.data()) + pos);
    pos += 4;
    if (length < 0) length = 0;
    size_t take = std::min(static_cast<size_t>(length), data.size() - pos);
    parts.emplace_back(data.substr(pos, take));
    pos += take;
  }
  return parts;
}

std::optional<std::vector<std::string>> ReadContainerPartsFromFile(const std::string& path,
                                                                   size_t maxParts) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return std::nullopt;
  std::string data;
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
  std::fclose(f);
  return ReadContainerParts(data, maxParts);
}

std::optional<std::vector<PartRange>> ReadContainerIndex(const std::string& path, int64_t begin,
                                                         int64_t end, size_t maxParts) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return std::nullopt;
  int64_t size = -1;
  if (std::fseek(f, 0, SEEK_END) == 0) {
#ifdef _WIN32
    size = _ftelli64(f);
#else
    size = static_cast<int64_t>(ftello(f));
#endif
  }
  if (end < 0 || end > size) end = size;
  if (begin < 0 || begin >= end || !fs::SeekTo(f, begin)) {
    std::fclose(f);
    return std::nullopt;
  }
  // The marker, scanned the way FindPackageMarker scans a whole file.
  MarkerMatcher matcher;
  int64_t at = begin;
  bool complete = false;
  std::vector<unsigned char> block(65536);
  while (!complete && at < end) {
    const size_t want = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(block.size()), end - at));
    const size_t n = std::fread(block.data(), 1, want, f);
    if (n == 0) break;
    for (size_t i = 0; i < n; ++i) {
      ++at;
      if (matcher.Feed(block[i])) {
        complete = true;
        break;
      }
    }
  }
  int32_t count = 0;
  if (!complete || at + 4 > end || !ReadCount(f, at, count)) {
    std::fclose(f);
    return std::nullopt;
  }
  std::vector<PartRange> parts;
  int64_t pos = at + 4;
  const size_t n = count > 0 ? static_cast<size_t>(count) : 0;
  for (size_t i = 0; i < n && i < maxParts; ++i) {
    unsigned char lb[4];
    if (pos + 4 > end || !fs::SeekTo(f, pos) || std::fread(lb, 1, 4, f) != 4) break;
    pos += 4;
    int64_t length = ReadLE32(lb);
    if (length < 0) length = 0;
    PartRange r{pos, std::min(length, end - pos)};
    parts.push_back(r);
    pos += r.length;
    if (r.length < length) break;  // truncated: nothing follows
  }
  std::fclose(f);
  return parts;
}

std::string WriteContainer(const std::vector<std::string>& parts) {
  std::string out = ContainerMarker();
  AppendLE32(out, static_cast<int32_t>(parts.size()));
  for (const std::string& p : parts) {
    AppendLE32(out, static_cast<int32_t>(p.size()));
    out += p;
  }
  return out;
}

}  // namespace kx
