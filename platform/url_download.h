// The system's URL download service: one blocking call fetches a URL to a
// file and reports progress to a bind-status-style callback, which can
// abort the download by returning a failure. Results are HRESULT values.
// On POSIX it runs on libcurl: redirects followed, HTTP errors fail, TLS
// verified, the target written directly (truncated first), no resume.
#pragma once
#include <cstdint>
#include <string>

namespace Platform {

using UrlResult = int32_t;  // an HRESULT
constexpr UrlResult kUrlOk = 0;                                              // S_OK
constexpr UrlResult kUrlNotImplemented = static_cast<int32_t>(0x80004001u);  // E_NOTIMPL
constexpr UrlResult kUrlAborted = static_cast<int32_t>(0x80004004u);         // E_ABORT
constexpr UrlResult kUrlFailed = static_cast<int32_t>(0x80004005u);          // E_FAIL (target not writable)
constexpr UrlResult kUrlCannotConnect = static_cast<int32_t>(0x800C0004u);   // INET_E_CANNOT_CONNECT
constexpr UrlResult kUrlNotFound = static_cast<int32_t>(0x800C0005u);        // INET_E_RESOURCE_NOT_FOUND
constexpr UrlResult kUrlDownloadFailure = static_cast<int32_t>(0x800C0008u); // INET_E_DOWNLOAD_FAILURE

// Status codes passed to OnProgress (the service's bind-status numbers).
constexpr uint32_t kBindStatusConnecting = 2;
constexpr uint32_t kBindStatusBeginDownloadData = 4;
constexpr uint32_t kBindStatusDownloadingData = 5;
constexpr uint32_t kBindStatusEndDownloadData = 6;

class UrlDownloadStatus {
 public:
  virtual ~UrlDownloadStatus() = default;
  // Called on the downloading thread; any result but kUrlOk aborts the
  // download, which then ends with kUrlAborted. Counts are 32-bit (scaled
  // down together for files of 4 GiB and more).
  virtual UrlResult OnProgress(uint32_t progress, uint32_t progressMax, uint32_t statusCode,
                               const wchar_t* statusText) = 0;
};

// Blocking. `status` may be null.
UrlResult DownloadUrlToFile(const std::wstring& address, const std::wstring& path, UrlDownloadStatus* status);

}  // namespace Platform
