// The sound effects of a living picture: up to eight slots, each a sound file with a play
// rule, started on the show's idle ticks.
//   mode 0  started once as soon as the picture is shown, looping until stopped
//   mode 1  played once each time a random delay (MinSeconds inclusive to MaxSeconds
//           exclusive) has passed; the delay is drawn again after each play
//   mode 2  played once every MinSeconds
//   other   never played
// A slot plays its own sound: when an earlier slot's file was not found, the later slots
// still play the files they name.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "package/picture_record.h"
#include "platform/audio.h"

namespace kx {

struct SoundSlotState {
  bool Enabled = false;   // the file was found and loaded
  bool Played = false;    // a mode-0 slot has been started
  uint32_t StartTick = 0; // when the current delay began (milliseconds)
  int64_t NextDelay = 0;  // seconds to wait in mode 1
  int PlayerIndex = -1;   // the slot's sound in the player
};

// Where a slot's sound file is looked for.
struct SoundPlaces {
  std::string WorkFolder;
  std::string CommonSoundsFolder;  // computed only when the first two places fail
  std::string ExecutableFolder;
};

class SoundSlotPlayer {
 public:
  using Exists = std::function<bool(const std::string&)>;

  // `audio` may be null (no sound); `exists` defaults to the file system;
  // `processMessages` runs after each play.
  SoundSlotPlayer(Audio* audio, std::string workFolder, std::function<void()> processMessages = {},
                  Exists exists = {});

  // The first existing file of: the slot's path; the working folder + its file name;
  // the shared sounds folder + "sounds" + its file name; the saver's folder + "sounds" +
  // its file name. "" when none exists.
  std::string FindSoundFile(const std::string& soundFile);

  // Loads the slots in use of a picture record (the leading slots with a file).
  void LoadSoundSlots(const TProject& record, uint32_t now);
  // Starts the sounds that are due.
  void TickSoundSlots(uint32_t now);
  // Stops every sound and forgets the loaded ones.
  void StopSoundEffects();

  int SlotCount() const { return count_; }
  const std::string& WorkFolder() const { return work_folder_; }
  const SoundSlotState& State(int slot) const { return states_[static_cast<size_t>(slot)]; }

 private:
  static int64_t DrawDelay(const TSoundSlot& slot);

  Audio* audio_;
  std::string work_folder_;
  std::function<void()> process_messages_;
  Exists exists_;
  TSoundSlots slots_{};
  std::array<SoundSlotState, 8> states_{};
  int count_ = 0;
};

}  // namespace kx
