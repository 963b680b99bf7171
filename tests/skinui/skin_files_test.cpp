// The six skin files built from the embedded archive: what each window
// gets from its root, the controls the windows look up, and the layout of
// every page against hand-computed rectangles.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

#include "skin_test_support.h"
#include "skinui/controls/option.h"
#include "skinui/controls/progress.h"
#include "skinui/controls/sequence_controls.h"
#include "skinui/layouts/container.h"
#include "skinui/layouts/tab_layout.h"
#include "skinui/skin_builder.h"
#include "skinui/window_host.h"

namespace SkinUI {
namespace {

// A window's host with its skin built and laid out at the skin's size.
class BuiltSkin {
 public:
  explicit BuiltSkin(const std::wstring& file) {
    host_.Init(nullptr);
    CSkinBuilder builder;
    CControlUI* root = builder.Create(file, L"", &callback_, &host_);
    error_ = builder.GetLastErrorMessage();
    if (!root) return;
    host_.AttachDialog(root);
    host_.SetClientSize(host_.GetInitSize());
    host_.LayoutIfNeeded();
  }
  CWindowHostUI& Host() { return host_; }
  CControlUI* Root() { return host_.GetRoot(); }
  const std::wstring& Error() const { return error_; }
  SkinRect Rect(const std::wstring& name) {
    CControlUI* control = host_.FindControl(name);
    EXPECT_TRUE(control) << "no control named";
    return control ? control->GetPos() : SkinRect{-1, -1, -1, -1};
  }
  void SelectPage(const std::wstring& tab, int page) {
    auto* layout = static_cast<CTabLayoutUI*>(host_.FindControl(tab)->GetInterface(L"TabLayout"));
    ASSERT_TRUE(layout->SelectItem(page));
    host_.LayoutIfNeeded();
  }
  // The control reached from the root by child indexes.
  CControlUI* At(std::initializer_list<int> path) {
    CControlUI* control = Root();
    for (int index : path) {
      auto* container = static_cast<IContainerUI*>(control->GetInterface(L"IContainer"));
      control = container ? container->GetItemAt(index) : nullptr;
      if (!control) return nullptr;
    }
    return control;
  }

