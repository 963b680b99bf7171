// Text helpers: code-page conversions, URL encoding, trimming and searching.
// Every routine returns a new string and never throws.
#pragma once
#include <cstdint>
#include <string>

namespace Utils {

// Code page 0 is the system's ANSI code page, 65001 UTF-8 (see Platform).
std::wstring ToWide(const std::string& text, unsigned codePage = 0);
std::string ToNarrow(const std::wstring& text, unsigned codePage = 0);
// Strict UTF-8: any malformed sequence makes the whole result empty.
std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

// UTF-8 bytes; 0x21..0x7E kept, space as "+", everything else "%XX".
std::wstring UrlEncode(const std::wstring& text);
// Replaces until no occurrence is left (searching from the start each time).
std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to);
std::wstring TrimLeft(const std::wstring& text);
std::wstring TrimRight(const std::wstring& text);
std::wstring Trim(const std::wstring& text);
bool StartsWith(const std::wstring& text, const std::wstring& prefix);
std::wstring ToWideDecimal(uint64_t value);
// "…/abc123/setup.exe" -> "abc123"; empty when there is no such segment.
std::string UrlParentSegment(const std::string& url);

}  // namespace Utils
