// Private-profile files on POSIX: a small INI reader/writer that follows the
// Windows rules.
//
// Reading: lines end at LF (a CR before it is white space); white space
// around a line, around a key name and around a value is dropped; "[name]"
// opens a section (text after the last ']' is ignored); "key=value" splits
// at the first '='; a line without '=' is a key without a value, which reads
// as missing. Keys before the first section belong to a nameless section.
// Only the first section of a name is searched, and in it the first key of a
// name. A value wrapped in a matching pair of ' or " loses the pair. A UTF-8
// byte-order mark is skipped. Section and key names compare case-insensitively.
//
// Writing keeps every other byte of the file: an existing key's line is
// replaced by "key=value", a new key goes after the last entry of its
// section, a new section goes at the end. The new text is written to a
// temporary file beside the target and renamed over it, so a reader never
// sees half a file. Writes inside one process are serialised; texts that
// would break the line structure (line breaks, '=' in a key, ']' in a
// section name) are refused rather than written.
#include "platform/private_profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cwctype>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/code_page.h"

namespace Platform {
namespace {

constexpr const char kUtf8Bom[] = "\xEF\xBB\xBF";

bool IsProfileSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f'; }

std::wstring TrimSpaces(const std::wstring& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsProfileSpace(text[begin])) ++begin;
  while (end > begin && IsProfileSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool SameName(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) return false;
  }
  return true;
}

// One line of the file as stored, and what it means.
struct ProfileLine {
  enum class Kind { Blank, Section, Entry };
  std::string bytes;  // without the LF; a CR, if any, stays here
  bool hasLineFeed = false;
  Kind kind = Kind::Blank;
  std::wstring name;                 // section name or key name
  std::optional<std::wstring> value;  // raw value of an entry (no '=' -> none)
};

struct ProfileFile {
  bool exists = false;
  bool hasBom = false;
  std::vector<ProfileLine> lines;
  std::string lineEnd = "\n";  // the style of the file's first line end
};

ProfileLine ParseLine(std::string bytes, bool hasLineFeed) {
  ProfileLine line;
  line.bytes = std::move(bytes);
  line.hasLineFeed = hasLineFeed;
  const std::wstring text = TrimSpaces(MultiByteToWide(line.bytes, kCodePageUtf8));
  if (text.empty()) return line;
  if (text[0] == L'[') {
    const size_t close = text.rfind(L']');
    if (close != std::wstring::npos) {
      line.kind = ProfileLine::Kind::Section;
      line.name = TrimSpaces(text.substr(1, close - 1));
      return line;
    }
  }
  line.kind = ProfileLine::Kind::Entry;
  const size_t eq = text.find(L'=');
  if (eq == std::wstring::npos) {
    line.name = text;
  } else {
    line.name = TrimSpaces(text.substr(0, eq));
    line.value = TrimSpaces(text.substr(eq + 1));
  }
  return line;
}

ProfileFile LoadProfile(const std::wstring& path) {
  ProfileFile file;
  std::ifstream in(WideToMultiByte(path, kCodePageUtf8), std::ios::binary);
  if (!in) return file;
  file.exists = true;
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (all.compare(0, 3, kUtf8Bom) == 0) {
    file.hasBom = true;
    all.erase(0, 3);
  }
  bool styleKnown = false;
  size_t start = 0;
  while (start < all.size()) {
    const size_t lf = all.find('\n', start);
    const size_t end = lf == std::string::npos ? all.size() : lf;
    if (!styleKnown && lf != std::string::npos) {
      file.lineEnd = (end > start && all[end - 1] == '\r') ? "\r\n" : "\n";
      styleKnown = true;
    }
    file.lines.push_back(ParseLine(all.substr(start, end - start), lf != std::string::npos));
    start = end + 1;
  }
  return file;
}

// Index of the first line after the header of the first section called
// `section`, or nullopt. The nameless section ("") runs from the top of the
// file to the first header.
std::optional<size_t> FindSectionBody(const ProfileFile& file, const std::wstring& section) {
  if (section.empty()) return file.lines.empty() ? std::nullopt : std::optional<size_t>(0);
  for (size_t i = 0; i < file.lines.size(); ++i) {
    if (file.lines[i].kind == ProfileLine::Kind::Section && SameName(file.lines[i].name, section)) return i + 1;
  }
  return std::nullopt;
}

// Index of the first entry `key` in the section whose body starts at `body`.
std::optional<size_t> FindKey(const ProfileFile& file, size_t body, const std::wstring& key) {
  for (size_t i = body; i < file.lines.size(); ++i) {
    const ProfileLine& line = file.lines[i];
    if (line.kind == ProfileLine::Kind::Section) break;
    if (line.kind == ProfileLine::Kind::Entry && SameName(line.name, key)) return i;
  }
  return std::nullopt;
}

std::optional<std::wstring> LookUp(const std::wstring& section, const std::wstring& key, const std::wstring& path) {
  const std::wstring wantedKey = TrimSpaces(key);
  if (wantedKey.empty()) return std::nullopt;
  const ProfileFile file = LoadProfile(path);
  const std::optional<size_t> body = FindSectionBody(file, TrimSpaces(section));
  if (!body) return std::nullopt;
  const std::optional<size_t> at = FindKey(file, *body, wantedKey);
  if (!at) return std::nullopt;
  return file.lines[*at].value;
}

std::wstring StripQuotes(const std::wstring& value) {
  if (value.size() >= 2 && (value[0] == L'"' || value[0] == L'\'') && value.back() == value[0])
    return value.substr(1, value.size() - 2);
  return value;
}

// Replaces `target` with `bytes`; the new file keeps the old one's mode and,
// where allowed, its owner.
bool WriteWholeFile(const std::string& target, const std::string& bytes, mode_t mode, const struct stat* old) {
  std::string temp = target + ".XXXXXX";
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return false;
  temp.assign(name.data());
  bool ok = ::fchmod(fd, mode) == 0;
  if (ok && old != nullptr && (old->st_uid != ::geteuid() || old->st_gid != ::getegid())) {
    // Only root may give a file away; for anyone else this is a no-op attempt.
    const int ignored = ::fchown(fd, old->st_uid, old->st_gid);
    (void)ignored;
  }
  size_t done = 0;
  while (ok && done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok = false;
    else done += static_cast<size_t>(n);
  }
  if (ok) ok = ::fsync(fd) == 0;
  if (::close(fd) != 0) ok = false;
  if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

bool HasLineBreak(const std::wstring& text) { return text.find_first_of(L"\r\n") != std::wstring::npos; }

std::mutex g_writeMutex;

}  // namespace

std::wstring GetProfileString(const std::wstring& section, const std::wstring& key, const std::wstring& defaultValue,
                              const std::wstring& path, size_t bufferChars) {
  if (bufferChars == 0) return std::wstring();
  const std::optional<std::wstring> found = LookUp(section, key, path);
  std::wstring value;
  if (found) {
    value = StripQuotes(*found);
  } else {
    // Windows drops trailing blanks of the default.
    value = defaultValue;
    while (!value.empty() && value.back() == L' ') value.pop_back();
  }
  if (value.size() > bufferChars - 1) value.resize(bufferChars - 1);
  return value;
}

int GetProfileInt(const std::wstring& section, const std::wstring& key, int defaultValue, const std::wstring& path) {
  // Windows reads the value into a 30-character buffer first; an empty value
  // counts as missing.
  const std::wstring text = GetProfileString(section, key, std::wstring(), path, 30);
  if (text.empty()) return defaultValue;
  size_t i = 0;
  while (i < text.size() && IsProfileSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  // Like the system's conversion, the number wraps around in 32 bits.
  uint32_t result = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
    result = result * 10u + static_cast<uint32_t>(text[i] - L'0');
  if (negative) result = 0u - result;
  return static_cast<int>(result);
}

bool WriteProfileString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                        const std::wstring& path) {
  const std::wstring sectionName = TrimSpaces(section);
  const std::wstring keyName = TrimSpaces(key);
  if (sectionName.empty() || keyName.empty() || HasLineBreak(sectionName) || HasLineBreak(keyName) ||
      HasLineBreak(value) || sectionName.find(L']') != std::wstring::npos || keyName.find(L'=') != std::wstring::npos ||
      keyName[0] == L'[')
    return false;

  std::lock_guard<std::mutex> lock(g_writeMutex);
  const std::string target = WideToMultiByte(path, kCodePageUtf8);
  ProfileFile file = LoadProfile(path);
  mode_t mode = 0644;
  struct stat info {};
  const bool hadFile = file.exists && ::stat(target.c_str(), &info) == 0;
  if (hadFile) mode = info.st_mode & 07777;

  const auto makeLine = [&](const std::wstring& text) {
    std::string bytes = WideToMultiByte(text, kCodePageUtf8);
    if (file.lineEnd == "\r\n") bytes += '\r';
    ProfileLine line = ParseLine(bytes, true);
    return line;
  };
  const auto terminateLast = [&] {
    if (file.lines.empty() || file.lines.back().hasLineFeed) return;
    if (file.lineEnd == "\r\n") file.lines.back().bytes += '\r';
    file.lines.back().hasLineFeed = true;
  };

  const std::optional<size_t> body = FindSectionBody(file, sectionName);
  if (!body) {
    terminateLast();
    file.lines.push_back(makeLine(L"[" + sectionName + L"]"));
    file.lines.push_back(makeLine(keyName + L"=" + value));
  } else if (const std::optional<size_t> at = FindKey(file, *body, keyName)) {
    // Keep the stored spelling of the key.
    file.lines[*at] = makeLine(file.lines[*at].name + L"=" + value);
  } else {
    size_t insertAt = *body;
    for (size_t i = *body; i < file.lines.size(); ++i) {
      if (file.lines[i].kind == ProfileLine::Kind::Section) break;
      if (file.lines[i].kind == ProfileLine::Kind::Entry) insertAt = i + 1;
    }
    if (insertAt == file.lines.size()) terminateLast();
    file.lines.insert(file.lines.begin() + static_cast<std::ptrdiff_t>(insertAt), makeLine(keyName + L"=" + value));
  }

  std::string bytes = file.hasBom ? kUtf8Bom : "";
  for (const ProfileLine& line : file.lines) {
    bytes += line.bytes;
    if (line.hasLineFeed) bytes += '\n';
  }
  return WriteWholeFile(target, bytes, mode, hadFile ? &info : nullptr);
}

}  // namespace Platform
