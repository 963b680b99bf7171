#include "download/curl_client.h"

#include <ctime>

#include "analytics/installer_reports.h"
#include "app/installer_settings.h"
#include "platform/file_system.h"
#include "utils/log.h"
#include "utils/text.h"
#include "utils/wide_format.h"

namespace {

std::wstring CurlText(int code) { return Utils::ToWide(curl_easy_strerror(static_cast<CURLcode>(code)), 0); }

size_t WriteToFile(char* data, size_t size, size_t count, void* file) {
  return std::fwrite(data, size, count, static_cast<FILE*>(file));
}

bool InSuccessRange(long code) { return code >= 200 && code <= 399; }

}  // namespace

void ReportLengthLookupFailure(long responseCode) {
  const std::wstring message = Utils::FormatWide(L"1.获取文件大小的状态码为=%ld；", responseCode);
  ReportTask(L"下载失败原因", message.substr(0, 199), 0.0f, {{L"AB", Settings().AbGroup}});
}

CurlClient::CurlClient(std::wstring url, std::wstring targetPath, void* owner, ProgressHook hook,
                       SecondsClock secondsNow)
    : url_(std::move(url)),
      targetPath_(std::move(targetPath)),
      owner_(owner),
      progressHook_(hook),
      secondsNow_(secondsNow) {}

CurlClient::~CurlClient() {
  Platform::DeleteOneFile(GetFilePath(true));
  stop_ = true;
}

std::wstring CurlClient::GetFilePath(bool withPart) const { return withPart ? targetPath_ + L".part" : targetPath_; }

int64_t CurlClient::NowSeconds() const {
  return secondsNow_ ? secondsNow_() : static_cast<int64_t>(std::time(nullptr));
}

int32_t CurlClient::Start() {
  LOG_LINE(L"start download");
  const std::string url = Utils::StartsWith(url_, L"file:///") ? Utils::ToNarrow(url_, 0) : Utils::ToNarrow(url_, 65001);

  int32_t result = 0;
  if (realUrl_.empty() || length_ < kMinLength) {
    CurlEasy head = Head(url);
    realUrl_ = GetRealUrl(head.get());
    length_ = GetDownloadFileLength(head.get());
  }
  if (realUrl_.empty() || length_ < kMinLength) {
    realUrl_ = GetRealUrl_Str(url);
    if (!realUrl_.empty()) length_ = GetDownloadFileLength_Str(realUrl_);
    if (length_ < kMinLength) result = kLengthUnknown;
  }
  if (result == 0) result = Transfer(Platform::ToFileSystemPath(GetFilePath(true)));

  LOG_LINE(L"error:%d:%s", result, CurlText(result).c_str());
  if (result == 0 && !FinishPart()) result = kRenameFailed;
  LOG_LINE(L"end download");
  return result;
}

// Moves the complete ".part" file over the target. A failure here is a
// failed attempt: reporting success without a package would hand the
// installer a missing file.
bool CurlClient::FinishPart() {
  Platform::DeleteOneFile(targetPath_);
  return Platform::RenameFile(GetFilePath(true), targetPath_);
}

int32_t CurlClient::Transfer(const std::string& partPath) {
  CurlEasy handle(curl_easy_init());
  if (!handle) return kNoHandle;
  FileStream file(std::fopen(partPath.c_str(), "ab+"));
  if (!file) return kPartFileUnopened;
  resumeOffset_ = Platform::FileSize(GetFilePath(true));
  // A ".part" that already holds the whole package (the connection broke
  // after the last byte, or only the rename failed) cannot be resumed: the
  // server would refuse the empty range every time. One longer than the
  // package is damaged and is fetched again from the start.
  const int64_t length = static_cast<int64_t>(length_);
  if (resumeOffset_ == length) return 0;
  if (resumeOffset_ > length) {
    file.reset(std::fopen(partPath.c_str(), "wb+"));
    if (!file) return kPartFileUnopened;
    resumeOffset_ = 0;
  }

  // No "Accept-Encoding" line: libcurl does not decode, so a compressed
  // answer would be written to disk as the package.
  CurlHeaderList headers(curl_slist_append(nullptr, "Connection: keep-alive"));
  CURL* h = handle.get();
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(h, CURLOPT_TCP_KEEPALIVE, 1L);
  curl_easy_setopt(h, CURLOPT_TCP_KEEPIDLE, 10L);
  curl_easy_setopt(h, CURLOPT_TCP_KEEPINTVL, 10L);
  curl_easy_setopt(h, CURLOPT_TIMEOUT, 0L);
  int settings = curl_easy_setopt(h, CURLOPT_URL, realUrl_.c_str());
  settings |= curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  settings |= curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &WriteToFile);
  settings |= curl_easy_setopt(h, CURLOPT_WRITEDATA, file.get());
  settings |= curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  settings |= curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &CurlClient::ProgressCallback);
  settings |= curl_easy_setopt(h, CURLOPT_XFERINFODATA, this);
  settings |= curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
  settings |= curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 60L);
  if (resumeOffset_ >= 1) settings |= curl_easy_setopt(h, CURLOPT_RESUME_FROM_LARGE, static_cast<curl_off_t>(resumeOffset_));
  if (settings != 0) return settings;
  if (stop_) return CURLE_ABORTED_BY_CALLBACK;

  transfer_ = h;
  const int32_t result = curl_easy_perform(h);
  transfer_ = nullptr;
  return result;
}

