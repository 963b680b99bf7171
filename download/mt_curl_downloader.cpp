#include "download/mt_curl_downloader.h"

#include <ctime>

#include "app/installer_settings.h"
#include "download/part_ranges.h"
#include "platform/file_system.h"
#include "utils/file_md5.h"
#include "utils/log.h"
#include "utils/text.h"

namespace {

std::wstring CurlText(int code) { return Utils::ToWide(curl_easy_strerror(static_cast<CURLcode>(code)), 0); }

// Appends `from` to `to`; false on a read or write error.
bool AppendFile(FILE* to, FILE* from) {
  std::vector<char> block(1 << 16);
  size_t got;
  while ((got = std::fread(block.data(), 1, block.size(), from)) > 0) {
    if (std::fwrite(block.data(), 1, got, to) != got) return false;
  }
  return !std::ferror(from);
}

}  // namespace

CMTCurlDownloader::CMTCurlDownloader(StageCallback callback, const std::wstring& url,
                                     const std::wstring& packagePath, const DownloadTiming& timing)
    : callback_(std::move(callback)),
      packagePath_(packagePath),
      url_(url),
      timing_(timing),
      runner_([this] { RunAttempt(); }) {
  Platform::DeleteOneFile(packagePath_);
  DeletePartFiles();
}

CMTCurlDownloader::~CMTCurlDownloader() {
  runner_.Abort();
  runner_.JoinWorker();
}

void CMTCurlDownloader::Start() { runner_.Start(); }

std::wstring CMTCurlDownloader::PartPath(const std::wstring& packagePath, int index) {
  return packagePath + L"_" + std::to_wstring(index);
}

void CMTCurlDownloader::Emit(int32_t code, double value, const wchar_t* text) {
  if (!runner_.Aborted() && callback_) callback_(code, value, text);
}

int64_t CMTCurlDownloader::NowSeconds() const {
  return timing_.secondsNow ? timing_.secondsNow() : static_cast<int64_t>(std::time(nullptr));
}

void CMTCurlDownloader::DeletePartFiles() {
  for (int i = 0; i < kMaxParts; ++i) Platform::DeleteOneFile(PartPath(packagePath_, i));
}

void CMTCurlDownloader::ReleaseParts() {
  for (auto& part : attempt_.parts) {
    part->file.reset();
    part->handle.reset();
  }
}

// One attempt on the worker: the parts and the waiter run on threads of
// their own, and all of them are joined before the next attempt begins.
void CMTCurlDownloader::RunAttempt() {
  Start_Down();
  attempt_.threads.clear();
  attempt_.parts.clear();
}

void CMTCurlDownloader::Start_Down() {
  Emit(DL_CODE_START, 1.0, L"");
  LOG_LINE(L"start download");
  const std::string url = Utils::StartsWith(url_, L"file:///") ? Utils::ToNarrow(url_, 0) : Utils::ToNarrow(url_, 65001);

  Platform::DeleteOneFile(packagePath_);
  if (lastReportedPercent_ == 0.0) DeletePartFiles();
  if (realUrl_.empty() || length_ < kMinLength) {
    if (!getRealDownloadUrl(url)) {
      Emit(DL_CODE_FAIL, 0.0, L"LibCurl");
      return;
    }
  }

  const std::vector<PartRange> ranges = ComputePartRanges(length_);
  for (size_t i = 0; i < ranges.size(); ++i) {
    auto part = std::make_unique<DownloadPart>();
    part->path = PartPath(packagePath_, static_cast<int>(i));
    int64_t existing = Platform::FileSize(part->path);
    if (existing < 0) existing = 0;
    part->nextOffset = ranges[i].start + existing;
    part->endOffset = ranges[i].end;
    part->received = existing;
    part->handle.reset(curl_easy_init());
    part->url = realUrl_;
    if (part->endOffset < part->nextOffset) {
      part->status = 0;
    } else {
      part->status = -1;
      part->file.reset(std::fopen(Platform::ToFileSystemPath(part->path).c_str(), "ab+"));
      if (!part->file) part->status = kPartUnopened;
    }
    attempt_.parts.push_back(std::move(part));
  }

  for (auto& part : attempt_.parts) {
    if (part->status != -1) continue;
    if (runner_.Aborted()) break;
    ++runningParts_;
    DownloadPart* fetched = part.get();
    auto thread = std::make_unique<Utils::Thread>(this, L"", [fetched](void* engine) {
      downloadThreadFun(static_cast<CMTCurlDownloader*>(engine), fetched);
    });
    if (!thread->HasHandle()) {
      --runningParts_;  // the part stays at -1 and fails the attempt
      continue;
    }
    thread->Resume();
    attempt_.threads.push_back(std::move(thread));
    runner_.Pause(timing_.partStaggerMs);
  }

  auto waiter = std::make_unique<Utils::Thread>(this, L"", [](void* engine) {
    waitForFinishThreadFun(static_cast<CMTCurlDownloader*>(engine));
  });
  if (waiter->HasHandle()) waiter->Resume();
  attempt_.threads.push_back(std::move(waiter));
}

