// Captures the log records emitted while it lives (test helper).
#pragma once
#include <mutex>
#include <string>
#include <vector>

#include "platform/debug_output.h"

class LogCapture {
 public:
  LogCapture() {
    Platform::SetDebugOutputCapture([this](const std::wstring& record) {
      std::lock_guard<std::mutex> lock(mutex_);
      records_.push_back(record);
    });
  }
  ~LogCapture() { Platform::SetDebugOutputCapture(nullptr); }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::vector<std::wstring> Records() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return records_;
  }
  bool Contains(const std::wstring& fragment) const {
    for (const auto& r : Records())
      if (r.find(fragment) != std::wstring::npos) return true;
    return false;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::wstring> records_;
};