 private:
  CSequenceControlsCallback callback_;
  CWindowHostUI host_;
  std::wstring error_;
};

class SkinFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { SkinTest::UseEmbeddedArchive(); }
};

TEST_F(SkinFiles, EveryFileBuildsWithItsWindowAttributes) {
  struct Case {
    const wchar_t* file;
    SkinSize size;
    SkinRect caption;
    SkinSize corner;
    const wchar_t* darkness;
    const wchar_t* color;
  };
  const Case cases[] = {
      {L"MainWnd.xml", {600, 400}, {0, 0, 0, 35}, {1, 0}, L"20", L"#26003B76"},
      {L"ExitTipWnd.xml", {360, 180}, {0, 0, 0, 30}, {2, 2}, L"20", L"#26003B76"},
      {L"InstalledPathTipWnd.xml", {400, 180}, {0, 0, 0, 30}, {1, 0}, L"10", L"#FFEDF0F4"},
      {L"NetworkTipWnd.xml", {360, 180}, {0, 0, 0, 30}, {2, 2}, L"20", L"#26003B76"},
      {L"MessageBox1Wnd.xml", {360, 180}, {0, 0, 0, 30}, {2, 2}, L"20", L"#26003B76"},
      {L"MessageBox2Wnd.xml", {360, 180}, {0, 0, 0, 30}, {2, 2}, L"20", L"#26003B76"},
  };
  for (const Case& c : cases) {
    BuiltSkin skin(c.file);
    ASSERT_TRUE(skin.Root()) << "build failed: " << std::wstring(c.file).size() << " " << skin.Error().size();
    CWindowHostUI& host = skin.Host();
    EXPECT_EQ(host.GetInitSize().cx, c.size.cx);
    EXPECT_EQ(host.GetInitSize().cy, c.size.cy);
    EXPECT_EQ(host.GetCaptionRect(), c.caption);
    EXPECT_EQ(host.GetRoundCorner().cx, c.corner.cx);
    EXPECT_EQ(host.GetRoundCorner().cy, c.corner.cy);
    EXPECT_EQ(skin.Root()->GetPos(), (SkinRect{0, 0, c.size.cx, c.size.cy}));
    ASSERT_TRUE(host.GetWindowCustomAttribute(L"ShowShadow"));
    EXPECT_EQ(*host.GetWindowCustomAttribute(L"showshadow"), L"true");
    EXPECT_EQ(*host.GetWindowCustomAttribute(L"shadowsize"), L"6");
    EXPECT_EQ(*host.GetWindowCustomAttribute(L"shadowsharpness"), L"10");
    EXPECT_EQ(*host.GetWindowCustomAttribute(L"shadowdarkness"), c.darkness);
    EXPECT_EQ(*host.GetWindowCustomAttribute(L"shadowposition"), L"1,1");
    EXPECT_EQ(*host.GetWindowCustomAttribute(L"shadowcolor"), c.color);
    EXPECT_TRUE(host.FindControl(L"closebtn"));
    EXPECT_EQ(host.GetFontSpec(-1).face, L"微软雅黑");
  }
}

TEST_F(SkinFiles, MainWindowStartsOnTheOneClickPage) {
  BuiltSkin skin(L"mainWnd.xml");
  ASSERT_TRUE(skin.Root());
  CWindowHostUI& host = skin.Host();
  auto* tabs = static_cast<CTabLayoutUI*>(host.FindControl(L"mainTabLt")->GetInterface(L"TabLayout"));
  EXPECT_EQ(tabs->GetCurSel(), 0);
  EXPECT_EQ(tabs->GetCount(), 4);
  for (const wchar_t* name : {L"treatyCb", L"treatyBtn", L"createDSCb", L"createQSCb"}) {
    auto* box = static_cast<COptionUI*>(host.FindControl(name)->GetInterface(L"CheckBox"));
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->IsSelected());
  }
  EXPECT_FALSE(host.FindControl(L"tipLbl")->IsVisible());
  EXPECT_EQ(host.FindControl(L"progressLb")->GetText(), L"正在安装中:0%，请稍候...");
  EXPECT_EQ(host.FindControl(L"customeBtn")->GetText(), L"自定义安装");

  // Unrecognised attributes become custom attributes and nothing else.
  EXPECT_EQ(*host.FindControl(L"installPrg")->GetCustomAttribute(L"isstretchfore"), L"false");
  EXPECT_FALSE(host.FindControl(L"installPrg")->GetCustomAttribute(L"foreimage"));

  // The animation label comes from the builder callback and starts itself.
  auto* animation = static_cast<CSequenceLabelUI*>(host.FindControl(L"progressAnLb")->GetInterface(L"SequenceLabel"));
  ASSERT_TRUE(animation);
  EXPECT_EQ(animation->GetSequencePattern(), L"res\\mainWnd\\installBtnAnimate\\%.3d.png");
  EXPECT_EQ(animation->GetSequenceCount(), 25);
  EXPECT_EQ(animation->GetSequenceSpan(), 30);
  EXPECT_FALSE(animation->Sequence().backAndForth);
  EXPECT_TRUE(animation->Sequence().loop);
  ASSERT_EQ(host.Timers().size(), 1u);
  EXPECT_EQ(host.Timers()[0].control, animation);
  EXPECT_EQ(host.Timers()[0].id, kSequenceTimerId);

