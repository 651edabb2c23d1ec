#include "anim/img_object.h"

#include "anim/overlay_draw.h"
#include "media/picture_decoder.h"
#include "package/paths.h"
#include "platform/file_system.h"

namespace kx {

namespace {
std::string& CommonFolder() {
  static std::string folder;
  return folder;
}
}  // namespace

void TImgObject::SetCommonImageFolder(const std::string& folder) { CommonFolder() = folder; }
const std::string& TImgObject::CommonImageFolder() { return CommonFolder(); }

Pixel PixelOfColorValue(int color) {
  uint32_t v = static_cast<uint32_t>(color);
  if (v & 0x80000000u) {
    // The default Windows system colours, by index.
    static constexpr uint32_t kSys[31] = {
        0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
        0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
        0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
        0xE1FFFF, 0xB5B5B5, 0x800000, 0xF0CAA6, 0xC0C0C0, 0xD77800, 0xC8D0D4};
    const uint32_t index = v & 0xFF;
    v = index < 31 ? kSys[index] : 0;
  }
  return MakePixel(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF, 255);
}

TImgObject::TImgObject() { transparent_type_ = 1; }

void TImgObject::LoadImageKeys(const IniFile& ini, const std::string& sec, int default_type) {
  filename_ = ini.ReadString(sec, "Filename", filename_);
  transparent_ = ini.ReadBool(sec, "Transparent", true);
  transparent_type_ = ini.ReadInteger(sec, "TransparentType", default_type);
  transparent_color_ = ini.ReadInteger(sec, "TransparentColor", transparent_color_);
}

void TImgObject::LoadFromText(const IniFile& ini, const std::string& sec) {
  LoadImageKeys(ini, sec, 1);
  LoadCommonFromText(ini, sec);
}

std::string TImgObject::ResolveImagePath() const {
  if (!filename_.empty() && fs::FileExists(filename_)) return filename_;
  const std::string common = CommonImageFolder();
  if (!common.empty() && !filename_.empty()) {
    const std::string p = common + "images" + fs::SeparatorOf(common) + FileNamePart(filename_);
    if (fs::FileExists(p)) return p;
  }
  return {};
}

Pixel TImgObject::Combine(Pixel src, Pixel dst, uint8_t a, const void* context) {
  const auto* self = static_cast<const TImgObject*>(context);
  if (self->transparent_ && src == self->key_) return dst;
  const int ia = 255 - a;
  const int r = (PixelR(src) * a + PixelR(dst) * ia) / 255;
  const int g = (PixelG(src) * a + PixelG(dst) * ia) / 255;
  const int b = (PixelB(src) * a + PixelB(dst) * ia) / 255;
  return MakePixel(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b), a);
}

void TImgObject::CombineRows(const Pixel* src, Pixel* dst, int count, uint8_t a, const void* context) {
  const auto* self = static_cast<const TImgObject*>(context);
  KeyedBlendRow(src, dst, count, a, self->transparent_, self->key_);
}

void TImgObject::Init() {
  const std::string path = ResolveImagePath();
  if (path.empty()) return;  // the object never shows
  Bitmap32 picture;
  std::string error;
  if (!LoadPictureFile(path, picture, error) || picture.Empty()) return;
  image_ = std::move(picture);
  mirror_stale_ = true;
  key_ = image_.GetPixel(0, image_.Height() - 1);
  if (transparent_type_ == 2) key_ = PixelOfColorValue(transparent_color_);
  mirror_.SetSize(image_.Width(), image_.Height());
  const uint8_t alpha = MasterAlphaOf(Opacity);
  for (Bitmap32* b : {&image_, &mirror_}) {
    b->SetMasterAlpha(alpha);
    b->SetFilter(StretchFilter::Draft);
    b->SetCombine(&TImgObject::Combine, this, &TImgObject::CombineRows);
  }
  loaded_ = true;
  SetImageSize(image_.Width(), image_.Height());
  TAnimObject::Init();
}

}  // namespace kx
