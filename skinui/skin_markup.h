// The skin markup reader: an XML-like document with elements, double-quoted
// attributes, text content, comments ("<!" ... "->") and processing
// instructions ("<?" ... "?>"), parsed with fixed error texts.
// Limits: no DTDs, CDATA or single-quoted values; five entities; at most 64
// attributes per element are kept; nesting deeper than 256 elements is
// refused ("Nesting too deep") so hostile input cannot exhaust the stack.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace SkinUI {

class CSkinMarkup;

// A light handle to one element of a loaded document.
class CSkinMarkupNode {
 public:
  CSkinMarkupNode() = default;

  bool IsValid() const { return markup_ != nullptr && index_ != 0; }
  std::wstring GetName() const;
  std::wstring GetValue() const;  // the element's text content
  CSkinMarkupNode GetChild() const;
  CSkinMarkupNode GetSibling() const;
  CSkinMarkupNode GetParent() const;
  bool HasChildren() const;

  int GetAttributeCount() const;
  std::wstring GetAttributeName(int index) const;
  std::wstring GetAttributeValue(int index) const;
  bool HasAttribute(const std::wstring& name) const;
  // Empty when absent; names compare exactly.
  std::wstring GetAttributeValue(const std::wstring& name) const;
  // Copies at most bufferChars - 1 characters and a terminator; false when absent.
  bool GetAttributeValue(const std::wstring& name, wchar_t* buffer, size_t bufferChars) const;

 private:
  friend class CSkinMarkup;
  CSkinMarkupNode(const CSkinMarkup* markup, size_t index) : markup_(markup), index_(index) {}

  const CSkinMarkup* markup_ = nullptr;
  size_t index_ = 0;
};

class CSkinMarkup {
 public:
  enum Encoding { kUtf8 = 0, kUtf16 = 1, kAnsi = 2 };

  bool Load(const std::wstring& text);
  bool LoadFromMem(const uint8_t* bytes, size_t size, int encoding = kUtf8);
  // Reads through the skin resources (archive or resource directory) as UTF-8.
  bool LoadFromFile(const std::wstring& name);
  void Release();

  bool IsValid() const { return elements_.size() > 1; }
  CSkinMarkupNode GetRoot() const;
  const std::wstring& GetLastErrorMessage() const { return error_; }
  const std::wstring& GetLastErrorLocation() const { return errorContext_; }

 private:
  friend class CSkinMarkupNode;
  struct Element {
    std::wstring name;
    std::wstring data;
    std::vector<std::pair<std::wstring, std::wstring>> attributes;
    size_t parent = 0;
    size_t child = 0;
    size_t next = 0;
  };
  class Parser;

  bool Fail(const std::wstring& message, const std::wstring& text, size_t position);

  std::vector<Element> elements_;  // [0] is a sentinel; [1] is the root
  std::wstring error_;
  std::wstring errorContext_;
};

}  // namespace SkinUI