  // Image strings as the painter will use them.
  auto* minimise = static_cast<CButtonUI*>(host.FindControl(L"minbtn")->GetInterface(L"Button"));
  EXPECT_EQ(minimise->GetNormalImage().name, L"res\\common\\minbtn1.png");
  EXPECT_TRUE(host.GetImageEx(minimise->GetNormalImage().name));
  EXPECT_FALSE(host.GetImageEx(minimise->GetDisabledImage().name));  // not in the archive: drawn as nothing
  auto* progress = static_cast<CProgressUI*>(host.FindControl(L"installPrg")->GetInterface(L"Progress"));
  EXPECT_EQ(progress->GetForeImage().name, L"res\\mainWnd\\installPrg2.png");
  EXPECT_EQ(progress->GetForeImage().corner, (SkinRect{2, 2, 2, 2}));
}

TEST_F(SkinFiles, MainWindowPagesLayOutAsTheMarkupSays) {
  BuiltSkin skin(L"mainWnd.xml");
  ASSERT_TRUE(skin.Root());
  // Title bar and page 0.
  EXPECT_EQ(skin.Rect(L"titleTabLt"), (SkinRect{10, 0, 210, 45}));
  EXPECT_EQ(skin.Rect(L"minbtn"), (SkinRect{514, 12, 538, 36}));
  EXPECT_EQ(skin.Rect(L"closebtn"), (SkinRect{562, 12, 586, 36}));
  EXPECT_EQ(skin.Rect(L"mainTabLt"), (SkinRect{1, 45, 599, 400}));
  EXPECT_EQ(skin.Rect(L"defaultInstallBtn"), (SkinRect{200, 213, 400, 259}));
  EXPECT_EQ(skin.Rect(L"treatyCb"), (SkinRect{21, 361, 89, 379}));
  EXPECT_EQ(skin.Rect(L"treatyBtn"), (SkinRect{89, 361, 255, 379}));
  EXPECT_EQ(skin.Rect(L"customeBtn"), (SkinRect{489, 361, 589, 381}));  // 20 high in an 18-high row
  EXPECT_EQ(skin.At({1, 1, 0, 1, 1, 1})->GetPos(), (SkinRect{168, 105, 431, 163}));  // logo

  skin.SelectPage(L"mainTabLt", 1);
  EXPECT_EQ(skin.Rect(L"installDirEdit"), (SkinRect{129, 177, 469, 213}));
  EXPECT_EQ(skin.Rect(L"chDirBtn"), (SkinRect{479, 177, 560, 213}));
  EXPECT_EQ(skin.Rect(L"createDSCb"), (SkinRect{125, 233, 263, 251}));
  EXPECT_EQ(skin.Rect(L"createQSCb"), (SkinRect{283, 233, 421, 251}));
  EXPECT_EQ(skin.Rect(L"customeInstallBtn"), (SkinRect{200, 300, 400, 346}));
  EXPECT_FALSE(skin.Host().FindControl(L"defaultInstallBtn")->IsVisible());

  skin.SelectPage(L"mainTabLt", 2);
  EXPECT_EQ(skin.Rect(L"progressAnLb"), (SkinRect{200, 78, 400, 278}));
  EXPECT_EQ(skin.Rect(L"progressLb"), (SkinRect{120, 300, 480, 324}));
  EXPECT_EQ(skin.Rect(L"installPrg"), (SkinRect{40, 344, 560, 356}));  // progress bars are 12 high by default

  skin.SelectPage(L"mainTabLt", 3);
  EXPECT_EQ(skin.At({1, 1, 3, 1, 1})->GetPos(), (SkinRect{260, 95, 340, 175}));  // finished mark
  EXPECT_EQ(skin.At({1, 1, 3, 3, 1})->GetPos(), (SkinRect{236, 200, 364, 250}));  // "安装完成"
  EXPECT_EQ(skin.Rect(L"openProduceBtn"), (SkinRect{200, 294, 400, 340}));

  skin.SelectPage(L"titleTabLt", 1);
  EXPECT_EQ(skin.Rect(L"backBtn"), (SkinRect{10, 11, 74, 41}));
}

