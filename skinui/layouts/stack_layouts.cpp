// The vertical and horizontal layouts: thin classes over LayOutLinear.
#include "skinui/attribute_values.h"
#include "skinui/layouts/horizontal_layout.h"
#include "skinui/layouts/linear_layout.h"
#include "skinui/layouts/vertical_layout.h"

namespace SkinUI {

void* CVerticalLayoutUI::GetInterface(const std::wstring& name) {
  if (name == L"VerticalLayout") return this;
  return CContainerUI::GetInterface(name);
}

void CVerticalLayoutUI::SetPos(const SkinRect& rect, bool needInvalidate) {
  CControlUI::SetPos(rect, needInvalidate);
  LayOutLinear(*this, InnerRect(), LayoutAxis::kVertical);
}

void CVerticalLayoutUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"sepheight") sepHeight_ = ParseInt(value);
  else if (name == L"sepimm") sepImm_ = ParseBool(value);
  else CContainerUI::SetAttribute(name, value);
}

void* CHorizontalLayoutUI::GetInterface(const std::wstring& name) {
  if (name == L"HorizontalLayout") return this;
  return CContainerUI::GetInterface(name);
}

void CHorizontalLayoutUI::SetPos(const SkinRect& rect, bool needInvalidate) {
  CControlUI::SetPos(rect, needInvalidate);
  LayOutLinear(*this, InnerRect(), LayoutAxis::kHorizontal);
}

void CHorizontalLayoutUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"sepwidth") sepWidth_ = ParseInt(value);
  else if (name == L"sepimm") sepImm_ = ParseBool(value);
  else CContainerUI::SetAttribute(name, value);
}

}  // namespace SkinUI
