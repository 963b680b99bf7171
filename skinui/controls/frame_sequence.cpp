#include "skinui/controls/frame_sequence.h"

#include <cstdio>

namespace SkinUI {

constexpr size_t kFrameNameChars = 260;

std::wstring FormatFrameName(const std::wstring& pattern, int index) {
  std::wstring out;
  bool converted = false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != L'%') {
      out += pattern[i];
      continue;
    }
    if (i + 1 < pattern.size() && pattern[i + 1] == L'%') {
      out += L'%';
      ++i;
      continue;
    }
    if (converted) return std::wstring();
    // %[flags][width][.precision]conversion, digits limited to two each.
    std::string conversion = "%";
    size_t j = i + 1;
    while (j < pattern.size() && std::wstring(L"-+ #0").find(pattern[j]) != std::wstring::npos && conversion.size() < 6) {
      conversion += static_cast<char>(pattern[j++]);
    }
    for (int digits = 0; j < pattern.size() && pattern[j] >= L'0' && pattern[j] <= L'9'; ++digits, ++j) {
      if (digits == 2) return std::wstring();
      conversion += static_cast<char>(pattern[j]);
    }
    if (j < pattern.size() && pattern[j] == L'.') {
      conversion += '.';
      ++j;
      for (int digits = 0; j < pattern.size() && pattern[j] >= L'0' && pattern[j] <= L'9'; ++digits, ++j) {
        if (digits == 2) return std::wstring();
        conversion += static_cast<char>(pattern[j]);
      }
    }
    if (j >= pattern.size() || std::wstring(L"diuxXo").find(pattern[j]) == std::wstring::npos) return std::wstring();
    conversion += static_cast<char>(pattern[j]);
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, conversion.c_str(), index);
    for (const char* p = buffer; *p; ++p) out += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    converted = true;
    i = j;
  }
  if (out.size() >= kFrameNameChars) out.resize(kFrameNameChars - 1);
  return out;
}

FrameSequence::Step FrameSequence::Advance(std::wstring& frame) {
  if (pattern.empty()) return Step::kNothing;
  if (forward && index > count - 1) {
    if (backAndForth) {
      forward = false;
      // One frame only: stay on it instead of running below zero.
      index = count >= 2 ? count - 2 : 0;
    } else {
      index = 0;
      if (!loop) return Step::kStop;
    }
  }
  if (!forward && index <= 0) {
    index = 0;
    if (backAndForth) forward = true;
    if (!loop) return Step::kStop;
  }
  frame = FormatFrameName(pattern, index);
  if (forward) ++index;
  else --index;
  return Step::kShow;
}

}  // namespace SkinUI
