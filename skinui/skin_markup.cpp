#include "skinui/skin_markup.h"

#include <algorithm>

#include "platform/code_page.h"
#include "skinui/skin_resources.h"

namespace SkinUI {
namespace {

constexpr size_t kMaxAttributes = 64;
constexpr size_t kMaxDepth = 256;
constexpr size_t kMaxErrorText = 99;
constexpr size_t kMaxErrorContext = 49;

bool IsWhitespace(wchar_t c) { return c > 0 && c <= L' '; }

bool IsIdentifierChar(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_' ||
         c == L':' || c >= 0x80;
}

}  // namespace

// Recursive-descent parser over a NUL-terminated copy of the text.
class CSkinMarkup::Parser {
 public:
  Parser(CSkinMarkup& owner, const std::wstring& text) : owner_(owner), text_(text), p_(text_.c_str()) {}

  bool Run() { return ParseLevel(0, 0); }

 private:
  size_t Pos() const { return static_cast<size_t>(p_ - text_.c_str()); }
  bool Fail(const wchar_t* message) { return owner_.Fail(message, text_, Pos()); }
  void SkipWhitespace() {
    while (IsWhitespace(*p_)) ++p_;
  }
  void SkipIdentifier() {
    while (*p_ != 0 && IsIdentifierChar(*p_)) ++p_;
  }

  // Text up to `end`, with entities resolved and whitespace kept.
  void ParseData(wchar_t end, std::wstring& out) {
    while (*p_ != 0 && *p_ != end) {
      if (*p_ == L'&') {
        ParseEntity(out);
        continue;
      }
      out += *p_++;
    }
  }

  void ParseEntity(std::wstring& out) {
    static const struct {
      const wchar_t* name;
      wchar_t value;
    } kEntities[] = {{L"amp;", L'&'}, {L"lt;", L'<'}, {L"gt;", L'>'}, {L"quot;", L'"'}, {L"apos;", L'\''}};
    const wchar_t* after = p_ + 1;
    for (const auto& entity : kEntities) {
      const size_t length = std::char_traits<wchar_t>::length(entity.name);
      if (std::char_traits<wchar_t>::compare(after, entity.name, length) == 0 &&
          std::find(after, after + length, L'\0') == after + length) {
        out += entity.value;
        p_ = after + length;
        return;
      }
    }
    out += L'&';  // not an entity: a literal ampersand
    p_ = after;
  }

  bool ParseAttributes(Element& element) {
    SkipWhitespace();
    while (*p_ != 0 && *p_ != L'>' && *p_ != L'/') {
      const wchar_t* nameStart = p_;
      SkipIdentifier();
      std::wstring name(nameStart, p_);
      SkipWhitespace();
      if (*p_ != L'=') return Fail(L"Error while parsing attributes");
      ++p_;
      SkipWhitespace();
      if (*p_++ != L'"') {
        if (p_[-1] == 0) --p_;  // never step past the terminator
        return Fail(L"Expected attribute value");
      }
      std::wstring value;
      ParseData(L'"', value);
      if (*p_ == 0) return Fail(L"Error while parsing attribute string");
      ++p_;
      if (element.attributes.size() < kMaxAttributes) element.attributes.emplace_back(std::move(name), std::move(value));
      SkipWhitespace();
    }
    return true;
  }

