// A small pool of worker threads for the per-step drawing work of one show: the rows of a
// frame are split into as many contiguous bands as the pool has threads, the calling thread
// draws the first band and the workers the others, and the call returns when every band is
// done. The split depends only on the number of rows and threads, so a drawing routine whose
// rows do not depend on each other gives the same pixels with any number of threads.
// Started when it is made and stopped when it is destroyed; nothing is allocated per call.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <type_traits>
#include <vector>

namespace kx {

class WorkerPool {
 public:
  // `threads` counts the calling thread too; values below 1 give 1 (no worker at all).
  explicit WorkerPool(int threads);
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  int Threads() const { return threads_; }

  // The number of processors, at most 8 (the bands of a frame gain little beyond).
  static int DefaultThreads();

  // Band b of n (b = 0 .. n-1) over `count` rows: [count * b / n, count * (b + 1) / n).
  static int BandBegin(int count, int band, int bands) {
    return static_cast<int>(static_cast<int64_t>(count) * band / bands);
  }

  // Calls fn(band, begin, end) for the bands of `count` rows, at most `bands` of them
  // (0: one per thread), each on its own thread, and waits for all of them.
  template <class F>
  void ForBands(int count, F&& fn, int bands = 0) {
    int n = bands > 0 && bands < threads_ ? bands : threads_;
    if (n > count) n = count > 0 ? count : 1;
    if (n <= 1) {
      if (count > 0) fn(0, 0, count);
      return;
    }
    Run(count, n, [](void* ctx, int b, int begin, int end) { (*static_cast<std::remove_reference_t<F>*>(ctx))(b, begin, end); }, &fn);
  }

 private:
  using Call = void (*)(void* ctx, int band, int begin, int end);
  void Run(int count, int bands, Call call, void* ctx);
  void WorkerLoop(int index);

  int threads_ = 1;
  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable start_, done_;
  uint64_t generation_ = 0;
  int pending_ = 0;
  bool stop_ = false;
  // The job of the current generation.
  Call call_ = nullptr;
  void* ctx_ = nullptr;
  int count_ = 0, bands_ = 0;
};

}  // namespace kx
