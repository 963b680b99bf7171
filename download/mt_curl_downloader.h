// The ranged engine (DownloadType 3): one HEAD for the real URL and length,
// one or two byte ranges fetched on their own threads into "<package>_0" and
// "<package>_1", part files resumed after a failed attempt that made
// progress, the parts joined into the package and checked against the MD5
// digest in the real URL. One restart (1005) per engine life, then 1004.
// Every thread it starts (worker, parts, waiter) is joined before it dies.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "download/attempt_runner.h"
#include "download/curl_handles.h"
#include "download/downloader.h"
#include "utils/thread.h"

// One byte range of the package and the file it is fetched into.
struct DownloadPart {
  FileStream file;              // open for appending while the range is fetched
  int64_t nextOffset = 0;       // absolute offset of the next byte to fetch
  int64_t endOffset = 0;        // absolute offset of the range's last byte
  CurlEasy handle;              // reused by every transfer of the part
  std::string url;
  std::wstring path;
  int32_t status = -1;          // -1 to fetch, 0 complete, -2 unopened, else libcurl result
  std::atomic<int64_t> received{0};  // bytes of this part on disk
  int64_t requestStart = 0;     // start of the range asked by the running transfer
  bool answerChecked = false;   // the running transfer's status line was accepted
};

class CMTCurlDownloader : public CDownloader {
 public:
  static constexpr int kPartBudget = 12;
  static constexpr int32_t kPartUnopened = -2;
  static constexpr int32_t kJoinRenameFailed = -995;  // the joined file could not become the package
  static constexpr int64_t kMinLength = 256;

  CMTCurlDownloader(StageCallback callback, const std::wstring& url, const std::wstring& packagePath,
                    const DownloadTiming& timing = DownloadTiming());
  // Aborts running transfers, joins every thread of the engine.
  ~CMTCurlDownloader() override;

  void Start() override;

  static std::wstring PartPath(const std::wstring& packagePath, int index);

 private:
  // Per-attempt state: the ranges and the threads that fetch them.
  struct Attempt {
    std::vector<std::unique_ptr<DownloadPart>> parts;
    std::vector<std::unique_ptr<Utils::Thread>> threads;  // parts, then the waiter
  };

  void RunAttempt();
  void Start_Down();
  bool getRealDownloadUrl(const std::string& url);
  static void downloadThreadFun(CMTCurlDownloader* engine, DownloadPart* part);
  static int32_t downloadExe(CMTCurlDownloader* engine, DownloadPart* part);
  static void waitForFinishThreadFun(CMTCurlDownloader* engine);
  static size_t WritePart(char* data, size_t size, size_t count, void* part);
  static int TransferInfo(void* engine, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
  static int StopOnly(void* engine, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

  void FailAttempt(int32_t code);
  void ReleaseParts();
  void DeletePartFiles();
  void Emit(int32_t code, double value, const wchar_t* text);
  int64_t NowSeconds() const;

  StageCallback callback_;
  std::wstring packagePath_;
  std::wstring url_;
  DownloadTiming timing_;
  std::string realUrl_;
  int64_t length_ = -1;
  std::string expectedDigest_;
  double lastReportedPercent_ = 0.0;  // 0.0 also means: this attempt made no progress
  std::atomic<int> runningParts_{0};
  std::mutex lock_;                   // serialises progress reports
  int64_t lastReportTime_ = 0;
  bool retried_ = false;
  Attempt attempt_;
  AttemptRunner runner_;  // last: joined before the members above go away
};
