#include "initext.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// A file as another program (or a person) left it.
const std::string kOther =
    "; written by hand\r\n"
    "[Params]\r\n"
    "Recent=C:\\Users\\me\\rec.txt;D:\\b.txt\r\n"
    "a line without an equals sign\r\n"
    "# another comment\r\n"
    "zeta = last , first\r\n"
    "alpha=\xe9t\xe9\r\n"
    "\r\n"
    "[bounds]\r\n"
    "tleft=5\r\n"
    "[broken\r\n"
    "trailing comment without a break";

TEST(IniText, WritingKeepsEveryOtherLineByteForByte) {
  TIniText ini(kOther);
  EXPECT_EQ(ini.Bytes(), kOther);
  // Names without regard to case; the whole value, spaces around it aside.
  EXPECT_EQ(ini.Value("params", "RECENT"), "C:\\Users\\me\\rec.txt;D:\\b.txt");
  EXPECT_EQ(ini.Value("PARAMS", "zeta"), "last , first");
  EXPECT_EQ(ini.Value("params", "alpha"), "\xe9t\xe9");
  EXPECT_FALSE(ini.Value("params", "a line without an equals sign"));
  EXPECT_TRUE(ini.SectionExists("Bounds"));
  EXPECT_FALSE(ini.SectionExists("broken"));

  ini.SetValue("PARAMS", "ZETA", "new");
  ini.SetValue("params", "font_map", "My map");
  ini.SetValue("Bounds", "ttop", "7");
  ini.SetValue("new section", "k", "a\r\nb");
  EXPECT_EQ(ini.Bytes(),
            "; written by hand\r\n"
            "[Params]\r\n"
            "Recent=C:\\Users\\me\\rec.txt;D:\\b.txt\r\n"
            "a line without an equals sign\r\n"
            "# another comment\r\n"
            "zeta =new\r\n"
            "alpha=\xe9t\xe9\r\n"
            "font_map=My map\r\n"
            "\r\n"
            "[bounds]\r\n"
            "tleft=5\r\n"
            "ttop=7\r\n"
            "[broken\r\n"
            "trailing comment without a break\r\n"
            "[new section]\r\n"
            "k=a  b\r\n");
  EXPECT_EQ(ini.Value("params", "zeta"), "new");
  EXPECT_EQ(ini.Value("new section", "k"), "a  b");
}

TEST(IniText, EmptyHeaderAndRepeatedKeys) {
  // "[]" is the section of keys before any header; the first of equal keys counts.
  TIniText ini("top=1\n[]\nx=2\n[s]\nk=1\nK=2\n");
  EXPECT_EQ(ini.Value("", "top"), "1");
  EXPECT_EQ(ini.Value("", "x"), "2");
  EXPECT_EQ(ini.Value("s", "k"), "1");
  ini.SetValue("s", "k", "3");
  ini.SetValue("", "x", "4");
  EXPECT_EQ(ini.Bytes(), "top=1\n[]\nx=4\n[s]\nk=3\nK=2\n");
}

// Any text with any writes: what was written reads back, and writing the
// same values again changes nothing.
TEST(IniText, WrittenValuesReadBack) {
  std::mt19937 rng(7);
  const std::string pieces[] = {"[", "]", "=", ";", "#", " ", "\t", "\r", "\n", "\r\n", "a", "B", "s", "k", "\xe9", std::string(1, '\0')};
  const std::string names[] = {"", "s", "S", "k", "K", "a b", "\xe9"};
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    for (int i = std::uniform_int_distribution<int>(0, 30)(rng); i > 0; --i)
      text += pieces[std::uniform_int_distribution<std::size_t>(0, std::size(pieces) - 1)(rng)];
    TIniText ini(text);
    const std::string section = names[std::uniform_int_distribution<std::size_t>(0, std::size(names) - 1)(rng)];
    const std::string key = names[1 + std::uniform_int_distribution<std::size_t>(0, std::size(names) - 2)(rng)];
    const std::string value = "v" + std::to_string(round);
    ini.SetValue(section, key, value);
    ASSERT_EQ(ini.Value(section, key), value) << "text: " << testing::PrintToString(text);
    const std::string once = ini.Bytes();
    ini.SetValue(section, key, value);
    ASSERT_EQ(ini.Bytes(), once);
    ASSERT_EQ(TIniText(once).Value(section, key), value);
  }
}

}  // namespace
