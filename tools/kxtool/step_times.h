// The real time of the show's steps, per kind of step, kept as counts in fixed bins, so that a
// render of a day of show time holds the same few hundred kilobytes as one of a minute: bins
// of 0.01 ms up to 100 ms, of 1 ms up to 10 s, and one bin for anything longer. The median
// and the 99th percentile are good to the width of their bin.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

namespace kxtool {

class StepHistogram {
 public:
  static constexpr int kFineBins = 10000;   // 0.01 ms each: 0 .. 100 ms
  static constexpr int kCoarseBins = 9900;  // 1 ms each: 100 ms .. 10 s
  static constexpr int kBins = kFineBins + kCoarseBins + 1;

  void Add(double ms) {
    if (counts_.empty()) counts_.assign(kBins, 0);
    counts_[static_cast<size_t>(Bin(ms))]++;
    ++total_;
  }
  uint64_t Count() const { return total_; }

  // The value below which the step of rank `rank` (0-based, in increasing order) lies: the
  // middle of its bin (the longest bin answers with its lower end, 10 s).
  double ValueAtRank(uint64_t rank) const {
    uint64_t seen = 0;
    for (int b = 0; b < kBins; ++b) {
      seen += counts_[static_cast<size_t>(b)];
      if (seen > rank) return Middle(b);
    }
    return Middle(kBins - 1);
  }
  // Ranks as a sorted list of every step would give them: the median is the step at
  // count / 2, the 99th percentile the one at count * 99 / 100.
  double Median() const { return total_ ? ValueAtRank(total_ / 2) : 0; }
  double Percentile99() const {
    if (!total_) return 0;
    const uint64_t r = (total_ * 99) / 100;
    return ValueAtRank(r < total_ ? r : total_ - 1);
  }

 private:
  static int Bin(double ms) {
    if (!(ms > 0)) return 0;  // negative and NaN times count as the shortest
    if (ms < 100) return static_cast<int>(ms * 100);
    if (ms < 10000) return kFineBins + static_cast<int>(ms - 100);
    return kBins - 1;
  }
  static double Middle(int b) {
    if (b < kFineBins) return (b + 0.5) / 100;
    if (b < kBins - 1) return 100 + (b - kFineBins) + 0.5;
    return 10000;
  }

  std::vector<uint64_t> counts_;  // allocated by the first step
  uint64_t total_ = 0;
};

}  // namespace kxtool
