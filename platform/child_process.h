// One hidden child process with three pipes (standard input, output, error),
// started from a Windows-style command line. Only the child's pipe ends are
// inherited; every other descriptor of ours stays closed to it. The exit code
// reads as kStillActive while the child runs (so a child that really exits
// with 259 looks like it is still running, as on Windows). The error pipe is
// drained and discarded while the output is read, so a chatty child cannot
// block on it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace Platform {

constexpr uint32_t kStillActive = 259;
// A command line must fit a 1024-character buffer with its terminator.
constexpr size_t kMaxCommandLineChars = 1023;

class ChildProcess {
 public:
  enum class ReadStatus { Data, Timeout, EndOfFile, Failed };
  struct ReadResult {
    ReadStatus status = ReadStatus::Failed;
    size_t bytes = 0;
  };

  ChildProcess() = default;
  ~ChildProcess();  // closes every pipe end still open; reaps an exited child
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Creates the pipes and starts the program named by the first token of
  // `commandLine` (POSIX: split with the Windows rules into argv). False
  // when the line is too long, a pipe cannot be made or the program cannot
  // be started. Call once per object.
  bool Start(const std::wstring& commandLine);

  // Waits at most `timeoutMs` (0: just look) for output and reads what is
  // there, at most `capacity` bytes.
  ReadResult ReadOutput(char* buffer, size_t capacity, int timeoutMs);
  // kStillActive while the child runs, else its exit code (POSIX: 128 +
  // signal number when a signal ended it). Never blocks.
  uint32_t ExitCode();
  // Blocks until the child has ended and returns its exit code.
  uint32_t WaitForExit();

  // True once the child has ended (whatever its exit code); never blocks.
  bool HasExited() { return ExitCode() != kStillActive || reaped_; }
  bool Started() const { return pid_ > 0; }
  int ProcessId() const { return pid_; }

 private:
  struct PipePair {
    int readEnd = -1;
    int writeEnd = -1;
  };
  static void ClosePipe(PipePair& pipe);
  void DrainErrorPipe();

  PipePair error_;
  PipePair output_;
  PipePair input_;
  int pid_ = -1;
  bool reaped_ = false;
  uint32_t exitCode_ = kStillActive;
};

}  // namespace Platform
