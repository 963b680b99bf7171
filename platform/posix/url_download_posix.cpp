#include "platform/url_download.h"

#include <curl/curl.h>

#include <cstdio>
#include <memory>

#include "platform/file_system.h"

namespace Platform {
namespace {

struct Transfer {
  UrlDownloadStatus* status = nullptr;
  FILE* file = nullptr;
  bool aborted = false;
  bool dataBegun = false;
};

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
  return std::fwrite(data, size, count, static_cast<Transfer*>(user)->file);
}

// Counts above 32 bits are halved together until they fit.
void Scale(curl_off_t& now, curl_off_t& total) {
  while (total > 0xFFFFFFFFLL) {
    total >>= 1;
    now >>= 1;
  }
}

int Progress(void* user, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t) {
  auto* transfer = static_cast<Transfer*>(user);
  if (!transfer->status) return 0;
  uint32_t statusCode = kBindStatusConnecting;
  if (now > 0) {
    statusCode = transfer->dataBegun ? kBindStatusDownloadingData : kBindStatusBeginDownloadData;
    transfer->dataBegun = true;
  }
  Scale(now, total);
  if (transfer->status->OnProgress(static_cast<uint32_t>(now), static_cast<uint32_t>(total), statusCode, L"") !=
      kUrlOk) {
    transfer->aborted = true;
    return 1;
  }
  return 0;
}

UrlResult MapCurlResult(CURLcode code, long httpCode) {
  switch (code) {
    case CURLE_OK:
      return kUrlOk;
    case CURLE_ABORTED_BY_CALLBACK:
      return kUrlAborted;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
      return kUrlCannotConnect;
    case CURLE_HTTP_RETURNED_ERROR:
      return httpCode == 404 || httpCode == 410 ? kUrlNotFound : kUrlDownloadFailure;
    case CURLE_WRITE_ERROR:
      return kUrlFailed;
    default:
      return kUrlDownloadFailure;
  }
}

}  // namespace

UrlResult DownloadUrlToFile(const std::wstring& address, const std::wstring& path, UrlDownloadStatus* status) {
  std::unique_ptr<CURL, void (*)(CURL*)> handle(curl_easy_init(), &curl_easy_cleanup);
  if (!handle) return kUrlFailed;
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(ToFileSystemPath(path).c_str(), "wb"), &std::fclose);
  if (!file) return kUrlFailed;

  Transfer transfer;
  transfer.status = status;
  transfer.file = file.get();
  std::string url;
  for (wchar_t c : address) url += static_cast<char>(c < 0x80 ? c : '?');  // callers pass encoded addresses
  CURL* h = handle.get();
  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 60L);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &WriteBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &Progress);
  curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);
  const CURLcode code = curl_easy_perform(h);
  long httpCode = 0;
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &httpCode);
  const bool closed = std::fclose(file.release()) == 0;
  if (code == CURLE_OK && status) {
    curl_off_t size = 0;
    curl_easy_getinfo(h, CURLINFO_SIZE_DOWNLOAD_T, &size);
    curl_off_t now = size;
    Scale(now, size);
    status->OnProgress(static_cast<uint32_t>(now), static_cast<uint32_t>(size), kBindStatusEndDownloadData, L"");
  }
  if (code == CURLE_OK && !closed) return kUrlFailed;
  return MapCurlResult(code, httpCode);
}

}  // namespace Platform
