#include "platform/process_info.h"

#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "platform/code_page.h"

namespace Platform {

uint32_t CurrentProcessId() { return static_cast<uint32_t>(::getpid()); }

uint32_t CurrentThreadId() { return static_cast<uint32_t>(::syscall(SYS_gettid)); }

void SetCurrentThreadName(const std::string& name) {
  // Linux keeps at most 15 bytes of a thread name.
  ::pthread_setname_np(::pthread_self(), name.substr(0, 15).c_str());
}

std::wstring ExecutablePath() {
  char buffer[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  if (n <= 0) return std::wstring();
  return MultiByteToWide(std::string(buffer, static_cast<size_t>(n)), kCodePageAnsi);
}

std::vector<std::wstring> ProcessArguments() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::wstring> args;
  size_t start = 0;
  while (start < all.size()) {
    size_t end = all.find('\0', start);
    if (end == std::string::npos) end = all.size();
    args.push_back(MultiByteToWide(all.substr(start, end - start), kCodePageAnsi));
    start = end + 1;
  }
  return args;
}

}  // namespace Platform
