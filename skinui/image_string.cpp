#include "skinui/image_string.h"

#include <algorithm>

#include "skinui/attribute_values.h"

namespace SkinUI {
namespace {

bool IsBlank(wchar_t c) { return c > 0 && c <= L' '; }

}  // namespace

ImageDrawSpec ParseImageString(const std::wstring& text) {
  ImageDrawSpec drawing;
  drawing.source = text;
  std::wstring file, res, restype, color;
  size_t pos = 0;
  const size_t end = text.size();
  while (pos < end) {
    while (pos < end && IsBlank(text[pos])) ++pos;
    std::wstring key;
    while (pos < end && text[pos] != L'=' && !(text[pos] >= 0 && text[pos] <= L' ')) key += text[pos++];
    while (pos < end && IsBlank(text[pos])) ++pos;
    if (pos >= end || text[pos] != L'=') break;
    ++pos;
    while (pos < end && IsBlank(text[pos])) ++pos;
    if (pos >= end || text[pos] != L'\'') break;
    ++pos;
    const size_t close = text.find(L'\'', pos);
    if (close == std::wstring::npos) break;
    const std::wstring value = text.substr(pos, close - pos);
    pos = close + 1;
    if (!value.empty()) {
      if (key == L"file") file = value;
      else if (key == L"res") res = value;
      else if (key == L"restype") restype = value;
      else if (key == L"color") color = value;
      else if (key == L"dest") { drawing.dest = ParseRect(value); drawing.hasDest = true; }
      else if (key == L"source") drawing.sourceRect = ParseRect(value);
      else if (key == L"corner" || key == L"scale9") drawing.corner = ParseRect(value);
      else if (key == L"mask") { drawing.mask = ParseColor(value); drawing.hasMask = true; }
      else if (key == L"fade") drawing.fade = static_cast<uint8_t>(std::clamp(ParseInt(value), 0, 255));
      else if (key == L"hole") drawing.hole = ParseBool(value);
      else if (key == L"xtiled") drawing.xtiled = ParseBool(value);
      else if (key == L"ytiled") drawing.ytiled = ParseBool(value);
      else if (key == L"hsl") drawing.hsl = ParseBool(value);
    }
    // The pair list continues only when a space follows the closing quote.
    if (pos >= end || text[pos] != L' ') break;
    ++pos;
  }
  if (!file.empty()) {
    drawing.name = file;
  } else if (!res.empty()) {
    drawing.name = res;
    drawing.type = restype;
  } else if (!color.empty()) {
    drawing.name = color;
    drawing.type = kColorImageType;
  } else {
    drawing.name = text;
  }
  return drawing;
}

}  // namespace SkinUI
