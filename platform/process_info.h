// Facts about the running process and its threads.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace Platform {

uint32_t CurrentProcessId();
uint32_t CurrentThreadId();
// Gives the calling thread a debugger-visible name (cut to what the OS allows).
void SetCurrentThreadName(const std::string& name);

// Full path of the running executable; empty when it cannot be found.
std::wstring ExecutablePath();
// The process's arguments, program path first (POSIX: /proc/self/cmdline).
std::vector<std::wstring> ProcessArguments();

// True when a process whose executable file name equals `exeName`
// (case-insensitive) is running.
bool IsProcessRunning(const std::wstring& exeName);

}  // namespace Platform
