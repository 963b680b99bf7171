// printf-style wide formatting with one rule on every target: "%s" (and
// "%c") in a wide format take wide arguments, "%hs" takes a narrow ASCII
// string (convert other narrow text with Utils::ToWide and pass it to "%s").
// Every wide format of the installer goes through here, never swprintf.
#pragma once
#include <cstdarg>
#include <string>

namespace Utils {

std::wstring FormatWide(const wchar_t* format, ...);
std::wstring FormatWideV(const wchar_t* format, va_list args);

// The format rewritten for the C library's wide printf ("%s" -> "%ls", ...).
std::wstring ToLibraryWideFormat(const wchar_t* format);

}  // namespace Utils
