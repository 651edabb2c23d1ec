// The show: the state and the steps of the full-screen show window, independent of the
// window system. The host owns the clock and the screen; the session decides what is
// drawn when. One step (ShowIdle) runs at most every 33 milliseconds: it changes the
// picture when its Duration is up (with a transition), and presents the current frame.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "media/bitmap32.h"
#include "package/picture_record.h"
#include "package/project.h"
#include "package/user_settings.h"
#include "show/music_player.h"
#include "show/show_host.h"
#include "show/sound_slots.h"
#include "show/transition_timer.h"

namespace kx {

class TAnimEngine;
class WorkerPool;
class TAnimObjects;

// Input state shared by every show window of the process. Mouse positions are in
// virtual-screen coordinates, which may be negative (a monitor left of the primary one),
// so "no position yet" is a flag of its own.
struct ShowInputState {
  int MouseIgnoreCount = 5;
  bool HasLastMouse = false;
  int LastMouseX = 0;
  int LastMouseY = 0;
  bool F1Toggle = false;
};
ShowInputState& ProcessInputState();
// The mouse rule: the first five moves are ignored, the first counted one only records the
// position, and a move of more than 2 pixels on either axis from the last counted one ends
// the show (true).
bool MouseMoveEndsShow(ShowInputState& input, int x, int y);

// Marks every picture selected and lays the user's settings over the project. False when
// the project has no picture at all (the show then reports it and does not start).
bool PrepareShowProject(TKXCProject& project, const UserSettingsLocation& settings);

// The temporary one-picture project of the configuration window's preview button.
TKXCProject SinglePictureProject(const TKXCProject& from, const std::string& picturePath);

class ShowSession {
 public:
  ShowSession(TKXCProject& project, ShowHost& host);
  ~ShowSession();

  // Starts the show: picture list, drawing path, first picture. False when no picture is
  // selected (the host has been told "Unable to run screensaver..." and the window stays
  // black until it is closed). The random generator is seeded from the clock, unless
  // another show of the same run (on another monitor) has seeded it: all then draw from
  // one generator in turn.
  bool FormShow(bool seedRandom = true);
  // One step of the show; every error inside it is swallowed.
  void ShowIdle();
  void FormClose();

  // Input. Each may ask the host to close.
  void MouseMove(int x, int y);
  void MouseDown();
  void KeyPress(char c);
  void KeyDown(int virtualKey);
  // Asked before every close: true lets the window close.
  bool CloseQuery();
  // The music device's notification (a track ended, or a command was cut short).
  void MusicNotify();

  int NextPictureIndex(int current) const;

  // A transition from what the screen shows to the loaded picture, in steps that the
  // caller drives: BeginTransition prepares the pictures and the effect (false when no
  // transition runs), each AdvanceTransition draws the frame that is due by the clock, if
  // any (true when it drew one), and InTransition stays true until the last frame, at
  // progress 100, has been drawn. RunTransition is the loop over them.
  bool BeginTransition(int time);
  bool AdvanceTransition();
  bool InTransition() const { return timer_.Active(); }
  void RunTransition(int time);
  // With stepped transitions on, ShowIdle begins a transition and returns, and each later
  // ShowIdle draws its next frame: several shows in one loop (one per monitor) then never
  // wait for each other's transitions. Off, ShowIdle runs a transition to its end.
  void SetSteppedTransitions(bool on) { stepped_transitions_ = on; }

  // State, for the host and for tests.
  const std::vector<std::string>& ShowList() const { return show_list_; }
  const std::string& LoadedFile() const { return loaded_file_; }
  const std::string& NextFile() const { return next_file_; }
  int DrawWidth() const { return draw_width_; }
  int DrawHeight() const { return draw_height_; }
  bool UseDirectX() const { return use_directx_; }
  bool IsStillPicture() const { return is_still_; }
  const Bitmap32& FrameBitmap() const { return frame_bitmap_; }
  const std::vector<int>& TransitionList() const { return transition_list_; }
  // What the screen shows now (the canvas, or the DirectDraw surface at its own size).
  const Bitmap32& Screen() const { return use_directx_ ? surface_ : screen_; }
  int TransitionsRun() const { return transitions_run_; }
  int LastEffect() const { return last_effect_; }
  // Frames drawn after frame 0 by the last transition.
  int LastFrameCount() const { return last_frame_count_; }
  // The new picture of the transition under way, as its frames read it.
  const Bitmap32& TransitionNewBitmap() const { return new_bitmap_; }
  // Pictures that could not be loaded since the show started.
  int LoadsFailed() const { return loads_failed_; }
  const MusicPlayer& Music() const { return music_; }
  const SoundSlotPlayer* SoundSlots() const { return sounds_.get(); }

 private:
  // Loads NextFile; false (and nothing changed) when it cannot be loaded.
  bool LoadCurrentPicture();
  void PictureFailed();
  void DrawShowFrame();
  void SwitchToCanvas();
  void ShowTransitionFrame(int effect, int percent);
  const Bitmap32* CurrentOutput() const;
  void Offset(int width, int height, int& x, int& y) const;
  void StartSound();
  void StopSoundEffects();

  TKXCProject& project_;
  ShowHost& host_;
  TProject living_;
  std::vector<std::string> show_list_;
  int draw_width_ = 0, draw_height_ = 0;
  bool use_directx_ = false;
  bool is_still_ = true;
  Bitmap32 frame_bitmap_;
  Bitmap32 old_bitmap_, new_bitmap_;
  std::vector<int> transition_list_;
  int transition_time_ = 2000;
  bool proportional_ = true, stretch_ = true, auto_advance_ = true;
  int duration_ = 30, speed_ = 100, show_image_mode_ = 0;
  bool transition_on_ = true, sound_on_ = true;
  std::string next_file_, loaded_file_;
  int show_index_ = 0;
  int current_duration_ = 30;
  uint32_t last_change_tick_ = 0, last_frame_tick_ = 0;
  bool running_ = false;
  bool stepped_transitions_ = false;
  Bitmap32 screen_;   // what the window shows
  Bitmap32 surface_;  // what the DirectDraw surface holds
  // The shadow above (screen_ or surface_) holds the still picture as the last step drew
  // it, at (still_x_, still_y_). Cleared by every other write to the shadow.
  bool still_in_shadow_ = false;
  int still_x_ = 0, still_y_ = 0;
  int transitions_run_ = 0, last_effect_ = 0, last_frame_count_ = 0;
  // The transition under way: its timer, effect and the new picture's offset.
  TransitionTimer timer_;
  int transition_effect_ = 0, transition_x_ = 0, transition_y_ = 0;
  // Pictures that failed to load one after the other, and whether the next step picks
  // another picture at once.
  size_t failed_in_row_ = 0;
  int loads_failed_ = 0;
  bool pick_now_ = false;
  MusicPlayer music_;
  std::unique_ptr<SoundSlotPlayer> sounds_;
  // The worker threads of the show's per-step drawing (water, objects, transition frames),
  // started with the show and stopped with it.
  std::unique_ptr<WorkerPool> pool_;
  // The living picture's animated objects and its animation (objects outlive the engine).
  std::unique_ptr<TAnimObjects> anim_objects_;
  std::unique_ptr<TAnimEngine> anim_engine_;
};

}  // namespace kx
