// The builder over synthetic markup: declarations, element table and
// callback, order of attribute application, Include, cover controls and the
// failure results.
#include <gtest/gtest.h>

#include <memory>

#include "skin_test_support.h"
#include "platform/module_resources.h"
#include "skinui/controls/label.h"
#include "skinui/controls/option.h"
#include "skinui/layouts/container.h"
#include "skinui/multi_language.h"
#include "skinui/skin_builder.h"
#include "skinui/window_host.h"

namespace SkinUI {
namespace {

class CountingCallback : public ISkinBuilderCallback {
 public:
  CControlUI* CreateCustomControl(const std::wstring& name) override {
    asked.push_back(name);
    return name == L"Gadget" ? new CLabelUI() : nullptr;
  }
  std::vector<std::wstring> asked;
};

class Builder : public ::testing::Test {
 protected:
  void SetUp() override {
    SkinTest::UseEmbeddedArchive();
    host_.Init(nullptr);
  }
  // Builds into the host and attaches the tree.
  CControlUI* Build(const std::wstring& markup) {
    CSkinBuilder builder;
    CControlUI* root = builder.Create(markup, L"", &callback_, &host_);
    if (root) host_.AttachDialog(root);
    return root;
  }
  CControlUI* Child(CControlUI* parent, int index) {
    return static_cast<IContainerUI*>(parent->GetInterface(L"IContainer"))->GetItemAt(index);
  }

