// CProgressUI: a label with a value bar between a minimum and a maximum; the
// foreground image is fitted into the part of the control that the value
// covers (left part when horizontal, bottom part when vertical).
#pragma once
#include "skinui/controls/label.h"

namespace SkinUI {

class CProgressUI : public CLabelUI {
 public:
  CProgressUI();
  std::wstring GetClass() const override { return L"Progress"; }
  void* GetInterface(const std::wstring& name) override;

  bool IsHorizontal() const { return horizontal_; }
  int GetMinValue() const { return min_; }
  int GetMaxValue() const { return max_; }
  int GetValue() const { return value_; }
  void SetMinValue(int min);
  void SetMaxValue(int max);
  // Clamped first to the maximum, then to the minimum.
  void SetValue(int value);
  // Where the foreground image goes, in window coordinates.
  SkinRect ForegroundRect() const;

  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

 private:
  bool horizontal_ = true;
  int min_ = 0;
  int max_ = 100;
  int value_ = 0;
};

}  // namespace SkinUI
