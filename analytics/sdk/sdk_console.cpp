#include "analytics/sdk/sdk_console.h"

#include <cstdio>
#include <memory>
#include <mutex>

namespace analytics_sdk {
namespace {

std::mutex g_captureMutex;
std::shared_ptr<ConsoleCapture> g_capture;

}  // namespace

void SetConsoleCapture(ConsoleCapture capture) {
  std::lock_guard<std::mutex> lock(g_captureMutex);
  g_capture = capture ? std::make_shared<ConsoleCapture>(std::move(capture)) : nullptr;
}

void WriteConsoleLine(ConsoleStream stream, const std::string& message) {
  std::shared_ptr<ConsoleCapture> capture;
  {
    std::lock_guard<std::mutex> lock(g_captureMutex);
    capture = g_capture;
  }
  if (capture) {
    (*capture)(stream, message);
    return;
  }
  // One write per line keeps lines of different threads apart.
  const std::string line = message + "\n";
  FILE* out = stream == ConsoleStream::Out ? stdout : stderr;
  std::fwrite(line.data(), 1, line.size(), out);
  std::fflush(out);
}

}  // namespace analytics_sdk
