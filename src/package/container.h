// The container format of the package and of two files inside it:
//   13 bytes  marker: the text "{KXRESROURCE}" with every byte increased by 1
//    4 bytes  count of parts (32-bit signed little-endian)
//   then for each part: 4-byte length L, then L bytes.
// A container may start anywhere in a file; the first marker counts. The engine holds
// the marker only in plain form, so its own image never contains the increased form
// (the package appended to the saver must be the first marker in the file).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

constexpr int kMarkerLength = 13;
constexpr int kCopyBlock = 1001;

// The 13 marker bytes as they stand in files (computed at run time from the plain text).
std::string ContainerMarker();

struct MarkerPosition {
  bool found = false;
  int64_t position = 0;  // file offset just after the marker, where the count begins
  int32_t count = 0;
};

// Scans the file in 1001-byte blocks for the first marker.
MarkerPosition FindPackageMarker(const std::string& path);
// Scans bytes in memory the same way; position is relative to data.
MarkerPosition FindMarkerIn(std::string_view data);

// Writes part i of the file's first container to names[i] for i below min(count, names).
// A name that is empty is skipped (its part is read past). Returns the number of files
// written. Missing marker: nothing is written. A truncated part is written with the
// bytes that are there.
int ExtractContainerParts(const std::string& path, const std::vector<std::string>& names);

// The parts of the first container in memory, at most maxParts of them (a truncated last
// part keeps the bytes that are there). nullopt when there is no marker.
std::optional<std::vector<std::string>> ReadContainerParts(std::string_view data,
                                                           size_t maxParts = SIZE_MAX);
std::optional<std::vector<std::string>> ReadContainerPartsFromFile(const std::string& path,
                                                                   size_t maxParts = SIZE_MAX);

// Where one part lies in a file.
struct PartRange {
  int64_t offset = 0;
  int64_t length = 0;
};

// The places of the parts of the first container found in [begin, end) of the file (end -1:
// the end of the file), at most maxParts of them, without reading the parts themselves.
// The same bounds as ExtractContainerParts: negative lengths count as 0, a part that runs
// past the end keeps the bytes that are there and is the last one. nullopt when there is
// no marker in the range.
std::optional<std::vector<PartRange>> ReadContainerIndex(const std::string& path, int64_t begin = 0,
                                                         int64_t end = -1, size_t maxParts = SIZE_MAX);

// A container holding the given parts (used by kxtool and by tests).
std::string WriteContainer(const std::vector<std::string>& parts);

}  // namespace kx
