#include "utils/wide_format.h"

#include <cwchar>
#include <vector>

namespace Utils {

std::wstring ToLibraryWideFormat(const wchar_t* format) {
  std::wstring out;
  if (format == nullptr) return out;
  for (const wchar_t* p = format; *p != L'\0';) {
    if (*p != L'%') {
      out += *p++;
      continue;
    }
    out += *p++;
    if (*p == L'%') {
      out += *p++;
      continue;
    }
    // Flags, width, precision.
    while (*p != L'\0' && std::wcschr(L"-+ #0123456789.*'", *p) != nullptr) out += *p++;
    // Length modifiers.
    std::wstring length;
    while (*p != L'\0' && std::wcschr(L"hljztLqI", *p) != nullptr) length += *p++;
    if (*p == L's' || *p == L'c') {
      if (length.empty()) {
        out += L'l';  // wide by default
      } else if (length == L"h") {
        // narrow: the library's plain %s / %c
      } else {
        out += length;
      }
      out += *p++;
      continue;
    }
    out += length;
    if (*p != L'\0') out += *p++;
  }
  return out;
}

std::wstring FormatWideV(const wchar_t* format, va_list args) {
  const std::wstring libraryFormat = ToLibraryWideFormat(format);
  // vswprintf cannot count, so grow the buffer until the text fits.
  std::vector<wchar_t> buffer(256);
  for (;;) {
    va_list copy;
    va_copy(copy, args);
    const int n = std::vswprintf(buffer.data(), buffer.size(), libraryFormat.c_str(), copy);
    va_end(copy);
    if (n >= 0 && static_cast<size_t>(n) < buffer.size()) return std::wstring(buffer.data(), static_cast<size_t>(n));
    if (buffer.size() >= (size_t{1} << 18)) return std::wstring();  // a broken format, not a long text
    buffer.resize(buffer.size() * 4);
  }
}

std::wstring FormatWide(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::wstring result = FormatWideV(format, args);
  va_end(args);
  return result;
}

}  // namespace Utils
