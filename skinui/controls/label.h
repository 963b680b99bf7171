// CLabelUI: a control with text — alignment and line flags, font index,
// text colours and padding — and the text-based size estimate.
// Limits: the drawing effects ("enabledeffect", ...) are kept as custom
// attributes; "showhtml" text is measured as plain text.
#pragma once
#include "skinui/controls/control.h"

namespace SkinUI {

class CLabelUI : public CControlUI {
 public:
  std::wstring GetClass() const override { return L"Label"; }
  void* GetInterface(const std::wstring& name) override;

  void SetText(const std::wstring& text) override;
  unsigned GetTextStyle() const { return textStyle_; }
  void SetTextStyle(unsigned style);
  int GetFont() const { return font_; }
  void SetFont(int index);
  uint32_t GetTextColor() const { return textColor_; }
  void SetTextColor(uint32_t color);
  uint32_t GetDisabledTextColor() const { return disabledTextColor_; }
  const SkinRect& GetTextPadding() const { return textPadding_; }
  void SetTextPadding(const SkinRect& padding);
  bool IsShowHtml() const { return showHtml_; }

  SkinSize EstimateSize(SkinSize available) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

 protected:
  unsigned textStyle_ = DT_VCENTER | DT_SINGLELINE;
  SkinRect textPadding_;

 private:
  void ForgetEstimate() { estimateValid_ = false; }

  int font_ = -1;
  uint32_t textColor_ = 0;
  uint32_t disabledTextColor_ = 0;
  bool showHtml_ = false;
  // The estimate is cached until the offered size, the text or a property changes.
  bool estimateValid_ = false;
  SkinSize lastAvailable_;
  SkinSize lastFixed_;
  SkinSize lastEstimate_;
};

}  // namespace SkinUI
