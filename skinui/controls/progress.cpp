#include "skinui/controls/progress.h"

#include <algorithm>

#include "skinui/attribute_values.h"

namespace SkinUI {

CProgressUI::CProgressUI() {
  textStyle_ = DT_SINGLELINE | DT_CENTER;
  SetFixedHeight(12);
}

void* CProgressUI::GetInterface(const std::wstring& name) {
  if (name == L"Progress") return this;
  return CLabelUI::GetInterface(name);
}

void CProgressUI::SetMinValue(int min) {
  min_ = min;
  Invalidate();
}

void CProgressUI::SetMaxValue(int max) {
  max_ = max;
  Invalidate();
}

void CProgressUI::SetValue(int value) {
  if (value > max_) value = max_;
  if (value < min_) value = min_;
  value_ = value;
  Invalidate();
}

SkinRect CProgressUI::ForegroundRect() const {
  const int min = min_;
  const int max = min_ < max_ ? max_ : min_ + 1;
  const int value = std::clamp(value_, min, max);
  const long long span = static_cast<long long>(max) - min;
  SkinRect rect = rect_;
  if (horizontal_) {
    rect.right = rect.left + static_cast<int>(rect_.Width() * (static_cast<long long>(value) - min) / span);
  } else {
    rect.top = rect.top + static_cast<int>(rect_.Height() * (static_cast<long long>(max) - value) / span);
  }
  return rect;
}

void CProgressUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"foreimage") SetForeImage(value);
  else if (name == L"hor") horizontal_ = ParseBool(value);
  else if (name == L"min") SetMinValue(ParseInt(value));
  else if (name == L"max") SetMaxValue(ParseInt(value));
  else if (name == L"value") SetValue(ParseInt(value));
  else CLabelUI::SetAttribute(name, value);
}

}  // namespace SkinUI
