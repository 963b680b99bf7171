// POSIX ChildProcess: pipe2(O_CLOEXEC) for every pipe, posix_spawn with the
// child's ends dup2'ed onto 0/1/2 (which clears close-on-exec on the copies
// only) and every other descriptor closed in the child.
#include "platform/child_process.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <vector>

#include "platform/code_page.h"
#include "platform/command_line.h"

extern char** environ;

namespace Platform {
namespace {

int64_t MonotonicMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

uint32_t DecodeWaitStatus(int status) {
  if (WIFEXITED(status)) return static_cast<uint32_t>(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return 128u + static_cast<uint32_t>(WTERMSIG(status));
  return kStillActive;
}

// Spawns, retrying briefly on ETXTBSY: a file we just copied may still be open
// for writing in a child that another thread is forking at this moment.
int SpawnWithRetry(pid_t* pid, const char* program, const posix_spawn_file_actions_t* actions,
                   const posix_spawnattr_t* attr, char* const argv[], bool searchPath) {
  int rc = 0;
  for (int attempt = 0; attempt < 50; ++attempt) {
    rc = searchPath ? posix_spawnp(pid, program, actions, attr, argv, environ)
                    : posix_spawn(pid, program, actions, attr, argv, environ);
    if (rc != ETXTBSY) break;
    timespec pause{0, 10 * 1000 * 1000};
    nanosleep(&pause, nullptr);
  }
  return rc;
}

}  // namespace

void ChildProcess::ClosePipe(PipePair& pipe) {
  if (pipe.readEnd >= 0) close(pipe.readEnd);
  if (pipe.writeEnd >= 0) close(pipe.writeEnd);
  pipe.readEnd = pipe.writeEnd = -1;
}

ChildProcess::~ChildProcess() {
  ClosePipe(error_);
  ClosePipe(output_);
  ClosePipe(input_);
  if (pid_ > 0 && !reaped_) ExitCode();  // reap it if it has ended; never kill it
}

bool ChildProcess::Start(const std::wstring& commandLine) {
  if (pid_ > 0 || commandLine.size() > kMaxCommandLineChars) return false;
  const std::vector<std::wstring> arguments = SplitCommandLine(commandLine);
  if (arguments.empty() || arguments[0].empty()) return false;

  for (PipePair* pipe : {&error_, &output_, &input_}) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
      ClosePipe(error_);
      ClosePipe(output_);
      ClosePipe(input_);
      return false;
    }
    pipe->readEnd = fds[0];
    pipe->writeEnd = fds[1];
  }

  std::vector<std::string> narrow;
  narrow.reserve(arguments.size());
  for (const std::wstring& argument : arguments) narrow.push_back(WideToMultiByte(argument, kCodePageUtf8));
  std::vector<char*> argv;
  for (std::string& argument : narrow) argv.push_back(argument.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input_.readEnd, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output_.writeEnd, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, error_.writeEnd, STDERR_FILENO);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
#endif
  // The child starts with default signal handling, whatever ours is.
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigset_t noMask;
  sigemptyset(&noMask);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  posix_spawnattr_setsigmask(&attr, &noMask);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

  const bool searchPath = narrow[0].find('/') == std::string::npos;
  pid_t pid = -1;
  const int rc = SpawnWithRetry(&pid, narrow[0].c_str(), &actions, &attr, argv.data(), searchPath);
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);

  // The child's ends belong to the child now (or to nobody on failure).
  close(input_.readEnd);
  close(output_.writeEnd);
  close(error_.writeEnd);
  input_.readEnd = output_.writeEnd = error_.writeEnd = -1;
  if (rc != 0) {
    ClosePipe(error_);
    ClosePipe(output_);
    ClosePipe(input_);
    return false;
  }
  pid_ = pid;
  return true;
}

void ChildProcess::DrainErrorPipe() {
  char discard[4096];
  const ssize_t n = read(error_.readEnd, discard, sizeof discard);
  if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) {
    close(error_.readEnd);
    error_.readEnd = -1;
  }
}

ChildProcess::ReadResult ChildProcess::ReadOutput(char* buffer, size_t capacity, int timeoutMs) {
  ReadResult result;
  if (output_.readEnd < 0 || capacity == 0) return result;
  const int64_t deadline = MonotonicMs() + (timeoutMs > 0 ? timeoutMs : 0);
  for (;;) {
    pollfd fds[2] = {{output_.readEnd, POLLIN, 0}, {error_.readEnd, POLLIN, 0}};
    const nfds_t count = error_.readEnd >= 0 ? 2 : 1;
    const int64_t left = deadline - MonotonicMs();
    const int ready = poll(fds, count, left > 0 ? static_cast<int>(left) : 0);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return result;
    }
    if (count == 2 && fds[1].revents != 0) DrainErrorPipe();
    if (fds[0].revents != 0) {
      const ssize_t n = read(output_.readEnd, buffer, capacity);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return result;
      result.status = n == 0 ? ReadStatus::EndOfFile : ReadStatus::Data;
      result.bytes = static_cast<size_t>(n);
      return result;
    }
    if (ready == 0 || MonotonicMs() >= deadline) {
      result.status = ReadStatus::Timeout;
      return result;
    }
  }
}

uint32_t ChildProcess::ExitCode() {
  if (pid_ <= 0) return exitCode_;
  if (reaped_) return exitCode_;
  int status = 0;
  pid_t rc;
  do {
    rc = waitpid(pid_, &status, WNOHANG);
  } while (rc < 0 && errno == EINTR);
  if (rc == pid_) {
    reaped_ = true;
    exitCode_ = DecodeWaitStatus(status);
  }
  return exitCode_;
}

uint32_t ChildProcess::WaitForExit() {
  if (pid_ <= 0 || reaped_) return exitCode_;
  int status = 0;
  pid_t rc;
  do {
    rc = waitpid(pid_, &status, 0);
  } while (rc < 0 && errno == EINTR);
  reaped_ = true;
  exitCode_ = rc == pid_ ? DecodeWaitStatus(status) : 0;
  return exitCode_;
}

}  // namespace Platform
