#include "media/worker_pool.h"

#include <algorithm>

namespace kx {

WorkerPool::WorkerPool(int threads) : threads_(std::clamp(threads, 1, 64)) {
  workers_.reserve(threads_ - 1);
  for (int i = 1; i < threads_; ++i) workers_.emplace_back([this, i] { WorkerLoop(i); });
}

WorkerPool::~WorkerPool() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  start_.notify_all();
  for (std::thread& t : workers_) t.join();
}

int WorkerPool::DefaultThreads() {
  const unsigned n = std::thread::hardware_concurrency();
  return n == 0 ? 1 : static_cast<int>(std::min(n, 8u));
}

void WorkerPool::Run(int count, int bands, Call call, void* ctx) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    call_ = call;
    ctx_ = ctx;
    count_ = count;
    bands_ = bands;
    pending_ = bands - 1;
    ++generation_;
  }
  start_.notify_all();
  call(ctx, 0, 0, BandBegin(count, 1, bands));
  std::unique_lock<std::mutex> lock(mutex_);
  done_.wait(lock, [this] { return pending_ == 0; });
}

void WorkerPool::WorkerLoop(int index) {
  uint64_t seen = 0;
  for (;;) {
    Call call;
    void* ctx;
    int count, bands;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      start_.wait(lock, [&] { return stop_ || generation_ != seen; });
      if (stop_) return;
      seen = generation_;
      call = call_;
      ctx = ctx_;
      count = count_;
      bands = bands_;
    }
    if (index >= bands) continue;  // a job with fewer bands than threads
    call(ctx, index, BandBegin(count, index, bands), BandBegin(count, index + 1, bands));
    bool last;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      last = --pending_ == 0;
    }
    if (last) done_.notify_one();
  }
}

}  // namespace kx
