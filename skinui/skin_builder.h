// CSkinBuilder: turns a skin markup document into a control tree — the
// declarations (Image, Font, Default, MultiLanguage), the root Window's
// attributes, Include, the element table, registered control factories and
// the window's builder callback, cover controls and attribute application.
// Limits: Include may nest 16 deep (a file including itself stops there)
// and repeat at most 1000 times;
// with no parent only the first top-level control is returned and any
// further top-level controls are destroyed rather than leaked.
#pragma once
#include <functional>
#include <string>

#include "skinui/skin_markup.h"

namespace SkinUI {

class CControlUI;
class CWindowHostUI;

class ISkinBuilderCallback {
 public:
  virtual ~ISkinBuilderCallback() = default;
  // A new control for an element name the framework does not know, or null.
  virtual CControlUI* CreateCustomControl(const std::wstring& name) = 0;
};

// Process-wide factories asked before the callback (none in this program).
using ControlFactory = std::function<CControlUI*(const std::wstring& name)>;
void RegisterControlFactory(ControlFactory factory);
void ClearControlFactories();

// A control for one of the framework's element names (compared without
// regard to case), or null.
CControlUI* CreateBuiltinControl(const std::wstring& name);

class CSkinBuilder {
 public:
  // `markup`: text when it starts with "<"; with a `type`, a numeric id of a
  // module resource of that type holding UTF-8 markup; else a skin file name.
  // Returns the first control built at the top level, or null.
  CControlUI* Create(const std::wstring& markup, const std::wstring& type, ISkinBuilderCallback* callback,
                     CWindowHostUI* host, CControlUI* parent = nullptr);

  const CSkinMarkup& GetMarkup() const { return markup_; }
  const std::wstring& GetLastErrorMessage() const { return markup_.GetLastErrorMessage(); }
  const std::wstring& GetLastErrorLocation() const { return markup_.GetLastErrorLocation(); }

 private:
  bool LoadMarkup(const std::wstring& markup, const std::wstring& type);
  void ProcessDeclarations(const CSkinMarkupNode& root, CWindowHostUI* host);
  CControlUI* BuildLevel(const CSkinMarkupNode& first, CControlUI* parent, CWindowHostUI* host);
  CControlUI* CreateControl(const std::wstring& name);

  CSkinMarkup markup_;
  std::wstring type_;
  ISkinBuilderCallback* callback_ = nullptr;
};

}  // namespace SkinUI
