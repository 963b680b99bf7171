#include "install/protocol_values.h"

#include <cerrno>
#include <cwchar>
#include <cwctype>

namespace InstallProtocol {

std::vector<std::wstring> ProtocolLines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t feed = text.find(L'\n', start);
    if (feed == std::wstring::npos) feed = text.size();
    lines.push_back(text.substr(start, feed - start));
    start = feed + 1;
  }
  return lines;
}

std::wstring RestOfLine(const std::wstring& line, const std::wstring& key) {
  if (line.size() <= key.size()) return std::wstring();
  std::wstring value = line.substr(key.size());
  return value.size() > kMaxValueChars ? std::wstring() : value;
}

bool LeadingDouble(const std::wstring& text, double& value) {
  value = 0.0;
  const wchar_t* start = text.c_str();
  wchar_t* end = nullptr;
  const double parsed = std::wcstod(start, &end);
  if (end == start) return false;
  value = parsed;
  return true;
}

bool LeadingInt(const std::wstring& text, int32_t& value, size_t* consumed) {
  value = 0;
  size_t i = 0;
  while (i < text.size() && std::iswspace(static_cast<wint_t>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  const size_t digitsStart = i;
  uint32_t magnitude = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
    magnitude = magnitude * 10u + static_cast<uint32_t>(text[i] - L'0');
  if (i == digitsStart) return false;
  value = static_cast<int32_t>(negative ? 0u - magnitude : magnitude);
  if (consumed) *consumed = i;
  return true;
}

unsigned PackageCodePage(const std::wstring& trimmedValue) {
  if (trimmedValue == L"UTF8") return 65001;
  if (trimmedValue == L"ACP") return 0;
  const wchar_t* start = trimmedValue.c_str();
  wchar_t* end = nullptr;
  errno = 0;
  const long parsed = std::wcstol(start, &end, 10);
  if (end == start || errno == ERANGE || parsed < 0 || parsed > 65535) return 0;
  return static_cast<unsigned>(parsed);
}

}  // namespace InstallProtocol
