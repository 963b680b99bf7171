#include "app/stage_event_queue.h"

StageCallback StageEventQueue::Callback() {
  return [this](int32_t code, double value, const wchar_t* text) { Push({code, value, text ? text : L""}); };
}

void StageEventQueue::Push(StageEvent event) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(std::move(event));
  }
  arrived_.notify_one();
}

StageEvent StageEventQueue::Pop() {
  std::unique_lock<std::mutex> lock(mutex_);
  arrived_.wait(lock, [this] { return !events_.empty(); });
  StageEvent event = std::move(events_.front());
  events_.pop_front();
  return event;
}
