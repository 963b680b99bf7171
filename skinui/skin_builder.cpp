#include "skinui/skin_builder.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/module_resources.h"
#include "skinui/attribute_values.h"
#include "skinui/controls/button.h"
#include "skinui/controls/control.h"
#include "skinui/controls/edit.h"
#include "skinui/controls/label.h"
#include "skinui/controls/option.h"
#include "skinui/controls/progress.h"
#include "skinui/layouts/container.h"
#include "skinui/layouts/horizontal_layout.h"
#include "skinui/layouts/tab_layout.h"
#include "skinui/layouts/vertical_layout.h"
#include "skinui/multi_language.h"
#include "skinui/window_host.h"

namespace SkinUI {
namespace {

constexpr int kMaxIncludeDepth = 16;
constexpr int kMaxIncludeCount = 1000;  // repetitions of one Include
int includeDepth = 0;  // UI thread only, like the rest of the builder

std::vector<ControlFactory>& Factories() {
  static std::vector<ControlFactory> factories;
  return factories;
}

bool IsDeclaration(const std::wstring& name) {
  return EqualsNoCase(name, L"Image") || EqualsNoCase(name, L"Font") || EqualsNoCase(name, L"Default") ||
         EqualsNoCase(name, L"MultiLanguage");
}

bool IsNumber(const std::wstring& text) {
  if (text.empty()) return false;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
  }
  return true;
}

struct IncludeGuard {
  IncludeGuard() { ++includeDepth; }
  ~IncludeGuard() { --includeDepth; }
};

}  // namespace

void RegisterControlFactory(ControlFactory factory) { Factories().push_back(std::move(factory)); }
void ClearControlFactories() { Factories().clear(); }

CControlUI* CreateBuiltinControl(const std::wstring& name) {
  if (EqualsNoCase(name, L"Control")) return new CControlUI();
  if (EqualsNoCase(name, L"Label")) return new CLabelUI();
  if (EqualsNoCase(name, L"Button")) return new CButtonUI();
  if (EqualsNoCase(name, L"Option")) return new COptionUI();
  if (EqualsNoCase(name, L"CheckBox")) return new CCheckBoxUI();
  if (EqualsNoCase(name, L"Progress")) return new CProgressUI();
  if (EqualsNoCase(name, L"Edit")) return new CEditUI();
  if (EqualsNoCase(name, L"Container")) return new CContainerUI();
  if (EqualsNoCase(name, L"VerticalLayout") || EqualsNoCase(name, L"VBox")) return new CVerticalLayoutUI();
  if (EqualsNoCase(name, L"HorizontalLayout") || EqualsNoCase(name, L"HBox")) return new CHorizontalLayoutUI();
  if (EqualsNoCase(name, L"TabLayout")) return new CTabLayoutUI();
  return nullptr;
}

CControlUI* CSkinBuilder::Create(const std::wstring& markup, const std::wstring& type, ISkinBuilderCallback* callback,
                                 CWindowHostUI* host, CControlUI* parent) {
  callback_ = callback;
  if (!LoadMarkup(markup, type)) return nullptr;
  const CSkinMarkupNode root = markup_.GetRoot();
  if (!root.IsValid()) return nullptr;
  if (host) {
    ProcessDeclarations(root, host);
    if (EqualsNoCase(root.GetName(), L"Window") && host->HasWindow()) {
      for (int i = 0; i < root.GetAttributeCount(); ++i) {
        host->SetWindowAttribute(root.GetAttributeName(i), root.GetAttributeValue(i));
      }
    }
  }
  return BuildLevel(root.GetChild(), parent, host);
}

bool CSkinBuilder::LoadMarkup(const std::wstring& markup, const std::wstring& type) {
  if (!markup.empty() && markup[0] == L'<') return markup_.Load(markup);
  if (!type.empty()) {
    type_ = type;
    Platform::ModuleResource resource;
    const bool found = IsNumber(markup) ? Platform::FindModuleResource(type, static_cast<unsigned>(ParseInt(markup)), resource)
                                        : Platform::FindModuleResource(type, markup, resource);
    if (!found) return false;
    return markup_.LoadFromMem(resource.data, resource.size, CSkinMarkup::kUtf8);
  }
  return markup_.LoadFromFile(markup);
}

