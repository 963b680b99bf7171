#include "utils/argument_map.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(ArgumentMap, TokensBecomeKeysAndValues) {
  Utils::ArgumentMap args;
  args.Parse(L"setup.exe -language=zh-CN -insnew -a=1 -a=2 -x==y plain=text \"-q=a b\"");
  EXPECT_TRUE(args.Has(L"setup.exe"));
  EXPECT_EQ(args.GetString(L"setup.exe"), L"");
  EXPECT_EQ(args.GetString(L"-language"), L"zh-CN");
  EXPECT_TRUE(args.Has(L"-insnew"));
  EXPECT_EQ(args.GetString(L"-insnew"), L"");
  EXPECT_EQ(args.GetString(L"-a"), L"1");  // the first occurrence wins
  EXPECT_EQ(args.GetString(L"-x"), L"=y");
  EXPECT_TRUE(args.Has(L"plain=text"));  // no leading '-': never split
  EXPECT_EQ(args.GetString(L"-q"), L"a b");
  EXPECT_FALSE(args.Has(L"-Language"));  // case-sensitive
  EXPECT_EQ(args.GetString(L"-missing"), L"");
}

TEST(ArgumentMap, GettersReadNumbersAndBooleans) {
  Utils::ArgumentMap args;
  args.ParseTokens({L"p", L"-i1=12abc", L"-i2=abc", L"-i3=99999999999", L"-i4= -42", L"-b1=true", L"-b2=True",
                    L"-b3", L"-d1=0.25x", L"-d2=abc", L"-d3=1e999", L"-d4="});
  const struct {
    const wchar_t* key;
    int expected;
  } ints[] = {{L"-i1", 12}, {L"-i2", 0}, {L"-i3", 0}, {L"-i4", -42}, {L"-none", 0}};
  for (const auto& c : ints) EXPECT_EQ(args.GetInt(c.key), c.expected) << c.key;
  EXPECT_TRUE(args.GetBool(L"-b1"));
  EXPECT_FALSE(args.GetBool(L"-b2"));
  EXPECT_FALSE(args.GetBool(L"-b3"));
  EXPECT_FALSE(args.GetBool(L"-none"));
  EXPECT_DOUBLE_EQ(args.GetDouble(L"-d1", 9.0), 0.25);
  EXPECT_DOUBLE_EQ(args.GetDouble(L"-d2", 9.0), 9.0);
  EXPECT_DOUBLE_EQ(args.GetDouble(L"-d3", 9.0), 9.0);
  EXPECT_DOUBLE_EQ(args.GetDouble(L"-d4", 9.0), 9.0);
  EXPECT_DOUBLE_EQ(args.GetDouble(L"-none", 9.0), 9.0);
}

}  // namespace
