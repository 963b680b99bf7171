// The worker thread every background task runs on. It is created suspended;
// its owner resumes it exactly once and joins it by Join() or by destroying
// the object. Join() must not be called from the thread itself. A thread
// that is joined without ever being resumed ends without running its callable.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace Utils {

class Thread {
 public:
  using Callable = std::function<void(void*)>;

  Thread(void* parameter, std::wstring name, Callable callable);
  ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  bool HasHandle() const { return thread_.joinable(); }
  void Resume();
  void Join();
  // All bits set once joined (or when creation failed).
  uint32_t Id() const { return id_; }
  // The name the debugger sees: the given name, or "t" + the thread id.
  const std::string& DebuggerName() const { return debuggerName_; }
  bool IsCurrentThread() const { return std::this_thread::get_id() == thread_.get_id(); }

 private:
  enum class Start { Suspended, Resumed, Cancelled };
  static void CallBack(Thread* self);

  void* parameter_ = nullptr;
  std::wstring name_;
  Callable callable_;
  std::string debuggerName_;
  uint32_t id_ = 0xFFFFFFFFu;
  std::mutex mutex_;
  std::condition_variable startChanged_;
  Start start_ = Start::Suspended;
  bool idKnown_ = false;
  std::thread thread_;
};

}  // namespace Utils
