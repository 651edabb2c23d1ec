#include "platform/audio.h"

#include <algorithm>

namespace kx {

int SoundBufferVolume(int volume) {
  const long long v = static_cast<long long>(volume) * 40 - 4000;
  return static_cast<int>(std::clamp<long long>(v, -10000, 0));
}

void RecordingAudio::SetSoundVolume(int volume) {
  soundVolume = volume;
  log.push_back("sound-volume " + std::to_string(volume));
}

int RecordingAudio::AddSound(const std::string& path) {
  if (failAdd.count(path)) {
    log.push_back("add-failed " + path);
    return -1;
  }
  sounds.push_back(path);
  log.push_back("add " + path);
  return static_cast<int>(sounds.size()) - 1;
}

void RecordingAudio::PlaySound(int index, bool loop) {
  std::string line = "play " + std::to_string(index) + (loop ? " loop" : " once");
  if (index >= 0 && index < static_cast<int>(sounds.size())) line += " " + sounds[static_cast<size_t>(index)];
  log.push_back(line);
}

void RecordingAudio::StopSounds() { log.push_back("stop"); }

void RecordingAudio::ClearSounds() {
  sounds.clear();
  log.push_back("clear");
}

void RecordingAudio::StopSystemSound() { log.push_back("stop-system"); }

bool RecordingAudio::OpenMusic(const std::string& path) {
  if (failOpen.count(path)) {
    log.push_back("open-failed " + path);
    return false;
  }
  openTrack = path;
  log.push_back("open " + path);
  return true;
}

void RecordingAudio::SetMusicVolume(int volume) {
  musicVolume = volume;
  log.push_back("music-volume " + std::to_string(volume));
}

bool RecordingAudio::PlayMusic() {
  log.push_back("music-play " + openTrack);
  return true;
}

bool RecordingAudio::MusicAtEnd() { return atEnd; }

void RecordingAudio::CloseMusic() {
  log.push_back("music-close");
  openTrack.clear();
}

std::vector<std::string> RecordingAudio::Lines(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const std::string& l : log)
    if (l.compare(0, prefix.size(), prefix) == 0) out.push_back(l);
  return out;
}

}  // namespace kx
