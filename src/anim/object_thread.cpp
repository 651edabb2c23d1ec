#include "anim/object_thread.h"

#include <chrono>

namespace kx {

TObjectThread::TObjectThread(std::mutex& mutex, std::function<void()> step, int interval_ms)
    : mutex_(mutex), step_(std::move(step)), interval_ms_(interval_ms) {
  thread_ = std::thread([this] { Run(); });
}

TObjectThread::~TObjectThread() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    end_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void TObjectThread::Resume() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    paused_ = false;
  }
  wake_.notify_all();
}

void TObjectThread::Pause() {
  std::lock_guard<std::mutex> lock(mutex_);
  paused_ = true;
}

bool TObjectThread::Paused() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return paused_;
}

void TObjectThread::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!end_) {
    if (paused_) {
      wake_.wait(lock, [this] { return end_ || !paused_; });
      continue;
    }
    try {
      step_();
    } catch (...) {
      // A failing step must not end the process; the next step tries again.
    }
    wake_.wait_for(lock, std::chrono::milliseconds(interval_ms_), [this] { return end_; });
  }
}

}  // namespace kx
