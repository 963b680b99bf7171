// The libcurl transfer object of the single-connection engine: resolves the
// package URL and length by HEAD, downloads in one stream into "<target>.part",
// resumes that file on the next call and renames it to the target on
// success. One attempt per Start(); retrying is the engine's business.
// Limits: a package below 1 MiB is never downloaded (-998); a connection
// that stays open but delivers nothing is only ended by TCP keep-alive.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>

#include "download/curl_handles.h"

class CurlClient {
 public:
  using ProgressHook = void (*)(void* owner, double speed, double reserved, double percent);
  using SecondsClock = int64_t (*)();

  // The client's own results (libcurl results are positive, success is 0).
  static constexpr int32_t kLengthUnknown = -998;    // length not learnt or below 1 MiB
  static constexpr int32_t kNoHandle = -997;         // no transfer handle
  static constexpr int32_t kPartFileUnopened = -996; // ".part" could not be opened
  static constexpr int32_t kRenameFailed = -995;     // complete ".part" could not become the target
  static constexpr double kMinLength = 1048576.0;

  CurlClient(std::wstring url, std::wstring targetPath, void* owner, ProgressHook hook,
             SecondsClock secondsNow = nullptr);
  // Removes the ".part" file and makes a running transfer abort.
  ~CurlClient();
  CurlClient(const CurlClient&) = delete;
  CurlClient& operator=(const CurlClient&) = delete;

  std::wstring GetFilePath(bool withPart) const;
  // Blocking: one transfer (with lookups when needed). 0, a libcurl code or kXxx.
  int32_t Start();
  // Makes the running transfer (or lookup) abort at its next progress call.
  void RequestStop() { stop_ = true; }

  // Lookups (also used on their own by tests).
  CurlEasy Head(const std::string& url);
  static std::string GetRealUrl(CURL* handle);
  double GetDownloadFileLength(CURL* handle);
  std::string GetRealUrl_Str(const std::string& url);
  double GetDownloadFileLength_Str(const std::string& url);
  static int ProgressCallback(void* client, curl_off_t dltotal, curl_off_t dlnow, curl_off_t ultotal,
                              curl_off_t ulnow);

  const std::string& RealUrl() const { return realUrl_; }
  double Length() const { return length_; }

 private:
  static int StopOnlyCallback(void* client, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
  CURLcode ConfigureLookup(CURL* handle, const std::string& url, bool followRedirects);
  int32_t Transfer(const std::string& partPath);
  bool FinishPart();
  int64_t NowSeconds() const;

  std::wstring url_;
  std::wstring targetPath_;
  void* owner_ = nullptr;
  ProgressHook progressHook_ = nullptr;
  SecondsClock secondsNow_ = nullptr;
  double length_ = -1.0;
  int64_t resumeOffset_ = -1;
  int64_t lastReportTime_ = 0;
  std::atomic<bool> stop_{false};
  std::string realUrl_;
  CURL* transfer_ = nullptr;  // the running transfer's handle, owned by Transfer()
};

// Reports the failed length lookup ("下载失败原因") with the response code.
void ReportLengthLookupFailure(long responseCode);
