// TFileLoader reads one picture file (".kxp"). The file, front to back (integers 32-bit
// signed little-endian, strings a 32-bit length and the bytes):
//    1  signature "KX060697" (8 bytes, case-sensitive)
//    2  Title                      3  Description
//    4  thumbnail: length + JPEG   5  wave record count (files hold 4; not used)
//    6  wave records 1..4 (4 x 32) 7  region runs: count c, then c integers
//    8  picture: length + JPEG     9  SoundName (older files' single sound)
//   10  weather record (24 bytes)
//   11  sound slots 1..8 (8 x 268) 12  AnimText   13  ExtraText
//   14  m, then m more wave records (records 5.., at most 4 are read)
// Items 11 to 14 are optional: the file may end anywhere after item 10 and what was read
// before the end stays. A file that ends inside items 1 to 10, a length or count that is
// negative or runs past the end of the file, or a JPEG stream that cannot be decoded
// fails the load.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/bitmap32.h"
#include "package/picture_params.h"

namespace kx {

inline constexpr char kPictureSignature[] = "KX060697";
inline constexpr char kIncorrectProjectFile[] = "Incorrect Project File!";

class TFileLoader {
 public:
  // Items 1 to 14. False with Error() on failure.
  bool LoadFull(const std::string& path);
  // Items 1 to 4: title, description and thumbnail; the picture is not touched.
  bool LoadHeader(const std::string& path);
  const std::string& Error() const { return error_; }

  std::string Title;
  std::string Description;
  std::string SoundName;
  std::string AnimText;
  std::string ExtraText;
  int32_t WaveCountField = 0;  // item 5 as stored
  int32_t ExtraWaveCount = 0;  // item 14's m as stored (0 when absent)
  bool HasSoundSlots = false;  // item 11 was present

  void GetThumbnail(Bitmap32& bitmap) const { bitmap.Assign(thumbnail_); }
  // The same without a copy: the loader's picture moves into `bitmap`.
  void TakePicture(Bitmap32& bitmap) {
    bitmap.SetSize(0, 0);
    bitmap.SwapPixels(picture_);
  }
  // False when the runs overflow the mask (see DecodeRegionMask).
  bool GetRegionMask(Bitmap32& bitmap, std::string& error) const;
  void GetWaveParams(TWaveParams& params) const { params = waves_; }
  void GetWeather(TWeatherParam& param) const { param = weather_; }
  void GetSoundSlots(TSoundSlots& slots) const { slots = slots_; }
  const std::vector<int32_t>& RegionRuns() const { return runs_; }

 private:
  void Reset();

  std::string error_;
  Bitmap32 picture_;
  Bitmap32 thumbnail_;
  std::vector<int32_t> runs_;
  TWaveParams waves_;
  TWeatherParam weather_;
  TSoundSlots slots_;
};

}  // namespace kx
