// Elapsed time from a 32-bit millisecond tick count; one wrap of the counter
// is harmless. The tick source can be replaced (tests use a fake clock).
#pragma once
#include <cstdint>
#include <functional>

namespace Utils {

class Stopwatch {
 public:
  using TickSource = std::function<uint32_t()>;

  Stopwatch();
  explicit Stopwatch(TickSource ticks) : ticks_(std::move(ticks)) {}

  void Start();
  bool Running() const { return running_; }
  float ElapsedSeconds() const;

 private:
  TickSource ticks_;
  uint32_t startTick_ = 0;
  bool running_ = false;
};

}  // namespace Utils
