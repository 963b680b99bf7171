#include "platform/code_page.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace Platform {
namespace {

// wchar_t is UTF-32 in the host's byte order on Linux.
const char* WideCharsetName() {
  return __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? "UTF-32LE" : "UTF-32BE";
}

std::string CharsetFor(unsigned codePage) {
  switch (codePage) {
    case 0: {
      const char* set = nl_langinfo(CODESET);
      // The C locale's "ANSI_X3.4-1968" would refuse every non-ASCII path;
      // the installer's texts are UTF-8 on this platform.
      if (set == nullptr || *set == '\0' || std::strcmp(set, "ANSI_X3.4-1968") == 0) return "UTF-8";
      return set;
    }
    case 65001: return "UTF-8";
    case 936: return "GBK";
    default: return "CP" + std::to_string(codePage);
  }
}

class Converter {
 public:
  Converter(const std::string& to, const std::string& from) : cd_(iconv_open(to.c_str(), from.c_str())) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of `in`; an invalid input unit is replaced by `replacement`
  // (already encoded in the target charset) and skipped `skip` bytes.
  bool Run(const char* in, size_t inLen, size_t skip, const std::string& replacement, std::string& out) {
    char buffer[4096];
    char* src = const_cast<char*>(in);
    size_t left = inLen;
    while (left > 0) {
      char* dst = buffer;
      size_t room = sizeof(buffer);
      const size_t r = iconv(cd_, &src, &left, &dst, &room);
      out.append(buffer, static_cast<size_t>(dst - buffer));
      if (r == static_cast<size_t>(-1)) {
        if (errno == E2BIG) continue;
        if (errno == EILSEQ || errno == EINVAL) {
          out += replacement;
          const size_t step = left < skip ? left : skip;
          src += step;
          left -= step;
          continue;
        }
        return false;
      }
    }
    char* dst = buffer;
    size_t room = sizeof(buffer);
    iconv(cd_, nullptr, nullptr, &dst, &room);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    return true;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::wstring MultiByteToWide(const std::string& text, unsigned codePage) {
  if (text.empty()) return std::wstring();
  Converter converter(WideCharsetName(), CharsetFor(codePage));
  if (!converter.ok()) return std::wstring();
  const wchar_t replacementChar = 0xFFFD;
  std::string out;
  if (!converter.Run(text.data(), text.size(), 1,
                     std::string(reinterpret_cast<const char*>(&replacementChar), sizeof(wchar_t)), out))
    return std::wstring();
  std::wstring result(out.size() / sizeof(wchar_t), L'\0');
  std::memcpy(result.data(), out.data(), result.size() * sizeof(wchar_t));
  // Like the Windows converter, the result ends at the first zero character.
  const size_t zero = result.find(L'\0');
  if (zero != std::wstring::npos) result.resize(zero);
  return result;
}

std::string WideToMultiByte(const std::wstring& text, unsigned codePage) {
  if (text.empty()) return std::string();
  Converter converter(CharsetFor(codePage), WideCharsetName());
  if (!converter.ok()) return std::string();
  std::string out;
  if (!converter.Run(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t),
                     sizeof(wchar_t), "?", out))
    return std::string();
  const size_t zero = out.find('\0');
  if (zero != std::string::npos) out.resize(zero);
  return out;
}

}  // namespace Platform
