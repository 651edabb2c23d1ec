// Background music of the show: a list of tracks played one after the other through the
// audio device, in list order or shuffled, from the start of the show to its end. The
// music does not stop when pictures change.
#pragma once

#include <string>
#include <vector>

#include "package/project.h"
#include "platform/audio.h"

namespace kx {

// The tracks of a MusicFile text: names separated by ";" (empty items skipped); a name
// without a folder part lives in the working folder.
std::vector<std::string> BuildMusicList(const std::string& musicFile, const std::string& workFolder);

// The track after `current` (-1 before the first), as NextListIndex picks it.
int NextMusicIndex(int current, int count, bool inOrder);

class MusicPlayer {
 public:
  // Starts the music when the project's Music is on and its MusicFile names a track. A
  // first track that cannot be opened or played means no music, silently. `audio` may be
  // null (no music).
  void Start(const TKXCSetting& setting, const std::string& workFolder, Audio* audio);
  // The device's notification: when the track has ended, the next track plays. A track
  // that cannot be opened is skipped; when no track of the list opens the music stops.
  void Notify();
  // Closes the device and forgets the list (the end of the show).
  void Stop();

  bool On() const { return on_; }
  int Index() const { return index_; }
  const std::vector<std::string>& List() const { return list_; }

 private:
  bool OpenAndPlay(const std::string& path);

  Audio* audio_ = nullptr;
  bool on_ = false;
  bool in_order_ = false;
  int index_ = -1;
  int volume_ = 100;
  std::vector<std::string> list_;
};

}  // namespace kx
