// skin-dump [--select TAB=INDEX]... SKINFILE [WIDTH HEIGHT]
// Builds SKINFILE from the embedded skin archive, lays it out over the given
// client size (default: the skin's "size") and prints one JSON object per
// control in tree order.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "skinui/controls/control.h"
#include "skinui/controls/option.h"
#include "skinui/controls/progress.h"
#include "skinui/controls/sequence_controls.h"
#include "skinui/layouts/tab_layout.h"
#include "skinui/skin_builder.h"
#include "skinui/skin_resources.h"
#include "skinui/window_host.h"
#include "utils/text.h"

namespace {

std::string JsonString(const std::wstring& text) {
  const std::string utf8 = Utils::WideToUtf8(text);
  std::string out = "\"";
  for (unsigned char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

void PrintControl(SkinUI::CControlUI* control, int depth) {
  const SkinUI::SkinRect& r = control->GetPos();
  std::string line = "{\"depth\":" + std::to_string(depth) + ",\"class\":" + JsonString(control->GetClass()) +
                     ",\"name\":" + JsonString(control->GetName()) + ",\"rect\":[" + std::to_string(r.left) + "," +
                     std::to_string(r.top) + "," + std::to_string(r.right) + "," + std::to_string(r.bottom) +
                     "],\"visible\":" + (control->IsVisible() ? "true" : "false") +
                     ",\"text\":" + JsonString(control->GetText());
  if (auto* option = static_cast<SkinUI::COptionUI*>(control->GetInterface(L"Option"))) {
    line += std::string(",\"selected\":") + (option->IsSelected() ? "true" : "false");
  }
  if (auto* tab = static_cast<SkinUI::CTabLayoutUI*>(control->GetInterface(L"TabLayout"))) {
    line += ",\"selected\":" + std::to_string(tab->GetCurSel());
  }
  if (auto* progress = static_cast<SkinUI::CProgressUI*>(control->GetInterface(L"Progress"))) {
    line += ",\"value\":" + std::to_string(progress->GetValue());
  }
  std::printf("%s}\n", line.c_str());
}

int Usage() {
  std::fprintf(stderr, "usage: skin-dump [--select TAB=INDEX]... SKINFILE [WIDTH HEIGHT]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::pair<std::wstring, int>> selections;
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--select" && i + 1 < argc) {
      const std::string value = argv[++i];
      const size_t equals = value.find('=');
      if (equals == std::string::npos) return Usage();
      selections.emplace_back(Utils::Utf8ToWide(value.substr(0, equals)), std::atoi(value.c_str() + equals + 1));
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 1 && positional.size() != 3) return Usage();

  if (!SkinUI::CSkinResources::OpenArchiveFromModuleResource(SkinUI::kSkinArchiveResourceId)) {
    std::fprintf(stderr, "skin-dump: no skin archive in this executable\n");
    return 1;
  }
  SkinUI::CWindowHostUI host;
  host.Init(nullptr);
  SkinUI::CSequenceControlsCallback callback;
  SkinUI::CSkinBuilder builder;
  SkinUI::CControlUI* root = builder.Create(Utils::Utf8ToWide(positional[0]), L"", &callback, &host);
  if (!root) {
    std::fprintf(stderr, "skin-dump: cannot build %s: %s [%s]\n", positional[0].c_str(),
                 Utils::WideToUtf8(builder.GetLastErrorMessage()).c_str(),
                 Utils::WideToUtf8(builder.GetLastErrorLocation()).c_str());
    return 1;
  }
  host.AttachDialog(root);
  for (const auto& selection : selections) {
    auto* tab = host.FindControl(selection.first);
    auto* layout = tab ? static_cast<SkinUI::CTabLayoutUI*>(tab->GetInterface(L"TabLayout")) : nullptr;
    if (!layout || !layout->SelectItem(selection.second)) {
      std::fprintf(stderr, "skin-dump: cannot select page %d of %s\n", selection.second,
                   Utils::WideToUtf8(selection.first).c_str());
      return 1;
    }
  }
  SkinUI::SkinSize size = host.GetInitSize();
  if (positional.size() == 3) size = SkinUI::SkinSize{std::atoi(positional[1].c_str()), std::atoi(positional[2].c_str())};
  host.SetClientSize(size);
  host.NeedUpdate();
  host.LayoutIfNeeded();
  root->ForEach([](SkinUI::CControlUI* control, int depth) { PrintControl(control, depth); });
  return 0;
}
