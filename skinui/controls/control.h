// CControlUI: the base of every skin control — identity, visibility and
// state, the size properties the layouts read, the look (colours, images,
// borders) kept as data for painting, attribute setting by name, and the
// default reaction to control events.
// Limits: painting is done by the window host's canvas (not here); "float"
// positions are placed relative to the parent's inner rectangle only.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "skinui/geometry.h"
#include "skinui/image_string.h"
#include "skinui/notify.h"

namespace SkinUI {

class CWindowHostUI;

// Flags of FindControl.
constexpr unsigned UIFIND_ALL = 0x0;
constexpr unsigned UIFIND_VISIBLE = 0x1;
constexpr unsigned UIFIND_ENABLED = 0x2;
constexpr unsigned UIFIND_HITTEST = 0x4;
constexpr unsigned UIFIND_TOP_FIRST = 0x8;
constexpr unsigned UIFIND_ME_FIRST = 0x8000;

// Text style flags (the Windows DrawText values).
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_TOP = 0x0;
constexpr unsigned DT_VCENTER = 0x4;
constexpr unsigned DT_BOTTOM = 0x8;
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;

constexpr int kMaxControlSize = 9999;

class CControlUI {
 public:
  using FindPredicate = std::function<bool(CControlUI*)>;
  using NotifyHandler = std::function<bool(TNotifyUI&)>;

  CControlUI();
  virtual ~CControlUI();
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;

  virtual std::wstring GetClass() const { return L"Control"; }
  virtual void* GetInterface(const std::wstring& name);

  // Identity and texts.
  const std::wstring& GetName() const { return name_; }
  void SetName(const std::wstring& name) { name_ = name; }
  virtual std::wstring GetText() const { return text_; }
  virtual void SetText(const std::wstring& text);
  const std::wstring& GetToolTip() const { return tooltip_; }
  int GetToolTipWidth() const { return tooltipWidth_; }
  void SetToolTipWidth(int width) { tooltipWidth_ = width; }
  const std::wstring& GetUserData() const { return userData_; }
  uintptr_t GetTag() const { return tag_; }
  void SetTag(uintptr_t tag) { tag_ = tag; }
  wchar_t GetShortcut() const { return shortcut_; }
  const std::wstring& GetVirtualWnd() const;

  // State.
  virtual bool IsVisible() const { return visible_ && internVisible_; }
  virtual void SetVisible(bool visible = true);
  virtual void SetInternVisible(bool visible = true);  // set by an ancestor
  virtual bool IsEnabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled = true);
  bool IsMouseEnabled() const { return mouseEnabled_; }
  void SetMouseEnabled(bool enabled) { mouseEnabled_ = enabled; }
  bool IsKeyboardEnabled() const { return keyboardEnabled_; }
  bool IsFocused() const { return focused_; }
  void SetFocus();
  bool IsContextMenuUsed() const { return menuUsed_; }

  // Geometry.
  const SkinRect& GetPos() const { return rect_; }
  virtual void SetPos(const SkinRect& rect, bool needInvalidate = true);
  bool IsFloat() const { return float_; }
  SkinSize GetFixedXY() const { return fixedXY_; }
  int GetFixedWidth() const { return fixedSize_.cx; }
  int GetFixedHeight() const { return fixedSize_.cy; }
  void SetFixedWidth(int cx);
  void SetFixedHeight(int cy);
  int GetMinWidth() const { return minSize_.cx; }
  int GetMinHeight() const { return minSize_.cy; }
  int GetMaxWidth() const { return maxSize_.cx; }
  int GetMaxHeight() const { return maxSize_.cy; }
  const SkinRect& GetPadding() const { return padding_; }
  void SetPadding(const SkinRect& padding);
  virtual SkinSize EstimateSize(SkinSize available);
  // Places a floating child within `parentInner` by its fixed position or fractions.
  void SetFloatPos(const SkinRect& parentInner);

