// Splitting a Windows-style command line into arguments with the Windows
// rules (backslashes before quotes, doubled quotes, the first token read as a
// program path), and the inverse quoting so that a split round-trips.
#pragma once
#include <string>
#include <vector>

namespace Platform {

std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine);
// Quotes one argument so that SplitCommandLine gives it back unchanged.
std::wstring QuoteArgument(const std::wstring& argument);

}  // namespace Platform
