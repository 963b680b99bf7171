#include "skinui/controls/button.h"

#include <algorithm>

#include "platform/text_engine.h"
#include "skinui/attribute_values.h"
#include "skinui/window_host.h"

namespace SkinUI {

void* CButtonUI::GetInterface(const std::wstring& name) {
  if (name == L"Button") return this;
  return CLabelUI::GetInterface(name);
}

bool CButtonUI::Activate() {
  if (!CControlUI::Activate()) return false;
  if (host_) host_->SendNotify(this, L"click");
  return true;
}

void CButtonUI::SetEnabled(bool enabled) {
  CControlUI::SetEnabled(enabled);
  if (!IsEnabled()) buttonState_ = 0;
}

void CButtonUI::DoEvent(TEventUI& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
    if (parent_) parent_->DoEvent(event);
    else CLabelUI::DoEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
      CLabelUI::DoEvent(event);  // sets the flag and repaints
      return;
    case UIEVENT_KEYDOWN:
      if (IsKeyboardEnabled() && IsEnabled() && (event.chKey == kVirtualKeySpace || event.chKey == kVirtualKeyReturn)) {
        Activate();
        return;
      }
      break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (rect_.Contains(event.ptMouse) && IsEnabled()) {
        buttonState_ |= UISTATE_PUSHED | UISTATE_CAPTURED;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSEMOVE:
      if ((buttonState_ & UISTATE_CAPTURED) != 0) {
        if (rect_.Contains(event.ptMouse)) buttonState_ |= UISTATE_PUSHED;
        else buttonState_ &= ~UISTATE_PUSHED;
        Invalidate();
      }
      return;
    case UIEVENT_BUTTONUP:
      if ((buttonState_ & UISTATE_CAPTURED) != 0) {
        const bool activate = rect_.Contains(event.ptMouse) && IsEnabled();
        buttonState_ &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
        Invalidate();
        if (activate) Activate();
      }
      return;
    case UIEVENT_CONTEXTMENU:
      if (IsContextMenuUsed() && IsEnabled() && host_) host_->SendNotify(this, L"menu", event.wParam, event.lParam);
      return;
    case UIEVENT_MOUSEENTER:
      if (IsEnabled()) {
        buttonState_ |= UISTATE_HOT;
        Invalidate();
        if (host_) host_->SendNotify(this, L"mouseenter", event.wParam, event.lParam);
      }
      return;
    case UIEVENT_MOUSELEAVE:
      if (IsEnabled()) {
        buttonState_ &= ~UISTATE_HOT;
        Invalidate();
        if (host_) host_->SendNotify(this, L"mouseleave", event.wParam, event.lParam);
      }
      return;
    case UIEVENT_SETCURSOR:
      if (host_) host_->SetCursorShape(CursorShape::kHand);
      return;
    default:
      break;
  }
  CLabelUI::DoEvent(event);
}

SkinSize CButtonUI::EstimateSize(SkinSize /*available*/) {
  if (GetFixedHeight() > 0) return SkinSize{GetFixedWidth(), GetFixedHeight()};
  const Platform::FontSpec font = host_ ? host_->GetFontSpec(GetFont()) : Platform::FontSpec{L"微软雅黑", 12};
  return SkinSize{GetFixedWidth(), Platform::GetFontMetrics(font).height + 8};
}

const ImageDrawSpec& CButtonUI::CurrentStateImage() const {
  auto orNormal = [this](const ImageDrawSpec& image) -> const ImageDrawSpec& {
    return image.IsEmpty() ? normalImage_ : image;
  };
  if (!IsEnabled()) return orNormal(disabledImage_);
  if ((buttonState_ & UISTATE_PUSHED) != 0) return orNormal(pushedImage_);
  if ((buttonState_ & UISTATE_HOT) != 0) return orNormal(hotImage_);
  if (IsFocused()) return orNormal(focusedImage_);
  return normalImage_;
}

uint32_t CButtonUI::CurrentTextColor() const {
  if (IsEnabled()) {
    if ((buttonState_ & UISTATE_PUSHED) != 0 && pushedTextColor_ != 0) return pushedTextColor_;
    if ((buttonState_ & UISTATE_HOT) != 0 && hotTextColor_ != 0) return hotTextColor_;
    if (IsFocused() && focusedTextColor_ != 0) return focusedTextColor_;
    return GetTextColor();
  }
  return GetDisabledTextColor();
}

void CButtonUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"normalimage") normalImage_ = ParseImageString(value);
  else if (name == L"hotimage") hotImage_ = ParseImageString(value);
  else if (name == L"pushedimage") pushedImage_ = ParseImageString(value);
  else if (name == L"focusedimage") focusedImage_ = ParseImageString(value);
  else if (name == L"disabledimage") disabledImage_ = ParseImageString(value);
  else if (name == L"foreimage") SetForeImage(value);
  else if (name == L"hotforeimage") hotForeImage_ = ParseImageString(value);
  else if (name == L"fivestatusimage") fiveStatusImage_ = ParseImageString(value);
  else if (name == L"fadedelta") fadeDelta_ = std::clamp(ParseInt(value), 0, 255);
  else if (name == L"hotbkcolor") hotBkColor_ = ParseColor(value);
  else if (name == L"pushedbkcolor") pushedBkColor_ = ParseColor(value);
  else if (name == L"disabledbkcolor") disabledBkColor_ = ParseColor(value);
  else if (name == L"hottextcolor") hotTextColor_ = ParseColor(value);
  else if (name == L"pushedtextcolor") pushedTextColor_ = ParseColor(value);
  else if (name == L"focusedtextcolor") focusedTextColor_ = ParseColor(value);
  else {
    CLabelUI::SetAttribute(name, value);
    return;
  }
  Invalidate();
}

}  // namespace SkinUI
