#include "skinui/controls/control.h"

#include <algorithm>
#include <cwchar>

#include "skinui/attribute_values.h"
#include "skinui/window_host.h"

namespace SkinUI {

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
  cover_.reset();
  // The host must not keep pointers to a control that is gone (focus,
  // hover, timers, option groups).
  if (host_) host_->ReapObjects(this);
}

void* CControlUI::GetInterface(const std::wstring& name) {
  if (name == L"Control") return this;
  return nullptr;
}

void CControlUI::SetText(const std::wstring& text) {
  if (text_ == text) return;
  text_ = text;
  Invalidate();
}

const std::wstring& CControlUI::GetVirtualWnd() const {
  if (!virtualWnd_.empty() || !parent_) return virtualWnd_;
  return parent_->GetVirtualWnd();
}

void CControlUI::SetVisible(bool visible) {
  if (visible_ == visible) return;
  const bool wasVisible = IsVisible();
  visible_ = visible;
  if (focused_ && !visible_ && host_) host_->SetFocus(nullptr, false);
  if (IsVisible() != wasVisible) NeedParentUpdate();
  if (cover_) cover_->SetInternVisible(IsVisible());
}

void CControlUI::SetInternVisible(bool visible) {
  internVisible_ = visible;
  if (!visible && focused_ && host_) host_->SetFocus(nullptr, false);
  if (cover_) cover_->SetInternVisible(IsVisible());
}

void CControlUI::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Invalidate();
}

void CControlUI::SetFocus() {
  if (host_) host_->SetFocus(this);
}

void CControlUI::SetPos(const SkinRect& rect, bool needInvalidate) {
  SkinRect fixed = rect;
  if (fixed.right < fixed.left) fixed.right = fixed.left;
  if (fixed.bottom < fixed.top) fixed.bottom = fixed.top;
  if (needInvalidate && fixed != rect_) Invalidate();
  rect_ = fixed;
  updateNeeded_ = false;
  if (needInvalidate) Invalidate();
  if (cover_ && cover_->IsVisible()) cover_->SetPos(rect_, false);
}

void CControlUI::SetFixedWidth(int cx) {
  if (cx < 0) return;
  fixedSize_.cx = cx;
  NeedParentUpdate();
}

void CControlUI::SetFixedHeight(int cy) {
  if (cy < 0) return;
  fixedSize_.cy = cy;
  NeedParentUpdate();
}

void CControlUI::SetPadding(const SkinRect& padding) {
  padding_ = padding;
  NeedParentUpdate();
}

SkinSize CControlUI::EstimateSize(SkinSize /*available*/) { return fixedSize_; }

void CControlUI::SetFloatPos(const SkinRect& parentInner) {
  const int width = parentInner.Width();
  const int height = parentInner.Height();
  SkinRect rect;
  if (floatRelative_) {
    rect.left = parentInner.left + static_cast<int>(width * floatFractions_[0]);
    rect.top = parentInner.top + static_cast<int>(height * floatFractions_[1]);
    rect.right = parentInner.left + static_cast<int>(width * floatFractions_[2]);
    rect.bottom = parentInner.top + static_cast<int>(height * floatFractions_[3]);
  } else {
    const SkinSize size = EstimateSize(SkinSize{width, height});
    rect.left = parentInner.left + fixedXY_.cx;
    rect.top = parentInner.top + fixedXY_.cy;
    rect.right = rect.left + size.cx;
    rect.bottom = rect.top + size.cy;
  }
  SetPos(rect, false);
}

void CControlUI::SetBkColor(uint32_t color) {
  bkColor_ = color;
  Invalidate();
}

void CControlUI::SetBkImage(const std::wstring& image) {
  if (bkImage_.source == image && !image.empty()) return;
  bkImage_ = ParseImageString(image);
  Invalidate();
}

void CControlUI::SetForeImage(const std::wstring& image) {
  foreImage_ = ParseImageString(image);
  Invalidate();
}

void CControlUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"pos") {
    const SkinRect pos = ParseRect(value);
    fixedXY_ = SkinSize{pos.left, pos.top};
    SetFixedWidth(pos.right - pos.left);
    SetFixedHeight(pos.bottom - pos.top);
  } else if (name == L"padding") {
    SetPadding(ParseRect(value));
  } else if (name == L"bkcolor" || name == L"bkcolor1") {
    SetBkColor(ParseColor(value));
  } else if (name == L"bkcolor2") {
    bkColor2_ = ParseColor(value);
  } else if (name == L"bkcolor3") {
    bkColor3_ = ParseColor(value);
  } else if (name == L"bordercolor") {
    borderColor_ = ParseColor(value);
  } else if (name == L"focusbordercolor") {
    focusBorderColor_ = ParseColor(value);
  } else if (name == L"colorhsl") {
    colorHsl_ = ParseBool(value);
  } else if (name == L"bordersize") {
    if (value.find(L',') == std::wstring::npos) {
      const int size = ParseInt(value);
      borderSize_ = SkinRect{size, size, size, size};
    } else {
      borderSize_ = ParseRect(value);
    }
  } else if (name == L"borderstyle") {
    borderStyle_ = ParseInt(value);
  } else if (name == L"borderround") {
    borderRound_ = ParseSize(value);
  } else if (name == L"bkimage") {
    SetBkImage(value);
  } else if (name == L"width") {
    SetFixedWidth(ParseInt(value));
  } else if (name == L"height") {
    SetFixedHeight(ParseInt(value));
  } else if (name == L"minwidth") {
    minSize_.cx = std::max(0, ParseInt(value));
  } else if (name == L"minheight") {
    minSize_.cy = std::max(0, ParseInt(value));
  } else if (name == L"maxwidth") {
    maxSize_.cx = std::max(0, ParseInt(value));
  } else if (name == L"maxheight") {
    maxSize_.cy = std::max(0, ParseInt(value));
  } else if (name == L"name") {
    SetName(value);
  } else if (name == L"text") {
    SetText(value);
  } else if (name == L"tooltip") {
    tooltip_ = value;
  } else if (name == L"userdata") {
    userData_ = value;
  } else if (name == L"tag") {
    tag_ = static_cast<uintptr_t>(ParseInt(value));
  } else if (name == L"enabled") {
    SetEnabled(ParseBool(value));
  } else if (name == L"mouse") {
    mouseEnabled_ = ParseBool(value);
  } else if (name == L"keyboard") {
    keyboardEnabled_ = ParseBool(value);
  } else if (name == L"visible") {
    SetVisible(ParseBool(value));
  } else if (name == L"float") {
    if (value.find(L',') == std::wstring::npos) {
      float_ = ParseBool(value);
      floatRelative_ = false;
    } else {
      // Four fractions of the parent's size: left, top, right, bottom.
      size_t pos = 0;
      for (double& fraction : floatFractions_) {
        const size_t comma = value.find(L',', pos);
        const std::wstring part = value.substr(pos, comma == std::wstring::npos ? std::wstring::npos : comma - pos);
        fraction = std::wcstod(part.c_str(), nullptr);
        if (!(fraction >= -16.0 && fraction <= 16.0)) fraction = 0;  // NaN and absurd values
        if (comma == std::wstring::npos) break;
        pos = comma + 1;
      }
      float_ = true;
      floatRelative_ = true;
    }
    NeedParentUpdate();
  } else if (name == L"shortcut") {
    shortcut_ = value.empty() ? 0 : value[0];
  } else if (name == L"menu") {
    menuUsed_ = ParseBool(value);
  } else if (name == L"virtualwnd") {
    virtualWnd_ = value;
  } else {
    AddCustomAttribute(name, value);
  }
}

void CControlUI::ApplyAttributeList(const std::wstring& list) {
  for (const auto& pair : ParseAttributeList(list)) SetAttribute(pair.first, pair.second);
}

const std::wstring* CControlUI::GetCustomAttribute(const std::wstring& name) const {
  for (const auto& attribute : customAttributes_) {
    if (attribute.first == name) return &attribute.second;
  }
  return nullptr;
}

void CControlUI::AddCustomAttribute(const std::wstring& name, const std::wstring& value) {
  if (GetCustomAttribute(name)) return;
  customAttributes_.emplace_back(name, value);
}

void CControlUI::SetManager(CWindowHostUI* host, CControlUI* parent, bool init) {
  if (cover_) cover_->SetManager(host, this, init);
  host_ = host;
  parent_ = parent;
  if (init && parent_) SetInternVisible(parent_->IsVisible());
  if (init && host_) DoInit();
}

CControlUI* CControlUI::FindControl(const FindPredicate& match, SkinPoint point, unsigned flags) {
  if ((flags & UIFIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
  if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
  if ((flags & UIFIND_HITTEST) != 0 && (!mouseEnabled_ || !rect_.Contains(point))) return nullptr;
  return match(this) ? this : nullptr;
}

void CControlUI::ForEach(const std::function<void(CControlUI*, int)>& visit, int depth) { visit(this, depth); }

void CControlUI::SetCover(CControlUI* cover) {
  cover_.reset(cover);
  if (cover_) {
    cover_->SetManager(host_, this, false);
    cover_->SetPos(rect_, false);
  }
}

void CControlUI::Event(TEventUI& event) { DoEvent(event); }

void CControlUI::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case UIEVENT_SETCURSOR:
      if (host_) host_->SetCursorShape(CursorShape::kArrow);
      return;
    case UIEVENT_SETFOCUS:
      focused_ = true;
      Invalidate();
      return;
    case UIEVENT_KILLFOCUS:
      focused_ = false;
      Invalidate();
      return;
    case UIEVENT_TIMER:
      if (host_) host_->SendNotify(this, L"timer", event.wParam, event.lParam);
      return;
    case UIEVENT_CONTEXTMENU:
      if (menuUsed_) {
        if (host_) host_->SendNotify(this, L"menu", event.wParam, event.lParam);
        return;
      }
      break;
    default:
      break;
  }
  if (parent_) parent_->DoEvent(event);
}

bool CControlUI::Activate() { return IsVisible() && IsEnabled(); }

bool CControlUI::RunNotifyHandlers(TNotifyUI& msg) {
  bool handled = false;
  for (const NotifyHandler& handler : notifyHandlers_) handled = handler(msg) || handled;
  return handled;
}

void CControlUI::Invalidate() {
  if (host_ && IsVisible()) host_->Invalidate(rect_);
}

void CControlUI::NeedUpdate() {
  if (!IsVisible()) return;
  updateNeeded_ = true;
  Invalidate();
  if (host_) host_->NeedUpdate();
}

void CControlUI::NeedParentUpdate() {
  if (parent_) {
    parent_->NeedUpdate();
    parent_->Invalidate();
  } else {
    NeedUpdate();
  }
  if (host_) host_->NeedUpdate();
}

}  // namespace SkinUI
