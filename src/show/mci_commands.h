// The music device in MCI command strings: which device type plays a file (by its
// extension), and the strings that open it, set milliseconds as the time format, set the
// volume, play with a notification, ask for the position and length, and close it.
// MciMusicDevice drives one track through a send function (mciSendString on Windows, a
// recording fake in tests), so the whole conversation with the device is portable code.
#pragma once

#include <functional>
#include <string>

namespace kx {

namespace mci {

// "waveaudio" for .wav, "sequencer" for .mid, .midi and .rmi, "mpegvideo" (the media
// player device, which also plays .mp3 and .wma) for everything else. Any letter case.
const char* DeviceTypeFor(const std::string& path);

// The command strings for the device opened under `alias`. Open is empty when the path
// cannot be written into a command (a double quote or a line break in it).
std::string Open(const std::string& path, const std::string& alias);
std::string TimeFormatMilliseconds(const std::string& alias);
// The volume 0..1000 (held to that range).
std::string SetVolume(const std::string& alias, int volume);
std::string PlayNotify(const std::string& alias);
std::string StatusPosition(const std::string& alias);
std::string StatusLength(const std::string& alias);
std::string Close(const std::string& alias);

// True when the status replies say the track has played to its end: both are decimal
// numbers, the length is positive and the position has reached it.
bool AtEnd(const std::string& positionReply, const std::string& lengthReply);

}  // namespace mci

// One open music track. `Send` carries a command string to the device and returns its
// error code (0 for success) with the reply text; `notify` asks the device to post its
// notification to the show window.
class MciMusicDevice {
 public:
  using Send = std::function<int(const std::string& command, bool notify, std::string& reply)>;

  explicit MciMusicDevice(Send send, std::string alias = "kxmusic")
      : send_(std::move(send)), alias_(std::move(alias)) {}

  // Closes any open track first. A track whose device cannot open is not opened; nothing
  // else is sent for it.
  bool Open(const std::string& path);
  // Devices without an audio volume keep theirs: the result is ignored.
  void SetVolume(int volume);
  bool Play();
  // `playedToEnd` is the device's notification of a successful play, when one arrived;
  // otherwise the position and length are asked.
  bool AtEnd(bool playedToEnd);
  void Close();
  bool IsOpen() const { return open_; }

 private:
  int Run(const std::string& command, bool notify = false, std::string* reply = nullptr);

  Send send_;
  std::string alias_;
  bool open_ = false;
};

}  // namespace kx
