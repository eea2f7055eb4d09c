#include <gtest/gtest.h>

#include "map_helpers.h"

using namespace maptest;

namespace {

// Both forward conversions, which must agree.
std::u16string Fwd(const TCharCollection& m, std::u16string_view text) {
  std::u16string indexed = m.EnglishToFont(text);
  EXPECT_EQ(indexed, m.EnglishToFontScan(text)) << "forward index and scan differ";
  return indexed;
}

std::u16string Rev(const TCharCollection& m, std::u16string_view text) {
  std::u16string indexed = m.FontToEnglish(text);
  EXPECT_EQ(indexed, m.FontToEnglishScan(text)) << "reverse index and scan differ";
  return indexed;
}

class Conversion : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadBody(map, {u"%", u"%", u"<!--", u"%a=T", u"ka=TEMPLATE", u"-->",
                   u"k", u"K", u"<!--", u"k=K", u"ka=KA", u"kaa=KAA", u"kaaaaaa=7", u"kh=", u"n&=N", u"-->",
                   u"a", u"A", u"<!--", u"a=A", u"q=", u"-->",
                   u"g", u"G", u"<!--", u"ga=X", u"gaa=X", u"gi=Y", u"go=Y", u"\u00E9=E", u"?=Q", u"-->"});
  }
  TCharCollection map;
};

}  // namespace

TEST_F(Conversion, EmptyAndSeparatorOnlyTexts) {
  EXPECT_EQ(Fwd(map, u""), u"");
  EXPECT_EQ(Rev(map, u""), u"");
  EXPECT_EQ(Fwd(map, u"&"), u"");
  EXPECT_EQ(Fwd(map, u"&&&&&&&&"), u"");
}

TEST_F(Conversion, GreedyMatchingAndSeparators) {
  // The template row comes first in file order, so its "ka" wins.
  EXPECT_EQ(Fwd(map, u"ka"), u"TEMPLATE");
  EXPECT_EQ(Fwd(map, u"k&a"), u"KA");
  EXPECT_EQ(Fwd(map, u"kaa"), u"KAA");
  EXPECT_EQ(Fwd(map, u"kaa&a"), u"KAAA");
  EXPECT_EQ(Fwd(map, u"&&k&&&a&"), u"KA");
  // A key ending in "&" consumes only its own characters.
  EXPECT_EQ(Fwd(map, u"n&a"), u"NA");
  EXPECT_EQ(Fwd(map, u"n&ka"), u"NTEMPLATE");
  EXPECT_EQ(Fwd(map, u"n&&a"), u"NA");
  // Seven-character keys are never matched: their pieces are converted.
  EXPECT_EQ(Fwd(map, u"kaaaaaa"), u"KAA" u"AAAA");
  // Upper case is another key.
  EXPECT_EQ(Fwd(map, u"KA"), u"KA");
  EXPECT_EQ(Fwd(map, u"Ka"), u"KA");
}

TEST_F(Conversion, EmptyFontCodes) {
  EXPECT_EQ(Fwd(map, u"q"), u"");        // a one-character key with no code vanishes
  EXPECT_EQ(Fwd(map, u"aqa"), u"AA");
  EXPECT_EQ(Fwd(map, u"kh"), u"Kh");     // a longer key without codes counts as absent
  EXPECT_EQ(Fwd(map, u"khaa"), u"KhAA");
}

TEST_F(Conversion, UnmappedCharactersAndLineBreaksPassThrough) {
  EXPECT_EQ(Fwd(map, u"ka 12,\r\nkaa.\r\n\r\nx"), u"TEMPLATE 12,\r\nKAA.\r\n\r\nx");
  EXPECT_EQ(Fwd(map, u"\u00E9"), u"E");   // keys are matched in 8-bit form
  // A character outside the code page becomes the substitute and matches "?".
  EXPECT_EQ(Fwd(map, u"\u0D9A"), u"Q");
  TCharCollection noQuestion;
  LoadBody(noQuestion, {u"k", u"K", u"<!--", u"k=K", u"-->"});
  EXPECT_EQ(Fwd(noQuestion, u"\u0D9Ak\u20AC"), u"?K\u20AC");
}

TEST_F(Conversion, ReverseConversion) {
  EXPECT_EQ(Rev(map, u"KAA"), u"kaa");
  EXPECT_EQ(Rev(map, u"KAAA"), u"kaaa");
  EXPECT_EQ(Rev(map, u"X"), u"gaa");         // the longer key wins for one code
  EXPECT_EQ(Rev(map, u"Y"), u"gi");          // keys of one length: file order
  EXPECT_EQ(Rev(map, u"T"), u"%a");
  EXPECT_EQ(Rev(map, u"7"), u"7");   // the 7-char key is indexed nowhere
  EXPECT_EQ(Rev(map, u"Z\r\nK\u0D9A"), u"Z\r\nk\u0D9A");  // unmapped code units come back
  EXPECT_EQ(Rev(map, u"N"), u"n&");
}

TEST(ConversionUnicode, FontCodesAreComparedAsSixteenBitText) {
  TCharCollection m;
  LoadBody(m, {u"ka", u"\u0D9A", u"<!--", u"ka=\u0D9A", u"kaa=\u0D9A\u0DCF", u"-->"});
  EXPECT_EQ(Fwd(m, u"kaaka"), u"\u0D9A\u0DCF\u0D9A");
  EXPECT_EQ(Rev(m, u"\u0D9A\u0DCF\u0D9A"), u"kaaka");
}

TEST(ConversionNoLists, EveryCharacterPassesThrough) {
  TCharCollection m;
  LoadBody(m, {u"ka", u"k", u"<!--", u"ka=K", u"-->"}, false);
  ASSERT_FALSE(m.HasLookupLists());
  EXPECT_EQ(Fwd(m, u"ka&ka\r\n"), u"kaka\r\n");
  EXPECT_EQ(Rev(m, u"K k"), u"K k");
  TCharCollection empty;
  EXPECT_EQ(Fwd(empty, u"abc"), u"abc");
}

TEST(FindBy, ExactAndCaseSensitive) {
  TCharCollection m;
  LoadBody(m, {u"ka", u"k", u"<!--", u"-->", u"Ka", u"K", u"<!--", u"-->", u"ka", u"k2", u"<!--", u"-->"});
  EXPECT_EQ(m.FindByEnglish(u"ka"), &m.Items(0));
  EXPECT_EQ(m.FindByEnglish(u"Ka"), &m.Items(1));
  EXPECT_EQ(m.FindByEnglish(u"KA"), nullptr);
  EXPECT_EQ(m.FindByEnglish(u"k"), nullptr);
  EXPECT_EQ(m.FindByFont(u"k2"), &m.Items(2));
  EXPECT_EQ(m.FindByFont(u"x"), nullptr);
  TCharCollection empty;
  EXPECT_EQ(empty.FindByEnglish(u""), nullptr);
}