void CSkinBuilder::ProcessDeclarations(const CSkinMarkupNode& root, CWindowHostUI* host) {
  for (CSkinMarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
    const std::wstring name = node.GetName();
    if (EqualsNoCase(name, L"Image")) {
      const std::wstring image = node.GetAttributeValue(L"name");
      const std::wstring maskText = node.GetAttributeValue(L"mask");
      const uint32_t mask = maskText.empty() ? 0 : ParseColor(maskText);
      host->GetImageEx(image, node.GetAttributeValue(L"restype"), mask,
                       node.GetAttributeValue(L"shared") == L"true");
    } else if (EqualsNoCase(name, L"Font")) {
      const int id = node.HasAttribute(L"id") ? ParseInt(node.GetAttributeValue(L"id")) : -1;
      const std::wstring face = node.GetAttributeValue(L"name");
      const int size = node.HasAttribute(L"size") ? ParseInt(node.GetAttributeValue(L"size")) : 12;
      const bool bold = node.GetAttributeValue(L"bold") == L"true";
      const bool underline = node.GetAttributeValue(L"underline") == L"true";
      const bool italic = node.GetAttributeValue(L"italic") == L"true";
      const bool isDefault = node.GetAttributeValue(L"default") == L"true";
      const bool shared = node.GetAttributeValue(L"shared") == L"true";
      if (id >= 0 && !face.empty()) {
        host->AddFont(id, face, size, bold, underline, italic, shared);
        if (isDefault) host->SetDefaultFont(face, size, bold, underline, italic, shared);
      }
    } else if (EqualsNoCase(name, L"Default")) {
      const std::wstring element = node.GetAttributeValue(L"name");
      const std::wstring value = node.GetAttributeValue(L"value");
      if (!element.empty() && !value.empty()) {
        host->AddDefaultAttributeList(element, value, node.GetAttributeValue(L"shared") == L"true");
      }
    } else if (EqualsNoCase(name, L"MultiLanguage")) {
      const int id = node.HasAttribute(L"id") ? ParseInt(node.GetAttributeValue(L"id")) : -1;
      const std::wstring value = node.GetAttributeValue(L"value");
      if (id >= 0 && !value.empty()) SetMultiLanguageText(id, value);
    }
  }
}

CControlUI* CSkinBuilder::CreateControl(const std::wstring& name) {
  if (CControlUI* control = CreateBuiltinControl(name)) return control;
  for (const ControlFactory& factory : Factories()) {
    if (CControlUI* control = factory(name)) return control;
  }
  return callback_ ? callback_->CreateCustomControl(name) : nullptr;
}

CControlUI* CSkinBuilder::BuildLevel(const CSkinMarkupNode& first, CControlUI* parent, CWindowHostUI* host) {
  CControlUI* result = nullptr;
  for (CSkinMarkupNode node = first; node.IsValid(); node = node.GetSibling()) {
    const std::wstring name = node.GetName();
    if (IsDeclaration(name)) continue;

    if (EqualsNoCase(name, L"Include")) {
      const std::wstring source = node.GetAttributeValue(L"source");
      const int count = std::min(kMaxIncludeCount, node.HasAttribute(L"count") ? ParseInt(node.GetAttributeValue(L"count")) : 1);
      if (source.empty() || count <= 0 || includeDepth >= kMaxIncludeDepth) continue;
      IncludeGuard guard;
      for (int i = 0; i < count; ++i) {
        CSkinBuilder builder;
        const std::wstring type = IsNumber(source) ? type_ : std::wstring();
        CControlUI* made = builder.Create(source, type, callback_, host, parent);
        if (!parent) delete made;  // at the top level there is no container to keep it
        if (!builder.GetMarkup().IsValid()) break;  // a source that does not load will not load next time either
      }
      continue;
    }

    std::unique_ptr<CControlUI> control(CreateControl(name));
    if (!control) continue;  // unknown element: skipped with its subtree

    if (node.HasChildren()) BuildLevel(node.GetChild(), control.get(), host);

    CControlUI* built = control.get();
    if (parent) {
      if (node.GetAttributeValue(L"cover") == L"true") {
        parent->SetCover(control.release());
      } else {
        auto* container = static_cast<IContainerUI*>(parent->GetInterface(L"IContainer"));
        if (!container) return nullptr;
        if (!container->Add(built)) continue;  // refused: destroyed with `control`
        control.release();
      }
    }

    if (host) {
      built->SetManager(host, parent, false);
      if (const std::wstring* defaults = host->GetDefaultAttributeList(name)) built->ApplyAttributeList(*defaults);
    }
    for (int i = 0; i < node.GetAttributeCount(); ++i) built->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
    if (host) built->SetManager(nullptr, parent, false);

    if (!result) {
      result = built;
      control.release();  // the caller owns the first top-level control
    }
    // Further top-level controls without a parent would have no owner: `control` frees them.
  }
  return result;
}

}  // namespace SkinUI
