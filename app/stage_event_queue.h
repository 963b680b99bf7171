// Carries stage codes from the orchestrator's worker threads to one
// consuming thread, in order: each event is a copy of code, value and text
// (the text pointer of a StageCallback is only valid during the call).
#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>

#include "download/downloader.h"

class StageEventQueue {
 public:
  // A callback that copies each event into this queue; never blocks for long.
  StageCallback Callback();
  void Push(StageEvent event);
  // Waits for the next event.
  StageEvent Pop();

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<StageEvent> events_;
};
