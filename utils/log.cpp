#include "utils/log.h"

#include <sys/time.h>

#include <cstdarg>
#include <ctime>

#include "platform/debug_output.h"
#include "platform/process_info.h"
#include "utils/wide_format.h"

namespace Utils {

LogTime CaptureLogTime() {
  timeval tv{};
  gettimeofday(&tv, nullptr);
  std::tm local{};
  const time_t seconds = tv.tv_sec;
  localtime_r(&seconds, &local);
  return LogTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                 local.tm_min,         local.tm_sec,     static_cast<int>(tv.tv_usec / 1000)};
}

std::wstring QualifiedFunctionName(const char* prettyFunction) {
  std::string text = prettyFunction ? prettyFunction : "";
  const size_t with = text.find(" [with ");
  if (with != std::string::npos) text.resize(with);

  // Drop every parenthesised group: argument lists and lambda signatures.
  std::string flat;
  int depth = 0;
  for (char c : text) {
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (depth > 0) --depth;
    } else if (depth == 0) {
      flat += c;
    }
  }
  // Trailing qualifiers of member functions.
  for (bool trimmed = true; trimmed;) {
    trimmed = false;
    while (!flat.empty() && flat.back() == ' ') flat.pop_back();
    for (const char* word : {" const", " volatile", " noexcept", " &&", " &"}) {
      const std::string w(word);
      if (flat.size() >= w.size() && flat.compare(flat.size() - w.size(), w.size(), w) == 0) {
        flat.resize(flat.size() - w.size());
        trimmed = true;
      }
    }
  }
  // The return type ends at the last blank outside template brackets.
  size_t start = 0;
  int angle = 0;
  for (size_t i = 0; i < flat.size(); ++i) {
    if (flat[i] == '<') ++angle;
    if (flat[i] == '>' && angle > 0) --angle;
    if (flat[i] == ' ' && angle == 0) start = i + 1;
  }
  const std::string name = flat.substr(start);
  return std::wstring(name.begin(), name.end());  // identifiers are ASCII
}

std::wstring CombineLogFormat(const wchar_t* messageFormat, bool appendLineEnd) {
  std::wstring combined = kLogPrefix;
  if (messageFormat != nullptr) combined += messageFormat;
  if (appendLineEnd) combined += L"\r\n";
  return combined;
}

int LogProcessId() { return static_cast<int>(Platform::CurrentProcessId()); }
int LogThreadId() { return static_cast<int>(Platform::CurrentThreadId()); }

void DebugLogPrintf(const wchar_t* format, ...) {
  try {
    va_list args;
    va_start(args, format);
    const std::wstring record = FormatWideV(format, args);
    va_end(args);
    if (!record.empty()) Platform::DebugOutput(record);
  } catch (...) {
    // An allocation failure drops the record; logging never fails its caller.
  }
}

}  // namespace Utils