  CountingCallback callback_;
  CWindowHostUI host_;
};

TEST_F(Builder, DeclarationsFillTheHostTables) {
  ClearMultiLanguageTexts();
  ASSERT_TRUE(Build(L"<Window size=\"300,200\" MyFlag=\"on\">"
                    L"<Font id=\"3\" name=\"微软雅黑\" size=\"20\" bold=\"true\" default=\"true\"/>"
                    L"<Font name=\"ignored without id\"/>"
                    L"<Default name=\"Label\" value=\"textcolor=&quot;#FF112233&quot; width=&quot;50&quot;\"/>"
                    L"<MultiLanguage id=\"104\" value=\"磁盘空间不足\"/>"
                    L"<Image name=\"res\\mainWnd\\Cb1.png\"/>"
                    L"<VerticalLayout><Label name=\"a\" width=\"70\"/><label name=\"b\"/></VerticalLayout></Window>"));
  EXPECT_EQ(host_.GetInitSize().cx, 300);
  EXPECT_EQ(*host_.GetWindowCustomAttribute(L"myflag"), L"on");
  EXPECT_TRUE(host_.HasFont(3));
  EXPECT_FALSE(host_.HasFont(-1));
  EXPECT_EQ(host_.GetFontSpec(-1).size, 20);
  EXPECT_TRUE(host_.GetFontSpec(3).bold);
  ASSERT_TRUE(FindMultiLanguageText(104));
  EXPECT_EQ(*FindMultiLanguageText(104), L"磁盘空间不足");
  // Defaults come first; the element's own attributes override them.
  auto* a = static_cast<CLabelUI*>(host_.FindControl(L"a")->GetInterface(L"Label"));
  auto* b = static_cast<CLabelUI*>(host_.FindControl(L"b")->GetInterface(L"Label"));
  EXPECT_EQ(a->GetFixedWidth(), 70);
  EXPECT_EQ(b->GetFixedWidth(), 50);  // "label" matches the "Label" defaults and element
  EXPECT_EQ(b->GetTextColor(), 0xFF112233u);
  ClearMultiLanguageTexts();
}

TEST_F(Builder, UnknownElementsAreSkippedWithTheirChildrenAfterAskingTheCallback) {
  CControlUI* root = Build(L"<Window><HorizontalLayout><Mystery><Button name=\"lost\"/></Mystery>"
                           L"<Gadget name=\"made\"/><button name=\"kept\"/></HorizontalLayout></Window>");
  ASSERT_TRUE(root);
  EXPECT_EQ(static_cast<IContainerUI*>(root->GetInterface(L"IContainer"))->GetCount(), 2);
  EXPECT_FALSE(host_.FindControl(L"lost"));
  EXPECT_EQ(host_.FindControl(L"made")->GetClass(), L"Label");
  EXPECT_EQ(host_.FindControl(L"kept")->GetClass(), L"Button");
  EXPECT_EQ(callback_.asked, (std::vector<std::wstring>{L"Mystery", L"Gadget"}));
}

TEST_F(Builder, LaterAttributesOverrideEarlierOnesForTheSameProperty) {
  CControlUI* root = Build(L"<Window><HorizontalLayout>"
                           L"<Button name=\"posFirst\" pos=\"0,0,200,0\" height=\"46\"/>"
                           L"<Button name=\"heightFirst\" height=\"46\" pos=\"0,0,200,0\"/></HorizontalLayout></Window>");
  ASSERT_TRUE(root);
  EXPECT_EQ(host_.FindControl(L"posFirst")->GetFixedWidth(), 200);
  EXPECT_EQ(host_.FindControl(L"posFirst")->GetFixedHeight(), 46);
  EXPECT_EQ(host_.FindControl(L"heightFirst")->GetFixedHeight(), 0);
}

TEST_F(Builder, ChildrenAreCompleteBeforeTheirContainerGetsItsAttributes) {
  // "selectedid" needs the pages to exist when it is applied.
  CControlUI* root = Build(L"<Window><TabLayout selectedid=\"1\"><Control name=\"p0\"/><Control name=\"p1\"/>"
                           L"</TabLayout></Window>");
  ASSERT_TRUE(root);
  EXPECT_FALSE(host_.FindControl(L"p0")->IsVisible());
  EXPECT_TRUE(host_.FindControl(L"p1")->IsVisible());
  EXPECT_EQ(*root->GetCustomAttribute(L"selectedid"), L"1");
}

TEST_F(Builder, CoverControlsAndNonContainerParents) {
  CControlUI* root = Build(L"<Window><VerticalLayout><Label name=\"base\"><Button name=\"over\" cover=\"true\"/>"
                           L"</Label></VerticalLayout></Window>");
  ASSERT_TRUE(root);
  CControlUI* base = host_.FindControl(L"base");
  ASSERT_TRUE(base->GetCover());
  EXPECT_EQ(base->GetCover()->GetName(), L"over");
  host_.SetClientSize(SkinSize{100, 50});
  host_.LayoutIfNeeded();
  EXPECT_EQ(base->GetCover()->GetPos(), base->GetPos());

  // A plain control cannot hold children: that level builds nothing (and
  // frees what it made), the label itself still builds.
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> label(builder.Create(L"<Window><Label><Button/></Label></Window>", L"", nullptr, &host_));
  ASSERT_TRUE(label);
  EXPECT_EQ(label->GetClass(), L"Label");
}

TEST_F(Builder, FailuresBuildNothing) {
  for (const wchar_t* markup : {L"<Window><Button name='x'/></Window>", L"<?xml version=\"1.0\"?>", L"<Window/>"}) {
    CSkinBuilder builder;
    EXPECT_EQ(builder.Create(markup, L"", &callback_, &host_), nullptr);
  }
  CSkinBuilder builder;
  EXPECT_EQ(builder.Create(L"<Window><Button name='x'/></Window>", L"", &callback_, &host_), nullptr);
  EXPECT_EQ(builder.GetLastErrorMessage(), L"Expected attribute value");
}

TEST_F(Builder, WithoutAParentOnlyTheFirstTopLevelControlIsReturned) {
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> first(
      builder.Create(L"<Window><Label name=\"one\"/><Label name=\"two\"/></Window>", L"", nullptr, nullptr));
  ASSERT_TRUE(first);
  EXPECT_EQ(first->GetName(), L"one");  // "two" is freed, not leaked
}

TEST_F(Builder, IncludeBuildsAnotherFileIntoTheCurrentParent) {
  SkinTest::TempDir dir;
  SkinTest::WriteFile(dir.Path() / "row.xml", "<Window><Button name=\"inc\"/></Window>");
  SkinTest::WriteFile(dir.Path() / "self.xml",
                      "<Window><Include source=\"self.xml\"/><Control name=\"again\"/></Window>");
  CSkinResources::Reset();
  CSkinResources::SetResourceDirectory(dir.WidePath());

  CControlUI* root = Build(L"<Window><HorizontalLayout><Include source=\"row.xml\" count=\"3\"/>"
                           L"<Include source=\"missing.xml\" count=\"1000000\"/><Control/></HorizontalLayout></Window>");
  ASSERT_TRUE(root);
  EXPECT_EQ(static_cast<IContainerUI*>(root->GetInterface(L"IContainer"))->GetCount(), 4);

  // A file that includes itself stops at the nesting limit instead of recursing forever.
  CControlUI* looped = Build(L"<Window><VerticalLayout><Include source=\"self.xml\"/></VerticalLayout></Window>");
  ASSERT_TRUE(looped);
  EXPECT_EQ(static_cast<IContainerUI*>(looped->GetInterface(L"IContainer"))->GetCount(), 16);
  CSkinResources::Reset();
}

TEST_F(Builder, ElementFromAModuleResourceById) {
  static const char kMarkup[] = "<Window size=\"10,20\"><Label name=\"fromres\"/></Window>";
  Platform::RegisterModuleResource(L"xml", 4242, reinterpret_cast<const uint8_t*>(kMarkup), sizeof kMarkup - 1);
  CSkinBuilder builder;
  CControlUI* root = builder.Create(L"4242", L"xml", nullptr, &host_);
  ASSERT_TRUE(root);
  host_.AttachDialog(root);
  EXPECT_EQ(host_.GetInitSize().cy, 20);
  EXPECT_EQ(root->GetName(), L"fromres");
  Platform::UnregisterModuleResource(L"xml", 4242);
}

}  // namespace
}  // namespace SkinUI
