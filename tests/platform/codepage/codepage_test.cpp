#include <gtest/gtest.h>

#include "codepage.h"

using namespace codepage;

TEST(Codepage, WidensEveryByteAndNarrowsItBack) {
  for (int b = 0; b < 256; ++b) {
    char16_t w = WidenChar(static_cast<unsigned char>(b));
    EXPECT_EQ(static_cast<unsigned char>(NarrowChar(w)), b) << "byte " << b;
  }
}

TEST(Codepage, HighRangeFollowsWindows1252) {
  EXPECT_EQ(WidenChar(0x80), u'\u20AC');
  EXPECT_EQ(WidenChar(0x9F), u'\u0178');
  EXPECT_EQ(WidenChar(0x96), u'\u2013');
  // The five undefined bytes keep their own value.
  for (unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(WidenChar(b), char16_t(b));
  EXPECT_EQ(WidenChar(0xE9), u'\u00E9');
}

TEST(Codepage, UnrepresentableCharactersNarrowToQuestionMark) {
  EXPECT_EQ(Narrow(u"a\u0D9Ab"), "a?b");           // Sinhala letter
  EXPECT_EQ(Narrow(u"\U0001F600"), "??");           // one byte per code unit
  EXPECT_EQ(Narrow(u"\u0080"), "?");                // C1 control not in the code page
  EXPECT_EQ(Narrow(u"\u20AC"), "\x80");
  EXPECT_EQ(Widen(Narrow(u"x\u00FFy")), u"x\u00FFy");
}

TEST(Codepage, Utf8RoundTripAndInvalidInput) {
  std::u16string s = u"ka \u0D9A\u0DCF \U0001F600";
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(s)), s);
  EXPECT_EQ(Utf8ToUtf16("a\xC3"), u"a\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xE0\x80\x80z"), u"\uFFFD\uFFFD\uFFFDz");  // overlong
  EXPECT_EQ(Utf8ToUtf16("\xFF"), u"\uFFFD");
  EXPECT_EQ(AnsiToUtf8("caf\xE9"), "caf\xC3\xA9");
}
