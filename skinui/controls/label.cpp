#include "skinui/controls/label.h"

#include "platform/text_engine.h"
#include "skinui/attribute_values.h"
#include "skinui/window_host.h"

namespace SkinUI {

void* CLabelUI::GetInterface(const std::wstring& name) {
  if (name == L"Label") return this;
  return CControlUI::GetInterface(name);
}

void CLabelUI::SetText(const std::wstring& text) {
  if (text == text_) return;
  CControlUI::SetText(text);
  ForgetEstimate();
  // A label that sizes itself by its text needs its parent laid out again.
  if (GetFixedWidth() == 0 || GetFixedHeight() == 0) NeedParentUpdate();
}

void CLabelUI::SetTextStyle(unsigned style) {
  textStyle_ = style;
  ForgetEstimate();
  Invalidate();
}

void CLabelUI::SetFont(int index) {
  font_ = index;
  ForgetEstimate();
  Invalidate();
}

void CLabelUI::SetTextColor(uint32_t color) {
  textColor_ = color;
  Invalidate();
}

void CLabelUI::SetTextPadding(const SkinRect& padding) {
  textPadding_ = padding;
  ForgetEstimate();
  Invalidate();
}

SkinSize CLabelUI::EstimateSize(SkinSize available) {
  const SkinSize fixed{GetFixedWidth(), GetFixedHeight()};
  if (fixed.cx > 0 && fixed.cy > 0) return fixed;
  if (estimateValid_ && available.cx == lastAvailable_.cx && available.cy == lastAvailable_.cy &&
      fixed.cx == lastFixed_.cx && fixed.cy == lastFixed_.cy) {
    return lastEstimate_;
  }

  const Platform::FontSpec font = host_ ? host_->GetFontSpec(font_) : Platform::FontSpec{L"微软雅黑", 12};
  SkinSize size = fixed;
  if ((textStyle_ & DT_SINGLELINE) != 0) {
    if (size.cy == 0) size.cy = Platform::GetFontMetrics(font).height + 8 + textPadding_.top + textPadding_.bottom;
    if (size.cx == 0) size.cx = Platform::MeasureTextLine(font, text_).width + textPadding_.left + textPadding_.right;
  } else {
    if (size.cx == 0) size.cx = available.cx;
    if (size.cy == 0) {
      const int wrapWidth = size.cx - textPadding_.left - textPadding_.right;
      size.cy = Platform::MeasureTextWrapped(font, text_, wrapWidth).height + textPadding_.top + textPadding_.bottom;
    }
  }
  estimateValid_ = true;
  lastAvailable_ = available;
  lastFixed_ = fixed;
  lastEstimate_ = size;
  return size;
}

void CLabelUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"align") {
    unsigned style = textStyle_;
    if (value.find(L"left") != std::wstring::npos) style = (style & ~(DT_CENTER | DT_RIGHT)) | DT_LEFT;
    if (value.find(L"center") != std::wstring::npos) style = (style & ~(DT_LEFT | DT_RIGHT)) | DT_CENTER;
    if (value.find(L"right") != std::wstring::npos) style = (style & ~(DT_LEFT | DT_CENTER)) | DT_RIGHT;
    SetTextStyle(style);
  } else if (name == L"valign") {
    unsigned style = textStyle_;
    if (value.find(L"top") != std::wstring::npos) style = (style & ~(DT_BOTTOM | DT_VCENTER)) | DT_TOP;
    if (value.find(L"vcenter") != std::wstring::npos) style = (style & ~(DT_TOP | DT_BOTTOM)) | DT_VCENTER;
    if (value.find(L"bottom") != std::wstring::npos) style = (style & ~(DT_TOP | DT_VCENTER)) | DT_BOTTOM;
    SetTextStyle(style);
  } else if (name == L"endellipsis") {
    SetTextStyle(ParseBool(value) ? (textStyle_ | DT_END_ELLIPSIS) : (textStyle_ & ~DT_END_ELLIPSIS));
  } else if (name == L"font") {
    SetFont(ParseInt(value));
  } else if (name == L"textcolor") {
    SetTextColor(ParseColor(value));
  } else if (name == L"disabledtextcolor") {
    disabledTextColor_ = ParseColor(value);
  } else if (name == L"textpadding") {
    SetTextPadding(ParseRect(value));
  } else if (name == L"multiline") {
    SetTextStyle(ParseBool(value) ? ((textStyle_ & ~DT_SINGLELINE) | DT_WORDBREAK)
                                  : ((textStyle_ & ~DT_WORDBREAK) | DT_SINGLELINE));
  } else if (name == L"showhtml") {
    showHtml_ = ParseBool(value);
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

}  // namespace SkinUI
