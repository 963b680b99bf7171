// Controls and layouts through the host, as the window will drive them:
// layout arithmetic, input semantics and notifications, option groups, tab
// selection, progress values and timer bookkeeping.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/text_engine.h"
#include "skin_test_support.h"
#include "skinui/controls/label.h"
#include "skinui/controls/option.h"
#include "skinui/controls/progress.h"
#include "skinui/layouts/tab_layout.h"
#include "skinui/skin_builder.h"
#include "skinui/window_host.h"

namespace SkinUI {
namespace {

class Recorder : public INotifyReceiver {
 public:
  void Notify(TNotifyUI& msg) override {
    log.push_back(msg.sType + L":" + (msg.pSender ? msg.pSender->GetName() : L""));
    last = msg;
  }
  std::vector<std::wstring> log;
  TNotifyUI last;
};

// A window side that records timers.
class FakeSide : public IHostWindowSide {
 public:
  bool StartTimer(unsigned nativeId, unsigned intervalMs) override {
    if (refuse) return false;
    started.emplace_back(nativeId, intervalMs);
    return true;
  }
  void StopTimer(unsigned nativeId) override { stopped.push_back(nativeId); }
  uint32_t TickCount() override { return 1000; }
  std::vector<std::pair<unsigned, unsigned>> started;
  std::vector<unsigned> stopped;
  bool refuse = false;
};

class Controls : public ::testing::Test {
 protected:
  void Build(const std::wstring& body, SkinSize size) {
    host_.Init(&side_);
    CSkinBuilder builder;
    CControlUI* root = builder.Create(L"<Window><Font id=\"0\" name=\"微软雅黑\" size=\"14\" default=\"true\"/>" + body +
                                          L"</Window>",
                                      L"", nullptr, &host_);
    ASSERT_TRUE(root) << "markup did not build";
    host_.AttachDialog(root);
    host_.SetClientSize(size);
    host_.LayoutIfNeeded();
    host_.AddNotifier(&recorder_);
  }
  CControlUI* Find(const wchar_t* name) { return host_.FindControl(name); }
  void Click(SkinPoint at) {
    host_.OnMouseMove(at);
    host_.OnLButtonDown(at);
    host_.OnLButtonUp(at);
  }

