// The default engine: CurlClient on a worker thread, failed transfers
// repeated under a budget (6 transfers, or 12 when they only fail with
// libcurl's partial-file error 18), then the MD5 check against the digest in
// the real URL. A mismatch asks the owner once for a restart (1005); the
// second mismatch is final (1004).
#pragma once
#include <string>

#include "download/attempt_runner.h"
#include "download/curl_client.h"
#include "download/downloader.h"

class CCurlDownloader : public CDownloader {
 public:
  static constexpr int kTransferBudget = 12;

  CCurlDownloader(StageCallback callback, const std::wstring& url, const std::wstring& packagePath,
                  const DownloadTiming& timing = DownloadTiming());
  // Aborts a running transfer, joins the worker, then removes the ".part" file.
  ~CCurlDownloader() override;

  void Start() override;

 private:
  void dlThreadFun();
  static void OnProgress(void* owner, double speed, double reserved, double percent);
  void Emit(int32_t code, double value, const wchar_t* text);

  StageCallback callback_;
  std::wstring packagePath_;
  std::wstring url_;
  DownloadTiming timing_;
  CurlClient client_;
  bool retried_ = false;
  AttemptRunner runner_;  // last: joined before the members above go away
};
