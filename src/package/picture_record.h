// TProject: one picture file loaded, the record a living picture is drawn from. It holds
// the decoded picture and thumbnail, the region mask, eight wave records, the weather
// record, eight sound slots, the animated objects' description text and the authoring
// tool's settings. A load either finishes (Loaded) or reports false and keeps what it
// had filled so far.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "media/bitmap32.h"
#include "package/extra_info.h"
#include "package/picture_params.h"

namespace kx {

class TProject {
 public:
  // Receives the text of an error message box (LoadThumbnail's failures).
  using MessageHandler = std::function<void(const std::string& text)>;

  TProject() = default;

  // The full load; false on any error, silently.
  bool LoadFromFile(const std::string& path);
  // Title, description and thumbnail only. On failure the message "File: " + path + line
  // break + the reason goes to the message handler (the caller shows it in a box with an
  // OK button) and the result is false.
  bool LoadThumbnail(const std::string& path);
  void SetMessageHandler(MessageHandler handler) { on_message_ = std::move(handler); }
  // The reason of the last failed load ("Incorrect Project File!" for a wrong signature).
  const std::string& LastError() const { return last_error_; }

  const TWaveParam& GetWaveParam(int index) const { return WaveParams[index & 7]; }
  // The first slot with an empty SoundFile, or 8 when all are used.
  int FindFreeSoundSlot() const;
  void SetAnimSpeed(int percent) { AnimSpeed = percent; }

  bool Loaded = false;
  std::string FileName;
  std::string Title;
  std::string Description;
  Bitmap32 Picture;
  Bitmap32 Thumbnail;
  Bitmap32 RegionMask;
  int PictureWidth = 0;
  int PictureHeight = 0;
  TWaveParams WaveParams;
  std::array<int, 8> WaveValues{};  // each wave record's WaveSpeed, rescaled by the show
  TWeatherParam Weather;
  TSoundSlots SoundSlots;
  // The animated objects' description (an INI text with sections [Obj0], [Obj1], ...);
  // the objects themselves are built from it by the animation overlay.
  std::string AnimText;
  TExtraInfo ExtraInfo;
  int AnimSpeed = 100;

 private:
  void Clear();

  std::string last_error_;
  MessageHandler on_message_;
};

}  // namespace kx
