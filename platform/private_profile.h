// Private-profile (INI) files with the Windows rules: section and key names
// compared case-insensitively, a default for what is missing, values cut to
// the caller's buffer size (bufferChars - 1 characters), the integer-prefix
// rule of the integer read, and writes that rewrite the file atomically
// while keeping everything else in it. Files are UTF-8 on POSIX.
#pragma once
#include <string>

namespace Platform {

std::wstring GetProfileString(const std::wstring& section, const std::wstring& key,
                              const std::wstring& defaultValue, const std::wstring& path,
                              size_t bufferChars = 260);
// Leading white space and a sign allowed, then decimal digits up to the first
// non-digit; a value without digits gives 0; a missing key gives the default.
int GetProfileInt(const std::wstring& section, const std::wstring& key, int defaultValue,
                  const std::wstring& path);
// Creates the file and section when needed; false when the file cannot be written.
bool WriteProfileString(const std::wstring& section, const std::wstring& key,
                        const std::wstring& value, const std::wstring& path);

}  // namespace Platform