  FakeSide side_;
  CWindowHostUI host_;
  Recorder recorder_;
};

TEST_F(Controls, FlexibleChildrenShareTheRestInIntegerParts) {
  struct Case {
    int first, second;
    int flexA, flexB;
  };
  for (const Case& c : {Case{20, 30, 25, 25}, Case{20, 31, 24, 25}}) {
    CWindowHostUI host;
    host.Init(nullptr);
    CSkinBuilder builder;
    const std::wstring markup = L"<Window><VerticalLayout><Control height=\"" + std::to_wstring(c.first) +
                                L"\"/><Control name=\"a\"/><Control height=\"" + std::to_wstring(c.second) +
                                L"\"/><Control name=\"b\"/></VerticalLayout></Window>";
    host.AttachDialog(builder.Create(markup, L"", nullptr, &host));
    host.SetClientSize(SkinSize{50, 100});
    host.LayoutIfNeeded();
    EXPECT_EQ(host.FindControl(L"a")->GetPos().Height(), c.flexA);
    EXPECT_EQ(host.FindControl(L"b")->GetPos().Height(), c.flexB);
    EXPECT_EQ(host.FindControl(L"b")->GetPos().bottom, 100);  // the stack ends exactly at the bottom
  }
}

TEST_F(Controls, InsetPaddingChildPaddingAndAlignment) {
  Build(L"<VerticalLayout inset=\"5,6,7,8\" childpadding=\"4\" childalign=\"center\">"
        L"<Control name=\"a\" height=\"10\" width=\"20\"/><Control name=\"b\" padding=\"1,2,3,4\"/>"
        L"<Control name=\"c\" height=\"10\" width=\"20\" padding=\"0,0,0,0\"/></VerticalLayout>",
        SkinSize{100, 100});
  // Inner: 5..93 x 6..92 (86 high); fixed 10 + 10 + b's 6 of padding + 2 gaps of 4 = 34.
  EXPECT_EQ(Find(L"a")->GetPos(), (SkinRect{39, 6, 59, 16}));
  EXPECT_EQ(Find(L"b")->GetPos(), (SkinRect{7, 22, 91, 74}));  // centred: the padding only narrows it
  EXPECT_EQ(Find(L"c")->GetPos(), (SkinRect{39, 82, 59, 92}));
}

TEST_F(Controls, LabelWithoutHeightIsAsHighAsItsFontPlusEight) {
  Build(L"<VerticalLayout><Label name=\"l\" text=\"温馨提示\" textpadding=\"0,2,0,3\"/>"
        L"<Label name=\"v1\" valign=\"center\"/><Label name=\"v2\" valign=\"bottom\"/><Control/></VerticalLayout>",
        SkinSize{200, 200});
  // The skin's face is served by WenQuanYi Micro Hei here.
  EXPECT_NE(Platform::ResolvedFontFile(Platform::FontSpec{L"微软雅黑", 14}).find("wqy-microhei"), std::string::npos);
  const int fontHeight = Platform::GetFontMetrics(Platform::FontSpec{L"微软雅黑", 14}).height;
  ASSERT_GT(fontHeight, 0);
  EXPECT_EQ(Find(L"l")->GetPos().Height(), fontHeight + 8 + 5);
  // "center" alone keeps the default vertical centring; "bottom" replaces it.
  EXPECT_EQ(static_cast<CLabelUI*>(Find(L"v1"))->GetTextStyle() & (DT_VCENTER | DT_BOTTOM), DT_VCENTER);
  EXPECT_EQ(static_cast<CLabelUI*>(Find(L"v2"))->GetTextStyle() & (DT_VCENTER | DT_BOTTOM), DT_BOTTOM);
}

TEST_F(Controls, ButtonClicksOnlyWhenReleasedInsideWhileCaptured) {
  Build(L"<HorizontalLayout><Button name=\"b\" width=\"50\"/><Control name=\"beside\"/></HorizontalLayout>",
        SkinSize{100, 20});
  auto* button = static_cast<CButtonUI*>(Find(L"b"));
  host_.OnMouseMove(SkinPoint{10, 10});
  EXPECT_TRUE(button->GetButtonState() & UISTATE_HOT);
  host_.OnLButtonDown(SkinPoint{10, 10});
  EXPECT_TRUE(button->GetButtonState() & UISTATE_PUSHED);
  host_.OnMouseMove(SkinPoint{70, 10});  // captured: still the button's move
  EXPECT_FALSE(button->GetButtonState() & UISTATE_PUSHED);
  host_.OnMouseMove(SkinPoint{20, 10});
  EXPECT_TRUE(button->GetButtonState() & UISTATE_PUSHED);
  host_.OnLButtonUp(SkinPoint{20, 10});
  EXPECT_EQ(recorder_.log, (std::vector<std::wstring>{L"mouseenter:b", L"setfocus:b", L"click:b"}));

  recorder_.log.clear();
  host_.OnLButtonDown(SkinPoint{10, 10});
  host_.OnLButtonUp(SkinPoint{70, 10});  // released outside: no click
  button->SetEnabled(false);
  Click(SkinPoint{10, 10});
  EXPECT_EQ(recorder_.log, (std::vector<std::wstring>{}));

  button->SetEnabled(true);
  host_.SetFocus(button);
  host_.OnKeyDown(kVirtualKeySpace);
  host_.OnKeyDown(kVirtualKeyReturn);
  host_.OnKeyDown(L'A');
  EXPECT_EQ(recorder_.log, (std::vector<std::wstring>{L"click:b", L"click:b"}));
}

TEST_F(Controls, CheckBoxClickSendsClickThenSelectChangedAndToggles) {
  Build(L"<HorizontalLayout><CheckBox name=\"cb\" width=\"50\" selected=\"true\"/><Control/></HorizontalLayout>",
        SkinSize{100, 20});
  auto* box = static_cast<COptionUI*>(Find(L"cb"));
  ASSERT_TRUE(box->IsSelected());
  Click(SkinPoint{5, 5});
  EXPECT_FALSE(box->IsSelected());
  Click(SkinPoint{5, 5});
  EXPECT_TRUE(box->IsSelected());
  EXPECT_EQ(recorder_.log, (std::vector<std::wstring>{L"mouseenter:cb", L"setfocus:cb", L"click:cb", L"selectchanged:cb", L"click:cb",
                                                      L"selectchanged:cb"}));
  recorder_.log.clear();
  box->Selected(true);  // no change, no notification
  box->Selected(false, false);
  EXPECT_TRUE(recorder_.log.empty());
  EXPECT_FALSE(box->GetButtonState() & UISTATE_SELECTED);
}

TEST_F(Controls, GroupedOptionsSelectOneAtATime) {
  Build(L"<HorizontalLayout><Option name=\"x\" group=\"g\" width=\"20\" selected=\"true\"/>"
        L"<Option name=\"y\" group=\"g\" width=\"20\"/><Option name=\"z\" group=\"g\" width=\"20\"/><Control/>"
        L"</HorizontalLayout>",
        SkinSize{100, 20});
  auto* x = static_cast<COptionUI*>(Find(L"x"));
  auto* y = static_cast<COptionUI*>(Find(L"y"));
  EXPECT_EQ(host_.GetOptionGroup(L"g").size(), 3u);
  Click(SkinPoint{25, 5});
  EXPECT_TRUE(y->IsSelected());
  EXPECT_FALSE(x->IsSelected());
  // The deselected one sends nothing; clicking the selected one again changes nothing.
  Click(SkinPoint{25, 5});
  EXPECT_EQ(recorder_.log, (std::vector<std::wstring>{L"mouseenter:y", L"setfocus:y", L"click:y", L"selectchanged:y", L"click:y"}));
}

TEST_F(Controls, TabSelectionNotifiesAndRefusesPagesOutOfRange) {
  Build(L"<TabLayout name=\"t\"><Control name=\"p0\"/><Control name=\"p1\"/><Control name=\"p2\"/>"
        L"<Control name=\"p3\"/></TabLayout>",
        SkinSize{100, 100});
  auto* tabs = static_cast<CTabLayoutUI*>(Find(L"t"));
  EXPECT_FALSE(tabs->SelectItem(5));
  EXPECT_FALSE(tabs->SelectItem(-1));
  EXPECT_TRUE(tabs->SelectItem(0));  // the current page: nothing happens
  EXPECT_TRUE(recorder_.log.empty());
  EXPECT_TRUE(tabs->SelectItem(2));
  EXPECT_EQ(recorder_.log, (std::vector<std::wstring>{L"tabselect:t"}));
  EXPECT_EQ(recorder_.last.wParam, 2u);
  EXPECT_EQ(recorder_.last.lParam, 0);
  host_.LayoutIfNeeded();
  EXPECT_EQ(Find(L"p2")->GetPos(), (SkinRect{0, 0, 100, 100}));
  EXPECT_FALSE(Find(L"p0")->IsVisible());

  // Removing pages keeps the selection pointing at a real page.
  EXPECT_TRUE(tabs->RemoveAt(0));
  EXPECT_EQ(tabs->GetCurSel(), 1);
  EXPECT_TRUE(tabs->RemoveAt(1));
  EXPECT_EQ(tabs->GetCurSel(), 0);
  EXPECT_TRUE(tabs->GetItemAt(0)->IsVisible());
}

TEST_F(Controls, ProgressClampsAndCoversItsShareOfTheWidth) {
  Build(L"<HorizontalLayout><Progress name=\"p\" width=\"520\" max=\"100\"/></HorizontalLayout>", SkinSize{520, 20});
  auto* progress = static_cast<CProgressUI*>(Find(L"p"));
  struct Case {
    int value, stored, width;
  };
  for (const Case& c : {Case{50, 50, 260}, Case{150, 100, 520}, Case{-5, 0, 0}}) {
    progress->SetValue(c.value);
    EXPECT_EQ(progress->GetValue(), c.stored);
    EXPECT_EQ(progress->ForegroundRect().Width(), c.width);
  }
  EXPECT_EQ(progress->GetPos().Height(), 12);  // the default fixed height
  progress->SetMinValue(100);                  // min not below max: max counts as min + 1
  EXPECT_EQ(progress->ForegroundRect().Width(), 0);
}

TEST_F(Controls, TimersAreRecordsThatReuseTheirNativeId) {
  Build(L"<HorizontalLayout><Control name=\"c\"/></HorizontalLayout>", SkinSize{10, 10});
  CControlUI* control = Find(L"c");
  EXPECT_TRUE(host_.SetTimer(control, 7, 100));
  EXPECT_FALSE(host_.SetTimer(control, 7, 500));  // running: the first interval stays
  ASSERT_EQ(side_.started.size(), 1u);
  const unsigned native = side_.started[0].first;
  EXPECT_EQ(native, 1u);
  host_.OnNativeTimer(native);
  EXPECT_EQ(recorder_.log, (std::vector<std::wstring>{L"timer:c"}));
  EXPECT_EQ(recorder_.last.wParam, 7u);

  EXPECT_TRUE(host_.KillTimer(control, 7));
  host_.OnNativeTimer(native);  // killed: nothing arrives
  EXPECT_EQ(recorder_.log.size(), 1u);
  EXPECT_TRUE(host_.SetTimer(control, 7, 500));
  EXPECT_EQ(side_.started.back(), (std::pair<unsigned, unsigned>{native, 500}));

  side_.refuse = true;
  EXPECT_FALSE(host_.SetTimer(control, 8, 10));
  EXPECT_EQ(host_.Timers().size(), 1u);  // a refused timer is not recorded
}

TEST_F(Controls, DestroyedControlsLeaveNoReferencesBehind) {
  Build(L"<HorizontalLayout name=\"row\"><Button name=\"b\" width=\"20\"/><Option name=\"o\" group=\"g\" width=\"20\"/>"
        L"<Control/></HorizontalLayout>",
        SkinSize{100, 20});
  CControlUI* button = Find(L"b");
  host_.SetTimer(button, 1, 10);
  host_.OnMouseMove(SkinPoint{5, 5});
  host_.OnLButtonDown(SkinPoint{5, 5});
  auto* row = static_cast<IContainerUI*>(Find(L"row")->GetInterface(L"IContainer"));
  ASSERT_TRUE(row->Remove(button));
  ASSERT_TRUE(row->Remove(Find(L"o")));
  EXPECT_EQ(host_.GetFocus(), nullptr);
  EXPECT_EQ(host_.GetHoverControl(), nullptr);
  EXPECT_FALSE(host_.IsCaptured());
  EXPECT_TRUE(host_.Timers().empty());
  EXPECT_TRUE(host_.GetOptionGroup(L"g").empty());
  host_.OnLButtonUp(SkinPoint{5, 5});  // nothing to deliver to
}

}  // namespace
}  // namespace SkinUI
