// Writes picture files (".kxp") in the layout TFileLoader reads. The authors' tool and the
// tests build their files with it. The JPEG streams are written as given.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "package/picture_params.h"

namespace kx {

struct PictureFileContent {
  std::string signature = "KX060697";
  std::string title;
  std::string description;
  std::vector<uint8_t> thumbnail_jpeg;
  int32_t wave_count_field = 4;
  TWaveParams waves;                 // records 1..4 always; 5.. by extra_waves
  std::vector<int32_t> region_runs;  // width, height, runs; empty for no mask
  std::vector<uint8_t> picture_jpeg;
  std::string sound_name;
  TWeatherParam weather;
  TSoundSlots sound_slots;
  std::string anim_text;
  std::string extra_text;
  int32_t extra_waves = 4;           // item 14's count; records 5..4+min(count, 4) are written
  // The last item written (10 to 14): a file may end after any item from 10 on.
  int last_item = 14;
};

// The file's bytes.
std::vector<uint8_t> BuildPictureFile(const PictureFileContent& content);
// Writes the file; false with a message on a write error.
bool WritePictureFile(const std::string& path, const PictureFileContent& content,
                      std::string& error);

}  // namespace kx
