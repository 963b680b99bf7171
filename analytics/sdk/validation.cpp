#include "analytics/sdk/validation.h"

#include "analytics/sdk/sdk_console.h"

namespace analytics_sdk {

bool CheckName(const std::string& value, const std::string& what) {
  if (value.empty()) {
    WriteError("The " + what + " is empty.");
    return false;
  }
  if (value.size() > 255) {
    WriteError("The " + what + " is too long, max length is 255.");
    return false;
  }
  return true;
}

namespace {

bool IsLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

bool CheckKey(const std::string& value, const std::string& what) {
  if (value.empty() || value.size() > 100) {
    WriteError("The " + what + " is empty or too long, max length is 100");
    return false;
  }
  for (size_t i = 0; i < value.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(value[i]);
    const bool ok = IsLetter(c) || c == '$' || c == '_' || (i > 0 && c >= '0' && c <= '9');
    if (!ok) {
      WriteError("The " + what + " need to be a valid variable name.");
      return false;
    }
  }
  return true;
}

bool IsValidUtf8(const std::string& text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  size_t i = 0;
  auto cont = [&](size_t at, unsigned char lo = 0x80, unsigned char hi = 0xBF) {
    return at < n && p[at] >= lo && p[at] <= hi;
  };
  while (i < n) {
    const unsigned char c = p[i];
    if (c == 9 || c == 10 || c == 13 || (c >= 32 && c <= 126)) {
      i += 1;
    } else if (c >= 0xC2 && c <= 0xDF && cont(i + 1)) {
      i += 2;
    } else if (c == 0xE0 && cont(i + 1, 0xA0, 0xBF) && cont(i + 2)) {
      i += 3;
    } else if (((c >= 0xE1 && c <= 0xEC) || c == 0xEE || c == 0xEF) && cont(i + 1) && cont(i + 2)) {
      i += 3;
    } else if (c == 0xED && cont(i + 1, 0x80, 0x9F) && cont(i + 2)) {
      i += 3;
    } else if (c == 0xF0 && cont(i + 1, 0x90, 0xBF) && cont(i + 2) && cont(i + 3)) {
      i += 4;
    } else if (c >= 0xF1 && c <= 0xF3 && cont(i + 1) && cont(i + 2) && cont(i + 3)) {
      i += 4;
    } else if (c == 0xF4 && cont(i + 1, 0x80, 0x8F) && cont(i + 2) && cont(i + 3)) {
      i += 4;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace analytics_sdk
