// CHorizontalLayoutUI: places its children left to right (see linear_layout.h).
// Limits: the draggable separator ("sepwidth", "sepimm") is kept as data only.
#pragma once
#include "skinui/layouts/container.h"

namespace SkinUI {

class CHorizontalLayoutUI : public CContainerUI {
 public:
  std::wstring GetClass() const override { return L"HorizontalLayout"; }
  void* GetInterface(const std::wstring& name) override;
  void SetPos(const SkinRect& rect, bool needInvalidate = true) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  int GetSepWidth() const { return sepWidth_; }
  bool IsSepImmMode() const { return sepImm_; }

 private:
  int sepWidth_ = 0;
  bool sepImm_ = false;
};

}  // namespace SkinUI
