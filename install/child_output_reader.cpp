#include "install/child_output_reader.h"

#include "install/output_lines.h"

namespace {
constexpr size_t kReadBytes = 1024;
// How long one wait for output lasts before the child's state is asked again.
constexpr int kPollMs = 100;
}  // namespace

bool ReadChildLines(Platform::ChildProcess& child, const ChildLineHandler& onLine) {
  using Status = Platform::ChildProcess::ReadStatus;
  OutputLineAssembler assembler;
  char buffer[kReadBytes];
  bool exited = false;
  for (;;) {
    // Once the child has ended, only what is already in the pipe is read.
    const auto read = child.ReadOutput(buffer, sizeof buffer, exited ? 0 : kPollMs);
    if (read.status == Status::Data) {
      for (const std::string& line : assembler.Append(buffer, read.bytes))
        if (onLine(line)) return true;
      continue;
    }
    if (exited) break;
    if (read.status == Status::EndOfFile || read.status == Status::Failed) {
      // Nothing can arrive any more; only the child's end is left to wait for.
      child.WaitForExit();
    }
    exited = child.HasExited();
  }
  std::string tail;
  return assembler.TakeTail(tail) && onLine(tail);
}
