// CContainerUI and IContainerUI: a control that owns an ordered list of
// children, with an inner margin (inset), spacing between children and
// child alignment. Containers own their children: removing destroys.
// Limits: scroll bars are not built (the attributes are accepted and kept).
#pragma once
#include <memory>
#include <vector>

#include "skinui/controls/control.h"

namespace SkinUI {

class IContainerUI {
 public:
  virtual ~IContainerUI() = default;
  virtual CControlUI* GetItemAt(int index) const = 0;
  virtual int GetItemIndex(CControlUI* control) const = 0;
  virtual int GetCount() const = 0;
  // Takes ownership on success; on failure the caller still owns `control`.
  virtual bool Add(CControlUI* control) = 0;
  virtual bool AddAt(CControlUI* control, int index) = 0;
  virtual bool Remove(CControlUI* control) = 0;
  virtual bool RemoveAt(int index) = 0;
  virtual void RemoveAll() = 0;
};

class CContainerUI : public CControlUI, public IContainerUI {
 public:
  ~CContainerUI() override;
  std::wstring GetClass() const override { return L"Container"; }
  void* GetInterface(const std::wstring& name) override;

  CControlUI* GetItemAt(int index) const override;
  int GetItemIndex(CControlUI* control) const override;
  int GetCount() const override { return static_cast<int>(items_.size()); }
  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool Remove(CControlUI* control) override;
  bool RemoveAt(int index) override;
  void RemoveAll() override;

  const SkinRect& GetInset() const { return inset_; }
  int GetChildPadding() const { return childPadding_; }
  unsigned GetChildAlign() const { return childAlign_; }    // DT_LEFT / DT_CENTER / DT_RIGHT
  unsigned GetChildVAlign() const { return childVAlign_; }  // DT_TOP / DT_VCENTER / DT_BOTTOM
  bool IsMouseChildEnabled() const { return mouseChild_; }
  bool WantsVerticalScrollBar() const { return vscrollbar_; }
  bool WantsHorizontalScrollBar() const { return hscrollbar_; }
  // The rectangle the children share: this control's rectangle minus the inset.
  SkinRect InnerRect() const;

  void SetVisible(bool visible = true) override;
  void SetInternVisible(bool visible = true) override;
  void SetManager(CWindowHostUI* host, CControlUI* parent, bool init = true) override;
  CControlUI* FindControl(const FindPredicate& match, SkinPoint point, unsigned flags) override;
  void ForEach(const std::function<void(CControlUI*, int depth)>& visit, int depth = 0) override;
  void SetPos(const SkinRect& rect, bool needInvalidate = true) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

 protected:
  std::vector<std::unique_ptr<CControlUI>> items_;

 private:
  SkinRect inset_;
  int childPadding_ = 0;
  unsigned childAlign_ = DT_LEFT;
  unsigned childVAlign_ = DT_TOP;
  bool mouseChild_ = true;
  bool vscrollbar_ = false;
  bool hscrollbar_ = false;
};

}  // namespace SkinUI
