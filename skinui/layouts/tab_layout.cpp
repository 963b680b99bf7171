#include "skinui/layouts/tab_layout.h"

#include <algorithm>

#include "skinui/attribute_values.h"
#include "skinui/window_host.h"

namespace SkinUI {

void* CTabLayoutUI::GetInterface(const std::wstring& name) {
  if (name == L"TabLayout") return this;
  return CContainerUI::GetInterface(name);
}

bool CTabLayoutUI::AddAt(CControlUI* control, int index) {
  if (!CContainerUI::AddAt(control, index)) return false;
  if (currentSelection_ == -1 && control->IsVisible()) {
    currentSelection_ = GetItemIndex(control);
  } else {
    if (index <= currentSelection_) ++currentSelection_;
    control->SetVisible(false);
  }
  return true;
}

bool CTabLayoutUI::RemoveAt(int index) {
  if (index < 0 || index >= GetCount()) return false;
  const int selected = currentSelection_;
  if (!CContainerUI::RemoveAt(index)) return false;
  if (GetCount() == 0) {
    currentSelection_ = -1;
  } else if (index == selected) {
    currentSelection_ = -1;
    SelectItem(0);
  } else if (index < selected) {
    --currentSelection_;
  }
  return true;
}

void CTabLayoutUI::RemoveAll() {
  currentSelection_ = -1;
  CContainerUI::RemoveAll();
}

bool CTabLayoutUI::SelectItem(int index, bool notify) {
  if (index < 0 || index >= GetCount()) return false;
  if (index == currentSelection_) return true;
  const int previous = currentSelection_;
  currentSelection_ = index;
  for (int i = 0; i < GetCount(); ++i) GetItemAt(i)->SetVisible(i == index);
  NeedParentUpdate();
  NeedUpdate();
  if (notify && host_) {
    host_->SendNotify(this, L"tabselect", static_cast<uintptr_t>(currentSelection_), static_cast<intptr_t>(previous));
  }
  return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* control, bool notify) {
  const int index = GetItemIndex(control);
  return index >= 0 && SelectItem(index, notify);
}

void CTabLayoutUI::SetPos(const SkinRect& rect, bool needInvalidate) {
  CControlUI::SetPos(rect, needInvalidate);
  const SkinRect inner = InnerRect();
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* page = GetItemAt(i);
    if (!page->IsVisible()) continue;
    if (page->IsFloat()) {
      page->SetFloatPos(inner);
      continue;
    }
    if (i != currentSelection_) continue;
    const SkinRect& padding = page->GetPadding();
    SkinRect area{inner.left + padding.left, inner.top + padding.top, inner.right - padding.right,
                  inner.bottom - padding.bottom};
    int width = std::max(page->GetMinWidth(), std::min(area.Width(), page->GetMaxWidth()));
    int height = std::max(page->GetMinHeight(), std::min(area.Height(), page->GetMaxHeight()));
    page->SetPos(SkinRect{area.left, area.top, area.left + std::max(0, width), area.top + std::max(0, height)}, false);
  }
}

void CTabLayoutUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"selectedid") {
    SelectItem(ParseInt(value));
    AddCustomAttribute(name, value);
  } else {
    CContainerUI::SetAttribute(name, value);
  }
}

}  // namespace SkinUI
