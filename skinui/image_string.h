// The image-string syntax of image attributes ("bkimage", "normalimage", ...):
// a plain image name, or key='value' pairs (file, res, restype, color, dest,
// source, corner/scale9, mask, fade, hole, xtiled, ytiled, hsl). Parsed once
// when the attribute is set and kept with the drawing record.
// Limits: the pair list goes on only while a space follows a closing quote;
// unknown keys and empty values are ignored.
#pragma once
#include <cstdint>
#include <string>

#include "skinui/geometry.h"

namespace SkinUI {

struct ImageDrawSpec {
  std::wstring source;   // the attribute value as written
  std::wstring name;     // the image to load: file, res, the colour text, or the whole string
  std::wstring type;     // "" (skin file), a resource type, or "*COLOR*"
  SkinRect dest;         // relative to the control; all zero = the control's rectangle
  bool hasDest = false;
  SkinRect sourceRect;   // all zero = the whole image
  SkinRect corner;       // nine-slice insets
  uint32_t mask = 0;
  bool hasMask = false;
  uint8_t fade = 255;
  bool hole = false;
  bool xtiled = false;
  bool ytiled = false;
  bool hsl = false;

  bool IsEmpty() const { return source.empty(); }
};

constexpr const wchar_t* kColorImageType = L"*COLOR*";

ImageDrawSpec ParseImageString(const std::wstring& text);

}  // namespace SkinUI