  // Parses the elements of one level, whose parent record is `parent`.
  bool ParseLevel(size_t parent, size_t depth) {
    if (depth > kMaxDepth) return Fail(L"Nesting too deep");
    SkipWhitespace();
    size_t previous = 0;
    for (;;) {
      // The end of the text closes the document only at the top two levels.
      if (*p_ == 0 && parent <= 1) return true;
      SkipWhitespace();
      if (*p_ != L'<') return Fail(L"Expected start tag");
      if (p_[1] == L'/') return true;  // the parent's end tag
      ++p_;
      SkipWhitespace();
      if (*p_ == L'!' || *p_ == L'?') {
        const wchar_t close = *p_ == L'!' ? L'-' : L'?';
        while (*p_ != 0 && !(p_[0] == close && p_[1] == L'>')) ++p_;
        if (*p_ != 0) p_ += 2;
        SkipWhitespace();
        continue;
      }
      SkipWhitespace();

      const size_t index = owner_.elements_.size();
      owner_.elements_.emplace_back();
      owner_.elements_[index].parent = parent;
      if (previous != 0) owner_.elements_[previous].next = index;
      else if (parent > 0) owner_.elements_[parent].child = index;
      previous = index;

      const wchar_t* nameStart = p_;
      SkipIdentifier();
      const std::wstring name(nameStart, p_);
      owner_.elements_[index].name = name;
      if (*p_ == 0) return Fail(L"Error parsing element name");
      if (!ParseAttributes(owner_.elements_[index])) return false;
      SkipWhitespace();
      if (p_[0] == L'/' && p_[1] == L'>') {
        p_ += 2;
      } else {
        if (*p_ != L'>') return Fail(L"Expected start-tag closing");
        ++p_;
        std::wstring data;
        ParseData(L'<', data);
        owner_.elements_[index].data = std::move(data);
        if (*p_ == 0 && parent <= 1) return true;
        if (*p_ != L'<') return Fail(L"Expected end-tag start");
        if (p_[1] != L'/') {
          if (!ParseLevel(index, depth + 1)) return false;
        }
        if (p_[0] == L'<' && p_[1] == L'/') {
          p_ += 2;
          SkipWhitespace();
          if (std::char_traits<wchar_t>::compare(p_, name.c_str(), name.size()) != 0 ||
              std::find(p_, p_ + name.size(), L'\0') != p_ + name.size()) {
            return Fail(L"Unmatched closing tag");
          }
          p_ += name.size();
          SkipWhitespace();
          if (*p_ != L'>') {
            if (*p_ != 0) ++p_;
            return Fail(L"Unmatched closing tag");
          }
          ++p_;
        }
      }
      SkipWhitespace();
    }
  }

  CSkinMarkup& owner_;
  const std::wstring& text_;
  const wchar_t* p_;
};

bool CSkinMarkup::Load(const std::wstring& text) {
  Release();
  // The parser reads up to the first NUL, as the text would end there anyway.
  const std::wstring copy(text.c_str());
  elements_.emplace_back();  // sentinel
  Parser parser(*this, copy);
  if (!parser.Run()) {
    elements_.clear();
    return false;
  }
  return true;
}

bool CSkinMarkup::LoadFromMem(const uint8_t* bytes, size_t size, int encoding) {
  Release();
  if (!bytes) size = 0;
  std::wstring text;
  if (encoding == kUtf8) {
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
      bytes += 3;
      size -= 3;
    }
    text = Platform::MultiByteToWide(std::string(reinterpret_cast<const char*>(bytes), size), Platform::kCodePageUtf8);
  } else if (encoding == kUtf16) {
    if (size < 2) return false;
    const bool little = bytes[0] == 0xFF && bytes[1] == 0xFE;
    const bool big = bytes[0] == 0xFE && bytes[1] == 0xFF;
    if (!little && !big) return false;
    for (size_t i = 2; i + 1 < size; i += 2) {
      uint32_t unit = little ? (bytes[i] | (bytes[i + 1] << 8)) : ((bytes[i] << 8) | bytes[i + 1]);
      if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < size) {
        const uint32_t low = little ? (bytes[i + 2] | (bytes[i + 3] << 8)) : ((bytes[i + 2] << 8) | bytes[i + 3]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
          i += 2;
        }
      }
      text += static_cast<wchar_t>(unit);
    }
  } else {
    text = Platform::MultiByteToWide(std::string(reinterpret_cast<const char*>(bytes), size), Platform::kCodePageAnsi);
  }
  return Load(text);
}