CURLcode CurlClient::ConfigureLookup(CURL* h, const std::string& url, bool followRedirects) {
  return ConfigureHeadLookup(h, url, followRedirects, &CurlClient::StopOnlyCallback, this);
}

CurlEasy CurlClient::Head(const std::string& url) {
  CurlEasy handle(curl_easy_init());
  int outcome = 0;
  if (handle) {
    outcome = ConfigureLookup(handle.get(), url, true);
    if (outcome == 0) {
      outcome = curl_easy_perform(handle.get());
      if (outcome != 0) LOG_TEXT(L"error:%d:%s", outcome, CurlText(outcome).c_str());
    }
  }
  LOG_LINE(L"error:%d:%s", outcome, CurlText(outcome).c_str());
  return handle;
}

std::string CurlClient::GetRealUrl(CURL* handle) {
  char* effective = nullptr;
  if (!handle || curl_easy_getinfo(handle, CURLINFO_EFFECTIVE_URL, &effective) != CURLE_OK || !effective)
    return std::string();
  return effective;
}

double CurlClient::GetDownloadFileLength(CURL* handle) {
  curl_off_t announced = -1;
  const int query = handle ? curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced)
                           : CURLE_BAD_FUNCTION_ARGUMENT;
  LOG_LINE(L"error:%d:%s", query, CurlText(query).c_str());
  long code = 0;
  if (handle && curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &code) == CURLE_OK && InSuccessRange(code))
    return static_cast<double>(announced);
  ReportLengthLookupFailure(code);
  return -1.0;
}

std::string CurlClient::GetRealUrl_Str(const std::string& url) {
  CurlEasy handle(curl_easy_init());
  if (!handle) return url;
  std::string effective;
  if (ConfigureLookup(handle.get(), url, true) == CURLE_OK) {
    const int result = curl_easy_perform(handle.get());
    if (result != 0) LOG_TEXT(L"error:%d:%s", result, CurlText(result).c_str());
  }
  effective = GetRealUrl(handle.get());
  return effective.empty() ? url : effective;
}

double CurlClient::GetDownloadFileLength_Str(const std::string& url) {
  CurlEasy handle(curl_easy_init());
  if (!handle) return -1.0;
  CURL* h = handle.get();
  if (ConfigureLookup(h, url, false) == CURLE_OK) {
    curl_easy_setopt(h, CURLOPT_HEADER, 1L);
    curl_easy_perform(h);
  }
  curl_off_t announced = -1;
  curl_easy_getinfo(h, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
  long code = 0;
  const int query = curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &code);
  if (query != CURLE_OK || !InSuccessRange(code)) ReportLengthLookupFailure(query == CURLE_OK ? code : 0);
  LOG_LINE(L"error:%d:%s", query, CurlText(query).c_str());
  return static_cast<double>(announced);
}

int CurlClient::StopOnlyCallback(void* client, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<CurlClient*>(client)->stop_ ? 1 : 0;
}

int CurlClient::ProgressCallback(void* client, curl_off_t dltotal, curl_off_t dlnow, curl_off_t, curl_off_t) {
  auto* self = static_cast<CurlClient*>(client);
  if (self->stop_) return 1;
  const int64_t now = self->NowSeconds();
  if (now <= self->lastReportTime_) return 0;
  self->lastReportTime_ = now;

  curl_off_t speedBytes = 0;
  double speed = 0.0;
  if (self->transfer_ && curl_easy_getinfo(self->transfer_, CURLINFO_SPEED_DOWNLOAD_T, &speedBytes) == CURLE_OK)
    speed = static_cast<double>(speedBytes);

  double percent;
  if (self->length_ > kMinLength) {
    percent = static_cast<double>(self->resumeOffset_ + dlnow) / self->length_ * 100.0;
  } else {
    if (dlnow <= 0 || dltotal <= 0) return 0;
    percent = static_cast<double>(dlnow) * 100.0 / static_cast<double>(dltotal);
  }
  if (percent == 0.0) return 0;
  if (self->progressHook_) self->progressHook_(self->owner_, speed, 0.0, percent);
  if (dltotal != 0) {
    LOG_TEXT(L" %dM %dM   progress:%f%%  speed:%f \n", static_cast<int>(dlnow / 1048576),
             static_cast<int>(dltotal / 1048576), static_cast<double>(static_cast<float>(percent)),
             static_cast<double>(static_cast<float>(speed / 1024.0)));
  }
  return 0;
}
