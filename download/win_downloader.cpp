#include "download/win_downloader.h"

#include <chrono>

#include "utils/text.h"

CWinDownloader::CBindCallback::~CBindCallback() {
  abort_ = true;
  std::lock_guard<std::mutex> guard(callbackMutex_);
  callback_ = nullptr;
}

void CWinDownloader::CBindCallback::SetCallback(const StageCallback& callback) {
  std::lock_guard<std::mutex> guard(callbackMutex_);
  callback_ = callback;
}

Platform::UrlResult CWinDownloader::CBindCallback::OnProgress(uint32_t progress, uint32_t progressMax, uint32_t,
                                                              const wchar_t*) {
  if (abort_) return Platform::kUrlAborted;
  if (progressMax == 0) return Platform::kUrlOk;
  StageCallback callback;
  {
    std::lock_guard<std::mutex> guard(callbackMutex_);
    callback = callback_;
  }
  if (callback) callback(DL_CODE_PROGRESS, static_cast<double>(progress) / static_cast<double>(progressMax), L"");
  return Platform::kUrlOk;
}

CWinDownloader::CWinDownloader(StageCallback callback, const std::wstring& url, const std::wstring& packagePath,
                               const DownloadTiming& timing)
    : callback_(std::move(callback)),
      packagePath_(packagePath),
      url_(url),
      timing_(timing),
      worker_(this, L"ABDEF", [](void* self) { static_cast<CWinDownloader*>(self)->Work(); }) {}

CWinDownloader::~CWinDownloader() {
  {
    std::lock_guard<std::mutex> guard(pauseMutex_);
    destroying_ = true;
  }
  pauseWake_.notify_all();
  bindCallback_.Abort();
  worker_.Join();  // a worker never started is cancelled here
}

void CWinDownloader::Start() {
  bindCallback_.SetCallback(callback_);
  std::call_once(resumed_, [this] {
    if (worker_.HasHandle()) worker_.Resume();
  });
}

std::wstring CWinDownloader::ServiceAddress(const std::wstring& url) {
  return Utils::StartsWith(url, L"file:///") ? url : Utils::UrlEncode(url);
}

// Nothing reaches the owner once destruction has begun.
void CWinDownloader::Emit(int32_t code, double value, const wchar_t* text) {
  if (!destroying_ && callback_) callback_(code, value, text);
}

bool CWinDownloader::Pause(int milliseconds) {
  std::unique_lock<std::mutex> lock(pauseMutex_);
  pauseWake_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return destroying_.load(); });
  return !destroying_;
}

void CWinDownloader::Work() {
  Emit(DL_CODE_START, 1.0, L"");
  const std::wstring address = ServiceAddress(url_);
  Platform::UrlResult result = Platform::kUrlOk;
  for (int attempt = 0; attempt < kTries; ++attempt) {
    result = Platform::DownloadUrlToFile(address, packagePath_, &bindCallback_);
    if (result == Platform::kUrlOk) {
      Emit(DL_CODE_SUCCESS, 0.0, L"URLDownloadToFile");
      return;
    }
    if (!Pause(timing_.winRetryMs)) return;
  }
  Emit(DL_CODE_FAIL, static_cast<double>(result), L"URLDownloadToFile");
}
