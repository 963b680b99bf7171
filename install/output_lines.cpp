#include "install/output_lines.h"

#include <cstring>

std::vector<std::string> OutputLineAssembler::Append(const char* data, size_t size) {
  const void* zero = std::memchr(data, '\0', size);
  if (zero) size = static_cast<size_t>(static_cast<const char*>(zero) - data);
  pending_.append(data, size);

  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t feed; (feed = pending_.find('\n', start)) != std::string::npos; start = feed + 1)
    lines.push_back(pending_.substr(start, feed - start));
  pending_.erase(0, start);
  if (pending_.size() > kMaxPendingBytes) {
    lines.push_back(pending_);
    pending_.clear();
  }
  return lines;
}

bool OutputLineAssembler::TakeTail(std::string& line) {
  if (pending_.empty()) return false;
  line.swap(pending_);
  pending_.clear();
  return true;
}
