#include "show/sound_slots.h"

#include <exception>
#include <utility>

#include "media/random.h"
#include "package/paths.h"
#include "platform/file_system.h"

namespace kx {

SoundSlotPlayer::SoundSlotPlayer(Audio* audio, std::string workFolder, std::function<void()> processMessages,
                                 Exists exists)
    : audio_(audio),
      work_folder_(std::move(workFolder)),
      process_messages_(std::move(processMessages)),
      exists_(exists ? std::move(exists) : Exists([](const std::string& p) { return fs::FileExists(p); })) {}

std::string SoundSlotPlayer::FindSoundFile(const std::string& soundFile) {
  if (soundFile.empty()) return "";
  if (exists_(soundFile)) return soundFile;
  const std::string name = FileNamePart(soundFile);
  if (name.empty()) return "";
  if (!work_folder_.empty() && exists_(work_folder_ + name)) return work_folder_ + name;
  if (!audio_) return "";
  auto inSounds = [&](const std::string& folder) {
    return folder + "sounds" + fs::SeparatorOf(folder) + name;
  };
  const std::string common = audio_->CommonSoundsFolder();
  if (!common.empty() && exists_(inSounds(common))) return inSounds(common);
  const std::string exe = audio_->ExecutableFolder();
  if (!exe.empty() && exists_(inSounds(exe))) return inSounds(exe);
  return "";
}

int64_t SoundSlotPlayer::DrawDelay(const TSoundSlot& slot) {
  if (slot.MaxSeconds <= slot.MinSeconds) return slot.MinSeconds;
  const int64_t range = static_cast<int64_t>(slot.MaxSeconds) - slot.MinSeconds;
  if (range > INT32_MAX) return slot.MinSeconds + static_cast<int64_t>(Random::Next(INT32_MAX));
  return slot.MinSeconds + static_cast<int64_t>(Random::Next(static_cast<int>(range)));
}

void SoundSlotPlayer::LoadSoundSlots(const TProject& record, uint32_t now) {
  slots_ = record.SoundSlots;
  count_ = record.FindFreeSoundSlot();
  states_ = {};
  for (int i = 0; i < count_; ++i) {
    SoundSlotState& st = states_[static_cast<size_t>(i)];
    const TSoundSlot& slot = slots_[static_cast<size_t>(i)];
    st.StartTick = now;
    const std::string path = FindSoundFile(slot.SoundFile);
    if (path.empty() || !audio_) continue;
    st.PlayerIndex = audio_->AddSound(path);
    if (st.PlayerIndex < 0) continue;
    st.Enabled = true;
    if (slot.PlayMode == 1)
      st.NextDelay = DrawDelay(slot);
    else if (slot.PlayMode == 2)
      st.NextDelay = slot.MinSeconds;
  }
}

void SoundSlotPlayer::TickSoundSlots(uint32_t now) {
  if (!audio_) return;
  try {
    for (int i = 0; i < count_; ++i) {
      SoundSlotState& st = states_[static_cast<size_t>(i)];
      const TSoundSlot& slot = slots_[static_cast<size_t>(i)];
      if (!st.Enabled) continue;
      // Unsigned difference: the tick count may wrap around.
      const int64_t elapsed = static_cast<int64_t>(static_cast<uint32_t>(now - st.StartTick) / 1000);
      bool played = false;
      switch (slot.PlayMode) {
        case 0:
          if (!st.Played) {
            st.Played = true;
            audio_->PlaySound(st.PlayerIndex, true);
            played = true;
          }
          break;
        case 1:
          if (elapsed >= st.NextDelay) {
            st.StartTick = now;
            st.NextDelay = DrawDelay(slot);
            audio_->PlaySound(st.PlayerIndex, false);
            played = true;
          }
          break;
        case 2:
          if (elapsed >= slot.MinSeconds) {
            st.StartTick = now;
            audio_->PlaySound(st.PlayerIndex, false);
            played = true;
          }
          break;
        default:
          break;
      }
      if (played && process_messages_) process_messages_();
    }
  } catch (const std::exception&) {
    // An error ends this tick's walk; the next tick tries again.
  }
}

void SoundSlotPlayer::StopSoundEffects() {
  count_ = 0;
  states_ = {};
  if (!audio_) return;
  audio_->StopSounds();
  audio_->ClearSounds();
}

}  // namespace kx
