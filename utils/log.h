// The installer's logging statements. LOG_TEXT(format, ...) emits one record:
// a fixed prefix (process id, thread id, local time, qualified function
// name, source line) followed by the wide printf `format` unchanged;
// LOG_LINE does the same with "\r\n" appended. Each record is formatted into
// its own buffer and handed to the debug-output channel in one call, so
// records of different threads never mix. Logging never fails its caller.
#pragma once
#include <cstdint>
#include <string>
#include <type_traits>

namespace Utils {

struct LogTime {
  int year, month, day, hour, minute, second, millisecond;
};
LogTime CaptureLogTime();

// "void Foo::Bar(int) const" -> "Foo::Bar"; lambdas keep their enclosing name.
std::wstring QualifiedFunctionName(const char* prettyFunction);

// The prefix format; its eleven conversions are filled by LogStatement.
constexpr const wchar_t* kLogPrefix = L"<P%05d><T%05d><%04d-%02d-%02d %02d:%02d:%02d.%03d>(%s)<%04d>: ";

// The sink: formats `format` with the arguments and emits the record.
void DebugLogPrintf(const wchar_t* format, ...);

std::wstring CombineLogFormat(const wchar_t* messageFormat, bool appendLineEnd);
int LogProcessId();
int LogThreadId();

template <typename... Args>
void LogStatement(const LogTime& t, const wchar_t* function, int line, bool appendLineEnd,
                  const wchar_t* format, Args... args) {
  static_assert((std::is_trivially_copyable_v<Args> && ...),
                "log arguments must be plain values (pass .c_str() for strings)");
  const std::wstring combined = CombineLogFormat(format, appendLineEnd);
  DebugLogPrintf(combined.c_str(), LogProcessId(), LogThreadId(), t.year, t.month, t.day, t.hour, t.minute,
                 t.second, t.millisecond, function, line, args...);
}

}  // namespace Utils

// The function name is worked out once per statement site.
#define VELMORA_LOG_FUNCTION_NAME                                                                  \
  ({                                                                                               \
    static const std::wstring velmoraLogFunctionName = ::Utils::QualifiedFunctionName(__PRETTY_FUNCTION__); \
    velmoraLogFunctionName.c_str();                                                                \
  })

#define VELMORA_LOG(appendLineEnd, format, ...)                                                     \
  do {                                                                                             \
    const ::Utils::LogTime velmoraLogTime = ::Utils::CaptureLogTime();                             \
    ::Utils::LogStatement(velmoraLogTime, VELMORA_LOG_FUNCTION_NAME, __LINE__, appendLineEnd, format, \
                          ##__VA_ARGS__);                                                          \
  } while (0)

#define LOG_TEXT(format, ...) VELMORA_LOG(false, format, ##__VA_ARGS__)
#define LOG_LINE(format, ...) VELMORA_LOG(true, format, ##__VA_ARGS__)
