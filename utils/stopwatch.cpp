#include "utils/stopwatch.h"

#include "platform/clock.h"

namespace Utils {

Stopwatch::Stopwatch() : ticks_(&Platform::TickCount32) {}

void Stopwatch::Start() {
  startTick_ = ticks_();
  running_ = true;
}

float Stopwatch::ElapsedSeconds() const {
  if (!running_) return 0.0f;
  const uint32_t elapsed = ticks_() - startTick_;
  return static_cast<float>(elapsed) / 1000.0f;
}

}  // namespace Utils
