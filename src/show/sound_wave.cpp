#include "show/sound_wave.h"

namespace kx {

namespace {
uint32_t Le32(std::string_view b, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
uint32_t Le16(std::string_view b, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8;
}
bool Fail(std::string& error, const char* text) {
  error = text;
  return false;
}
}  // namespace

bool ParseWaveSound(std::string_view bytes, WaveSound& out, std::string& error) {
  out = WaveSound{};
  if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE")
    return Fail(error, "not a WAVE file");
  bool haveFormat = false, haveData = false;
  size_t pos = 12;
  while (bytes.size() - pos >= 8) {
    const std::string_view id = bytes.substr(pos, 4);
    const uint64_t length = Le32(bytes, pos + 4);
    const size_t body = pos + 8;
    const size_t available = bytes.size() - body;
    if (id == "fmt ") {
      if (length < 16 || available < 16) return Fail(error, "format chunk too short");
      uint32_t tag = Le16(bytes, body);
      if (tag == 0xFFFE) {
        // The extensible form names its real format in the first two bytes of its GUID.
        if (length < 40 || available < 40) return Fail(error, "format chunk too short");
        tag = Le16(bytes, body + 24);
      }
      if (tag != 1) return Fail(error, "not PCM samples");
      out.Channels = static_cast<int>(Le16(bytes, body + 2));
      out.SampleRate = static_cast<int>(Le32(bytes, body + 4) & 0x7FFFFFFF);
      out.BlockAlign = static_cast<int>(Le16(bytes, body + 12));
      out.BitsPerSample = static_cast<int>(Le16(bytes, body + 14));
      if (out.Channels != 1 && out.Channels != 2) return Fail(error, "only mono and stereo sounds play");
      if (out.BitsPerSample != 8 && out.BitsPerSample != 16) return Fail(error, "only 8 and 16-bit samples play");
      if (out.SampleRate <= 0) return Fail(error, "no sample rate");
      out.BlockAlign = out.Channels * out.BitsPerSample / 8;
      haveFormat = true;
    } else if (id == "data") {
      out.DataOffset = body;
      out.DataSize = static_cast<size_t>(length < available ? length : available);
      haveData = true;
      if (haveFormat) break;
    }
    if (length >= available) break;  // the last chunk (possibly cut short)
    pos = body + static_cast<size_t>(length) + (length & 1);
    if (pos > bytes.size()) break;
  }
  if (!haveFormat) return Fail(error, "no format chunk");
  if (!haveData) return Fail(error, "no sample data");
  out.DataSize -= out.DataSize % static_cast<size_t>(out.BlockAlign);
  if (out.DataSize == 0) return Fail(error, "no sample data");
  return true;
}

}  // namespace kx
