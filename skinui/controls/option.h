// COptionUI and CCheckBoxUI: buttons with a selected state, optionally in a
// named group (at most one selected member); activation sends "click" and
// then selects (grouped) or toggles (ungrouped), announcing "selectchanged".
#pragma once
#include "skinui/controls/button.h"

namespace SkinUI {

class COptionUI : public CButtonUI {
 public:
  ~COptionUI() override;
  std::wstring GetClass() const override { return L"Option"; }
  void* GetInterface(const std::wstring& name) override;

  void SetManager(CWindowHostUI* host, CControlUI* parent, bool init = true) override;
  bool Activate() override;
  void SetEnabled(bool enabled = true) override;

  const std::wstring& GetGroup() const { return group_; }
  void SetGroup(const std::wstring& group);
  bool IsSelected() const { return selected_; }
  // With notification: "selectchanged" when the state changes (grouped
  // options only when they become selected), other group members deselected.
  virtual void Selected(bool selected, bool notify = true);

  const ImageDrawSpec& GetSelectedImage() const { return selectedImage_; }
  const ImageDrawSpec& GetSelectedHotImage() const { return selectedHotImage_; }
  const ImageDrawSpec& GetSelectedForeImage() const { return selectedForeImage_; }
  uint32_t GetSelectedBkColor() const { return selectedBkColor_; }
  uint32_t GetSelectedTextColor() const { return selectedTextColor_; }

  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

 private:
  bool selected_ = false;
  std::wstring group_;
  ImageDrawSpec selectedImage_, selectedHotImage_, selectedForeImage_;
  uint32_t selectedBkColor_ = 0;
  uint32_t selectedTextColor_ = 0;
};

class CCheckBoxUI : public COptionUI {
 public:
  std::wstring GetClass() const override { return L"CheckBox"; }
  void* GetInterface(const std::wstring& name) override;
};

}  // namespace SkinUI
