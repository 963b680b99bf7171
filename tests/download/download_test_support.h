// Shared pieces of the engine tests: a recorder of stage codes that tests
// wait on, a per-test temporary folder, package bodies with their digests.
#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "download/downloader.h"
#include "tests/support/scratch_folder.h"

class CodeRecorder {
 public:
  // The callback to hand to an engine; `onEvent` (optional) runs inside it.
  StageCallback Callback(std::function<void(const StageEvent&)> onEvent = nullptr);
  // Waits (bounded) until `count` verdicts (1003, 1004 or 1005) have arrived.
  bool WaitForVerdicts(int count, std::chrono::seconds timeout = std::chrono::seconds(60));
  bool WaitForCode(int32_t code, std::chrono::seconds timeout = std::chrono::seconds(60));
  std::vector<StageEvent> Events() const;
  // The codes in order with every 1002 left out.
  std::vector<int32_t> CodesWithoutProgress() const;
  // The last verdict event (code 0 when none).
  StageEvent LastVerdict() const;

 private:
  void Record(const StageEvent& event);
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<StageEvent> events_;
};

// A fresh folder under the system temp folder, removed with its content.
class TempFolder {
 public:
  std::string Path(const std::string& name) const { return (folder_.Path() / name).string(); }
  std::wstring WidePath(const std::string& name) const { return (folder_.Path() / name).wstring(); }

 private:
  ScratchFolder folder_;
};

std::string PatternBody(size_t size, unsigned seed = 7);
std::string Md5Hex(const std::string& bytes);
std::string ReadFileBytes(const std::string& path);  // empty when missing
bool FileThere(const std::string& path);
// Seconds that advance on every call, so the once-per-second progress gates pass.
int64_t AdvancingSeconds();
// Pauses of zero so failure budgets run at once.
DownloadTiming FastTiming();
// The text of the first 1006 (empty when there is none).
std::wstring NoticeText(const CodeRecorder& recorder);
