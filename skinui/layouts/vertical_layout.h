// CVerticalLayoutUI: stacks its children top to bottom (see linear_layout.h).
// Limits: the draggable separator ("sepheight", "sepimm") is kept as data only.
#pragma once
#include "skinui/layouts/container.h"

namespace SkinUI {

class CVerticalLayoutUI : public CContainerUI {
 public:
  std::wstring GetClass() const override { return L"VerticalLayout"; }
  void* GetInterface(const std::wstring& name) override;
  void SetPos(const SkinRect& rect, bool needInvalidate = true) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  int GetSepHeight() const { return sepHeight_; }
  bool IsSepImmMode() const { return sepImm_; }

 private:
  int sepHeight_ = 0;
  bool sepImm_ = false;
};

}  // namespace SkinUI
