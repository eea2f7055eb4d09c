#include <gtest/gtest.h>

#include "VarunelComms.h"

TEST(TextHelpers, PosIndexW) {
  EXPECT_EQ(PosIndexW(u"abab", u"b"), 1);
  EXPECT_EQ(PosIndexW(u"abc", u""), -1);
  EXPECT_EQ(PosIndexW(u"", u"a"), -1);
  EXPECT_EQ(PosIndexW(u"abc", u"d"), -1);
  EXPECT_EQ(PosIndexW(u"abC", u"c"), -1);
}

TEST(TextHelpers, ReplaceFirstW) {
  EXPECT_EQ(ReplaceFirstW(u"abab", u"b", u"x"), u"axab");
  EXPECT_EQ(ReplaceFirstW(u"abab", u"z", u"x"), u"abab");
  EXPECT_EQ(ReplaceFirstW(u"abab", u"", u"x"), u"abab");
  EXPECT_EQ(ReplaceFirstW(u"abab", u"a", u""), u"bab");
  EXPECT_EQ(ReplaceFirstW(u"k%", u"%", u"\u0D9A"), u"k\u0D9A");
}

TEST(TextHelpers, IsValidMapName) {
  for (char c : std::string("\\/:*?\"<>|`")) {
    EXPECT_FALSE(IsValidMapName(std::string("a") + c + "b")) << c;
    EXPECT_FALSE(IsValidMapName(std::string(1, c))) << c;
  }
  EXPECT_TRUE(IsValidMapName("My map 2.0 & more"));
  EXPECT_TRUE(IsValidMapName(""));
}

TEST(TextHelpers, GetMapName) {
  EXPECT_EQ(TCharCollection::GetMapName(u"C:\\prog\\maps\\Ka.fmp"), u"Ka");
  EXPECT_EQ(TCharCollection::GetMapName(u"a.FMP"), u"a.FMP");
  EXPECT_EQ(TCharCollection::GetMapName(u"a.fmp.fmp"), u"a.fmp");
  EXPECT_EQ(TCharCollection::GetMapName(u"a.fmp.lot"), u"a");
  EXPECT_EQ(TCharCollection::GetMapName(u"C:a.fmp"), u"a");
  EXPECT_EQ(TCharCollection::GetMapName(u"/usr/share/x/Sinhala.lot"), u"Sinhala");
  EXPECT_EQ(TCharCollection::GetMapName(u"plain"), u"plain");
}

TEST(Model, AssignCopiesOnlyKeyAndFontCodes) {
  TCharCollection c;
  TCharItem& src = c.Add();
  src.CharInEnglish = u"ka";
  src.CharInFont = u"k";
  src.Data = u"src";
  TCharItem& dst = c.Add();
  dst.Data = u"keep";
  dst.IsBiggerChars = true;
  dst.Combinations().Add().CharInEnglish = u"kaa";
  dst.Assign(src);
  EXPECT_EQ(dst.CharInEnglish, u"ka");
  EXPECT_EQ(dst.CharInFont, u"k");
  EXPECT_EQ(dst.Data, u"keep");
  EXPECT_TRUE(dst.IsBiggerChars);
  ASSERT_EQ(dst.Combinations().Count(), 1);
  EXPECT_EQ(dst.Combinations().Items(0).CharInEnglish, u"kaa");
}

TEST(Model, NewCollectionIsEmptyAndItemsKeepTheirOwner) {
  TCharCollection c;
  EXPECT_EQ(c.Count(), 0);
  EXPECT_TRUE(c.FileName().empty());
  EXPECT_TRUE(c.FontName.empty());
  EXPECT_TRUE(c.MapLayout.empty());
  EXPECT_FALSE(c.HasLookupLists());
  for (int n = 0; n <= 7; ++n) EXPECT_EQ(c.LenIndex(n), nullptr);
  TCharItem& a = c.Add();
  EXPECT_EQ(a.Collection(), &c);
  EXPECT_EQ(a.Combinations().Count(), 0);
  EXPECT_FALSE(a.IsBiggerChars);
  c.Insert(0);
  c.Items(0).CharInEnglish = u"first";
  EXPECT_EQ(c.Count(), 2);
  EXPECT_EQ(&c.Items(1), &a);
  c.Delete(0);
  c.Delete(5);  // out of range: nothing
  EXPECT_EQ(c.Count(), 1);
  EXPECT_EQ(&c.Items(0), &a);
}