int CMTCurlDownloader::StopOnly(void* engine, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<CMTCurlDownloader*>(engine)->runner_.Aborted() ? 1 : 0;
}

bool CMTCurlDownloader::getRealDownloadUrl(const std::string& url) {
  realUrl_.clear();
  expectedDigest_.clear();
  length_ = 0;
  if (!Settings().libcurlAvailable) return false;

  CurlEasy handle(curl_easy_init());
  if (!handle) return false;
  CURL* h = handle.get();
  CurlHeaderList headers(curl_slist_append(nullptr, "Connection: keep-alive"));
  // TLS peer and host stay verified (libcurl's defaults).
  int settings = curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
  settings |= ConfigureHeadLookup(h, url, true, &CMTCurlDownloader::StopOnly, this);
  if (settings != 0) return false;
  if (curl_easy_perform(h) != CURLE_OK) return false;

  char* effective = nullptr;
  if (curl_easy_getinfo(h, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective && *effective) {
    realUrl_ = effective;
    LOG_LINE(L"Download File real url %s", Utils::ToWide(realUrl_, 0).c_str());
    expectedDigest_ = Utils::UrlParentSegment(realUrl_);
  }
  curl_off_t announced = -1;
  long code = 0;
  if (curl_easy_getinfo(h, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) == CURLE_OK &&
      curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &code) == CURLE_OK && code >= 200 && code <= 399) {
    length_ = announced;
    LOG_LINE(L"Download File Length %lld", static_cast<long long>(length_));
  }
  return !realUrl_.empty() && length_ >= kMinLength;
}

void CMTCurlDownloader::downloadThreadFun(CMTCurlDownloader* engine, DownloadPart* part) {
  engine->runner_.AdoptCurrentThread();
  int budget = kPartBudget;
  int32_t result = downloadExe(engine, part);
  while (result != 0 && budget > 0) {
    budget -= (result == CURLE_PARTIAL_FILE) ? 1 : 2;
    LOG_LINE(L"CurlDownLoader Code=%d", result);
    if (!engine->runner_.Pause(engine->timing_.partRetryMs)) break;
    result = downloadExe(engine, part);
  }
  part->file.reset();
  --engine->runningParts_;
}

int32_t CMTCurlDownloader::downloadExe(CMTCurlDownloader* engine, DownloadPart* part) {
  // A part that already holds its whole range (a surplus cut off by the
  // write function) is complete: asking for an empty range would only fail.
  if (part->nextOffset > part->endOffset) {
    part->file.reset();
    part->status = 0;
    return 0;
  }
  const std::string range = std::to_string(part->nextOffset) + "-" + std::to_string(part->endOffset);
  CURL* h = part->handle.get();
  if (!h) return part->status = CURLE_FAILED_INIT;
  // TLS peer and host stay verified (libcurl's defaults).
  int settings = curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  settings |= curl_easy_setopt(h, CURLOPT_URL, part->url.c_str());
  settings |= curl_easy_setopt(h, CURLOPT_TIMEOUT, 0L);
  settings |= curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  settings |= curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &CMTCurlDownloader::WritePart);
  settings |= curl_easy_setopt(h, CURLOPT_WRITEDATA, part);
  settings |= curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  settings |= curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &CMTCurlDownloader::TransferInfo);
  settings |= curl_easy_setopt(h, CURLOPT_XFERINFODATA, engine);
  settings |= curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
  settings |= curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 60L);
  settings |= curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  settings |= curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, 5L);
  settings |= curl_easy_setopt(h, CURLOPT_RANGE, range.c_str());
  if (settings != 0) return settings;

  part->requestStart = part->nextOffset;
  part->answerChecked = false;
  int32_t result = curl_easy_perform(h);
  // A clean end that left bytes of the range missing (a short answer) is a
  // partial transfer: joining it would produce a package with a hole.
  if (result == 0 && part->nextOffset <= part->endOffset) result = CURLE_PARTIAL_FILE;
  if (result != 0) {
    LOG_LINE(L"error:%d:%s", result, CurlText(result).c_str());
  } else {
    LOG_LINE(L"curl_easy_cleanup");
  }
  curl_easy_reset(h);
  if (result == 0) part->file.reset();
  part->status = result;
  return result;
}

