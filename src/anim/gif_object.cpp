#include "anim/gif_object.h"

#include "anim/overlay_draw.h"
#include "platform/file_system.h"

namespace kx {

TGifObject::TGifObject() { transparent_type_ = 0; }

void TGifObject::LoadFromText(const IniFile& ini, const std::string& sec) {
  LoadImageKeys(ini, sec, 0);
  AnimSpeed = ini.ReadInteger(sec, "AnimSpeed", 10);
  RefreshFrame = ini.ReadBool(sec, "RefreshFrame", false);
  LoadCommonFromText(ini, sec);
}

int TGifObject::PlaySpeedPercent(int s) { return s <= 10 ? s * 10 : s * 50 - 400; }

Pixel TGifObject::Combine(Pixel src, Pixel dst, uint8_t a, const void*) {
  if (src == kKey) return dst;
  const int ia = 255 - a;
  const int r = (PixelR(src) * a + PixelR(dst) * ia) / 255;
  const int g = (PixelG(src) * a + PixelG(dst) * ia) / 255;
  const int b = (PixelB(src) * a + PixelB(dst) * ia) / 255;
  return MakePixel(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b), a);
}

void TGifObject::CombineRows(const Pixel* src, Pixel* dst, int count, uint8_t a, const void*) {
  KeyedBlendRow(src, dst, count, a, true, kKey);
}

bool TGifObject::LoadGif(const std::string& path) {
  player_.SetAnimation(nullptr);
  std::string data, error;
  if (!fs::ReadFile(path, data, 64u << 20)) return false;
  GifImage gif;
  if (!DecodeGif(reinterpret_cast<const uint8_t*>(data.data()), data.size(), gif, error)) return false;
  for (GifFrame& f : gif.frames) {
    if (!transparent_) {
      f.transparent_index = -1;
    } else if (transparent_type_ == 1 || transparent_type_ == 2) {
      Pixel color = 0;
      bool have = false;
      if (transparent_type_ == 1) {
        // The colour of the bottom-left pixel of the frame's area.
        if (f.width > 0 && f.height > 0) {
          const size_t i = static_cast<size_t>(f.height - 1) * f.width;
          if (i < f.indices.size()) {
            const std::vector<Pixel>& pal = f.palette.empty() ? gif.global_palette : f.palette;
            if (f.indices[i] < pal.size()) { color = pal[f.indices[i]]; have = true; }
          }
        }
      } else {
        color = PixelOfColorValue(transparent_color_);
        have = true;
      }
      const int index = have ? gif.FindGlobalIndex(color) : -1;
      f.transparent_index = index;  // not found: this frame has no transparency
    }
    if (RefreshFrame) f.disposal = 2;
  }
  GifAnimation composed;
  if (!gif.Compose(composed, error) || composed.frames.empty() || composed.width <= 0 ||
      composed.height <= 0)
    return false;
  animation_ = std::move(composed);
  player_.SetAnimation(&animation_);
  player_.SetLoopForever(true);
  player_.SetSpeedPercent(PlaySpeedPercent(AnimSpeed));
  image_.SetSize(animation_.width, animation_.height);
  mirror_.SetSize(animation_.width, animation_.height);
  for (Bitmap32* b : {&image_, &mirror_}) {
    b->Fill(kKey);
    b->SetCombine(&TGifObject::Combine, this, &TGifObject::CombineRows);
    b->SetFilter(StretchFilter::Draft);
  }
  mirror_stale_ = true;
  return true;
}

void TGifObject::CopyFrame(int index) {
  if (index < 0 || index >= FrameCount()) return;
  const Bitmap32& f = animation_.frames[index];
  if (f.Width() != image_.Width() || f.Height() != image_.Height()) return;
  const Pixel* s = f.Data();
  Pixel* d = image_.Data();
  for (size_t i = 0, n = f.PixelCount(); i < n; ++i) d[i] = PixelA(s[i]) == 0 ? kKey : s[i];
  mirror_stale_ = true;
  shown_frame_ = index;
}

void TGifObject::Init() {
  loaded_ = false;
  const std::string path = ResolveImagePath();
  if (path.empty() || !LoadGif(path)) return;
  const uint8_t alpha = MasterAlphaOf(Opacity);
  image_.SetMasterAlpha(alpha);
  mirror_.SetMasterAlpha(alpha);
  loaded_ = true;
  SetImageSize(image_.Width(), image_.Height());
  TAnimObject::Init();
  player_.Reset();
  shown_frame_ = -1;
  CopyFrame(0);
}

void TGifObject::Stop() {
  player_.Reset();
  TAnimObject::Stop();
}

const Bitmap32* TGifObject::CurrentImage(int64_t elapsed_ms) {
  if (!loaded_) return nullptr;
  player_.Advance(elapsed_ms);
  const int index = player_.FrameIndex();
  if (index != shown_frame_) CopyFrame(index);
  return &image_;
}

}  // namespace kx
