#include "skinui/layouts/container.h"

#include <algorithm>

#include "skinui/attribute_values.h"
#include "skinui/window_host.h"

namespace SkinUI {

CContainerUI::~CContainerUI() {
  // Children go first, while this container is still whole.
  items_.clear();
}

void* CContainerUI::GetInterface(const std::wstring& name) {
  if (name == L"Container") return this;
  if (name == L"IContainer") return static_cast<IContainerUI*>(this);
  return CControlUI::GetInterface(name);
}

CControlUI* CContainerUI::GetItemAt(int index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return items_[static_cast<size_t>(index)].get();
}

int CContainerUI::GetItemIndex(CControlUI* control) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].get() == control) return static_cast<int>(i);
  }
  return -1;
}

bool CContainerUI::Add(CControlUI* control) { return AddAt(control, GetCount()); }

bool CContainerUI::AddAt(CControlUI* control, int index) {
  if (!control || index < 0 || index > GetCount() || GetItemIndex(control) >= 0) return false;
  // Added to a live tree, the child is initialised like the rest of it.
  control->SetManager(host_, this, host_ != nullptr);
  if (IsVisible()) NeedUpdate();
  else control->SetInternVisible(false);
  items_.insert(items_.begin() + index, std::unique_ptr<CControlUI>(control));
  return true;
}

bool CContainerUI::Remove(CControlUI* control) { return RemoveAt(GetItemIndex(control)); }

bool CContainerUI::RemoveAt(int index) {
  if (index < 0 || index >= GetCount()) return false;
  items_.erase(items_.begin() + index);
  NeedUpdate();
  return true;
}

void CContainerUI::RemoveAll() {
  items_.clear();
  NeedUpdate();
}

SkinRect CContainerUI::InnerRect() const {
  return SkinRect{rect_.left + inset_.left, rect_.top + inset_.top, rect_.right - inset_.right,
                  rect_.bottom - inset_.bottom};
}

void CContainerUI::SetVisible(bool visible) {
  CControlUI::SetVisible(visible);
  for (auto& item : items_) item->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool visible) {
  CControlUI::SetInternVisible(visible);
  for (auto& item : items_) item->SetInternVisible(IsVisible());
}

void CContainerUI::SetManager(CWindowHostUI* host, CControlUI* parent, bool init) {
  for (auto& item : items_) item->SetManager(host, this, init);
  CControlUI::SetManager(host, parent, init);
}

CControlUI* CContainerUI::FindControl(const FindPredicate& match, SkinPoint point, unsigned flags) {
  if ((flags & UIFIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
  if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
  if ((flags & UIFIND_HITTEST) != 0) {
    if (!rect_.Contains(point)) return nullptr;
    if (!mouseChild_) return CControlUI::FindControl(match, point, flags);
  }
  if ((flags & UIFIND_ME_FIRST) != 0) {
    if (CControlUI* found = CControlUI::FindControl(match, point, flags)) return found;
  }
  const bool topFirst = (flags & UIFIND_TOP_FIRST) != 0;
  const bool childrenReachable = (flags & UIFIND_HITTEST) == 0 || InnerRect().Contains(point);
  const int count = childrenReachable ? GetCount() : 0;
  for (int i = 0; i < count; ++i) {
    CControlUI* item = items_[static_cast<size_t>(topFirst ? count - 1 - i : i)].get();
    if (CControlUI* found = item->FindControl(match, point, flags)) return found;
  }
  if ((flags & UIFIND_ME_FIRST) == 0) return CControlUI::FindControl(match, point, flags);
  return nullptr;
}

void CContainerUI::ForEach(const std::function<void(CControlUI*, int)>& visit, int depth) {
  visit(this, depth);
  for (auto& item : items_) item->ForEach(visit, depth + 1);
}

void CContainerUI::SetPos(const SkinRect& rect, bool needInvalidate) {
  CControlUI::SetPos(rect, needInvalidate);
  // A plain container stacks every child over its whole inner rectangle.
  const SkinRect inner = InnerRect();
  for (auto& item : items_) {
    if (!item->IsVisible()) continue;
    if (item->IsFloat()) {
      item->SetFloatPos(inner);
    } else {
      const SkinRect& padding = item->GetPadding();
      item->SetPos(SkinRect{inner.left + padding.left, inner.top + padding.top, inner.right - padding.right,
                            inner.bottom - padding.bottom},
                   false);
    }
  }
}

void CContainerUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"inset") {
    inset_ = ParseRect(value);
    NeedUpdate();
  } else if (name == L"childpadding") {
    childPadding_ = ParseInt(value);
    NeedUpdate();
  } else if (name == L"childalign") {
    if (value.find(L"left") != std::wstring::npos) childAlign_ = DT_LEFT;
    if (value.find(L"center") != std::wstring::npos) childAlign_ = DT_CENTER;
    if (value.find(L"right") != std::wstring::npos) childAlign_ = DT_RIGHT;
    NeedUpdate();
  } else if (name == L"childvalign") {
    if (value.find(L"top") != std::wstring::npos) childVAlign_ = DT_TOP;
    if (value.find(L"vcenter") != std::wstring::npos) childVAlign_ = DT_VCENTER;
    if (value.find(L"bottom") != std::wstring::npos) childVAlign_ = DT_BOTTOM;
    NeedUpdate();
  } else if (name == L"mousechild") {
    mouseChild_ = ParseBool(value);
  } else if (name == L"vscrollbar") {
    vscrollbar_ = ParseBool(value);
  } else if (name == L"hscrollbar") {
    hscrollbar_ = ParseBool(value);
  } else if (name == L"vscrollbarstyle" || name == L"hscrollbarstyle") {
    AddCustomAttribute(name, value);  // no scroll bars in this framework build
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

}  // namespace SkinUI
