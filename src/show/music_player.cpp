#include "show/music_player.h"

#include "package/paths.h"
#include "show/next_index.h"

namespace kx {

std::vector<std::string> BuildMusicList(const std::string& musicFile, const std::string& workFolder) {
  std::vector<std::string> list;
  size_t start = 0;
  while (start <= musicFile.size()) {
    size_t end = musicFile.find(';', start);
    if (end == std::string::npos) end = musicFile.size();
    const std::string item = musicFile.substr(start, end - start);
    if (!item.empty()) list.push_back(FolderPart(item).empty() ? workFolder + item : item);
    start = end + 1;
  }
  return list;
}

int NextMusicIndex(int current, int count, bool inOrder) {
  return NextListIndex(current, count, inOrder);
}

void MusicPlayer::Start(const TKXCSetting& setting, const std::string& workFolder, Audio* audio) {
  audio_ = audio;
  on_ = setting.Music && !setting.MusicFile.empty() && audio_ != nullptr;
  if (!on_) return;
  list_ = BuildMusicList(setting.MusicFile, workFolder);
  in_order_ = setting.MusicMode != 0;
  volume_ = setting.MusicVolume;
  index_ = NextMusicIndex(-1, static_cast<int>(list_.size()), in_order_);
  if (list_.empty() || !OpenAndPlay(list_[static_cast<size_t>(index_)])) {
    // No music, silently; the list stays for the record but nothing plays.
    audio_->CloseMusic();
    on_ = false;
  }
}

bool MusicPlayer::OpenAndPlay(const std::string& path) {
  if (!audio_->OpenMusic(path)) return false;
  audio_->SetMusicVolume(volume_ * 10);  // devices without a volume control keep theirs
  return audio_->PlayMusic();
}

void MusicPlayer::Notify() {
  if (!on_ || list_.empty() || !audio_->MusicAtEnd()) return;
  // A track that cannot be opened is skipped. Once every track of the list has failed
  // the music ends instead of spinning (shuffled picks are bounded as well).
  const int count = static_cast<int>(list_.size());
  std::vector<bool> failed(static_cast<size_t>(count), false);
  int failedCount = 0;
  for (int tries = 0; failedCount < count && tries < count * 16; ++tries) {
    index_ = NextMusicIndex(index_, count, in_order_);
    audio_->CloseMusic();
    if (OpenAndPlay(list_[static_cast<size_t>(index_)])) return;
    if (!failed[static_cast<size_t>(index_)]) {
      failed[static_cast<size_t>(index_)] = true;
      ++failedCount;
    }
  }
  audio_->CloseMusic();
  on_ = false;
}

void MusicPlayer::Stop() {
  if (on_ && audio_) audio_->CloseMusic();
  on_ = false;
  list_.clear();
  index_ = -1;
}

}  // namespace kx
