// The show's sound on Windows: sound effects mixed by DirectSound in eight buffers (WAVE
// files, PCM 8 or 16 bits, mono or stereo, any rate), falling back to the system sound
// call (one sound at a time, only the first loaded one) when DirectSound cannot start;
// music through the MCI media device, which posts MM_MCINOTIFY to the show window when a
// track ends.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/audio.h"
#include "show/mci_commands.h"

struct IDirectSound8;
struct IDirectSoundBuffer;

namespace kx::win32 {

class Win32Audio final : public Audio {
 public:
  Win32Audio(HWND window, std::string workFolder, std::string executableFolder);
  ~Win32Audio() override;
  Win32Audio(const Win32Audio&) = delete;
  Win32Audio& operator=(const Win32Audio&) = delete;

  // 0: DirectSound mixes; 2: the system sound call plays the first sound only.
  int Mode() const { return mode_; }
  // The notification code of the MM_MCINOTIFY message being handled.
  void SetNotifyCode(WPARAM code) { notify_code_ = code; }

  void SetSoundVolume(int volume) override { volume_ = volume; }
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

  std::string WorkFolder() override { return work_folder_; }
  std::string CommonSoundsFolder() override;
  std::string ExecutableFolder() override { return executable_folder_; }

 private:
  static constexpr int kBuffers = 8;
  bool LoadBuffer(int index, const std::string& path);

  HWND window_;
  std::string work_folder_, executable_folder_;
  IDirectSound8* device_ = nullptr;
  IDirectSoundBuffer* buffers_[kBuffers] = {};
  std::vector<std::string> list_;
  int mode_ = 3;
  int volume_ = 80;
  MciMusicDevice music_;
  WPARAM notify_code_ = 0;
};

}  // namespace kx::win32
