#include "package/file_loader.h"

#include "media/jpeg_codec.h"
#include "package/my_stream.h"
#include "package/region_mask.h"

namespace kx {
namespace {

class LoadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void ReadJpeg(TMyStream& in, Bitmap32& out, const char* what) {
  const int32_t length = in.ReadInteger();
  std::vector<uint8_t> bytes;
  in.ReadToStream(bytes, length);
  std::string error;
  if (!DecodeJpeg(bytes.data(), bytes.size(), out, error)) {
    throw LoadError(std::string(what) + ": " + error);
  }
}

void ReadWave(TMyStream& in, TWaveParam& w) {
  uint8_t b[TWaveParam::kSize];
  in.ReadBuffer(b, sizeof b);
  w = TWaveParam::FromBytes(b);
}

// Items 1 to 4.
void ReadHeader(TMyStream& in, TFileLoader& f, Bitmap32& thumbnail) {
  if (in.ReadSignature(8) != kPictureSignature) throw LoadError(kIncorrectProjectFile);
  f.Title = in.ReadString();
  f.Description = in.ReadString();
  ReadJpeg(in, thumbnail, "thumbnail");
}

}  // namespace

void TFileLoader::Reset() {
  error_.clear();
  Title.clear();
  Description.clear();
  SoundName.clear();
  AnimText.clear();
  ExtraText.clear();
  WaveCountField = 0;
  ExtraWaveCount = 0;
  HasSoundSlots = false;
  picture_.SetSize(0, 0);
  thumbnail_.SetSize(0, 0);
  runs_.clear();
  waves_ = TWaveParams{};
  weather_ = TWeatherParam{};
  slots_ = TSoundSlots{};
}

bool TFileLoader::LoadHeader(const std::string& path) {
  Reset();
  try {
    TMyStream in(path, TMyStream::kRead);
    ReadHeader(in, *this, thumbnail_);
    return true;
  } catch (const std::exception& e) {
    error_ = e.what();
    return false;
  }
}

bool TFileLoader::LoadFull(const std::string& path) {
  Reset();
  try {
    TMyStream in(path, TMyStream::kRead);
    ReadHeader(in, *this, thumbnail_);
    WaveCountField = in.ReadInteger();
    for (int i = 0; i < 4; ++i) ReadWave(in, waves_[i]);
    const int32_t count = in.ReadInteger();
    if (count < 0 || static_cast<int64_t>(count) * 4 > in.Remaining()) {
      throw StreamError("bad region run count");
    }
    runs_.resize(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) runs_[i] = in.ReadInteger();
    ReadJpeg(in, picture_, "picture");
    SoundName = in.ReadString();
    uint8_t weather[TWeatherParam::kSize];
    in.ReadBuffer(weather, sizeof weather);
    weather_ = TWeatherParam::FromBytes(weather);

    // The optional tail: an end of file (or any other failure) keeps what was read.
    try {
      if (!in.AtEnd()) {
        uint8_t slots[8 * TSoundSlot::kSize];
        in.ReadBuffer(slots, sizeof slots);
        for (int i = 0; i < 8; ++i) slots_[i] = TSoundSlot::FromBytes(slots + i * TSoundSlot::kSize);
        HasSoundSlots = true;
      }
      AnimText = in.ReadString();
      ExtraText = in.ReadString();
      ExtraWaveCount = in.ReadInteger();
      for (int i = 0; i < ExtraWaveCount && i < 4; ++i) ReadWave(in, waves_[4 + i]);
    } catch (const std::exception&) {
    }
    return true;
  } catch (const std::exception& e) {
    error_ = e.what();
    return false;
  }
}

bool TFileLoader::GetRegionMask(Bitmap32& bitmap, std::string& error) const {
  return DecodeRegionMask(runs_, bitmap, error);
}

}  // namespace kx
