#include "skinui/controls/option.h"

#include "skinui/attribute_values.h"
#include "skinui/window_host.h"

namespace SkinUI {

COptionUI::~COptionUI() {
  if (!group_.empty() && host_) host_->RemoveOptionGroup(group_, this);
}

void* COptionUI::GetInterface(const std::wstring& name) {
  if (name == L"Option") return this;
  return CButtonUI::GetInterface(name);
}

void COptionUI::SetManager(CWindowHostUI* host, CControlUI* parent, bool init) {
  if (host != host_ && host_ && !group_.empty()) host_->RemoveOptionGroup(group_, this);
  CButtonUI::SetManager(host, parent, init);
  if (host_ && !group_.empty()) host_->AddOptionGroup(group_, this);
}

void COptionUI::SetGroup(const std::wstring& group) {
  if (group == group_) return;
  if (host_ && !group_.empty()) host_->RemoveOptionGroup(group_, this);
  group_ = group;
  if (host_ && !group_.empty()) host_->AddOptionGroup(group_, this);
  Selected(selected_, false);
}

void COptionUI::Selected(bool selected, bool notify) {
  const bool changed = selected_ != selected;
  selected_ = selected;
  if (selected_) buttonState_ |= UISTATE_SELECTED;
  else buttonState_ &= ~UISTATE_SELECTED;

  if (host_ && !group_.empty()) {
    if (selected_) {
      // Copy: deselecting others must not disturb the walk.
      const std::vector<CControlUI*> members = host_->GetOptionGroup(group_);
      for (CControlUI* member : members) {
        auto* option = static_cast<COptionUI*>(member->GetInterface(L"Option"));
        if (option && option != this) option->Selected(false, notify);
      }
      if (changed && notify) host_->SendNotify(this, L"selectchanged");
    }
  } else if (changed && notify && host_) {
    host_->SendNotify(this, L"selectchanged");
  }
  if (changed) Invalidate();
}

bool COptionUI::Activate() {
  if (!CButtonUI::Activate()) return false;
  if (!group_.empty()) Selected(true);
  else Selected(!selected_);
  return true;
}

void COptionUI::SetEnabled(bool enabled) {
  CButtonUI::SetEnabled(enabled);
  if (!IsEnabled()) {
    if (selected_) buttonState_ = UISTATE_SELECTED;
    else buttonState_ = 0;
  }
}

void COptionUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"group") SetGroup(value);
  else if (name == L"selected") Selected(ParseBool(value));
  else if (name == L"selectedimage") selectedImage_ = ParseImageString(value);
  else if (name == L"selectedhotimage") selectedHotImage_ = ParseImageString(value);
  else if (name == L"foreimage") selectedForeImage_ = ParseImageString(value);
  else if (name == L"selectedbkcolor") selectedBkColor_ = ParseColor(value);
  else if (name == L"selectedtextcolor") selectedTextColor_ = ParseColor(value);
  else CButtonUI::SetAttribute(name, value);
}

void* CCheckBoxUI::GetInterface(const std::wstring& name) {
  if (name == L"CheckBox") return this;
  return COptionUI::GetInterface(name);
}

}  // namespace SkinUI
