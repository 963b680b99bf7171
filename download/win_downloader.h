// The engine of DownloadType 2: the system's URL download service fetches
// the whole file to the package path in one blocking call, three tries,
// progress through a bind-status callback. No temporary file, no resume, no
// checksum, never a restart; its worker runs once in the engine's life.
#pragma once
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>

#include "download/downloader.h"
#include "platform/url_download.h"
#include "utils/thread.h"

class CWinDownloader : public CDownloader {
 public:
  static constexpr int kTries = 3;

  // The bind-status callback handed to the service; aborts the download once
  // the engine is being destroyed.
  class CBindCallback : public Platform::UrlDownloadStatus {
   public:
    ~CBindCallback() override;
    Platform::UrlResult OnProgress(uint32_t progress, uint32_t progressMax, uint32_t statusCode,
                                   const wchar_t* statusText) override;
    void SetCallback(const StageCallback& callback);
    void Abort() { abort_ = true; }

   private:
    std::mutex callbackMutex_;  // Start() may copy while the worker reports
    StageCallback callback_;
    std::atomic<bool> abort_{false};
  };

  CWinDownloader(StageCallback callback, const std::wstring& url, const std::wstring& packagePath,
                 const DownloadTiming& timing = DownloadTiming());
  ~CWinDownloader() override;

  void Start() override;

  // The address handed to the service: "file:///" URLs unchanged, others UrlEncode'd.
  static std::wstring ServiceAddress(const std::wstring& url);

 private:
  void Work();
  void Emit(int32_t code, double value, const wchar_t* text);
  bool Pause(int milliseconds);

  CBindCallback bindCallback_;
  StageCallback callback_;
  std::wstring packagePath_;
  std::wstring url_;
  DownloadTiming timing_;
  std::atomic<bool> destroying_{false};
  std::mutex pauseMutex_;
  std::condition_variable pauseWake_;
  std::once_flag resumed_;
  Utils::Thread worker_;  // created suspended; last, so it is joined first
};
