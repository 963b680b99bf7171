#include "utils/thread.h"

#include <system_error>

#include "platform/process_info.h"
#include "utils/log.h"
#include "utils/text.h"

namespace Utils {

Thread::Thread(void* parameter, std::wstring name, Callable callable)
    : parameter_(parameter), name_(std::move(name)), callable_(std::move(callable)) {
  try {
    thread_ = std::thread(&Thread::CallBack, this);
  } catch (const std::system_error&) {
    return;  // no handle: the owner sees it and resumes nothing
  }
  // The thread reports its id and names itself, then waits to be resumed.
  std::unique_lock<std::mutex> lock(mutex_);
  startChanged_.wait(lock, [this] { return idKnown_; });
}

Thread::~Thread() {
  Join();
  name_.clear();
  callable_ = nullptr;
}

void Thread::Resume() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (start_ != Start::Suspended) return;
    start_ = Start::Resumed;
  }
  startChanged_.notify_all();
}

void Thread::Join() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (start_ == Start::Suspended) start_ = Start::Cancelled;
  }
  startChanged_.notify_all();
  thread_.join();
  id_ = 0xFFFFFFFFu;
}

void Thread::CallBack(Thread* self) {
  {
    std::unique_lock<std::mutex> lock(self->mutex_);
    self->id_ = Platform::CurrentThreadId();
    self->debuggerName_ =
        self->name_.empty() ? "t" + std::to_string(self->id_) : ToNarrow(self->name_, 0);
    Platform::SetCurrentThreadName(self->debuggerName_);
    self->idKnown_ = true;
    self->startChanged_.notify_all();
    self->startChanged_.wait(lock, [self] { return self->start_ != Start::Suspended; });
    if (self->start_ == Start::Cancelled) return;
  }
  LOG_LINE(L"THREAD BEGIN");
  self->callable_(self->parameter_);
  LOG_LINE(L"THREAD END");
}

}  // namespace Utils
