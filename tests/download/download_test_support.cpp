#include "tests/download/download_test_support.h"

#include <curl/curl.h>
#include <openssl/evp.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

namespace {
// libcurl's global state for the whole test program, as the installer's entry does.
struct CurlGlobal {
  CurlGlobal() { curl_global_init(CURL_GLOBAL_ALL); }
  ~CurlGlobal() { curl_global_cleanup(); }
} g_curlGlobal;

bool IsVerdict(int32_t code) { return code == DL_CODE_SUCCESS || code == DL_CODE_FAIL || code == DL_CODE_RETRY; }
}  // namespace

StageCallback CodeRecorder::Callback(std::function<void(const StageEvent&)> onEvent) {
  return [this, onEvent](int32_t code, double value, const wchar_t* text) {
    StageEvent event{code, value, text ? text : L"(null)"};
    if (onEvent) onEvent(event);
    Record(event);
  };
}

void CodeRecorder::Record(const StageEvent& event) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(event);
  }
  changed_.notify_all();
}

bool CodeRecorder::WaitForVerdicts(int count, std::chrono::seconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] {
    int verdicts = 0;
    for (const auto& e : events_) verdicts += IsVerdict(e.code) ? 1 : 0;
    return verdicts >= count;
  });
}

bool CodeRecorder::WaitForCode(int32_t code, std::chrono::seconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] {
    for (const auto& e : events_)
      if (e.code == code) return true;
    return false;
  });
}

std::vector<StageEvent> CodeRecorder::Events() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return events_;
}

std::vector<int32_t> CodeRecorder::CodesWithoutProgress() const {
  std::vector<int32_t> codes;
  for (const auto& e : Events())
    if (e.code != DL_CODE_PROGRESS) codes.push_back(e.code);
  return codes;
}

StageEvent CodeRecorder::LastVerdict() const {
  StageEvent last;
  for (const auto& e : Events())
    if (IsVerdict(e.code)) last = e;
  return last;
}

std::string PatternBody(size_t size, unsigned seed) {
  std::string body(size, '\0');
  uint32_t state = seed * 2654435761u + 1;
  for (size_t i = 0; i < size; ++i) {
    state = state * 1664525u + 1013904223u;
    body[i] = static_cast<char>(state >> 24);
  }
  return body;
}

std::string Md5Hex(const std::string& bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr);
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < length; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 15];
  }
  return hex;
}

std::string ReadFileBytes(const std::string& path) { return ScratchFolder::Read(path); }

bool FileThere(const std::string& path) { return std::filesystem::exists(path); }

int64_t AdvancingSeconds() {
  static std::atomic<int64_t> seconds{1000};
  return ++seconds;
}

DownloadTiming FastTiming() {
  DownloadTiming timing;
  timing.singleRetryMs = 0;
  timing.partRetryMs = 0;
  timing.partStaggerMs = 0;
  timing.waiterPollMs = 5;
  timing.winRetryMs = 0;
  timing.secondsNow = &AdvancingSeconds;
  return timing;
}

std::wstring NoticeText(const CodeRecorder& recorder) {
  for (const auto& e : recorder.Events())
    if (e.code == DL_CODE_NOTICE) return e.text;
  return std::wstring();
}
