// The worker of one animated object: runs the object's motion step, then sleeps a fixed
// interval, until it is destroyed. Each step runs while holding the object's mutex, so a
// reader holding that mutex always sees the state between two steps, and Pause returns
// only when no step is running (the pause takes effect between steps).
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace kx {

class TObjectThread {
 public:
  // Created paused. `mutex` guards the object's state; `step` is called with it held.
  TObjectThread(std::mutex& mutex, std::function<void()> step, int interval_ms = 5);
  // Ends the worker: it finishes its current step and exits; waits for it.
  ~TObjectThread();
  TObjectThread(const TObjectThread&) = delete;
  TObjectThread& operator=(const TObjectThread&) = delete;

  void Resume();
  // Returns when no step is running and none will start until Resume.
  void Pause();
  bool Paused() const;

 private:
  void Run();

  std::mutex& mutex_;
  std::condition_variable wake_;
  std::function<void()> step_;
  int interval_ms_;
  bool paused_ = true;
  bool end_ = false;
  std::thread thread_;
};

}  // namespace kx
