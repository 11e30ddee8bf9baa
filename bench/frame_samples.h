// Per-iteration timing for the benchmarks that care about the worst frames,
// not only the average: every sample is kept, and the mean, the 99th
// percentile and the maximum go out as counters in milliseconds.
//
// Each measured piece is timed twice: on the steady clock (what the user
// waits for, and what the budgets hold) and on the thread's CPU clock (the
// work itself, without the time the thread waited for a core). On a loaded
// machine the two part; on a quiet one they agree.
#pragma once

#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <vector>

class FrameSamples {
 public:
  void Reserve(size_t n) { seconds_.reserve(n); }
  void Add(double seconds) { seconds_.push_back(seconds); }
  size_t Count() const { return seconds_.size(); }

  double MeanSeconds() const {
    if (seconds_.empty()) return 0;
    double sum = 0;
    for (double s : seconds_) sum += s;
    return sum / static_cast<double>(seconds_.size());
  }
  // Nearest rank: the smallest sample that at least `fraction` of the
  // samples do not exceed.
  double PercentileSeconds(double fraction) const {
    if (seconds_.empty()) return 0;
    std::vector<double> sorted = seconds_;
    std::sort(sorted.begin(), sorted.end());
    size_t rank = static_cast<size_t>(std::ceil(fraction * static_cast<double>(sorted.size())));
    rank = std::clamp<size_t>(rank, 1, sorted.size());
    return sorted[rank - 1];
  }
  double MaxSeconds() const {
    return seconds_.empty() ? 0 : *std::max_element(seconds_.begin(), seconds_.end());
  }

  // <prefix>mean_ms, <prefix>p99_ms and <prefix>max_ms.
  void Report(benchmark::State& state, const std::string& prefix = "") const {
    state.counters[prefix + "mean_ms"] = MeanSeconds() * 1e3;
    state.counters[prefix + "p99_ms"] = PercentileSeconds(0.99) * 1e3;
    state.counters[prefix + "max_ms"] = MaxSeconds() * 1e3;
  }

 private:
  std::vector<double> seconds_;
};

inline double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// One timed piece: Start, then Stop gives the steady-clock seconds and
// keeps both readings.
class Stopwatch {
 public:
  using Clock = std::chrono::steady_clock;
  void Start() {
    cpuStart_ = ThreadCpuSeconds();
    start_ = Clock::now();
  }
  double Stop() {
    wall_ = std::chrono::duration<double>(Clock::now() - start_).count();
    cpu_ = ThreadCpuSeconds() - cpuStart_;
    return wall_;
  }
  double Wall() const { return wall_; }
  double Cpu() const { return cpu_; }

 private:
  Clock::time_point start_;
  double cpuStart_ = 0, wall_ = 0, cpu_ = 0;
};

// Wall and CPU samples side by side; the CPU counters carry "cpu_" after
// the prefix.
struct TimedSeries {
  FrameSamples wall, cpu;
  void Reserve(size_t n) {
    wall.Reserve(n);
    cpu.Reserve(n);
  }
  void Add(const Stopwatch& watch) {
    wall.Add(watch.Wall());
    cpu.Add(watch.Cpu());
  }
  size_t Count() const { return wall.Count(); }
  void Report(benchmark::State& state, const std::string& prefix = "") const {
    wall.Report(state, prefix);
    cpu.Report(state, prefix + "cpu_");
  }
};
