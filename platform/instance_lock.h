// Single-instance named lock, shared by every process of the same user.
// POSIX: flock on a file in the runtime directory; the kernel releases it
// when the holder exits, however it exits.
#pragma once
#include <string>

namespace Platform {

class NamedLock {
 public:
  NamedLock() = default;
  ~NamedLock();
  NamedLock(const NamedLock&) = delete;
  NamedLock& operator=(const NamedLock&) = delete;

  // True when this object now holds the lock; false when another holder has it.
  bool TryAcquire(const std::wstring& name);
  bool Held() const { return fd_ >= 0; }
  void Release();

 private:
  int fd_ = -1;
};

}  // namespace Platform
