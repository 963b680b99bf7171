// The download engine interface: one package URL fetched to one local path,
// every outcome reported through a StageCallback with the codes 1001-1006.
// Engines never throw and Start() returns nothing; the owner creates exactly
// one engine (chosen by DownloadType) and reuses it for every attempt.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// (code, value, text): text is never null and valid only during the call.
// Called on engine threads; receivers must be thread-safe.
using StageCallback = std::function<void(int32_t code, double value, const wchar_t* text)>;

// A stage code kept beyond the callback (the callback's text pointer is not).
struct StageEvent {
  int32_t code = 0;
  double value = 0.0;
  std::wstring text;
};

enum DownloadCode : int32_t {
  DL_CODE_START = 1001,     // value 1.0: the worker has begun an attempt
  DL_CODE_PROGRESS = 1002,  // value: fraction received, 0.0..1.0
  DL_CODE_SUCCESS = 1003,   // text "LibCurl" or "URLDownloadToFile"
  DL_CODE_FAIL = 1004,      // value: failure code of the last attempt; final
  DL_CODE_RETRY = 1005,     // value as 1004; the owner should call Start() again
  DL_CODE_NOTICE = 1006,    // text: a notice about the checksum step, never a verdict
};

// Pauses between transfer attempts. Production values by default; tests
// shorten them so failure budgets run quickly.
struct DownloadTiming {
  int singleRetryMs = 500;   // CCurlDownloader between transfers
  int partRetryMs = 400;     // CMTCurlDownloader between attempts of one part
  int partStaggerMs = 100;   // CMTCurlDownloader between starting the parts
  int waiterPollMs = 200;    // CMTCurlDownloader's waiter
  int winRetryMs = 1000;     // CWinDownloader after each failed call
  // Whole seconds since 1970 for the once-per-second progress gate; null
  // means the system clock.
  int64_t (*secondsNow)() = nullptr;
};

class CDownloader {
 public:
  virtual ~CDownloader() = default;
  // Begins an attempt on the engine's own worker and returns at once. May be
  // called from inside the callback (in answer to 1005) without deadlock.
  virtual void Start() = 0;
};

enum class DownloadEngineKind { Curl, WinUrl, MultiCurl };

// DownloadType 2 -> WinUrl, 3 -> MultiCurl, anything else -> Curl.
DownloadEngineKind SelectDownloadEngine(int downloadType);

// Constructs the engine for `downloadType` with the owner's callback, the
// package URL and the package path. Destroying it aborts a running transfer
// promptly and joins every thread it started.
std::unique_ptr<CDownloader> CreateDownloader(int downloadType, StageCallback callback, const std::wstring& url,
                                              const std::wstring& packagePath,
                                              const DownloadTiming& timing = DownloadTiming());