size_t CMTCurlDownloader::WritePart(char* data, size_t size, size_t count, void* userdata) {
  auto* part = static_cast<DownloadPart*>(userdata);
  if (!part->file || part->nextOffset > part->endOffset) return 0;
  if (!part->answerChecked) {
    // Only a ranged answer, or a whole body for a range that starts at 0,
    // puts the right bytes at the right place.
    long code = 0;
    curl_easy_getinfo(part->handle.get(), CURLINFO_RESPONSE_CODE, &code);
    if (code != 206 && !(code == 200 && part->requestStart == 0)) return 0;
    part->answerChecked = true;
  }
  const int64_t offered = static_cast<int64_t>(size * count);
  const int64_t room = part->endOffset - part->nextOffset + 1;
  const size_t wanted = static_cast<size_t>(offered > room ? room : offered);
  const size_t written = std::fwrite(data, 1, wanted, part->file.get());
  part->nextOffset += static_cast<int64_t>(written);
  part->received += static_cast<int64_t>(written);
  return written;
}

int CMTCurlDownloader::TransferInfo(void* userdata, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto* engine = static_cast<CMTCurlDownloader*>(userdata);
  if (engine->runner_.Aborted()) return 1;
  std::lock_guard<std::mutex> guard(engine->lock_);
  const int64_t now = engine->NowSeconds();
  if (now <= engine->lastReportTime_) return 0;
  engine->lastReportTime_ = now;
  double percent = 0.0;
  if (engine->length_ >= kMinLength) {
    for (const auto& part : engine->attempt_.parts) {
      const int64_t received = part->received.load();
      if (received > 0) percent += static_cast<double>(received) * 100.0 / static_cast<double>(engine->length_);
    }
    if (percent > 100.0) return 0;
  }
  if (percent - engine->lastReportedPercent_ >= 1.0) {
    engine->lastReportedPercent_ = percent;
    engine->Emit(DL_CODE_PROGRESS, percent / 100.0, L"");
  }
  return 0;
}

void CMTCurlDownloader::FailAttempt(int32_t code) {
  ReleaseParts();
  if (lastReportedPercent_ == 0.0) DeletePartFiles();
  if (retried_) {
    lastReportedPercent_ = 0.0;
    Emit(DL_CODE_FAIL, code, L"LibCurl");
  } else {
    retried_ = true;
    Emit(DL_CODE_RETRY, code, L"LibCurl");
  }
}

void CMTCurlDownloader::waitForFinishThreadFun(CMTCurlDownloader* engine) {
  engine->runner_.AdoptCurrentThread();
  while (engine->runningParts_ > 0) {
    if (!engine->runner_.Pause(engine->timing_.waiterPollMs)) return;
  }
  if (engine->runner_.Aborted()) return;

  int32_t failure = 0;
  for (const auto& part : engine->attempt_.parts) {
    if (part->status != 0) {
      failure = part->status;
      break;
    }
  }
  if (failure != 0) {
    engine->FailAttempt(failure);
    return;
  }

  // Every part is complete: join them into part file 0, then make it the package.
  {
    std::lock_guard<std::mutex> guard(engine->lock_);
    engine->lastReportedPercent_ = 0.0;
  }
  auto& parts = engine->attempt_.parts;
  FileStream joined(std::fopen(Platform::ToFileSystemPath(parts[0]->path).c_str(), "ab+"));
  bool intact = joined != nullptr;
  for (size_t i = 1; i < parts.size(); ++i) {
    if (intact) {
      FileStream piece(std::fopen(Platform::ToFileSystemPath(parts[i]->path).c_str(), "rb+"));
      // A part that cannot be read back fails the attempt like a failed
      // part: skipping it would leave a hole in the package.
      intact = piece && AppendFile(joined.get(), piece.get());
    }
    LOG_LINE(L"partPath::%s", parts[i]->path.c_str());
  }
  if (joined && std::fclose(joined.release()) != 0) intact = false;
  if (!intact) {
    engine->FailAttempt(kPartUnopened);
    return;
  }
  if (!Platform::RenameFile(parts[0]->path, engine->packagePath_)) {
    engine->FailAttempt(kJoinRenameFailed);
    return;
  }
  engine->DeletePartFiles();

  if (engine->expectedDigest_.size() == 32) {
    const std::string actual = Utils::FileMd5Hex(Platform::ToFileSystemPath(engine->packagePath_));
    if (actual.size() == 32 && actual != engine->expectedDigest_) {
      engine->Emit(DL_CODE_NOTICE, 0.0, L"mtcurl文件md5校验失败");
      Platform::DeleteOneFile(engine->packagePath_);
      engine->ReleaseParts();
      if (engine->retried_) {
        LOG_LINE(L"finish recv, md5 chaek failed and retry failed.");
        engine->Emit(DL_CODE_FAIL, 0.0, L"LibCurl");
      } else {
        engine->retried_ = true;
        LOG_LINE(L"finish recv, md5 chaek failed retry once.");
        engine->Emit(DL_CODE_RETRY, 0.0, L"LibCurl");
      }
      return;
    }
  } else {
    engine->Emit(DL_CODE_NOTICE, 0.0, L"mtcurl获取url-md5失败");
  }
  LOG_LINE(L"finish recv");
  engine->ReleaseParts();
  engine->Emit(DL_CODE_SUCCESS, 0.0, L"LibCurl");
}
