// Reading the values of the package's "Key=value" output lines the way the
// protocol defines them: the rest of the line as it stands (at most 771
// characters, else empty), leading numbers in the manner of scanf.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace InstallProtocol {

constexpr size_t kMaxValueChars = 771;

// The lines of `text` split at line feeds (which they lose); a last line
// without a line feed counts, an empty text has none.
std::vector<std::wstring> ProtocolLines(const std::wstring& text);
// The text after `key`: empty when there is none or when it is too long.
std::wstring RestOfLine(const std::wstring& line, const std::wstring& key);
// "%lf" after the key: false (and 0.0) when no number starts there.
bool LeadingDouble(const std::wstring& text, double& value);
// "%d": a 32-bit integer (wrapping like the C library on overflow).
bool LeadingInt(const std::wstring& text, int32_t& value, size_t* consumed = nullptr);
// The installer's reading of an "Encode=" value: "UTF8" -> 65001, "ACP" -> 0,
// else a decimal code page (0 when it is no number or beyond 65535).
unsigned PackageCodePage(const std::wstring& trimmedValue);

}  // namespace InstallProtocol
