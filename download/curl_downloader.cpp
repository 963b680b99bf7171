#include "download/curl_downloader.h"

#include "platform/file_system.h"
#include "utils/file_md5.h"
#include "utils/log.h"
#include "utils/text.h"

CCurlDownloader::CCurlDownloader(StageCallback callback, const std::wstring& url, const std::wstring& packagePath,
                                 const DownloadTiming& timing)
    : callback_(std::move(callback)),
      packagePath_(packagePath),
      url_(url),
      timing_(timing),
      client_(url, packagePath, this, &CCurlDownloader::OnProgress, timing.secondsNow),
      runner_([this] { dlThreadFun(); }) {
  Platform::DeleteOneFile(client_.GetFilePath(true));
}

CCurlDownloader::~CCurlDownloader() {
  client_.RequestStop();
  runner_.Abort();
  runner_.JoinWorker();
}

void CCurlDownloader::Start() { runner_.Start(); }

// Nothing reaches the owner once destruction has begun: it is tearing down.
void CCurlDownloader::Emit(int32_t code, double value, const wchar_t* text) {
  if (!runner_.Aborted() && callback_) callback_(code, value, text);
}

void CCurlDownloader::OnProgress(void* owner, double speed, double, double percent) {
  if (speed > 0.0 && percent <= 100.0) static_cast<CCurlDownloader*>(owner)->Emit(DL_CODE_PROGRESS, percent / 100.0, L"");
}

void CCurlDownloader::dlThreadFun() {
  Emit(DL_CODE_START, 1.0, L"");
  int budget = kTransferBudget;
  int32_t result = client_.Start();
  while (result != 0) {
    budget -= (result == CURLE_PARTIAL_FILE) ? 1 : 2;
    if (budget <= 0) {
      Emit(DL_CODE_FAIL, result, L"LibCurl");
      return;
    }
    LOG_LINE(L"CurlDownLoader Code=%d", result);
    if (!runner_.Pause(timing_.singleRetryMs)) return;
    result = client_.Start();
  }

  const std::string expected = Utils::UrlParentSegment(client_.RealUrl());
  if (expected.size() == 32) {
    const std::string actual = Utils::FileMd5Hex(Platform::ToFileSystemPath(packagePath_));
    if (actual.size() == 32 && actual != expected) {
      Emit(DL_CODE_NOTICE, 0.0, L"curl文件md5校验失败");
      if (retried_) {
        Emit(DL_CODE_FAIL, 0.0, L"LibCurl");
      } else {
        retried_ = true;
        Emit(DL_CODE_RETRY, 0.0, L"LibCurl");
      }
      return;
    }
  } else {
    Emit(DL_CODE_NOTICE, 0.0, L"curl获取url-md5失败");
  }
  Emit(DL_CODE_SUCCESS, 0.0, L"LibCurl");
}
