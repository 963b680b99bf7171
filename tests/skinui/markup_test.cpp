// The markup reader: accepted syntax, the error table with its context,
// entities and the byte encodings.
#include <gtest/gtest.h>

#include <string>

#include "skinui/skin_markup.h"

namespace SkinUI {
namespace {

struct ErrorCase {
  const wchar_t* markup;
  const wchar_t* error;
};

TEST(SkinMarkup, ReportsEachSyntaxErrorWithItsText) {
  const ErrorCase cases[] = {
      {L"x<Window/>", L"Expected start tag"},
      {L"<Window/> trailing", L"Expected start tag"},
      {L"<Window", L"Error parsing element name"},
      {L"<Window a>", L"Error while parsing attributes"},
      {L"<Window a='x'>", L"Expected attribute value"},
      {L"<Window a=", L"Expected attribute value"},
      {L"<Window a=\"x", L"Error while parsing attribute string"},
      {L"<Window a=\"1\"/ >", L"Expected start-tag closing"},
      {L"<Window><A><B>text", L"Expected end-tag start"},
      {L"<Window></window>", L"Unmatched closing tag"},
      {L"<Window></Window x>", L"Unmatched closing tag"},
      {L"<Window><A></B></Window>", L"Unmatched closing tag"},
  };
  for (const ErrorCase& c : cases) {
    CSkinMarkup markup;
    EXPECT_FALSE(markup.Load(c.markup)) << "accepted: " << std::wstring(c.markup).size();
    EXPECT_EQ(markup.GetLastErrorMessage(), c.error) << "for input index " << (&c - cases);
    EXPECT_FALSE(markup.GetRoot().IsValid());
  }
}

TEST(SkinMarkup, ErrorContextIsAtMost49CharactersOfTheMarkupAtTheFailure) {
  CSkinMarkup markup;
  const std::wstring text = L"<Window><Control a='single quotes are refused here, and this runs on and on'/></Window>";
  ASSERT_FALSE(markup.Load(text));
  const std::wstring& context = markup.GetLastErrorLocation();
  EXPECT_LE(context.size(), 49u);
  ASSERT_FALSE(context.empty());
  EXPECT_NE(text.find(context), std::wstring::npos);
  EXPECT_EQ(context.substr(0, 6), L"single");
}

TEST(SkinMarkup, DocumentsWithoutElementsLoadEmpty) {
  for (const wchar_t* text : {L"", L"   \n", L"<?xml version=\"1.0\"?>", L"<?xml version=\"1.0\"?>\n<!-- a comment -->\n"}) {
    CSkinMarkup markup;
    EXPECT_TRUE(markup.Load(text));
    EXPECT_FALSE(markup.GetRoot().IsValid());
  }
  const uint8_t bomOnly[] = {0xEF, 0xBB, 0xBF};
  CSkinMarkup markup;
  EXPECT_TRUE(markup.LoadFromMem(bomOnly, sizeof bomOnly, CSkinMarkup::kUtf8));
  EXPECT_FALSE(markup.GetRoot().IsValid());
}

TEST(SkinMarkup, BuildsTheElementTreeWithAttributesInOrder) {
  CSkinMarkup markup;
  ASSERT_TRUE(markup.Load(L"<?xml version=\"1.0\"?>\n<!-- skin -->\n<Window size=\"600,400\" caption = \"0,0,0,35\">"
                          L"<Font id=\"0\"/><VerticalLayout name=\"a\"><Control/></VerticalLayout></Window>"));
  const CSkinMarkupNode root = markup.GetRoot();
  ASSERT_TRUE(root.IsValid());
  EXPECT_EQ(root.GetName(), L"Window");
  ASSERT_EQ(root.GetAttributeCount(), 2);
  EXPECT_EQ(root.GetAttributeName(1), L"caption");
  EXPECT_EQ(root.GetAttributeValue(1), L"0,0,0,35");
  EXPECT_EQ(root.GetAttributeValue(L"size"), L"600,400");
  EXPECT_EQ(root.GetAttributeValue(L"SIZE"), L"");  // attribute names compare exactly

  const CSkinMarkupNode font = root.GetChild();
  EXPECT_EQ(font.GetName(), L"Font");
  EXPECT_FALSE(font.HasChildren());
  const CSkinMarkupNode layout = font.GetSibling();
  EXPECT_EQ(layout.GetName(), L"VerticalLayout");
  EXPECT_EQ(layout.GetChild().GetName(), L"Control");
  EXPECT_EQ(layout.GetChild().GetParent().GetName(), L"VerticalLayout");
  EXPECT_FALSE(layout.GetSibling().IsValid());

  wchar_t buffer[4];
  EXPECT_TRUE(root.GetAttributeValue(L"size", buffer, 4));
  EXPECT_EQ(std::wstring(buffer), L"600");  // cut to the buffer
  EXPECT_FALSE(root.GetAttributeValue(L"missing", buffer, 4));
}

TEST(SkinMarkup, ResolvesTheFiveEntitiesAndKeepsAnythingElse) {
  CSkinMarkup markup;
  ASSERT_TRUE(markup.Load(L"<Label a=\"a &amp; b\" b=\"&lt;&gt;&quot;&apos;\" c=\"&abc; &amp x\">  keep  &amp; </Label>"));
  const CSkinMarkupNode label = markup.GetRoot();
  EXPECT_EQ(label.GetAttributeValue(L"a"), L"a & b");
  EXPECT_EQ(label.GetAttributeValue(L"b"), L"<>\"'");
  EXPECT_EQ(label.GetAttributeValue(L"c"), L"&abc; &amp x");
  EXPECT_EQ(label.GetValue(), L"  keep  & ");
}

TEST(SkinMarkup, KeepsAtMost64AttributesOfAnElement) {
  std::wstring text = L"<Control";
  for (int i = 0; i < 70; ++i) text += L" a" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
  text += L"/>";
  CSkinMarkup markup;
  ASSERT_TRUE(markup.Load(text));
  EXPECT_EQ(markup.GetRoot().GetAttributeCount(), 64);
}

TEST(SkinMarkup, RefusesHostileNestingInsteadOfExhaustingTheStack) {
  std::wstring text;
  for (int i = 0; i < 100000; ++i) text += L"<a>";
  CSkinMarkup markup;
  EXPECT_FALSE(markup.Load(text));
  EXPECT_EQ(markup.GetLastErrorMessage(), L"Nesting too deep");
}

TEST(SkinMarkup, DecodesUtf16ByItsByteOrderMarkAndRefusesItWithoutOne) {
  const std::wstring text = L"<Label text=\"温馨提示\"/>";
  std::string little = "\xFF\xFE", big = "\xFE\xFF", bare;
  for (wchar_t c : text) {
    little += static_cast<char>(c & 0xFF);
    little += static_cast<char>(c >> 8);
    big += static_cast<char>(c >> 8);
    big += static_cast<char>(c & 0xFF);
  }
  bare = little.substr(2);
  for (const std::string& bytes : {little, big}) {
    CSkinMarkup markup;
    ASSERT_TRUE(markup.LoadFromMem(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), CSkinMarkup::kUtf16));
    EXPECT_EQ(markup.GetRoot().GetAttributeValue(L"text"), L"温馨提示");
  }
  CSkinMarkup markup;
  EXPECT_FALSE(markup.LoadFromMem(reinterpret_cast<const uint8_t*>(bare.data()), bare.size(), CSkinMarkup::kUtf16));
}

TEST(SkinMarkup, Utf8SkipsTheByteOrderMark) {
  const std::string bytes = "\xEF\xBB\xBF<Label text=\"\xE5\xAE\x89\xE8\xA3\x85\"/>";
  CSkinMarkup markup;
  ASSERT_TRUE(markup.LoadFromMem(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), CSkinMarkup::kUtf8));
  EXPECT_EQ(markup.GetRoot().GetAttributeValue(L"text"), L"安装");
}

}  // namespace
}  // namespace SkinUI
