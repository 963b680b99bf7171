// Code-page conversions between wide text and narrow bytes.
// Code page 0 is the system's ANSI code page (on POSIX: the locale's codeset,
// UTF-8 when the locale names none), 65001 is UTF-8, 936 is GBK, and any other
// number n is whatever iconv knows as "CP<n>". Impossible conversions and
// unknown code pages yield empty text; invalid bytes become U+FFFD / '?'.
#pragma once
#include <string>

namespace Platform {

constexpr unsigned kCodePageAnsi = 0;
constexpr unsigned kCodePageUtf8 = 65001;
constexpr unsigned kCodePageGbk = 936;

std::wstring MultiByteToWide(const std::string& text, unsigned codePage);
std::string WideToMultiByte(const std::wstring& text, unsigned codePage);

}  // namespace Platform
