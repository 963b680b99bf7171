// Control events (from the window host to one control) and notifications
// (from a control to the window class), with the receiver interface.
#pragma once
#include <cstdint>
#include <string>

#include "skinui/geometry.h"

namespace SkinUI {

class CControlUI;

enum EventType {
  UIEVENT_KEYDOWN = 1,
  UIEVENT_KEYUP,
  UIEVENT_CHAR,
  UIEVENT_SYSKEY,
  UIEVENT_MOUSEMOVE,
  UIEVENT_MOUSELEAVE,
  UIEVENT_MOUSEENTER,
  UIEVENT_MOUSEHOVER,
  UIEVENT_BUTTONDOWN,
  UIEVENT_BUTTONUP,
  UIEVENT_RBUTTONDOWN,
  UIEVENT_DBLCLICK,
  UIEVENT_CONTEXTMENU,
  UIEVENT_SCROLLWHEEL,
  UIEVENT_KILLFOCUS,
  UIEVENT_SETFOCUS,
  UIEVENT_WINDOWSIZE,
  UIEVENT_SETCURSOR,
  UIEVENT_TIMER,
  UIEVENT_NOTIFY,
  UIEVENT_COMMAND,
};

inline bool IsMouseEvent(int type) { return type >= UIEVENT_MOUSEMOVE && type <= UIEVENT_SCROLLWHEEL; }
inline bool IsKeyEvent(int type) { return type >= UIEVENT_KEYDOWN && type <= UIEVENT_SYSKEY; }

// Key-state bits of an event.
constexpr uint16_t kKeyStateLeftButton = 1u << 0;
constexpr uint16_t kKeyStateRightButton = 1u << 1;
constexpr uint16_t kKeyStateShift = 1u << 2;
constexpr uint16_t kKeyStateControl = 1u << 3;
constexpr uint16_t kKeyStateAlt = 1u << 5;

// Virtual-key codes the controls react to (the Windows values).
constexpr wchar_t kVirtualKeyReturn = 0x0D;
constexpr wchar_t kVirtualKeySpace = 0x20;

struct TEventUI {
  int Type = 0;
  CControlUI* pSender = nullptr;
  uint32_t dwTimestamp = 0;
  SkinPoint ptMouse;
  wchar_t chKey = 0;
  uint16_t wKeyState = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
};

struct TNotifyUI {
  std::wstring sType;
  std::wstring sVirtualWnd;
  CControlUI* pSender = nullptr;
  uint32_t dwTimestamp = 0;
  SkinPoint ptMouse;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
};

class INotifyReceiver {
 public:
  virtual ~INotifyReceiver() = default;
  virtual void Notify(TNotifyUI& msg) = 0;
};

}  // namespace SkinUI
