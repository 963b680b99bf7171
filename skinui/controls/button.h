// CButtonUI: a label with state images and colours (normal, hot, pushed,
// focused, disabled) and the click behaviour: capture on button down,
// pushed while the pointer stays inside, "click" on release inside.
// Limits: "fivestatusimage" and hot fading are stored, not animated.
#pragma once
#include "skinui/controls/label.h"

namespace SkinUI {

// Bits of a button's state word.
constexpr unsigned UISTATE_FOCUSED = 0x01;
constexpr unsigned UISTATE_SELECTED = 0x02;
constexpr unsigned UISTATE_DISABLED = 0x04;
constexpr unsigned UISTATE_HOT = 0x08;
constexpr unsigned UISTATE_PUSHED = 0x10;
constexpr unsigned UISTATE_CAPTURED = 0x40;

class CButtonUI : public CLabelUI {
 public:
  std::wstring GetClass() const override { return L"Button"; }
  void* GetInterface(const std::wstring& name) override;

  bool Activate() override;
  void SetEnabled(bool enabled = true) override;
  void DoEvent(TEventUI& event) override;
  SkinSize EstimateSize(SkinSize available) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  unsigned GetButtonState() const { return buttonState_; }
  const ImageDrawSpec& GetNormalImage() const { return normalImage_; }
  const ImageDrawSpec& GetHotImage() const { return hotImage_; }
  const ImageDrawSpec& GetPushedImage() const { return pushedImage_; }
  const ImageDrawSpec& GetFocusedImage() const { return focusedImage_; }
  const ImageDrawSpec& GetDisabledImage() const { return disabledImage_; }
  const ImageDrawSpec& GetHotForeImage() const { return hotForeImage_; }
  const ImageDrawSpec& GetPushedForeImage() const { return pushedForeImage_; }
  const ImageDrawSpec& GetFiveStatusImage() const { return fiveStatusImage_; }
  int GetFadeDelta() const { return fadeDelta_; }
  uint32_t GetHotBkColor() const { return hotBkColor_; }
  uint32_t GetPushedBkColor() const { return pushedBkColor_; }
  uint32_t GetDisabledBkColor() const { return disabledBkColor_; }
  uint32_t GetHotTextColor() const { return hotTextColor_; }
  uint32_t GetPushedTextColor() const { return pushedTextColor_; }
  uint32_t GetFocusedTextColor() const { return focusedTextColor_; }

  // The image a painter shows for the current state (the normal image
  // stands in for a missing state image), and the text colour.
  const ImageDrawSpec& CurrentStateImage() const;
  uint32_t CurrentTextColor() const;

 protected:
  unsigned buttonState_ = 0;

 private:
  ImageDrawSpec normalImage_, hotImage_, pushedImage_, focusedImage_, disabledImage_;
  ImageDrawSpec hotForeImage_, pushedForeImage_, fiveStatusImage_;
  uint32_t hotBkColor_ = 0, pushedBkColor_ = 0, disabledBkColor_ = 0;
  uint32_t hotTextColor_ = 0, pushedTextColor_ = 0, focusedTextColor_ = 0;
  int fadeDelta_ = 0;
};

}  // namespace SkinUI
