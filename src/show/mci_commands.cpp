#include "show/mci_commands.h"

#include "package/paths.h"

namespace kx {

namespace mci {

const char* DeviceTypeFor(const std::string& path) {
  const std::string ext = UpperCase(ExtensionOf(path));
  if (ext == ".WAV") return "waveaudio";
  if (ext == ".MID" || ext == ".MIDI" || ext == ".RMI") return "sequencer";
  return "mpegvideo";
}

std::string Open(const std::string& path, const std::string& alias) {
  if (path.empty() || path.find_first_of("\"\r\n") != std::string::npos) return "";
  return "open \"" + path + "\" type " + DeviceTypeFor(path) + " alias " + alias;
}

std::string TimeFormatMilliseconds(const std::string& alias) { return "set " + alias + " time format milliseconds"; }

std::string SetVolume(const std::string& alias, int volume) {
  const int v = volume < 0 ? 0 : volume > 1000 ? 1000 : volume;
  return "setaudio " + alias + " volume to " + std::to_string(v);
}

std::string PlayNotify(const std::string& alias) { return "play " + alias + " notify"; }
std::string StatusPosition(const std::string& alias) { return "status " + alias + " position"; }
std::string StatusLength(const std::string& alias) { return "status " + alias + " length"; }
std::string Close(const std::string& alias) { return "close " + alias; }

namespace {
bool ParseCount(std::string s, long long& v) {
  const size_t b = s.find_first_not_of(" \t\r\n"), e = s.find_last_not_of(" \t\r\n");
  if (b == std::string::npos) return false;
  s = s.substr(b, e - b + 1);
  if (s.size() > 18) return false;
  v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  return true;
}
}  // namespace

bool AtEnd(const std::string& positionReply, const std::string& lengthReply) {
  long long pos = 0, len = 0;
  return ParseCount(positionReply, pos) && ParseCount(lengthReply, len) && len > 0 && pos >= len;
}

}  // namespace mci

int MciMusicDevice::Run(const std::string& command, bool notify, std::string* reply) {
  std::string ignored;
  return send_(command, notify, reply ? *reply : ignored);
}

bool MciMusicDevice::Open(const std::string& path) {
  if (open_) Close();
  const std::string open = mci::Open(path, alias_);
  if (open.empty() || Run(open) != 0) return false;
  open_ = true;
  Run(mci::TimeFormatMilliseconds(alias_));
  return true;
}

void MciMusicDevice::SetVolume(int volume) {
  if (open_) Run(mci::SetVolume(alias_, volume));
}

bool MciMusicDevice::Play() { return open_ && Run(mci::PlayNotify(alias_), true) == 0; }

bool MciMusicDevice::AtEnd(bool playedToEnd) {
  if (!open_) return false;
  if (playedToEnd) return true;
  std::string position, length;
  if (Run(mci::StatusPosition(alias_), false, &position) != 0) return false;
  if (Run(mci::StatusLength(alias_), false, &length) != 0) return false;
  return mci::AtEnd(position, length);
}

void MciMusicDevice::Close() {
  if (!open_) return;
  Run(mci::Close(alias_));
  open_ = false;
}

}  // namespace kx
