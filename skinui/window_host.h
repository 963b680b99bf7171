// CWindowHostUI, platform-free half: one per window, it owns the control
// tree, lays it out over the client area, routes input (already converted
// to client coordinates by the native side) to controls as control events,
// keeps focus, hover, capture, timers (as records), option groups, fonts,
// images, default attribute lists and window attributes, and delivers
// notifications to the registered receivers.
// The native side (window, message loop, painting, real timers, native
// edit boxes) plugs in through IHostWindowSide; without one the host runs
// headless: timers are only bookkept and nothing is drawn.
#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/text_engine.h"
#include "skinui/geometry.h"
#include "skinui/notify.h"
#include "skinui/skin_image.h"

namespace SkinUI {

class CControlUI;
class CEditUI;

enum class CursorShape { kArrow, kHand, kIBeam };

// What the host needs from the window system. Every member has a harmless
// default so a test double overrides only what it watches.
class IHostWindowSide {
 public:
  virtual ~IHostWindowSide() = default;
  // False when the system refuses the timer.
  virtual bool StartTimer(unsigned /*nativeId*/, unsigned /*intervalMs*/) { return true; }
  virtual void StopTimer(unsigned /*nativeId*/) {}
  virtual void Invalidate(const SkinRect& /*rect*/) {}
  virtual void SetCapture(bool /*captured*/) {}
  virtual void SetCursorShape(CursorShape /*shape*/) {}
  virtual void FocusWindow() {}
  virtual void BeginNativeEdit(CEditUI* /*edit*/) {}
  virtual void PostAsyncNotifyMessage() {}
  virtual uint32_t TickCount();
};

// A timer as the host keeps it; killed records stay for reuse.
struct TimerRecord {
  CControlUI* control = nullptr;
  unsigned id = 0;        // the control's own id
  unsigned nativeId = 0;  // the window system's id
  bool killed = false;
};

class CWindowHostUI {
 public:
  CWindowHostUI();
  ~CWindowHostUI();
  CWindowHostUI(const CWindowHostUI&) = delete;
  CWindowHostUI& operator=(const CWindowHostUI&) = delete;

  // Takes the window's native side (null: headless). The host "has its
  // window" from here on, so window attributes apply.
  void Init(IHostWindowSide* side);
  bool HasWindow() const { return initialised_; }

  // Control tree.
  bool AttachDialog(CControlUI* root);  // takes ownership, releasing any previous tree
  CControlUI* GetRoot() const { return root_.get(); }
  CControlUI* FindControl(const std::wstring& name) const;
  CControlUI* FindControl(SkinPoint point) const;
  // Drops every reference to a control that is being destroyed.
  void ReapObjects(CControlUI* control);

  // Layout: a pending layout runs over the client rectangle; the first one
  // sends "windowinit".
  void SetClientSize(SkinSize size);
  SkinSize GetClientSize() const { return clientSize_; }
  void NeedUpdate() { layoutNeeded_ = true; }
  bool IsLayoutNeeded() const { return layoutNeeded_; }
  void LayoutIfNeeded();
  void Invalidate(const SkinRect& rect);

  // Window attributes of the root "Window" element (names without regard to case).
  void SetWindowAttribute(const std::wstring& name, const std::wstring& value);
  SkinSize GetInitSize() const { return initSize_; }
  const SkinRect& GetCaptionRect() const { return caption_; }
  const SkinRect& GetSizeBox() const { return sizeBox_; }
  SkinSize GetRoundCorner() const { return roundCorner_; }
  SkinSize GetMinInfo() const { return minInfo_; }
  SkinSize GetMaxInfo() const { return maxInfo_; }
  int GetOpacity() const { return opacity_; }
  bool IsNoActivate() const { return noActivate_; }
  bool IsShowDirty() const { return showDirty_; }
  uint32_t GetDefaultFontColor() const { return defaultFontColor_; }
  uint32_t GetDefaultDisabledColor() const { return disabledFontColor_; }
  uint32_t GetDefaultLinkFontColor() const { return linkFontColor_; }
  uint32_t GetDefaultLinkHoverFontColor() const { return linkHoverFontColor_; }
  uint32_t GetDefaultSelectedBkColor() const { return selectedColor_; }
  int GetLayeredOpacity() const { return layeredOpacity_; }
  const std::wstring& GetLayeredImage() const { return layeredImage_; }
  // Null when the skin did not set it.
  const std::wstring* GetWindowCustomAttribute(const std::wstring& name) const;

  // Fonts by id; index -1 or an unknown id means the default font.
  void AddFont(int id, const std::wstring& face, int size, bool bold, bool underline, bool italic, bool shared = false);
  void SetDefaultFont(const std::wstring& face, int size, bool bold, bool underline, bool italic, bool shared = false);
  Platform::FontSpec GetFontSpec(int index) const;
  bool HasFont(int id) const;

  // Images, loaded on first use and kept per name.
  const SkinImage* GetImageEx(const std::wstring& name, const std::wstring& type = L"", uint32_t mask = 0,
                              bool shared = false);
  // Default attribute lists per element name (case-insensitive).
  void AddDefaultAttributeList(const std::wstring& element, const std::wstring& list, bool shared = false);
  const std::wstring* GetDefaultAttributeList(const std::wstring& element) const;

