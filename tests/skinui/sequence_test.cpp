// The animated frame-sequence controls: frame order one way, back and
// forth, without looping, the timer they run on, and safe frame names.
#include <gtest/gtest.h>

#include <memory>

#include "skinui/controls/sequence_controls.h"
#include "skinui/layouts/horizontal_layout.h"
#include "skinui/skin_builder.h"
#include "skinui/window_host.h"

namespace SkinUI {
namespace {

class TimerSide : public IHostWindowSide {
 public:
  bool StartTimer(unsigned nativeId, unsigned intervalMs) override {
    lastId = nativeId;
    lastInterval = intervalMs;
    ++starts;
    return true;
  }
  void StopTimer(unsigned) override { ++stops; }
  unsigned lastId = 0, lastInterval = 0;
  int starts = 0, stops = 0;
};

class Sequence : public ::testing::Test {
 protected:
  CSequenceLabelUI* Build(const std::wstring& attributes) {
    host_.Init(&side_);
    CSequenceControlsCallback callback;
    CSkinBuilder builder;
    CControlUI* root = builder.Create(L"<Window><HorizontalLayout><SequenceLabel name=\"s\" " + attributes +
                                          L"/></HorizontalLayout></Window>",
                                      L"", &callback, &host_);
    host_.AttachDialog(root);
    return static_cast<CSequenceLabelUI*>(host_.FindControl(L"s")->GetInterface(L"SequenceLabel"));
  }
  // Frame numbers shown over `ticks` timer ticks (-1 when the image did not change).
  std::vector<int> Run(CSequenceLabelUI* label, int ticks) {
    std::vector<int> frames;
    for (int i = 0; i < ticks; ++i) {
      const std::wstring before = label->GetBkImage().source;
      host_.OnNativeTimer(side_.lastId);
      const std::wstring after = label->GetBkImage().source;
      frames.push_back(after == before ? -1 : std::stoi(after.substr(after.size() - 7, 3)));
    }
    return frames;
  }

  TimerSide side_;
  CWindowHostUI host_;
};

TEST_F(Sequence, SkinLabelLoopsOneWayEveryThirtyMilliseconds) {
  CSequenceLabelUI* label = Build(L"sequencebkimage=\"res\\mainWnd\\installBtnAnimate\\%.3d.png\" sequencecount=\"3\" "
                                  L"sequenceround=\"false\" sequencespan=\"30\" autostart=\"true\"");
  ASSERT_TRUE(label);
  EXPECT_EQ(side_.lastInterval, 30u);  // started when the host attached it
  EXPECT_EQ(Run(label, 7), (std::vector<int>{0, 1, 2, 0, 1, 2, 0}));
  EXPECT_EQ(label->GetBkImage().name, L"res\\mainWnd\\installBtnAnimate\\000.png");
}

TEST_F(Sequence, BackAndForthForAnythingButFalse) {
  CSequenceLabelUI* label = Build(L"sequencebkimage=\"f%03d.png\" sequencecount=\"3\" SequenceRound=\"no\" autostart=\"yes\"");
  EXPECT_EQ(Run(label, 8), (std::vector<int>{0, 1, 2, 1, 0, 1, 2, 1}));
}

TEST_F(Sequence, WithoutLoopingStopsOnTheLastFrame) {
  CSequenceLabelUI* label = Build(L"sequencebkimage=\"f%03d.png\" sequencecount=\"3\" sequenceloop=\"false\" "
                                  L"sequenceround=\"false\" autostart=\"true\"");
  EXPECT_EQ(Run(label, 4), (std::vector<int>{0, 1, 2, -1}));
  EXPECT_EQ(side_.stops, 1);
  EXPECT_EQ(label->GetBkImage().name, L"f002.png");
  label->StartAnimation();  // restarts at frame 0
  EXPECT_EQ(Run(label, 1), (std::vector<int>{0}));
}

TEST_F(Sequence, NoAutomaticStartAndEmptyPatternsLeaveTheControlAlone) {
  CSequenceLabelUI* label = Build(L"sequencecount=\"3\"");
  EXPECT_EQ(side_.starts, 0);
  label->StartAnimation();
  EXPECT_EQ(side_.lastInterval, 30u);  // the label's default interval
  EXPECT_EQ(Run(label, 2), (std::vector<int>{-1, -1}));
  EXPECT_TRUE(label->GetBkImage().IsEmpty());
  label->StopAnimation();
  EXPECT_EQ(side_.stops, 1);
}

TEST(SequenceButton, DefaultsAndPushedTextOffset) {
  CSequenceButtonUI button;
  EXPECT_EQ(button.GetSequenceSpan(), 60);
  EXPECT_TRUE(button.Sequence().backAndForth);
  EXPECT_EQ(button.GetClass(), L"SequenceButton");
  EXPECT_TRUE(button.GetInterface(L"Button"));
  button.SetPos(SkinRect{0, 0, 100, 40});
  button.SetPushedTextOffset(SkinRect{2, 3, 4, 5});
  EXPECT_EQ(button.TextRect().left, 0);  // not pushed: the normal text area
  CSequenceControlsCallback callback;
  EXPECT_EQ(std::unique_ptr<CControlUI>(callback.CreateCustomControl(L"SequenceButton"))->GetClass(), L"SequenceButton");
  EXPECT_FALSE(callback.CreateCustomControl(L"Sequence"));
}

TEST(FrameName, FormatsOneIntegerAndRefusesEverythingElse) {
  EXPECT_EQ(FormatFrameName(L"res\\a\\%.3d.png", 7), L"res\\a\\007.png");
  EXPECT_EQ(FormatFrameName(L"%d%%.png", 12), L"12%.png");
  EXPECT_EQ(FormatFrameName(L"%s.png", 1), L"");
  EXPECT_EQ(FormatFrameName(L"%d%d.png", 1), L"");
  EXPECT_EQ(FormatFrameName(L"%999999d", 1), L"");
  EXPECT_EQ(FormatFrameName(L"%n", 1), L"");
  EXPECT_EQ(FormatFrameName(std::wstring(300, L'a') + L"%d", 1).size(), 259u);
}

}  // namespace
}  // namespace SkinUI
