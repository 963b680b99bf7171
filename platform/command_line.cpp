#include "platform/command_line.h"

namespace Platform {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine) {
  std::vector<std::wstring> args;
  size_t i = 0;
  const size_t n = commandLine.size();
  while (i < n && IsBlank(commandLine[i])) ++i;
  if (i >= n) return args;

  // The program path: quotes group, backslashes are plain characters.
  std::wstring program;
  if (commandLine[i] == L'"') {
    ++i;
    while (i < n && commandLine[i] != L'"') program += commandLine[i++];
    if (i < n) ++i;
  } else {
    while (i < n && !IsBlank(commandLine[i])) program += commandLine[i++];
  }
  args.push_back(program);

  for (;;) {
    while (i < n && IsBlank(commandLine[i])) ++i;
    if (i >= n) break;
    std::wstring arg;
    bool quoted = false;
    while (i < n && (quoted || !IsBlank(commandLine[i]))) {
      if (commandLine[i] == L'\\') {
        size_t slashes = 0;
        while (i < n && commandLine[i] == L'\\') {
          ++slashes;
          ++i;
        }
        if (i < n && commandLine[i] == L'"') {
          // 2n backslashes + quote: n backslashes and a quote toggle;
          // 2n+1 backslashes + quote: n backslashes and a literal quote.
          arg.append(slashes / 2, L'\\');
          if (slashes % 2 == 1) {
            arg += L'"';
            ++i;
          }
        } else {
          arg.append(slashes, L'\\');
        }
      } else if (commandLine[i] == L'"') {
        if (quoted && i + 1 < n && commandLine[i + 1] == L'"') {
          arg += L'"';  // a doubled quote inside quotes is a literal quote
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        arg += commandLine[i++];
      }
    }
    args.push_back(arg);
  }
  return args;
}

std::wstring QuoteArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) return argument;
  std::wstring out = L"\"";
  size_t slashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++slashes;
      continue;
    }
    if (c == L'"') {
      out.append(slashes * 2 + 1, L'\\');
    } else {
      out.append(slashes, L'\\');
    }
    slashes = 0;
    out += c;
  }
  out.append(slashes * 2, L'\\');
  out += L'"';
  return out;
}

}  // namespace Platform