TEST_F(SkinFiles, PromptsLayOutAsTheMarkupSays) {
  {
    BuiltSkin skin(L"exitTipWnd.xml");
    ASSERT_TRUE(skin.Root());
    EXPECT_EQ(skin.Rect(L"closebtn"), (SkinRect{324, 8, 348, 32}));
    EXPECT_EQ(skin.Rect(L"abcc"), (SkinRect{95, 70, 255, 110}));
    EXPECT_EQ(skin.At({1, 1, 1, 1, 1})->GetPos(), (SkinRect{35, 70, 75, 110}));  // question icon
    EXPECT_EQ(skin.Rect(L"okBtn"), (SkinRect{167, 130, 243, 162}));
    EXPECT_EQ(skin.Rect(L"cancelBtn"), (SkinRect{263, 130, 339, 162}));
    EXPECT_EQ(*skin.Host().FindControl(L"okBtn")->GetCustomAttribute(L"hotborercolor"), L"#FF5A9DFD");
  }
  {
    BuiltSkin skin(L"NetworkTipWnd.xml");
    ASSERT_TRUE(skin.Root());
    EXPECT_EQ(skin.Rect(L"closebtn"), (SkinRect{324, 3, 348, 27}));
    EXPECT_EQ(skin.At({1, 1, 1, 1})->GetPos(), (SkinRect{35, 60, 75, 100}));  // network icon
    EXPECT_EQ(skin.At({1, 1, 2})->GetPos(), (SkinRect{1, 100, 31, 130}));  // width-only spacer flexes in height
    EXPECT_EQ(skin.Rect(L"cancelBtn"), (SkinRect{182, 130, 258, 162}));
    EXPECT_EQ(skin.Rect(L"okBtn"), (SkinRect{268, 130, 344, 162}));
  }
  {
    BuiltSkin skin(L"InstalledPathTipWnd.xml");
    ASSERT_TRUE(skin.Root());
    EXPECT_EQ(skin.Rect(L"closebtn"), (SkinRect{364, 3, 388, 27}));
    EXPECT_EQ(skin.At({1, 1, 1, 1, 1})->GetPos(), (SkinRect{35, 60, 75, 100}));  // warning icon
    EXPECT_EQ(skin.Rect(L"cancelBtn"), (SkinRect{131, 128, 231, 160}));
    EXPECT_EQ(skin.Rect(L"okBtn"), (SkinRect{246, 128, 356, 160}));
  }
  {
    BuiltSkin skin(L"MessageBox1Wnd.xml");
    ASSERT_TRUE(skin.Root());
    EXPECT_EQ(skin.Rect(L"closebtn"), (SkinRect{328, 3, 352, 27}));
    EXPECT_EQ(skin.Rect(L"captionLbl").left, 10);
    EXPECT_EQ(skin.Rect(L"textLbl"), (SkinRect{1, 30, 359, 180}));
    EXPECT_EQ(skin.Host().FindControl(L"captionLbl")->GetText(), L"CAPTION");
    EXPECT_EQ(skin.Host().FindControl(L"textLbl")->GetText(), L"TEXT");
  }
  {
    BuiltSkin skin(L"MessageBox2Wnd.xml");
    ASSERT_TRUE(skin.Root());
    EXPECT_EQ(skin.Rect(L"closebtn"), (SkinRect{324, 3, 348, 27}));
    EXPECT_EQ(skin.Rect(L"captionLbl").left, 10);
    EXPECT_EQ(skin.Rect(L"textLbl"), (SkinRect{1, 31, 359, 179}));
  }
}

TEST_F(SkinFiles, MissingSkinFileBuildsNothingAndSaysWhy) {
  BuiltSkin skin(L"noSuchWnd.xml");
  EXPECT_FALSE(skin.Root());
  EXPECT_EQ(skin.Error(), L"Could not find ziped file");
}

}  // namespace
}  // namespace SkinUI
