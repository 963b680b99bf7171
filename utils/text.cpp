#include "utils/text.h"

#include "platform/code_page.h"

namespace Utils {

std::wstring ToWide(const std::string& text, unsigned codePage) {
  try {
    return Platform::MultiByteToWide(text, codePage);
  } catch (...) {
    return std::wstring();
  }
}

std::string ToNarrow(const std::wstring& text, unsigned codePage) {
  try {
    return Platform::WideToMultiByte(text, codePage);
  } catch (...) {
    return std::string();
  }
}

std::wstring Utf8ToWide(const std::string& text) {
  std::wstring out;
  try {
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
      const unsigned char lead = *p++;
      if (lead < 0x80) {
        out += static_cast<wchar_t>(lead);
        continue;
      }
      int extra;
      uint32_t code;
      uint32_t minimum;
      if ((lead & 0xE0) == 0xC0) {
        extra = 1, code = lead & 0x1F, minimum = 0x80;
      } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, code = lead & 0x0F, minimum = 0x800;
      } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, code = lead & 0x07, minimum = 0x10000;
      } else {
        return std::wstring();
      }
      if (end - p < extra) return std::wstring();
      for (int i = 0; i < extra; ++i) {
        if ((p[i] & 0xC0) != 0x80) return std::wstring();
        code = (code << 6) | (p[i] & 0x3F);
      }
      p += extra;
      if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::wstring();
      out += static_cast<wchar_t>(code);
    }
  } catch (...) {
    return std::wstring();
  }
  return out;
}

std::string WideToUtf8(const std::wstring& text) { return ToNarrow(text, Platform::kCodePageUtf8); }

std::wstring UrlEncode(const std::wstring& text) {
  static const char kHex[] = "0123456789ABCDEF";
  const std::string bytes = WideToUtf8(text);
  std::wstring out;
  out.reserve(bytes.size() * 3);
  for (unsigned char b : bytes) {
    if (b >= 0x21 && b <= 0x7E) {
      out += static_cast<wchar_t>(b);
    } else if (b == 0x20) {
      out += L'+';
    } else {
      out += L'%';
      out += static_cast<wchar_t>(kHex[b >> 4]);
      out += static_cast<wchar_t>(kHex[b & 0x0F]);
    }
  }
  return out;
}

std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to) {
  // A `to` containing `from` would never end; callers never pass one.
  if (from.empty() || to.find(from) != std::wstring::npos) return text;
  for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from)) text.replace(at, from.size(), to);
  return text;
}

namespace {
constexpr const wchar_t* kWhitespace = L" \t\n\v\f\r";
}

std::wstring TrimLeft(const std::wstring& text) {
  const size_t first = text.find_first_not_of(kWhitespace);
  return first == std::wstring::npos ? std::wstring() : text.substr(first);
}

std::wstring TrimRight(const std::wstring& text) {
  const size_t last = text.find_last_not_of(kWhitespace);
  return last == std::wstring::npos ? std::wstring() : text.substr(0, last + 1);
}

std::wstring Trim(const std::wstring& text) { return TrimLeft(TrimRight(text)); }

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

std::wstring ToWideDecimal(uint64_t value) { return std::to_wstring(value); }

std::string UrlParentSegment(const std::string& url) {
  const size_t last = url.rfind('/');
  if (url.empty() || last == std::string::npos) return std::string();
  const std::string head = url.substr(0, last);
  const size_t before = head.rfind('/');
  if (before == std::string::npos) return std::string();
  return head.substr(before + 1);
}

}  // namespace Utils
