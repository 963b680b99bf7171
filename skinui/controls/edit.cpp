#include "skinui/controls/edit.h"

#include "skinui/attribute_values.h"
#include "skinui/window_host.h"

namespace SkinUI {

CEditUI::CEditUI() {
  textPadding_ = SkinRect{4, 3, 4, 3};
  SetBkColor(0xFFFFFFFF);
}

void* CEditUI::GetInterface(const std::wstring& name) {
  if (name == L"Edit") return this;
  return CLabelUI::GetInterface(name);
}

SkinRect CEditUI::NativeBoxRect() const {
  return SkinRect{rect_.left + textPadding_.left, rect_.top + textPadding_.top, rect_.right - textPadding_.right,
                  rect_.bottom - textPadding_.bottom};
}

void CEditUI::BeginEdit() {
  if (editing_ || !IsEnabled() || readOnly_) return;
  editing_ = true;
  if (host_) host_->BeginNativeEdit(this);
  Invalidate();
}

void CEditUI::OnNativeTextChanged(const std::wstring& text) {
  std::wstring limited = text.substr(0, static_cast<size_t>(maxChar_ > 0 ? maxChar_ : 0));
  if (limited == text_) return;
  SetText(limited);
  if (host_) host_->SendNotify(this, L"textchanged");
}

void CEditUI::OnNativeReturn() {
  if (host_) host_->SendNotify(this, L"return");
}

void CEditUI::OnNativeFocusLost() {
  if (!editing_) return;
  editing_ = false;
  Invalidate();
}

void CEditUI::DoEvent(TEventUI& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
    if (parent_) parent_->DoEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEVENT_SETCURSOR:
      if (IsEnabled() && host_) host_->SetCursorShape(CursorShape::kIBeam);
      return;
    case UIEVENT_SETFOCUS:
      CLabelUI::DoEvent(event);
      BeginEdit();
      return;
    case UIEVENT_KILLFOCUS:
      CLabelUI::DoEvent(event);
      return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (IsEnabled() && rect_.Contains(event.ptMouse)) BeginEdit();
      return;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_BUTTONUP:
    case UIEVENT_MOUSEENTER:
    case UIEVENT_MOUSELEAVE:
    case UIEVENT_CONTEXTMENU:
      return;
    default:
      break;
  }
  CLabelUI::DoEvent(event);
}

void CEditUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"readonly") readOnly_ = ParseBool(value);
  else if (name == L"numberonly") numberOnly_ = ParseBool(value);
  else if (name == L"password") password_ = ParseBool(value);
  else if (name == L"autoselall") autoSelectAll_ = ParseBool(value);
  else if (name == L"maxchar") maxChar_ = ParseInt(value);
  else if (name == L"normalimage") normalImage_ = ParseImageString(value);
  else if (name == L"hotimage") hotImage_ = ParseImageString(value);
  else if (name == L"focusedimage") focusedImage_ = ParseImageString(value);
  else if (name == L"disabledimage") disabledImage_ = ParseImageString(value);
  else if (name == L"nativebkcolor") nativeBkColor_ = ParseColor(value);
  else if (name == L"nativetextcolor") nativeTextColor_ = ParseColor(value);
  else if (name == L"tipvaluecolor") tipValueColor_ = ParseColor(value);
  else if (name == L"tipvalue") tipValue_ = value;
  else CLabelUI::SetAttribute(name, value);
}

}  // namespace SkinUI
