#include "platform/debug_output.h"

#include <unistd.h>

#include <memory>
#include <mutex>

#include "platform/code_page.h"

namespace Platform {
namespace {

std::mutex g_captureMutex;
std::shared_ptr<DebugOutputCapture> g_capture;

}  // namespace

void SetDebugOutputCapture(DebugOutputCapture capture) {
  std::lock_guard<std::mutex> lock(g_captureMutex);
  g_capture = capture ? std::make_shared<DebugOutputCapture>(std::move(capture)) : nullptr;
}

void DebugOutput(const std::wstring& record) {
  std::shared_ptr<DebugOutputCapture> capture;
  {
    std::lock_guard<std::mutex> lock(g_captureMutex);
    capture = g_capture;
  }
  if (capture) {
    (*capture)(record);
    return;
  }
  // One write per record keeps records from different threads apart.
  const std::string bytes = WideToMultiByte(record, kCodePageUtf8);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(STDERR_FILENO, bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
}

}  // namespace Platform
