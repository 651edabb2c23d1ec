#include "win32/audio_win32.h"

#include "win32/win32_system.h"

#include <mmsystem.h>
#include <dsound.h>

#include <cstring>

#include "package/paths.h"
#include "platform/file_system.h"
#include "show/sound_wave.h"

namespace kx::win32 {

namespace {
constexpr uint64_t kMaxSoundBytes = UINT64_C(256) << 20;

// One MCI command string to the music device; `notify` sends MM_MCINOTIFY to the window.
int SendMci(HWND window, const std::string& command, bool notify, std::string& reply) {
  char text[128] = {};
  const MCIERROR e = mciSendStringA(command.c_str(), text, sizeof text, notify ? window : nullptr);
  reply = e == 0 ? std::string(text) : std::string();
  return static_cast<int>(e);
}
}  // namespace

Win32Audio::Win32Audio(HWND window, std::string workFolder, std::string executableFolder)
    : window_(window),
      work_folder_(std::move(workFolder)),
      executable_folder_(std::move(executableFolder)),
      music_([window](const std::string& c, bool notify, std::string& reply) { return SendMci(window, c, notify, reply); }) {
  // One DirectSound device feeds the eight buffers; the buffers use global focus so the
  // sounds go on when the window is not active. Without a device the system sound call
  // plays instead.
  mode_ = 2;
  if (SUCCEEDED(DirectSoundCreate8(nullptr, &device_, nullptr)) && device_) {
    if (SUCCEEDED(device_->SetCooperativeLevel(window_, DSSCL_PRIORITY))) {
      mode_ = 0;
    } else {
      device_->Release();
      device_ = nullptr;
    }
  } else {
    device_ = nullptr;
  }
}

Win32Audio::~Win32Audio() {
  list_.clear();
  StopSounds();
  CloseMusic();
  for (int i = kBuffers - 1; i >= 0; --i)
    if (buffers_[i]) buffers_[i]->Release();
  if (device_) device_->Release();
}

bool Win32Audio::LoadBuffer(int index, const std::string& path) {
  std::string bytes;
  if (!fs::ReadFile(path, bytes, kMaxSoundBytes)) return false;
  WaveSound wave;
  std::string error;
  if (!ParseWaveSound(bytes, wave, error)) return false;
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = static_cast<WORD>(wave.Channels);
  format.nSamplesPerSec = static_cast<DWORD>(wave.SampleRate);
  format.wBitsPerSample = static_cast<WORD>(wave.BitsPerSample);
  format.nBlockAlign = static_cast<WORD>(wave.BlockAlign);
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  DSBUFFERDESC desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DSBCAPS_GLOBALFOCUS | DSBCAPS_CTRLVOLUME | DSBCAPS_GETCURRENTPOSITION2;
  desc.dwBufferBytes = static_cast<DWORD>(wave.DataSize);
  desc.lpwfxFormat = &format;
  if (wave.DataSize < DSBSIZE_MIN || wave.DataSize > DSBSIZE_MAX) return false;
  IDirectSoundBuffer* buffer = nullptr;
  if (FAILED(device_->CreateSoundBuffer(&desc, &buffer, nullptr)) || !buffer) return false;
  void* p1 = nullptr;
  void* p2 = nullptr;
  DWORD n1 = 0, n2 = 0;
  if (FAILED(buffer->Lock(0, desc.dwBufferBytes, &p1, &n1, &p2, &n2, 0))) {
    buffer->Release();
    return false;
  }
  const char* data = bytes.data() + wave.DataOffset;
  std::memcpy(p1, data, n1);
  if (p2 && n2) std::memcpy(p2, data + n1, n2);
  buffer->Unlock(p1, n1, p2, n2);
  if (buffers_[index]) {
    buffers_[index]->Stop();
    buffers_[index]->Release();
  }
  buffers_[index] = buffer;
  return true;
}

int Win32Audio::AddSound(const std::string& path) {
  const int index = static_cast<int>(list_.size());
  if (index >= kBuffers) return -1;
  if (mode_ == 0 && !LoadBuffer(index, path)) return -1;
  list_.push_back(path);
  return index;
}

void Win32Audio::PlaySound(int index, bool loop) {
  if (index < 0 || index >= static_cast<int>(list_.size())) return;
  if (mode_ == 0) {
    IDirectSoundBuffer* b = buffers_[index];
    if (!b) return;
    b->SetVolume(SoundBufferVolume(volume_));
    if (!loop) b->SetCurrentPosition(0);  // a one-shot sound starts again from its beginning
    b->Play(0, 0, loop ? DSBPLAY_LOOPING : 0);
  } else if (mode_ == 2 && index == 0) {
    // The system sound call opens the sound by its path: a packed sound is written once.
    fs::EnsureOnDisk(list_[0]);
    sndPlaySoundA(list_[0].c_str(), SND_ASYNC | SND_NODEFAULT | (loop ? SND_LOOP : 0));
  }
}

void Win32Audio::StopSounds() {
  if (mode_ == 0) {
    for (IDirectSoundBuffer* b : buffers_)
      if (b) b->Stop();
  } else if (mode_ == 2) {
    sndPlaySoundA(nullptr, 0);
  }
}

void Win32Audio::ClearSounds() { list_.clear(); }

void Win32Audio::StopSystemSound() { sndPlaySoundA(nullptr, 0); }

bool Win32Audio::OpenMusic(const std::string& path) {
  // The media player opens the music by its path: a packed file is written once.
  fs::EnsureOnDisk(path);
  return music_.Open(path);
}

void Win32Audio::SetMusicVolume(int volume) { music_.SetVolume(volume); }

bool Win32Audio::PlayMusic() {
  notify_code_ = 0;
  return music_.Play();
}

bool Win32Audio::MusicAtEnd() { return music_.AtEnd(notify_code_ == MCI_NOTIFY_SUCCESSFUL); }

void Win32Audio::CloseMusic() { music_.Close(); }

std::string Win32Audio::CommonSoundsFolder() {
  bool from_registry = false;
  const std::string folder = SharedCommonFolder(executable_folder_, &from_registry);
  if (!from_registry) MessageBoxA(window_, folder.c_str(), "", MB_OK);
  return folder;
}

}  // namespace kx::win32
