#include "skinui/window_host.h"

#include <algorithm>
#include <cwctype>

#include "platform/clock.h"
#include "skinui/attribute_values.h"
#include "skinui/controls/control.h"
#include "skinui/controls/edit.h"
#include "skinui/skin_resources.h"

namespace SkinUI {
namespace {

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return text;
}

// Tables shared by every window of the process (declarations with "shared").
struct SharedTables {
  std::map<int, Platform::FontSpec> fonts;
  bool hasDefaultFont = false;
  Platform::FontSpec defaultFont;
  std::map<std::wstring, SkinImagePtr> images;
  std::map<std::wstring, std::wstring> defaultAttributes;
};

SharedTables& Shared() {
  static SharedTables tables;
  return tables;
}

}  // namespace

uint32_t IHostWindowSide::TickCount() { return Platform::TickCount32(); }

CWindowHostUI::CWindowHostUI() = default;

CWindowHostUI::~CWindowHostUI() {
  // The tree goes first: its controls report back here while they die.
  root_.reset();
  // Options that were never part of the tree must forget this host.
  while (!optionGroups_.empty()) {
    auto group = optionGroups_.begin();
    if (group->second.empty()) {
      optionGroups_.erase(group);
      continue;
    }
    CControlUI* option = group->second.back();
    group->second.pop_back();
    option->SetManager(nullptr, option->GetParent(), false);
  }
}

void CWindowHostUI::Init(IHostWindowSide* side) {
  side_ = side;
  initialised_ = true;
}

bool CWindowHostUI::AttachDialog(CControlUI* root) {
  root_.reset();
  focus_ = hover_ = clicked_ = nullptr;
  if (!root) return false;
  root_.reset(root);
  root_->SetManager(this, nullptr, true);
  layoutNeeded_ = true;
  firstLayout_ = true;
  Invalidate(SkinRect{0, 0, clientSize_.cx, clientSize_.cy});
  return true;
}

CControlUI* CWindowHostUI::FindControl(const std::wstring& name) const {
  if (!root_ || name.empty()) return nullptr;
  return root_->FindControl([&name](CControlUI* c) { return c->GetName() == name; }, SkinPoint{}, UIFIND_ALL);
}

CControlUI* CWindowHostUI::FindControl(SkinPoint point) const { return ControlAt(point); }

