// The sound services the show calls: the sound effect player (up to eight sounds mixed,
// or one at a time through the system sound call when mixing is not available), the
// music device (one track open at a time, with a notification when it ends), and the
// places where shared sound files live. The Win32 layer implements it over DirectSound,
// sndPlaySoundA and MCI; RecordingAudio records the calls for tests and for headless hosts.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace kx {

class Audio {
 public:
  virtual ~Audio() = default;

  // Sound effects. Volume is 0..100 and applies to the following plays.
  virtual void SetSoundVolume(int volume) = 0;
  // Loads a sound file into the player; returns its index for PlaySound, or -1 when it
  // could not be loaded (the list is unchanged then).
  virtual int AddSound(const std::string& path) = 0;
  virtual void PlaySound(int index, bool loop) = 0;
  virtual void StopSounds() = 0;
  // Forgets the loaded sounds (stop them first).
  virtual void ClearSounds() = 0;
  // Stops whatever the system sound call is playing.
  virtual void StopSystemSound() = 0;

  // Music: one open track. Volume is the device's 0..1000 scale; devices without a volume
  // control keep theirs. PlayMusic asks for a notification when the track ends.
  virtual bool OpenMusic(const std::string& path) = 0;
  virtual void SetMusicVolume(int volume) = 0;
  virtual bool PlayMusic() = 0;
  // True when the open track has played to its end.
  virtual bool MusicAtEnd() = 0;
  virtual void CloseMusic() = 0;

  // The working folder where the package's sounds and music were extracted, the shared
  // sound folder and the folder of the saver itself; each ends with a separator, or is ""
  // when unknown.
  virtual std::string WorkFolder() = 0;
  virtual std::string CommonSoundsFolder() = 0;
  virtual std::string ExecutableFolder() = 0;
};

// The buffer volume of a sound effect in hundredths of a decibel: 100 gives 0 (full),
// 80 gives -800, 0 gives -4000 (quiet, not silent). Out-of-range volumes are held to the
// range DirectSound accepts.
int SoundBufferVolume(int volume);

// Records every call as a line of text ("add X", "play 0 loop", "open X", ...); the
// failures it reports are chosen by the test.
class RecordingAudio : public Audio {
 public:
  void SetSoundVolume(int volume) override;
  int AddSound(const std::string& path) override;
  void PlaySound(int index, bool loop) override;
  void StopSounds() override;
  void ClearSounds() override;
  void StopSystemSound() override;
  bool OpenMusic(const std::string& path) override;
  void SetMusicVolume(int volume) override;
  bool PlayMusic() override;
  bool MusicAtEnd() override;
  void CloseMusic() override;
  std::string WorkFolder() override { return workFolder; }
  std::string CommonSoundsFolder() override { return commonSounds; }
  std::string ExecutableFolder() override { return executableFolder; }

  // The lines recorded whose text starts with prefix.
  std::vector<std::string> Lines(const std::string& prefix) const;

  std::vector<std::string> log;
  std::vector<std::string> sounds;   // the loaded sound list
  std::set<std::string> failAdd;     // paths AddSound refuses
  std::set<std::string> failOpen;    // paths OpenMusic refuses
  bool atEnd = true;
  std::string openTrack;
  int soundVolume = 80;
  int musicVolume = -1;
  std::string workFolder;
  std::string commonSounds;
  std::string executableFolder;
};

}  // namespace kx
