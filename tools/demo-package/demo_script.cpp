#include "tools/demo-package/demo_script.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

void WaitForFile(const std::string& path) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!Exists(path) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string DecodeEscapes(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char next = text[++i];
    if (next == 'n') out += '\n';
    else if (next == 'r') out += '\r';
    else if (next == 't') out += '\t';
    else if (next == 'x' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else out += next;
  }
  return out;
}

void WriteOut(const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

std::string DemoScriptPath(const std::vector<std::string>& arguments, const char* envName) {
  for (const std::string& argument : arguments)
    if (argument.rfind("-demoscript=", 0) == 0) return argument.substr(12);
  const char* fromEnvironment = std::getenv(envName);
  return fromEnvironment ? fromEnvironment : "";
}

int RunDemoScript(const std::string& path, const std::vector<std::string>& arguments, const DemoPart& part) {
  if (path.empty()) return part.job(true);
  std::ifstream script(path);
  if (!script) {
    WriteOut("Error=demo script not readable: " + path + "\n");
    return 3;
  }
  std::string line;
  while (std::getline(script, line)) {
    if (line.empty() || line[0] == '#') continue;
    const size_t space = line.find(' ');
    const std::string verb = line.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
    if (verb == "say") {
      WriteOut(DecodeEscapes(rest) + "\n");
    } else if (verb == "write") {
      WriteOut(DecodeEscapes(rest));
    } else if (verb == "sleep") {
      std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(rest.c_str())));
    } else if (verb == "standard" || verb == "files") {
      const int code = part.job(verb == "standard");
      if (code != 0) return code;
    } else if (verb == "grandchild-until") {
      const pid_t pid = fork();
      if (pid == 0) {
        // The grandchild: keeps our standard output open, then leaves.
        if (fork() == 0) {
          WaitForFile(rest);
          _exit(0);
        }
        _exit(0);
      }
      int status = 0;
      if (pid > 0) waitpid(pid, &status, 0);
    } else if (verb == "flood") {
      const std::string line = "Progress=0.5\n";
      std::string bytes;
      for (long n = std::atol(rest.c_str()); n > 0; n -= static_cast<long>(line.size())) bytes += line;
      WriteOut(bytes);
    } else if (verb == "touch") {
      std::ofstream(rest) << "done\n";
    } else if (verb == "record") {
      std::ofstream record(rest, std::ios::trunc);
      for (const std::string& argument : arguments) record << argument << '\n';
    } else if (verb == "exit") {
      return std::atoi(rest.c_str());
    }
  }
  return 0;
}