bool CSkinMarkup::LoadFromFile(const std::wstring& name) {
  Release();
  std::vector<uint8_t> bytes;
  std::wstring error;
  if (!CSkinResources::ReadSkinFile(name, bytes, error)) {
    error_ = error.substr(0, kMaxErrorText);
    return false;
  }
  return LoadFromMem(bytes.data(), bytes.size(), kUtf8);
}

void CSkinMarkup::Release() {
  elements_.clear();
  error_.clear();
  errorContext_.clear();
}

CSkinMarkupNode CSkinMarkup::GetRoot() const {
  if (elements_.size() < 2) return CSkinMarkupNode();
  return CSkinMarkupNode(this, 1);
}

bool CSkinMarkup::Fail(const std::wstring& message, const std::wstring& text, size_t position) {
  error_ = message.substr(0, kMaxErrorText);
  errorContext_ = position < text.size() ? text.substr(position, kMaxErrorContext) : std::wstring();
  return false;
}

std::wstring CSkinMarkupNode::GetName() const { return IsValid() ? markup_->elements_[index_].name : std::wstring(); }
std::wstring CSkinMarkupNode::GetValue() const { return IsValid() ? markup_->elements_[index_].data : std::wstring(); }

CSkinMarkupNode CSkinMarkupNode::GetChild() const {
  if (!IsValid() || markup_->elements_[index_].child == 0) return CSkinMarkupNode();
  return CSkinMarkupNode(markup_, markup_->elements_[index_].child);
}

CSkinMarkupNode CSkinMarkupNode::GetSibling() const {
  if (!IsValid() || markup_->elements_[index_].next == 0) return CSkinMarkupNode();
  return CSkinMarkupNode(markup_, markup_->elements_[index_].next);
}

CSkinMarkupNode CSkinMarkupNode::GetParent() const {
  if (!IsValid() || markup_->elements_[index_].parent == 0) return CSkinMarkupNode();
  return CSkinMarkupNode(markup_, markup_->elements_[index_].parent);
}

bool CSkinMarkupNode::HasChildren() const { return IsValid() && markup_->elements_[index_].child != 0; }

int CSkinMarkupNode::GetAttributeCount() const {
  return IsValid() ? static_cast<int>(markup_->elements_[index_].attributes.size()) : 0;
}

std::wstring CSkinMarkupNode::GetAttributeName(int index) const {
  if (index < 0 || index >= GetAttributeCount()) return std::wstring();
  return markup_->elements_[index_].attributes[static_cast<size_t>(index)].first;
}

std::wstring CSkinMarkupNode::GetAttributeValue(int index) const {
  if (index < 0 || index >= GetAttributeCount()) return std::wstring();
  return markup_->elements_[index_].attributes[static_cast<size_t>(index)].second;
}

bool CSkinMarkupNode::HasAttribute(const std::wstring& name) const {
  if (!IsValid()) return false;
  for (const auto& attribute : markup_->elements_[index_].attributes) {
    if (attribute.first == name) return true;
  }
  return false;
}

std::wstring CSkinMarkupNode::GetAttributeValue(const std::wstring& name) const {
  if (!IsValid()) return std::wstring();
  for (const auto& attribute : markup_->elements_[index_].attributes) {
    if (attribute.first == name) return attribute.second;
  }
  return std::wstring();
}

bool CSkinMarkupNode::GetAttributeValue(const std::wstring& name, wchar_t* buffer, size_t bufferChars) const {
  if (!HasAttribute(name) || !buffer || bufferChars == 0) return false;
  const std::wstring value = GetAttributeValue(name);
  const size_t count = std::min(value.size(), bufferChars - 1);
  std::char_traits<wchar_t>::copy(buffer, value.c_str(), count);
  buffer[count] = 0;
  return true;
}

}  // namespace SkinUI
