#include "package/picture_record.h"

#include "package/file_loader.h"
#include "package/paths.h"

namespace kx {
namespace {

constexpr char kNoSound[] = "<NO SOUND>";

}  // namespace

void TProject::Clear() {
  Loaded = false;
  Picture.SetSize(0, 0);
  Thumbnail.SetSize(0, 0);
  RegionMask.SetSize(0, 0);
  WaveParams = TWaveParams{};
  Weather = TWeatherParam{};
  AnimText.clear();
  last_error_.clear();
}

int TProject::FindFreeSoundSlot() const {
  for (int i = 0; i < 8; ++i) {
    if (SoundSlots[i].SoundFile.empty()) return i;
  }
  return 8;
}

bool TProject::LoadFromFile(const std::string& path) {
  TFileLoader loader;
  Clear();
  if (!loader.LoadFull(path)) {
    last_error_ = loader.Error();
    return false;
  }
  std::string error;
  if (!loader.GetRegionMask(RegionMask, error)) {
    last_error_ = error;
    return false;
  }
  loader.TakePicture(Picture);
  loader.GetThumbnail(Thumbnail);
  loader.GetWaveParams(WaveParams);
  loader.GetWeather(Weather);
  loader.GetSoundSlots(SoundSlots);
  FileName = path;
  Title = loader.Title;
  Description = loader.Description;
  PictureWidth = Picture.Width();
  PictureHeight = Picture.Height();

  if (Weather.Opacity == 0) {
    if (Weather.Kind == 1) Weather.Opacity = 9;
    else if (Weather.Kind == 2) Weather.Opacity = 6;
  }
  // The single sound of older files goes into the first free slot, played looped.
  const std::string& sound = loader.SoundName;
  if (!sound.empty() && UpperCase(sound) != kNoSound) {
    const int slot = FindFreeSoundSlot();
    if (slot < 8) {
      SoundSlots[slot].SoundFile = sound.substr(0, TSoundSlot::kMaxPath);
      SoundSlots[slot].PlayMode = 0;
    }
  }
  Loaded = true;
  for (int i = 0; i < 8; ++i) WaveValues[i] = WaveParams[i].WaveSpeed;
  AnimText = loader.AnimText;
  ExtraInfo = TExtraInfo{};
  ExtraInfo.LoadFromText(loader.ExtraText);
  return true;
}

bool TProject::LoadThumbnail(const std::string& path) {
  TFileLoader loader;
  Clear();
  if (!loader.LoadHeader(path)) {
    last_error_ = loader.Error();
    if (on_message_) on_message_("File: " + path + "\r\n" + last_error_);
    return false;
  }
  loader.GetThumbnail(Thumbnail);
  FileName = path;
  Title = loader.Title;
  Description = loader.Description;
  Loaded = true;
  return true;
}

}  // namespace kx
