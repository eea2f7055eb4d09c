// The hash-indexed conversions must give exactly what the ordered scans of
// the lookup lists give, on maps full of collisions.
#include <gtest/gtest.h>

#include <random>

#include "map_helpers.h"

using namespace maptest;

namespace {

// Small alphabets so that keys and codes collide; "?" and U+03A9 meet the
// code page's substitute, U+0D9A lies outside the code page.
constexpr char16_t kKeyChars[] = u"kah&\u00E9?\u03A9";
constexpr char16_t kFontChars[] = u"XYZ&=\u0D9A\u00E9?";
constexpr char16_t kTextExtra[] = u" \r\nz";

class Gen {
 public:
  explicit Gen(unsigned seed) : rng_(seed) {}
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  template <std::size_t N>
  std::u16string Str(const char16_t (&chars)[N], int len) {
    std::u16string s;
    for (int i = 0; i < len; ++i) s += chars[Int(0, static_cast<int>(N) - 2)];
    return s;
  }
  // Up to 40 characters of `chars`, one in six a space or a line break.
  template <std::size_t N>
  std::u16string Text(const char16_t (&chars)[N]) {
    std::u16string s;
    for (int n = Int(0, 40); n > 0; --n)
      s += Int(0, 5) == 0 ? kTextExtra[Int(0, 3)] : chars[Int(0, static_cast<int>(N) - 2)];
    return s;
  }
  std::u16string Key() { return Str(kKeyChars, Int(0, 12) == 0 ? 0 : Int(1, 8)); }
  std::u16string Font() { return Str(kFontChars, Int(0, 7)); }

  std::string MapBytes() {
    std::vector<std::u16string> lines{u"[font]", u"F", u"", u"[map_layout]", u"", u""};
    const int items = Int(1, 8);
    for (int i = 0; i < items; ++i) {
      lines.push_back(Key());
      lines.push_back(Font());
      lines.push_back(u"<!--");
      const int combs = Int(0, 12);
      for (int c = 0; c < combs; ++c) lines.push_back(Key() + u"=" + Font());
      lines.push_back(u"-->");
    }
    return Utf16Le(lines);
  }
  std::u16string EnglishText() { return Text(kKeyChars); }
  std::u16string FontText() { return Text(kFontChars); }

 private:
  std::mt19937 rng_;
};

struct Sample {
  std::vector<std::u16string> english, font, toFont, toEnglish;
};

// Checks index == scan on fresh texts and returns them with their results.
Sample CheckAgreement(const TCharCollection& map, Gen& gen, unsigned seed) {
  Sample s;
  for (int t = 0; t < 25; ++t) {
    s.english.push_back(gen.EnglishText());
    s.font.push_back(gen.FontText());
    s.toFont.push_back(map.EnglishToFontScan(s.english.back()));
    s.toEnglish.push_back(map.FontToEnglishScan(s.font.back()));
    EXPECT_EQ(map.EnglishToFont(s.english.back()), s.toFont.back()) << "seed " << seed;
    EXPECT_EQ(map.FontToEnglish(s.font.back()), s.toEnglish.back()) << "seed " << seed;
  }
  return s;
}

void ExpectSameResults(const TCharCollection& map, const Sample& s, unsigned seed) {
  for (std::size_t i = 0; i < s.english.size(); ++i) {
    EXPECT_EQ(map.EnglishToFont(s.english[i]), s.toFont[i]) << "seed " << seed;
    EXPECT_EQ(map.EnglishToFontScan(s.english[i]), s.toFont[i]) << "seed " << seed;
    EXPECT_EQ(map.FontToEnglish(s.font[i]), s.toEnglish[i]) << "seed " << seed;
    EXPECT_EQ(map.FontToEnglishScan(s.font[i]), s.toEnglish[i]) << "seed " << seed;
  }
}

}  // namespace

