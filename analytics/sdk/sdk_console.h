// The SDK's own diagnostics on the standard streams: one line per message,
// written in one call. Tests may capture the lines instead of printing them.
#pragma once
#include <functional>
#include <string>

namespace analytics_sdk {

enum class ConsoleStream { Out, Err };

void WriteConsoleLine(ConsoleStream stream, const std::string& message);
inline void WriteError(const std::string& message) { WriteConsoleLine(ConsoleStream::Err, message); }
inline void WriteOutput(const std::string& message) { WriteConsoleLine(ConsoleStream::Out, message); }

using ConsoleCapture = std::function<void(ConsoleStream stream, const std::string& message)>;
// Installs (or, with an empty function, removes) the process-wide capture.
void SetConsoleCapture(ConsoleCapture capture);

}  // namespace analytics_sdk
