// An animated object showing a still image. Pixels of the key colour (the image's
// bottom-left pixel, or TransparentColor) are left out when Transparent; the others are
// blended with the object's opacity.
#pragma once

#include "anim/anim_object.h"

namespace kx {

class TImgObject : public TAnimObject {
 public:
  TImgObject();
  void LoadFromText(const IniFile& ini, const std::string& section) override;
  void Init() override;
  // Where a missing image is looked for next: a folder ending with a separator ("" none).
  static void SetCommonImageFolder(const std::string& folder);
  static const std::string& CommonImageFolder();

  Pixel KeyColor() const { return key_; }
  bool Loaded() const { return loaded_; }

  // Combining of one image pixel: the key colour (when Transparent) leaves the target;
  // other pixels blend each channel as (s * A + d * (255 - A)) / 255, target alpha := A.
  static Pixel Combine(Pixel src, Pixel dst, uint8_t master_alpha, const void* context);
  static void CombineRows(const Pixel* src, Pixel* dst, int count, uint8_t master_alpha, const void* context);

 protected:
  // The image keys: Filename, Transparent, TransparentType (missing: `default_type`) and
  // TransparentColor.
  void LoadImageKeys(const IniFile& ini, const std::string& section, int default_type);
  // The path of an existing image file for Filename, or "" when there is none.
  std::string ResolveImagePath() const;

  Pixel key_ = 0;
  bool loaded_ = false;
};

// A Windows colour value (0x00BBGGRR, or a system colour 0x800000nn) as an opaque pixel.
Pixel PixelOfColorValue(int color);

}  // namespace kx
