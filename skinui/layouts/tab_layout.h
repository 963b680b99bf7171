// CTabLayoutUI: pages of which one is shown; selecting another page sends
// "tabselect" (wParam new index, lParam previous index).
#pragma once
#include "skinui/layouts/container.h"

namespace SkinUI {

class CTabLayoutUI : public CContainerUI {
 public:
  std::wstring GetClass() const override { return L"TabLayout"; }
  void* GetInterface(const std::wstring& name) override;

  // The first visible page added becomes the selected one; later pages are hidden.
  bool AddAt(CControlUI* control, int index) override;
  bool RemoveAt(int index) override;
  void RemoveAll() override;

  int GetCurSel() const { return currentSelection_; }
  // False for an index out of range; true without effect for the current page.
  bool SelectItem(int index, bool notify = true);
  bool SelectItem(CControlUI* control, bool notify = true);

  void SetPos(const SkinRect& rect, bool needInvalidate = true) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

 private:
  int currentSelection_ = -1;
};

}  // namespace SkinUI
