// Markup as untrusted bytes: parsed in each encoding, then built into a
// window host, laid out and poked with input and a timer tick.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/code_page.h"
#include "skinui/controls/sequence_controls.h"
#include "skinui/skin_builder.h"
#include "skinui/skin_markup.h"
#include "skinui/window_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 64 * 1024) return 0;
  SkinUI::CSkinMarkup markup;
  markup.LoadFromMem(data, size, SkinUI::CSkinMarkup::kUtf16);
  markup.LoadFromMem(data, size, SkinUI::CSkinMarkup::kAnsi);

  const std::wstring text = Platform::MultiByteToWide(std::string(reinterpret_cast<const char*>(data), size),
                                                      Platform::kCodePageUtf8);
  if (text.empty() || text[0] != L'<') return 0;
  SkinUI::CWindowHostUI host;
  host.Init(nullptr);
  SkinUI::CSequenceControlsCallback callback;
  SkinUI::CSkinBuilder builder;
  SkinUI::CControlUI* root = builder.Create(text, L"", &callback, &host);
  if (!root) return 0;
  host.AttachDialog(root);
  host.SetClientSize(SkinUI::SkinSize{300, 200});
  host.LayoutIfNeeded();
  host.OnMouseMove(SkinUI::SkinPoint{10, 10});
  host.OnLButtonDown(SkinUI::SkinPoint{10, 10});
  host.OnLButtonUp(SkinUI::SkinPoint{10, 10});
  if (!host.Timers().empty()) host.OnNativeTimer(host.Timers().front().nativeId);
  return 0;
}