CControlUI* CWindowHostUI::ControlAt(SkinPoint point) const {
  if (!root_) return nullptr;
  return root_->FindControl([this](CControlUI* c) { return c->GetManager() == this; }, point,
                            UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

void CWindowHostUI::ReapObjects(CControlUI* control) {
  if (focus_ == control) focus_ = nullptr;
  if (hover_ == control) hover_ = nullptr;
  if (clicked_ == control) {
    clicked_ = nullptr;
    if (captured_ && side_) side_->SetCapture(false);
    captured_ = false;
  }
  for (auto it = timers_.begin(); it != timers_.end();) {
    if (it->control == control) {
      if (!it->killed && side_) side_->StopTimer(it->nativeId);
      it = timers_.erase(it);
    } else {
      ++it;
    }
  }
  for (auto& group : optionGroups_) {
    group.second.erase(std::remove(group.second.begin(), group.second.end(), control), group.second.end());
  }
  asyncNotifications_.erase(std::remove_if(asyncNotifications_.begin(), asyncNotifications_.end(),
                                            [control](const TNotifyUI& n) { return n.pSender == control; }),
                            asyncNotifications_.end());
}

void CWindowHostUI::SetClientSize(SkinSize size) {
  if (size.cx == clientSize_.cx && size.cy == clientSize_.cy) return;
  clientSize_ = size;
  if (focus_) {
    TEventUI event = MakeEvent(UIEVENT_WINDOWSIZE, focus_);
    focus_->Event(event);
  }
  layoutNeeded_ = true;
}

void CWindowHostUI::LayoutIfNeeded() {
  if (!root_ || !layoutNeeded_) return;
  layoutNeeded_ = false;
  root_->SetPos(SkinRect{0, 0, clientSize_.cx, clientSize_.cy}, true);
  // Layout may ask for itself again (labels whose text moved); settle once more.
  if (layoutNeeded_) {
    layoutNeeded_ = false;
    root_->SetPos(SkinRect{0, 0, clientSize_.cx, clientSize_.cy}, true);
    layoutNeeded_ = false;
  }
  if (firstLayout_) {
    firstLayout_ = false;
    SendNotify(root_.get(), L"windowinit");
  }
}

void CWindowHostUI::Invalidate(const SkinRect& rect) {
  if (side_ && !rect.IsEmpty()) side_->Invalidate(rect);
}

void CWindowHostUI::SetWindowAttribute(const std::wstring& name, const std::wstring& value) {
  const std::wstring key = Lower(name);
  if (key == L"size") {
    initSize_ = ParseSize(value);
    if (!root_) clientSize_ = initSize_;
  } else if (key == L"caption") {
    caption_ = ParseRect(value);
  } else if (key == L"roundcorner") {
    roundCorner_ = ParseSize(value);
  } else if (key == L"sizebox") {
    sizeBox_ = ParseRect(value);
  } else if (key == L"mininfo") {
    minInfo_ = ParseSize(value);
  } else if (key == L"maxinfo") {
    maxInfo_ = ParseSize(value);
  } else if (key == L"showdirty") {
    showDirty_ = ParseBool(value);
  } else if (key == L"noactivate") {
    noActivate_ = ParseBool(value);
  } else if (key == L"opacity") {
    opacity_ = std::clamp(ParseInt(value), 0, 255);
  } else if (key == L"layeredopacity") {
    layeredOpacity_ = std::clamp(ParseInt(value), 0, 255);
  } else if (key == L"layeredimage") {
    layeredImage_ = value;
  } else if (key == L"disabledfontcolor") {
    disabledFontColor_ = ParseColor(value);
  } else if (key == L"defaultfontcolor") {
    defaultFontColor_ = ParseColor(value);
  } else if (key == L"linkfontcolor") {
    linkFontColor_ = ParseColor(value);
  } else if (key == L"linkhoverfontcolor") {
    linkHoverFontColor_ = ParseColor(value);
  } else if (key == L"selectedcolor") {
    selectedColor_ = ParseColor(value);
  } else if (!GetWindowCustomAttribute(name)) {
    windowCustomAttributes_.emplace_back(name, value);
  }
}

const std::wstring* CWindowHostUI::GetWindowCustomAttribute(const std::wstring& name) const {
  for (const auto& attribute : windowCustomAttributes_) {
    if (EqualsNoCase(attribute.first, name)) return &attribute.second;
  }
  return nullptr;
}

void CWindowHostUI::AddFont(int id, const std::wstring& face, int size, bool bold, bool underline, bool italic,
                            bool shared) {
  const Platform::FontSpec font{face, size, bold, underline, italic};
  if (shared) Shared().fonts[id] = font;
  else fonts_[id] = font;
}

void CWindowHostUI::SetDefaultFont(const std::wstring& face, int size, bool bold, bool underline, bool italic,
                                   bool shared) {
  const Platform::FontSpec font{face, size, bold, underline, italic};
  if (shared) {
    Shared().defaultFont = font;
    Shared().hasDefaultFont = true;
  }
  defaultFont_ = font;
}

Platform::FontSpec CWindowHostUI::GetFontSpec(int index) const {
  if (index >= 0) {
    auto own = fonts_.find(index);
    if (own != fonts_.end()) return own->second;
    auto shared = Shared().fonts.find(index);
    if (shared != Shared().fonts.end()) return shared->second;
  }
  return defaultFont_;
}

bool CWindowHostUI::HasFont(int id) const { return fonts_.count(id) > 0 || Shared().fonts.count(id) > 0; }

const SkinImage* CWindowHostUI::GetImageEx(const std::wstring& name, const std::wstring& type, uint32_t mask,
                                           bool shared) {
  if (name.empty()) return nullptr;
  auto own = images_.find(name);
  if (own != images_.end()) return own->second.get();
  auto common = Shared().images.find(name);
  if (common != Shared().images.end()) return common->second.get();
  SkinImagePtr image = LoadSkinImage(name, type, mask);
  if (!image) return nullptr;
  auto& table = shared ? Shared().images : images_;
  return table.emplace(name, std::move(image)).first->second.get();
}

void CWindowHostUI::AddDefaultAttributeList(const std::wstring& element, const std::wstring& list, bool shared) {
  (shared ? Shared().defaultAttributes : defaultAttributes_)[Lower(element)] = list;
}

const std::wstring* CWindowHostUI::GetDefaultAttributeList(const std::wstring& element) const {
  const std::wstring key = Lower(element);
  auto own = defaultAttributes_.find(key);
  if (own != defaultAttributes_.end()) return &own->second;
  auto shared = Shared().defaultAttributes.find(key);
  if (shared != Shared().defaultAttributes.end()) return &shared->second;
  return nullptr;
}

void CWindowHostUI::AddOptionGroup(const std::wstring& group, CControlUI* option) {
  std::vector<CControlUI*>& members = optionGroups_[group];
  if (std::find(members.begin(), members.end(), option) == members.end()) members.push_back(option);
}

std::vector<CControlUI*> CWindowHostUI::GetOptionGroup(const std::wstring& group) const {
  auto it = optionGroups_.find(group);
  return it == optionGroups_.end() ? std::vector<CControlUI*>() : it->second;
}

void CWindowHostUI::RemoveOptionGroup(const std::wstring& group, CControlUI* option) {
  auto it = optionGroups_.find(group);
  if (it == optionGroups_.end()) return;
  it->second.erase(std::remove(it->second.begin(), it->second.end(), option), it->second.end());
  if (it->second.empty()) optionGroups_.erase(it);
}

void CWindowHostUI::AddNotifier(INotifyReceiver* receiver) {
  if (receiver && std::find(notifiers_.begin(), notifiers_.end(), receiver) == notifiers_.end()) {
    notifiers_.push_back(receiver);
  }
}

void CWindowHostUI::RemoveNotifier(INotifyReceiver* receiver) {
  notifiers_.erase(std::remove(notifiers_.begin(), notifiers_.end(), receiver), notifiers_.end());
}

void CWindowHostUI::SendNotify(CControlUI* sender, const std::wstring& type, uintptr_t wParam, intptr_t lParam,
                               bool async, bool allowRepeat) {
  TNotifyUI msg;
  msg.sType = type;
  msg.pSender = sender;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.ptMouse = lastMouse_;
  msg.dwTimestamp = Now();
  if (routeByVirtualWindow_ && sender) msg.sVirtualWnd = sender->GetVirtualWnd();
  if (!async) {
    Deliver(msg);
    return;
  }
  if (!allowRepeat) {
    for (TNotifyUI& queued : asyncNotifications_) {
      if (queued.pSender == sender && queued.sType == type) {
        queued = msg;
        return;
      }
    }
  }
  asyncNotifications_.push_back(msg);
  if (!asyncPending_) {
    asyncPending_ = true;
    if (side_) side_->PostAsyncNotifyMessage();
  }
}

void CWindowHostUI::Deliver(TNotifyUI& msg) {
  if (msg.pSender) msg.pSender->RunNotifyHandlers(msg);
  // A receiver may unregister itself (or another) while being told.
  const std::vector<INotifyReceiver*> receivers = notifiers_;
  for (INotifyReceiver* receiver : receivers) {
    if (std::find(notifiers_.begin(), notifiers_.end(), receiver) != notifiers_.end()) receiver->Notify(msg);
  }
}

void CWindowHostUI::DispatchAsyncNotifications() {
  asyncPending_ = false;
  while (!asyncNotifications_.empty()) {
    TNotifyUI msg = asyncNotifications_.front();
    asyncNotifications_.pop_front();
    Deliver(msg);
  }
}

bool CWindowHostUI::SetTimer(CControlUI* control, unsigned id, unsigned intervalMs) {
  if (!control) return false;
  for (TimerRecord& record : timers_) {
    if (record.control != control || record.id != id) continue;
    if (!record.killed) return false;  // already running: the interval stays
    if (side_ && !side_->StartTimer(record.nativeId, intervalMs)) return false;
    record.killed = false;
    return true;
  }
  const unsigned nativeId = (lastTimerId_ + 1) % 255;
  if (side_ && !side_->StartTimer(nativeId, intervalMs)) return false;
  lastTimerId_ = nativeId;
  timers_.push_back(TimerRecord{control, id, nativeId, false});
  return true;
}

bool CWindowHostUI::KillTimer(CControlUI* control, unsigned id) {
  for (TimerRecord& record : timers_) {
    if (record.control == control && record.id == id && !record.killed) {
      if (side_) side_->StopTimer(record.nativeId);
      record.killed = true;
      return true;
    }
  }
  return false;
}

void CWindowHostUI::KillTimers(CControlUI* control) {
  for (TimerRecord& record : timers_) {
    if (record.control == control && !record.killed) {
      if (side_) side_->StopTimer(record.nativeId);
      record.killed = true;
    }
  }
}

void CWindowHostUI::OnNativeTimer(unsigned nativeId, intptr_t lParam) {
  for (const TimerRecord& record : timers_) {
    if (record.nativeId != nativeId || record.killed) continue;
    CControlUI* control = record.control;
    TEventUI event = MakeEvent(UIEVENT_TIMER, control);
    event.wParam = record.id;
    event.lParam = lParam;
    control->Event(event);  // may change the timer list: stop walking it
    return;
  }
}

void CWindowHostUI::SetFocus(CControlUI* control, bool focusWindow) {
  if (focusWindow && !noActivate_ && side_) side_->FocusWindow();
  if (control == focus_) return;
  if (focus_) {
    CControlUI* old = focus_;
    focus_ = nullptr;
    TEventUI event = MakeEvent(UIEVENT_KILLFOCUS, old);
    old->Event(event);
    SendNotify(old, L"killfocus");
  }
  if (control && control->GetManager() == this && control->IsVisible() && control->IsEnabled()) {
    focus_ = control;
    TEventUI event = MakeEvent(UIEVENT_SETFOCUS, control);
    control->Event(event);
    SendNotify(control, L"setfocus");
  }
}

uint32_t CWindowHostUI::Now() const { return side_ ? side_->TickCount() : Platform::TickCount32(); }

TEventUI CWindowHostUI::MakeEvent(int type, CControlUI* sender) const {
  TEventUI event;
  event.Type = type;
  event.pSender = sender;
  event.dwTimestamp = Now();
  event.ptMouse = lastMouse_;
  return event;
}

void CWindowHostUI::OnMouseMove(SkinPoint point, uint16_t keyState) {
  lastMouse_ = point;
  if (captured_ && clicked_) {
    TEventUI event = MakeEvent(UIEVENT_MOUSEMOVE, clicked_);
    event.wKeyState = keyState;
    clicked_->Event(event);
    return;
  }
  CControlUI* now = ControlAt(point);
  if (now != hover_) {
    if (hover_) {
      CControlUI* old = hover_;
      hover_ = nullptr;
      TEventUI leave = MakeEvent(UIEVENT_MOUSELEAVE, old);
      old->Event(leave);
    }
    hover_ = now;
    if (hover_) {
      TEventUI enter = MakeEvent(UIEVENT_MOUSEENTER, hover_);
      hover_->Event(enter);
    }
  }
  CControlUI* target = clicked_ ? clicked_ : hover_;
  if (target) {
    TEventUI event = MakeEvent(UIEVENT_MOUSEMOVE, target);
    event.wKeyState = keyState;
    target->Event(event);
  }
}

void CWindowHostUI::OnMouseLeave() {
  if (!hover_) return;
  CControlUI* old = hover_;
  hover_ = nullptr;
  TEventUI event = MakeEvent(UIEVENT_MOUSELEAVE, old);
  old->Event(event);
}

void CWindowHostUI::OnLButtonDown(SkinPoint point, uint16_t keyState) {
  lastMouse_ = point;
  if (!noActivate_ && side_) side_->FocusWindow();
  CControlUI* control = ControlAt(point);
  if (!control) return;
  SetFocus(control, false);
  if (control->GetManager() != this) return;  // focusing may have rebuilt the tree
  clicked_ = control;
  captured_ = true;
  if (side_) side_->SetCapture(true);
  TEventUI event = MakeEvent(UIEVENT_BUTTONDOWN, control);
  event.wKeyState = keyState;
  control->Event(event);
}

void CWindowHostUI::OnLButtonDblClk(SkinPoint point, uint16_t keyState) {
  lastMouse_ = point;
  CControlUI* control = ControlAt(point);
  if (!control) return;
  SetFocus(control, false);
  if (control->GetManager() != this) return;
  clicked_ = control;
  captured_ = true;
  if (side_) side_->SetCapture(true);
  TEventUI event = MakeEvent(UIEVENT_DBLCLICK, control);
  event.wKeyState = keyState;
  control->Event(event);
}

void CWindowHostUI::OnLButtonUp(SkinPoint point, uint16_t keyState) {
  lastMouse_ = point;
  if (captured_) {
    captured_ = false;
    if (side_) side_->SetCapture(false);
  }
  if (!clicked_) return;
  CControlUI* control = clicked_;
  clicked_ = nullptr;
  TEventUI event = MakeEvent(UIEVENT_BUTTONUP, control);
  event.wKeyState = keyState;
  control->Event(event);
}

void CWindowHostUI::OnRButtonDown(SkinPoint point, uint16_t keyState) {
  lastMouse_ = point;
  CControlUI* control = ControlAt(point);
  if (!control) return;
  SetFocus(control, false);
  if (control->GetManager() != this) return;
  TEventUI event = MakeEvent(UIEVENT_RBUTTONDOWN, control);
  event.wKeyState = keyState;
  control->Event(event);
}

void CWindowHostUI::OnContextMenu(SkinPoint point) {
  CControlUI* control = ControlAt(point);
  if (!control) return;
  TEventUI event = MakeEvent(UIEVENT_CONTEXTMENU, control);
  event.ptMouse = point;
  control->Event(event);
}

void CWindowHostUI::OnMouseWheel(SkinPoint point, int delta) {
  lastMouse_ = point;
  CControlUI* control = ControlAt(point);
  if (!control) return;
  TEventUI event = MakeEvent(UIEVENT_SCROLLWHEEL, control);
  event.wParam = static_cast<uintptr_t>(static_cast<intptr_t>(delta));
  control->Event(event);
}

void CWindowHostUI::OnKeyDown(wchar_t key, uint16_t keyState) {
  if (!focus_) return;
  TEventUI event = MakeEvent(UIEVENT_KEYDOWN, focus_);
  event.chKey = key;
  event.wKeyState = keyState;
  focus_->Event(event);
}

void CWindowHostUI::OnKeyUp(wchar_t key, uint16_t keyState) {
  if (!focus_) return;
  TEventUI event = MakeEvent(UIEVENT_KEYUP, focus_);
  event.chKey = key;
  event.wKeyState = keyState;
  focus_->Event(event);
}

void CWindowHostUI::OnChar(wchar_t character, uint16_t keyState) {
  if (!focus_) return;
  TEventUI event = MakeEvent(UIEVENT_CHAR, focus_);
  event.chKey = character;
  event.wKeyState = keyState;
  focus_->Event(event);
}

void CWindowHostUI::OnSetCursor() {
  CControlUI* control = ControlAt(lastMouse_);
  if (!control) {
    SetCursorShape(CursorShape::kArrow);
    return;
  }
  TEventUI event = MakeEvent(UIEVENT_SETCURSOR, control);
  control->Event(event);
}

void CWindowHostUI::SetCursorShape(CursorShape shape) {
  if (side_) side_->SetCursorShape(shape);
}

void CWindowHostUI::BeginNativeEdit(CEditUI* edit) {
  if (side_) side_->BeginNativeEdit(edit);
}

void CWindowHostUI::SetResourceDirectory(const std::wstring& path) { CSkinResources::SetResourceDirectory(path); }
void CWindowHostUI::SetArchiveFromMemory(const uint8_t* bytes, size_t size) {
  CSkinResources::SetArchiveFromMemory(bytes, size);
}
void CWindowHostUI::SetArchiveFile(const std::wstring& name, bool keep) { CSkinResources::SetArchiveFile(name, keep); }

}  // namespace SkinUI