TEST(IndexProperty, IndexedConversionsEqualTheScans) {
  for (unsigned seed = 1; seed <= 200; ++seed) {
    Gen gen(seed);
    const std::string bytes = gen.MapBytes();
    TCharCollection map;
    map.LoadFromBytes(bytes, true);
    const Sample first = CheckAgreement(map, gen, seed);

    // A second indexed load of the same file gives the same results.
    map.LoadFromBytes(bytes, true);
    ExpectSameResults(map, first, seed);
    CheckAgreement(map, gen, seed);

    // An un-indexed load of another file leaves the lists and the index.
    map.LoadFromBytes(gen.MapBytes(), false);
    ExpectSameResults(map, first, seed);

    // So does a failed load.
    EXPECT_THROW(map.LoadFromBytes(Utf16Le({u"[font]", u"x"}), true), EFontMapLoadError);
    ExpectSameResults(map, first, seed);

    // An indexed load of another file replaces both.
    map.LoadFromBytes(gen.MapBytes(), true);
    CheckAgreement(map, gen, seed);
    if (HasFailure()) break;
  }
}

TEST(IndexProperty, TextsBuiltFromTheMapsOwnKeys) {
  // Random texts rarely hit long keys; these are concatenations of them.
  for (unsigned seed = 1000; seed < 1200; ++seed) {
    Gen gen(seed);
    TCharCollection map;
    map.LoadFromBytes(gen.MapBytes(), true);
    std::vector<std::u16string> keys, codes;
    for (int n = 1; n <= TCharCollection::kMaxKey; ++n)
      for (int i = 0; i < map.LenIndex(n)->Count(); ++i) {
        keys.emplace_back(map.LenIndex(n)->Items(i).CharInEnglish);
        codes.emplace_back(map.LenIndex(n)->Items(i).CharInFont);
      }
    if (keys.empty()) continue;
    for (int t = 0; t < 20; ++t) {
      std::u16string e, f;
      for (int p = gen.Int(1, 8); p > 0; --p) {
        const auto i = static_cast<std::size_t>(gen.Int(0, static_cast<int>(keys.size()) - 1));
        e += keys[i] + (gen.Int(0, 3) == 0 ? u"&" : u"");
        f += codes[i];
      }
      EXPECT_EQ(map.EnglishToFont(e), map.EnglishToFontScan(e)) << "seed " << seed;
      EXPECT_EQ(map.FontToEnglish(f), map.FontToEnglishScan(f)) << "seed " << seed;
    }
    if (HasFailure()) break;
  }
}

TEST(IndexProperty, EveryCodePageCharacterInKeys) {
  // Keys over all 255 non-NUL bytes of the code page, and a long code that
  // many longer keys share as their prefix's outcome.
  std::vector<std::u16string> lines{u"[font]", u"F", u"", u"[map_layout]", u"", u"", u"b", u"B", u"<!--"};
  lines.push_back(u"a=" + std::u16string(60, u'L'));
  for (int b = 1; b < 256; ++b) {
    const char16_t c = codepage::WidenChar(static_cast<unsigned char>(b));
    if (c == u'\r' || c == u'\n' || c == u'=') continue;
    lines.push_back(std::u16string(1, c) + u"=" + std::u16string(1, c) + u"1");
    lines.push_back(u"a" + std::u16string(1, c) + u"=");
    lines.push_back(u"a" + std::u16string(2, c) + u"=" + std::u16string(1, c) + u"3");
  }
  lines.push_back(u"-->");
  TCharCollection map;
  map.LoadFromBytes(Utf16Le(lines), true);
  std::u16string text;
  for (int b = 1; b < 256; ++b) {
    const char16_t c = codepage::WidenChar(static_cast<unsigned char>(b));
    text += std::u16string(u"a") + c + c + c + u"a" + c + u"\u0D9A" + c;
  }
  EXPECT_EQ(map.EnglishToFont(text), map.EnglishToFontScan(text));
  const std::u16string font = map.EnglishToFontScan(text);
  EXPECT_EQ(map.FontToEnglish(font), map.FontToEnglishScan(font));
}
