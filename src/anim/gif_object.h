// An animated object showing an animated GIF picture, played endlessly at AnimSpeed.
// The frames are composed once at Init; the drawing thread advances the player by the
// time between its steps and copies the current frame into the image, where every pixel
// no frame painted becomes the key colour 0x00FFFF00 that drawing leaves out.
#pragma once

#include "anim/img_object.h"
#include "media/gif_decoder.h"
#include "media/gif_player.h"

namespace kx {

class TGifObject : public TImgObject {
 public:
  static constexpr Pixel kKey = 0x00FFFF00;

  TGifObject();
  void LoadFromText(const IniFile& ini, const std::string& section) override;
  void Init() override;
  void Stop() override;
  const Bitmap32* CurrentImage(int64_t elapsed_ms) override;

  // Playback speed in percent of an AnimSpeed key: 10 gives 100, 12 gives 200.
  static int PlaySpeedPercent(int anim_speed);
  static Pixel Combine(Pixel src, Pixel dst, uint8_t master_alpha, const void* context);
  static void CombineRows(const Pixel* src, Pixel* dst, int count, uint8_t master_alpha, const void* context);

  int AnimSpeed = 10;
  bool RefreshFrame = false;
  int FrameCount() const { return static_cast<int>(animation_.frames.size()); }

 private:
  bool LoadGif(const std::string& path);
  void CopyFrame(int index);

  GifAnimation animation_;
  GifPlayer player_;
  int shown_frame_ = -1;
};

}  // namespace kx
