#include "show/show_session.h"

#include <cstdlib>
#include <stdexcept>

#include "anim/anim_engine.h"
#include "anim/anim_objects.h"
#include "media/worker_pool.h"
#include "effects/transition.h"
#include "media/picture_decoder.h"
#include "media/random.h"
#include "package/paths.h"
#include "platform/file_system.h"
#include "show/fitting.h"
#include "show/next_index.h"

namespace kx {

namespace {
constexpr int kStepMs = 33;
constexpr int kVkF1 = 0x70;
}  // namespace

ShowInputState& ProcessInputState() {
  static ShowInputState state;
  return state;
}

bool PrepareShowProject(TKXCProject& project, const UserSettingsLocation& settings) {
  if (project.FileList.Names.empty()) return false;
  project.FileList.Flags.assign(project.FileList.Names.size(), "TRUE");
  ReadUserSettings(project, settings);
  return true;
}

TKXCProject SinglePictureProject(const TKXCProject& from, const std::string& picturePath) {
  TKXCProject p;
  p.FileList.Names = {picturePath};
  p.FileList.Flags = {"TRUE"};
  p.Setting.Stretch = from.Setting.Stretch;
  p.Setting.Proportional = from.Setting.Proportional;
  p.Setting.DirectX = from.Setting.DirectX;
  p.Setting.DirectXQuality = from.Setting.DirectXQuality;
  p.Setting.Speed = from.Setting.Speed;
  p.Setting.Sound = true;
  p.Setting.Music = false;
  return p;
}

ShowSession::ShowSession(TKXCProject& project, ShowHost& host)
    : project_(project), host_(host), pool_(std::make_unique<WorkerPool>(WorkerPool::DefaultThreads())) {}

ShowSession::~ShowSession() = default;

bool ShowSession::FormShow(bool seedRandom) {
  ShowInputState& input = ProcessInputState();
  StartSound();
  frame_bitmap_.SetSize(0, 0);
  input.F1Toggle = false;
  if (seedRandom) Random::Seed(host_.TickCount());
  input.HasLastMouse = false;
  screen_.SetSize(host_.ScreenWidth(), host_.ScreenHeight());
  screen_.Fill(MakePixel(0, 0, 0));
  still_in_shadow_ = false;

  const TKXCFileList& files = project_.FileList;
  show_list_.clear();
  for (size_t i = 0; i < files.Names.size(); ++i)
    if (i < files.Flags.size() && files.Flags[i] == "TRUE") show_list_.push_back(files.Names[i]);

  const TKXCSetting& s = project_.Setting;
  use_directx_ = s.DirectX && host_.StartDirectDraw();

  if (show_list_.empty()) {
    host_.ShowError("Unable to run screensaver.\r\nPlease configure!");
    music_.Start(project_.Setting, sounds_->WorkFolder(), host_.GetAudio());
    last_frame_tick_ = host_.TickCount();
    return false;
  }
  stretch_ = s.Stretch;
  auto_advance_ = s.Random;
  duration_ = s.Duration;
  speed_ = s.Speed;
  show_image_mode_ = s.ShowImageMode;
  transition_on_ = s.Transition;
  transition_time_ = s.TransitionTime;
  sound_on_ = s.Sound;
  transition_list_ = BuildTransitionList(s.TransitionEffects);
  show_index_ = NextPictureIndex(-1);
  next_file_ = show_list_[show_index_];
  proportional_ = s.Proportional;
  music_.Start(s, sounds_->WorkFolder(), host_.GetAudio());

  current_duration_ = duration_;
  last_change_tick_ = host_.TickCount();
  failed_in_row_ = 0;
  pick_now_ = false;
  bool loaded = false;
  try {
    loaded = LoadCurrentPicture();
  } catch (const std::exception&) {
  }
  // A first picture that cannot be loaded is skipped like any other: the window stays
  // black and usable, and the first step picks another picture.
  if (!loaded) PictureFailed();
  running_ = true;
  host_.SetCursorVisible(false);
  last_frame_tick_ = host_.TickCount();
  return true;
}

int ShowSession::NextPictureIndex(int current) const {
  const bool inOrder = show_image_mode_ == 1 || show_image_mode_ == 3;
  return NextListIndex(current, static_cast<int>(show_list_.size()), inOrder);
}

void ShowSession::ShowIdle() {
  if (!running_) return;
  try {
    if (sound_on_) sounds_->TickSoundSlots(host_.TickCount());
    if (InTransition()) {
      // A transition stepped by the host: the frame that is due, if any, and the step
      // returns so that the other shows of the run go on meanwhile.
      if (!AdvanceTransition() && InTransition()) host_.Sleep(1);
      if (InTransition()) return;
      failed_in_row_ = 0;
      last_change_tick_ = host_.TickCount();
    }
    // While no picture could be loaded yet, pictures are picked even with AutoAdvance off.
    const bool advancing = auto_advance_ || loaded_file_.empty();
    if (advancing || pick_now_) {
      const uint32_t now = host_.TickCount();
      if (pick_now_ || static_cast<int64_t>((now - last_change_tick_) / 1000) >= current_duration_) {
        pick_now_ = false;
        current_duration_ = duration_;
        show_index_ = NextPictureIndex(show_index_);
        next_file_ = show_list_[show_index_];
        bool changed = true;
        if (next_file_ != loaded_file_) {
          bool loaded = false;
          try {
            loaded = LoadCurrentPicture();
          } catch (const std::exception&) {
          }
          if (!loaded) {
            // Skipped: nothing on the screen changes and Duration does not start again,
            // so the next step picks another picture.
            PictureFailed();
            changed = false;
          } else if (transition_on_) {
            if (!stepped_transitions_) RunTransition(transition_time_);
            else if (BeginTransition(transition_time_)) return;  // the next steps draw its frames
          } else {
            host_.FillBlack();
            screen_.Fill(MakePixel(0, 0, 0));
            still_in_shadow_ = false;
          }
        }
        if (changed) {
          failed_in_row_ = 0;
          last_change_tick_ = host_.TickCount();
        }
      }
    }
    if (!is_still_ && anim_engine_) anim_engine_->Step();
    DrawShowFrame();
  } catch (const std::exception&) {
    // A step that fails is skipped; the show goes on.
  }
}

const Bitmap32* ShowSession::CurrentOutput() const {
  if (is_still_) return &frame_bitmap_;
  return anim_engine_ ? &anim_engine_->Output() : &living_.Picture;
}

void ShowSession::Offset(int width, int height, int& x, int& y) const {
  x = y = 0;
  if (!stretch_ || (stretch_ && proportional_)) {
    x = (host_.ScreenWidth() - width) / 2;
    y = (host_.ScreenHeight() - height) / 2;
  }
}

void ShowSession::PictureFailed() {
  ++loads_failed_;
  // When every picture of the list has failed one after the other, the show waits one
  // Duration before it tries again instead of loading pictures on every step.
  if (++failed_in_row_ >= show_list_.size()) {
    failed_in_row_ = 0;
    last_change_tick_ = host_.TickCount();
    pick_now_ = false;
    return;
  }
  pick_now_ = true;
}

void ShowSession::SwitchToCanvas() {
  // Presenting through the surface failed: the rest of the show draws on the window's
  // canvas, with the current picture fitted again for it.
  use_directx_ = false;
  still_in_shadow_ = false;
  screen_.Fill(MakePixel(0, 0, 0));
  host_.FillBlack();
  if (loaded_file_.empty()) return;
  next_file_ = loaded_file_;
  try {
    LoadCurrentPicture();
  } catch (const std::exception&) {
  }
}

void ShowSession::DrawShowFrame() {
  if (use_directx_ && host_.DirectDrawFailed()) SwitchToCanvas();
  int x, y;
  Offset(draw_width_, draw_height_, x, y);
  const Bitmap32* source = CurrentOutput();
  if (source && !source->Empty()) {
    // A still picture that the last step copied into the shadow, at the same place, is
    // still there when nothing else has written to the shadow since: the copy is skipped,
    // and the surface presents it only again when it lost it. The canvas is drawn on
    // every step. A living picture changes in place and is copied on every step.
    const bool current = is_still_ && still_in_shadow_ && x == still_x_ && y == still_y_;
    if (use_directx_) {
      if (!current || host_.SurfaceLost()) host_.DrawToSurface(*source);
    } else {
      host_.DrawToWindow(*source, x, y);
    }
    if (!current) {
      if (use_directx_)
        surface_.Assign(*source);
      else
        screen_.CopyRect(*source, source->BoundsRect(), x, y);
    }
    still_in_shadow_ = is_still_;
    still_x_ = x;
    still_y_ = y;
  }
  const uint32_t now = host_.TickCount();
  const int wait = static_cast<int>(last_frame_tick_ - now) + kStepMs;
  if (wait > 0) host_.Sleep(wait);
  last_frame_tick_ = host_.TickCount();
}

bool ShowSession::LoadCurrentPicture() {
  // Everything is loaded and fitted aside first: a picture that fails changes nothing,
  // neither the kind of picture drawn nor what the screen shows.
  const Size screen{host_.ScreenWidth(), host_.ScreenHeight()};
  const int quality = project_.Setting.DirectXQuality;
  if (IsStillPicturePath(next_file_)) {
    std::string error;
    Bitmap32 fitted;
    int pw = 0, ph = 0;
    StillFit fit;
    auto fitter = [&](int w, int h, int& fw, int& fh) {
      fit = FitStillPicture({w, h}, screen, use_directx_, quality, stretch_, proportional_);
      Size target = fit.frame;
      // A DirectDraw quality outside the table keeps the size FrameBitmap already had.
      if (use_directx_ && target.width == 0)
        target = frame_bitmap_.Empty() ? Size{w, h} : Size{frame_bitmap_.Width(), frame_bitmap_.Height()};
      if (target.width <= 0 || target.height <= 0) return false;
      fw = target.width;
      fh = target.height;
      return true;
    };
    if (!LoadPictureFileFitted(next_file_, fitter, StretchFilter::Lanczos, fitted, error, &pw, &ph))
      return false;
    // A living picture shown before stops: its objects' workers end with it.
    if (anim_engine_) anim_engine_->Detach();
    anim_objects_.reset();
    is_still_ = true;
    still_in_shadow_ = false;  // the picture and the place it is drawn at may change
    frame_bitmap_ = std::move(fitted);
    draw_width_ = fit.draw.width;
    draw_height_ = fit.draw.height;
    StopSoundEffects();  // a still picture has no sounds
    loaded_file_ = next_file_;
    return true;
  }
  // A picture file named in the list but missing from the working folder is skipped.
  if (!fs::FileExists(next_file_)) return false;
  TProject record;
  if (!record.LoadFromFile(next_file_)) return false;
  record.SetAnimSpeed(speed_);
  // Objects are placed in the picture's own coordinates, the size it has in its file.
  const int file_width = record.PictureWidth, file_height = record.PictureHeight;
  int draw_width = record.Picture.Width();
  int draw_height = record.Picture.Height();
  if (use_directx_) {
    draw_width = screen.width;
    draw_height = screen.height;
    const Size q = DirectXQualitySize(quality);
    if (q.width > 0) ResizeLivingPicture(proportional_, record, q.width, q.height);
  }
  if (stretch_ && !use_directx_) {
    ResizeLivingPicture(proportional_, record, screen.width, screen.height);
    draw_width = record.Picture.Width();
    draw_height = record.Picture.Height();
  }
  if (record.Picture.Empty()) return false;
  auto objects = std::make_unique<TAnimObjects>();
  objects->LoadFromText(record.AnimText);
  objects->ResolvePaths(FolderPart(next_file_));
  if (anim_engine_) anim_engine_->Detach();  // the previous picture's objects stop first
  is_still_ = false;
  still_in_shadow_ = false;
  draw_width_ = draw_width;
  draw_height_ = draw_height;
  living_ = std::move(record);
  loaded_file_ = next_file_;
  // The animation: objects from the record's text, their images in the picture's folder.
  if (!anim_engine_) {
    anim_engine_ = std::make_unique<TAnimEngine>();
    anim_engine_->SharePool(pool_.get());
  }
  anim_engine_->SetClock([this] { return host_.TickCount(); });
  anim_objects_ = std::move(objects);
  anim_engine_->Attach(living_, anim_objects_.get(), file_width, file_height);
  anim_engine_->SetWeather(false);
  anim_engine_->Prepare();
  anim_engine_->SetWeather(living_.Weather.Kind > 0);
  // The picture's sounds start once it is ready to be shown.
  if (sound_on_) {
    StopSoundEffects();
    sounds_->LoadSoundSlots(living_, host_.TickCount());
    sounds_->TickSoundSlots(host_.TickCount());
  }
  return true;
}

void ShowSession::ShowTransitionFrame(int effect, int percent) {
  // The frame is drawn straight into the shadow (it takes old_bitmap_'s size), which is
  // then shown whole.
  Bitmap32& shown = use_directx_ ? surface_ : screen_;
  TransitionFrame(shown, old_bitmap_, new_bitmap_, effect, percent, pool_.get());
  still_in_shadow_ = false;
  if (use_directx_)
    host_.DrawToSurface(shown);
  else
    host_.DrawToWindow(shown, 0, 0);
}

bool ShowSession::BeginTransition(int time) {
  host_.ProcessMessages();
  int x = 0, y = 0;
  if (use_directx_) {
    const Bitmap32& s = surface_;
    const int w = s.Empty() ? 800 : s.Width(), h = s.Empty() ? 600 : s.Height();
    old_bitmap_.SetSize(w, h);
    new_bitmap_.SetSize(w, h);
    host_.ProcessMessages();
    if (!s.Empty()) old_bitmap_.CopyRect(s, s.BoundsRect(), 0, 0);
    new_bitmap_.Fill(MakePixel(0, 0, 0));
  } else {
    new_bitmap_.SetSize(screen_.Width(), screen_.Height());
    host_.ProcessMessages();
    new_bitmap_.Fill(MakePixel(0, 0, 0));
    const Bitmap32* out = is_still_ ? &frame_bitmap_ : &living_.Picture;
    Offset(out->Width(), out->Height(), x, y);
    old_bitmap_.Assign(screen_);
  }
  host_.ProcessMessages();
  // A living picture moves one step first, so frame 0 already shows a composed frame;
  // the transition's time starts before that step.
  const bool living = !is_still_ && anim_engine_;
  uint32_t t0 = host_.TickCount();
  if (living) anim_engine_->Step();
  const Bitmap32* out = CurrentOutput();
  new_bitmap_.CopyRect(*out, out->BoundsRect(), x, y);
  if (!living) t0 = host_.TickCount();
  const int effect = ChooseEffect(transition_list_);
  if (effect == 0) return false;  // an entry that is not a number: no transition this time
  last_effect_ = effect;
  ++transitions_run_;
  last_frame_count_ = 0;
  transition_effect_ = effect;
  transition_x_ = x;
  transition_y_ = y;
  timer_.Start(t0, time);
  return true;
}

bool ShowSession::AdvanceTransition() {
  if (!timer_.Active()) return false;
  if (use_directx_ && host_.DirectDrawFailed()) {
    timer_ = TransitionTimer();  // the next step draws through the canvas
    return false;
  }
  const int percent = timer_.Next(host_.TickCount());
  if (percent < 0) return false;
  if (percent > 0 && !is_still_ && anim_engine_) {  // a living picture moves on during the transition
    anim_engine_->Step();
    const Bitmap32& frame = anim_engine_->Output();
    new_bitmap_.CopyRect(frame, frame.BoundsRect(), transition_x_, transition_y_);
  }
  ShowTransitionFrame(transition_effect_, percent);
  timer_.FrameShown(host_.TickCount());
  last_frame_count_ = timer_.Frames();
  return true;
}

void ShowSession::RunTransition(int time) {
  if (!BeginTransition(time)) return;
  while (InTransition()) {
    // No frame is due while progress would not grow: wait a millisecond.
    if (!AdvanceTransition() && InTransition()) host_.Sleep(1);
    host_.ProcessMessages();
  }
}

bool MouseMoveEndsShow(ShowInputState& in, int x, int y) {
  if (in.MouseIgnoreCount > 0) {
    --in.MouseIgnoreCount;
    return false;
  }
  if (!in.HasLastMouse) {
    in.HasLastMouse = true;
    in.LastMouseX = x;
    in.LastMouseY = y;
  }
  const bool ends = std::abs(x - in.LastMouseX) > 2 || std::abs(y - in.LastMouseY) > 2;
  in.LastMouseX = x;
  in.LastMouseY = y;
  return ends;
}

void ShowSession::MouseMove(int x, int y) {
  if (MouseMoveEndsShow(ProcessInputState(), x, y)) host_.RequestClose();
}

void ShowSession::MouseDown() { host_.RequestClose(); }

void ShowSession::KeyPress(char) { host_.RequestClose(); }

void ShowSession::KeyDown(int virtualKey) {
  if (virtualKey != kVkF1) return;
  ShowInputState& in = ProcessInputState();
  in.F1Toggle = !in.F1Toggle;
  // Every second F1 resets a living picture's animation to its unanimated picture; a
  // still picture has nothing to reset.
  if (!in.F1Toggle && !is_still_ && anim_engine_) anim_engine_->ResetFrame();
}

bool ShowSession::CloseQuery() {
  ProcessInputState().MouseIgnoreCount = 5;
  return host_.PasswordAllowsClose();
}

void ShowSession::FormClose() {
  anim_engine_.reset();  // stops the objects, which go next, before their picture
  anim_objects_.reset();
  living_ = TProject();
  host_.SetCursorVisible(true);
  if (Audio* audio = host_.GetAudio()) audio->StopSystemSound();
  running_ = false;
  show_list_.clear();
  frame_bitmap_.SetSize(0, 0);
  old_bitmap_.SetSize(0, 0);
  new_bitmap_.SetSize(0, 0);
  still_in_shadow_ = false;
  StopSoundEffects();
  music_.Stop();
  transition_list_.clear();
}

void ShowSession::StartSound() {
  // The sound effect player lives from the start of the show to its close.
  Audio* audio = host_.GetAudio();
  sounds_ = std::make_unique<SoundSlotPlayer>(audio, audio ? audio->WorkFolder() : std::string(),
                                              [this] { host_.ProcessMessages(); });
  if (audio) audio->SetSoundVolume(project_.Setting.SoundVolume);
}

void ShowSession::StopSoundEffects() {
  if (sounds_) sounds_->StopSoundEffects();
}

void ShowSession::MusicNotify() { music_.Notify(); }

}  // namespace kx
