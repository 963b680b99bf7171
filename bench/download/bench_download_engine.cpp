// bench-download-engine TYPE URL PATH: runs the engine of DownloadType TYPE
// once (MD5 step included), prints "code=<verdict> value=<value>
// peak_rss_kib=<n>" and exits 0 only when the package arrived (1003).
#include <curl/curl.h>

#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <mutex>
#include <string>

#include "download/downloader.h"
#include "utils/text.h"

namespace {

// Peak resident set of this process as the kernel reports it (VmHWM).
long PeakRssKib() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: bench-download-engine TYPE URL PATH   (TYPE 1: single connection, 3: ranged)\n";
    return 2;
  }
  curl_global_init(CURL_GLOBAL_ALL);
  std::mutex mutex;
  std::condition_variable done;
  int32_t verdict = 0;
  double verdictValue = 0.0;
  std::unique_ptr<CDownloader> engine;
  engine = CreateDownloader(
      std::atoi(argv[1]),
      [&](int32_t code, double value, const wchar_t*) {
        if (code != DL_CODE_SUCCESS && code != DL_CODE_FAIL && code != DL_CODE_RETRY) return;
        if (code == DL_CODE_RETRY) {
          engine->Start();
          return;
        }
        std::lock_guard<std::mutex> lock(mutex);
        verdict = code;
        verdictValue = value;
        done.notify_all();
      },
      Utils::ToWide(argv[2], 65001), Utils::ToWide(argv[3], 65001));
  engine->Start();
  {
    std::unique_lock<std::mutex> lock(mutex);
    done.wait(lock, [&] { return verdict != 0; });
  }
  engine.reset();
  curl_global_cleanup();
  std::cout << "code=" << verdict << " value=" << verdictValue << " peak_rss_kib=" << PeakRssKib() << std::endl;
  return verdict == DL_CODE_SUCCESS ? 0 : 1;
}
