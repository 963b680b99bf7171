#include "skinui/attribute_values.h"

#include <cwctype>

namespace SkinUI {
namespace {

// Sizes, paddings and counts of a skin are far below this; keeping hostile
// values here keeps every layout sum inside an int.
constexpr long long kMaxAttributeInt = 1 << 20;

// Reads a decimal integer at `pos` (strtol rules, saturating), moving `pos`
// past what was read.
long ReadDecimal(const std::wstring& text, size_t& pos) {
  while (pos < text.size() && (text[pos] == L' ' || (text[pos] >= L'\t' && text[pos] <= L'\r'))) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) {
    negative = text[pos] == L'-';
    ++pos;
  }
  long long value = 0;
  while (pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9') {
    if (value < kMaxAttributeInt) value = value * 10 + (text[pos] - L'0');
    ++pos;
  }
  if (value > kMaxAttributeInt) value = kMaxAttributeInt;
  return static_cast<long>(negative ? -value : value);
}

}  // namespace

int ParseInt(const std::wstring& text) {
  size_t pos = 0;
  return static_cast<int>(ReadDecimal(text, pos));
}

std::vector<int> ParseIntList(const std::wstring& text, size_t count) {
  std::vector<int> values(count, 0);
  size_t pos = 0;
  for (size_t i = 0; i < count; ++i) {
    values[i] = static_cast<int>(ReadDecimal(text, pos));
    // Skip to just after the next comma; a list that ends early leaves zeros.
    while (pos < text.size() && text[pos] != L',') ++pos;
    if (pos >= text.size()) break;
    ++pos;
  }
  return values;
}

SkinRect ParseRect(const std::wstring& text) {
  const std::vector<int> v = ParseIntList(text, 4);
  return SkinRect{v[0], v[1], v[2], v[3]};
}

SkinSize ParseSize(const std::wstring& text) {
  const std::vector<int> v = ParseIntList(text, 2);
  return SkinSize{v[0], v[1]};
}

uint32_t ParseColor(const std::wstring& text) {
  size_t pos = 0;
  if (pos < text.size() && text[pos] == L'#') ++pos;
  while (pos < text.size() && std::iswspace(text[pos])) ++pos;
  if (pos + 1 < text.size() && text[pos] == L'0' && (text[pos + 1] == L'x' || text[pos + 1] == L'X')) pos += 2;
  uint64_t value = 0;
  for (; pos < text.size(); ++pos) {
    const wchar_t c = text[pos];
    int digit;
    if (c >= L'0' && c <= L'9') digit = c - L'0';
    else if (c >= L'a' && c <= L'f') digit = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F') digit = c - L'A' + 10;
    else break;
    value = value * 16 + static_cast<uint64_t>(digit);
    if (value > 0xFFFFFFFFull) value = 0xFFFFFFFFull;  // strtoul saturates
  }
  return static_cast<uint32_t>(value);
}

std::vector<std::pair<std::wstring, std::wstring>> ParseAttributeList(const std::wstring& list) {
  std::vector<std::pair<std::wstring, std::wstring>> pairs;
  size_t pos = 0;
  while (pos < list.size()) {
    const size_t equals = list.find(L'=', pos);
    if (equals == std::wstring::npos) break;
    std::wstring name = list.substr(pos, equals - pos);
    pos = equals + 1;
    if (pos >= list.size() || list[pos] != L'"') break;
    const size_t close = list.find(L'"', pos + 1);
    if (close == std::wstring::npos) break;
    pairs.emplace_back(std::move(name), list.substr(pos + 1, close - pos - 1));
    pos = close + 1;
    if (pos >= list.size() || list[pos] != L' ') break;
    ++pos;
  }
  return pairs;
}

bool EqualsNoCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return true;
}

}  // namespace SkinUI
