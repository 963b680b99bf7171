#include "download/curl_downloader.h"
#include "download/downloader.h"
#include "download/mt_curl_downloader.h"
#include "download/win_downloader.h"

DownloadEngineKind SelectDownloadEngine(int downloadType) {
  switch (downloadType) {
    case 2:
      return DownloadEngineKind::WinUrl;
    case 3:
      return DownloadEngineKind::MultiCurl;
    default:
      return DownloadEngineKind::Curl;
  }
}

std::unique_ptr<CDownloader> CreateDownloader(int downloadType, StageCallback callback, const std::wstring& url,
                                              const std::wstring& packagePath, const DownloadTiming& timing) {
  switch (SelectDownloadEngine(downloadType)) {
    case DownloadEngineKind::WinUrl:
      return std::make_unique<CWinDownloader>(std::move(callback), url, packagePath, timing);
    case DownloadEngineKind::MultiCurl:
      return std::make_unique<CMTCurlDownloader>(std::move(callback), url, packagePath, timing);
    case DownloadEngineKind::Curl:
    default:
      return std::make_unique<CCurlDownloader>(std::move(callback), url, packagePath, timing);
  }
}