  // Look, kept for painting.
  uint32_t GetBkColor() const { return bkColor_; }
  void SetBkColor(uint32_t color);
  uint32_t GetBkColor2() const { return bkColor2_; }
  uint32_t GetBkColor3() const { return bkColor3_; }
  const ImageDrawSpec& GetBkImage() const { return bkImage_; }
  void SetBkImage(const std::wstring& image);
  const ImageDrawSpec& GetForeImage() const { return foreImage_; }
  void SetForeImage(const std::wstring& image);
  uint32_t GetBorderColor() const { return borderColor_; }
  uint32_t GetFocusBorderColor() const { return focusBorderColor_; }
  const SkinRect& GetBorderSize() const { return borderSize_; }
  SkinSize GetBorderRound() const { return borderRound_; }
  int GetBorderStyle() const { return borderStyle_; }
  bool IsColorHSL() const { return colorHsl_; }

  // Attributes: known names set properties (exact, case-sensitive); the
  // rest are kept as custom attributes, the first value winning.
  virtual void SetAttribute(const std::wstring& name, const std::wstring& value);
  void ApplyAttributeList(const std::wstring& list);
  // Null when no such custom attribute.
  const std::wstring* GetCustomAttribute(const std::wstring& name) const;
  void AddCustomAttribute(const std::wstring& name, const std::wstring& value);

  // Tree and host.
  CControlUI* GetParent() const { return parent_; }
  CWindowHostUI* GetManager() const { return host_; }
  virtual void SetManager(CWindowHostUI* host, CControlUI* parent, bool init = true);
  virtual void DoInit() {}
  virtual CControlUI* FindControl(const FindPredicate& match, SkinPoint point, unsigned flags);
  // Visits this control and its whole subtree in tree order.
  virtual void ForEach(const std::function<void(CControlUI*, int depth)>& visit, int depth = 0);
  // An optional control laid over this one with the same rectangle.
  void SetCover(CControlUI* cover);
  CControlUI* GetCover() const { return cover_.get(); }

  // Events and notifications.
  void Event(TEventUI& event);  // delegates first, then DoEvent
  virtual void DoEvent(TEventUI& event);
  virtual bool Activate();
  void AddNotifyHandler(NotifyHandler handler) { notifyHandlers_.push_back(std::move(handler)); }
  // Called by the host for every notification this control sends.
  bool RunNotifyHandlers(TNotifyUI& msg);

  // Redraw and re-layout requests (forwarded to the host).
  void Invalidate();
  void NeedUpdate();
  void NeedParentUpdate();
  bool IsUpdateNeeded() const { return updateNeeded_; }
  void ClearUpdateNeeded() { updateNeeded_ = false; }

 protected:
  CWindowHostUI* host_ = nullptr;
  CControlUI* parent_ = nullptr;
  SkinRect rect_;
  std::wstring text_;

 private:
  std::wstring name_;
  std::wstring tooltip_;
  int tooltipWidth_ = 300;
  std::wstring userData_;
  std::wstring virtualWnd_;
  uintptr_t tag_ = 0;
  wchar_t shortcut_ = 0;
  bool visible_ = true;
  bool internVisible_ = true;
  bool enabled_ = true;
  bool mouseEnabled_ = true;
  bool keyboardEnabled_ = true;
  bool focused_ = false;
  bool menuUsed_ = false;
  bool updateNeeded_ = true;

  bool float_ = false;
  bool floatRelative_ = false;
  double floatFractions_[4] = {0, 0, 0, 0};
  SkinSize fixedXY_;
  SkinSize fixedSize_;
  SkinSize minSize_;
  SkinSize maxSize_{kMaxControlSize, kMaxControlSize};
  SkinRect padding_;

  uint32_t bkColor_ = 0;
  uint32_t bkColor2_ = 0;
  uint32_t bkColor3_ = 0;
  ImageDrawSpec bkImage_;
  ImageDrawSpec foreImage_;
  uint32_t borderColor_ = 0;
  uint32_t focusBorderColor_ = 0;
  SkinRect borderSize_;
  SkinSize borderRound_;
  int borderStyle_ = 0;  // solid
  bool colorHsl_ = false;

  std::vector<std::pair<std::wstring, std::wstring>> customAttributes_;
  std::vector<NotifyHandler> notifyHandlers_;
  std::unique_ptr<CControlUI> cover_;
};

}  // namespace SkinUI
