// Debug-output channel: one call hands over one complete log record.
// POSIX: a single write(2) of the UTF-8 record to stderr. Tests may capture
// records instead; capture replaces the write while it is installed.
#pragma once
#include <functional>
#include <string>

namespace Platform {

void DebugOutput(const std::wstring& record);

using DebugOutputCapture = std::function<void(const std::wstring& record)>;
// Installs (or, with an empty function, removes) the process-wide capture.
void SetDebugOutputCapture(DebugOutputCapture capture);

}  // namespace Platform
