#include "utils/argument_map.h"

#include <cerrno>
#include <climits>
#include <cwchar>

#include "platform/command_line.h"

namespace Utils {

void ArgumentMap::Parse(const std::wstring& commandLine) { ParseTokens(Platform::SplitCommandLine(commandLine)); }

void ArgumentMap::ParseTokens(const std::vector<std::wstring>& tokens) {
  for (const std::wstring& token : tokens) {
    const size_t eq = token.find(L'=');
    if (!token.empty() && token[0] == L'-' && eq != std::wstring::npos) {
      values_.emplace(token.substr(0, eq), token.substr(eq + 1));
    } else {
      values_.emplace(token, std::wstring());
    }
  }
}

std::wstring ArgumentMap::GetString(const std::wstring& key) const {
  const auto it = values_.find(key);
  return it == values_.end() ? std::wstring() : it->second;
}

int ArgumentMap::GetInt(const std::wstring& key) const {
  const auto it = values_.find(key);
  if (it == values_.end()) return 0;
  const wchar_t* begin = it->second.c_str();
  wchar_t* end = nullptr;
  errno = 0;
  const long long value = std::wcstoll(begin, &end, 10);
  if (end == begin || errno == ERANGE || value < INT_MIN || value > INT_MAX) return 0;
  return static_cast<int>(value);
}

bool ArgumentMap::GetBool(const std::wstring& key) const {
  const auto it = values_.find(key);
  return it != values_.end() && it->second == L"true";
}

double ArgumentMap::GetDouble(const std::wstring& key, double defaultValue) const {
  const auto it = values_.find(key);
  if (it == values_.end()) return defaultValue;
  const wchar_t* begin = it->second.c_str();
  wchar_t* end = nullptr;
  errno = 0;
  const double value = std::wcstod(begin, &end);
  if (end == begin || errno == ERANGE) return defaultValue;
  return value;
}

}  // namespace Utils
