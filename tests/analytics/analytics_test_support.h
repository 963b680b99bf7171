// Shared helpers of the analytics tests: a per-test temporary folder, a
// capture of the SDK's console lines, a pinned record clock, and the
// "_track_id" mask that makes record texts comparable byte for byte.
#pragma once
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "analytics/sdk/sdk_clock.h"
#include "analytics/sdk/sdk_console.h"
#include "tests/support/scratch_folder.h"

namespace analytics_test {

// The shared scratch folder, with the narrow spellings these tests use.
class TempFolder : public ScratchFolder {
 public:
  std::string Str() const { return Path().string(); }
  std::string Slash() const { return Path().string() + "/"; }
};

inline std::string ReadFile(const std::filesystem::path& path) { return ScratchFolder::Read(path); }

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

class ConsoleCapture {
 public:
  ConsoleCapture() {
    analytics_sdk::SetConsoleCapture([this](analytics_sdk::ConsoleStream stream, const std::string& line) {
      std::lock_guard<std::mutex> lock(mutex_);
      (stream == analytics_sdk::ConsoleStream::Out ? out_ : err_).push_back(line);
    });
  }
  ~ConsoleCapture() { analytics_sdk::SetConsoleCapture(nullptr); }
  std::vector<std::string> Err() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return err_;
  }
  std::vector<std::string> Out() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return out_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> out_;
  std::vector<std::string> err_;
};

class PinnedClock {
 public:
  explicit PinnedClock(int64_t nowMilliseconds) {
    now_ = nowMilliseconds;
    analytics_sdk::SetClockForTesting([this] { return now_.load(); });
  }
  ~PinnedClock() { analytics_sdk::SetClockForTesting(nullptr); }
  void Set(int64_t nowMilliseconds) { now_ = nowMilliseconds; }

 private:
  std::atomic<int64_t> now_{0};
};

// The text of a string property, or "" when the key is absent.
inline std::string StringProperty(const std::string& record, const std::string& key) {
  const std::string marker = "\"" + key + "\":\"";
  const size_t at = record.find(marker);
  if (at == std::string::npos) return std::string();
  const size_t start = at + marker.size();
  return record.substr(start, record.find('"', start) - start);
}

// 36 characters: upper-case hexadecimal in 8-4-4-4-12 groups.
inline bool IsGuidText(const std::string& text) {
  if (text.size() != 36) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash ? c != '-' : !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
  }
  return true;
}

// Replaces the random "_track_id" value with "ID" after checking its shape:
// at most 989989999 and ending in the time's last four digits.
inline std::string MaskTrackId(const std::string& record, int64_t timeMilliseconds) {
  const std::string marker = "\"_track_id\":";
  const size_t at = record.find(marker);
  const size_t start = at + marker.size();
  const size_t end = at == std::string::npos ? at : record.find(',', start);
  if (end == std::string::npos || end == start) {
    ADD_FAILURE() << "no _track_id in " << record;
    return record;
  }
  const long long id = std::stoll(record.substr(start, end - start));
  EXPECT_LE(id, 989989999LL);
  EXPECT_EQ(id % 10000, timeMilliseconds % 10000);
  return record.substr(0, start) + "ID" + record.substr(end);
}

}  // namespace analytics_test