  // Option groups.
  void AddOptionGroup(const std::wstring& group, CControlUI* option);
  std::vector<CControlUI*> GetOptionGroup(const std::wstring& group) const;
  void RemoveOptionGroup(const std::wstring& group, CControlUI* option);

  // Notifications (synchronous by default; asynchronous ones queue up until
  // DispatchAsyncNotifications, which the native side calls on its message).
  void AddNotifier(INotifyReceiver* receiver);
  void RemoveNotifier(INotifyReceiver* receiver);
  void SendNotify(CControlUI* sender, const std::wstring& type, uintptr_t wParam = 0, intptr_t lParam = 0,
                  bool async = false, bool allowRepeat = true);
  void DispatchAsyncNotifications();
  void SetRouteByVirtualWindow(bool route) { routeByVirtualWindow_ = route; }

  // Timers.
  bool SetTimer(CControlUI* control, unsigned id, unsigned intervalMs);
  bool KillTimer(CControlUI* control, unsigned id);
  void KillTimers(CControlUI* control);
  // A native timer fired: its control gets a timer event with its own id.
  void OnNativeTimer(unsigned nativeId, intptr_t lParam = 0);
  const std::vector<TimerRecord>& Timers() const { return timers_; }

  // Focus.
  void SetFocus(CControlUI* control, bool focusWindow = true);
  CControlUI* GetFocus() const { return focus_; }

  // Input in client coordinates (from the native side).
  void OnMouseMove(SkinPoint point, uint16_t keyState = 0);
  void OnMouseLeave();
  void OnLButtonDown(SkinPoint point, uint16_t keyState = kKeyStateLeftButton);
  void OnLButtonUp(SkinPoint point, uint16_t keyState = 0);
  void OnLButtonDblClk(SkinPoint point, uint16_t keyState = kKeyStateLeftButton);
  void OnRButtonDown(SkinPoint point, uint16_t keyState = kKeyStateRightButton);
  void OnContextMenu(SkinPoint point);
  void OnMouseWheel(SkinPoint point, int delta);
  void OnKeyDown(wchar_t key, uint16_t keyState = 0);
  void OnKeyUp(wchar_t key, uint16_t keyState = 0);
  void OnChar(wchar_t character, uint16_t keyState = 0);
  void OnSetCursor();
  bool IsCaptured() const { return captured_; }
  CControlUI* GetHoverControl() const { return hover_; }

  // For controls: forwarded to the native side.
  void SetCursorShape(CursorShape shape);
  void BeginNativeEdit(CEditUI* edit);

  // The skin resources, shared by every window of the process.
  static void SetResourceDirectory(const std::wstring& path);
  static void SetArchiveFromMemory(const uint8_t* bytes, size_t size);
  static void SetArchiveFile(const std::wstring& name, bool keep);

 private:
  uint32_t Now() const;
  TEventUI MakeEvent(int type, CControlUI* sender) const;
  CControlUI* ControlAt(SkinPoint point) const;
  void Deliver(TNotifyUI& msg);

  IHostWindowSide* side_ = nullptr;
  bool initialised_ = false;
  std::unique_ptr<CControlUI> root_;
  CControlUI* focus_ = nullptr;
  CControlUI* hover_ = nullptr;
  CControlUI* clicked_ = nullptr;
  SkinPoint lastMouse_;
  bool captured_ = false;
  bool firstLayout_ = true;
  bool layoutNeeded_ = false;
  SkinSize clientSize_;

  SkinSize initSize_;
  SkinRect caption_;
  SkinRect sizeBox_;
  SkinSize roundCorner_;
  SkinSize minInfo_;
  SkinSize maxInfo_;
  int opacity_ = 255;
  int layeredOpacity_ = 255;
  std::wstring layeredImage_;
  bool noActivate_ = false;
  bool showDirty_ = false;
  uint32_t defaultFontColor_ = 0xFF000000;
  uint32_t disabledFontColor_ = 0xFFA7A6AA;
  uint32_t linkFontColor_ = 0xFF0000FF;
  uint32_t linkHoverFontColor_ = 0xFFD3215F;
  uint32_t selectedColor_ = 0xFFBAE4FF;
  std::vector<std::pair<std::wstring, std::wstring>> windowCustomAttributes_;

  Platform::FontSpec defaultFont_{L"微软雅黑", 12, false, false, false};
  std::map<int, Platform::FontSpec> fonts_;
  std::map<std::wstring, SkinImagePtr> images_;
  std::map<std::wstring, std::wstring> defaultAttributes_;  // keyed by lower-case element name
  std::map<std::wstring, std::vector<CControlUI*>> optionGroups_;

  std::vector<INotifyReceiver*> notifiers_;
  std::deque<TNotifyUI> asyncNotifications_;
  bool asyncPending_ = false;
  bool routeByVirtualWindow_ = false;

  std::vector<TimerRecord> timers_;
  unsigned lastTimerId_ = 0;
};

}  // namespace SkinUI
