// Cuts a child's output into whole lines across reads: the unfinished tail
// of one read waits for the next, so a line (or a multi-byte character)
// written in pieces is seen whole. Bytes after a zero byte in one read are
// ignored, as the protocol reads each chunk as a zero-terminated text. A
// tail that grows past kMaxPendingBytes without a line feed is let go as a
// line of its own, so a runaway child cannot exhaust memory.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

class OutputLineAssembler {
 public:
  static constexpr size_t kMaxPendingBytes = 64 * 1024;

  // Adds one read; returns the lines it completed, without their line feed.
  std::vector<std::string> Append(const char* data, size_t size);
  // Hands out the unfinished tail once the output has ended; false when empty.
  bool TakeTail(std::string& line);

 private:
  std::string pending_;
};
