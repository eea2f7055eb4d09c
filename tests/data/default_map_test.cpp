// The shipped default map: typing ordinary Sinhala gives the right Unicode
// text, no key hides another, and the consonant rows are exactly what the
// editor's template generation makes of the template row.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>

#include "VarunelComms.h"
#include "codepage.h"
#include "sinhala_samples.h"

namespace {

class DefaultMap : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    map_ = new TCharCollection;
    map_->LoadFromFile(VARUNEL_DEFAULT_MAP, true);
  }
  static void TearDownTestSuite() {
    delete map_;
    map_ = nullptr;
  }
  static TCharCollection* map_;
};
TCharCollection* DefaultMap::map_ = nullptr;

bool IsConsonant(const std::u16string& font) {
  return font.size() == 1 && font[0] >= u'\u0D9A' && font[0] <= u'\u0DC6';
}

TEST_F(DefaultMap, HeaderAndShapeFitTheEditorGrid) {
  EXPECT_EQ(map_->FontName, u"Noto Sans Sinhala");
  EXPECT_EQ(map_->MapLayout, "Sinhala");
  EXPECT_EQ(TCharCollection::GetMapName(codepage::Widen(map_->FileName())), u"Sinhala");
  ASSERT_GE(map_->Count(), 2);
  EXPECT_LE(map_->Count(), 110);
  for (int i = 0; i < map_->Count(); ++i) EXPECT_LE(map_->Items(i).Combinations().Count(), 39) << i;
}

TEST_F(DefaultMap, TypedWordsAndSentencesGiveUnicodeSinhala) {
  for (const SinhalaSample& s : kSinhalaSamples) {
    EXPECT_EQ(codepage::Utf16ToUtf8(map_->EnglishToFont(codepage::Widen(s.typed))),
              codepage::Utf16ToUtf8(s.expected))
        << "typed: " << s.typed;
  }
}

// Every key is short plain ASCII, no two combinations share a key (the later
// one would never be reached), every combination converts from its own key
// and is offered by the suggestion search (a capital letter's row through the
// same letter under its small key), and every font code is Sinhala.
TEST_F(DefaultMap, EveryKeyIsReachable) {
  std::map<std::u16string, std::string> owner;
  int combinations = 0;
  bool withoutBase = false;
  for (int i = 1; i < map_->Count(); ++i) {
    const TCharItem& item = map_->Items(i);
    ASSERT_FALSE(item.CharInEnglish.empty()) << i;
    // The rows that leave their base character empty (capitals, shortcuts)
    // come after all others, so that the reverse conversion prefers the
    // usual keys.
    withoutBase = withoutBase || item.CharInFont.empty();
    ASSERT_EQ(item.CharInFont.empty(), withoutBase) << i;
    const std::string itemKey = codepage::Narrow(item.CharInEnglish);
    for (int c = 0; c < item.Combinations().Count(); ++c) {
      const TCharItem& comb = item.Combinations().Items(c);
      if (comb.CharInEnglish.empty() && comb.CharInFont.empty()) continue;  // unused cell
      const std::string key = codepage::Narrow(comb.CharInEnglish);
      SCOPED_TRACE("item " + itemKey + ", key " + key);
      ++combinations;
      EXPECT_FALSE(comb.CharInFont.empty());
      EXPECT_LE(key.size(), 6u);
      for (char ch : key) EXPECT_TRUE(ch > ' ' && ch < 0x7F && ch != '&' && ch != '=');
      for (char16_t ch : comb.CharInFont)
        EXPECT_TRUE((ch >= u'\u0D80' && ch <= u'\u0DFF') || ch == u'\u200D') << int(ch);
      EXPECT_TRUE(owner.emplace(comb.CharInEnglish, itemKey).second)
          << "also under item " << owner[comb.CharInEnglish];
      EXPECT_EQ(map_->EnglishToFont(comb.CharInEnglish), comb.CharInFont);

      std::unique_ptr<TCharCollection> found;
      map_->FindCombinations(key, found, false);
      bool offered = false;
      for (int f = 0; f < found->Count(); ++f)
        offered = offered || (found->Items(f).CharInFont == comb.CharInFont &&
                              (item.CharInFont.empty() || found->Items(f).CharInEnglish == comb.CharInEnglish));
      EXPECT_TRUE(offered);
    }
  }
  EXPECT_GT(combinations, 1000);
}

// The map editor fills a row from the template row by putting the base
// character in place of the first placeholder. A consonant row must be
// exactly that, except that a generated key longer than the conversion
// reaches is left as an empty cell.
TEST_F(DefaultMap, ConsonantRowsAreTheTemplatesApplied) {
  const TCharItem& placeholder = map_->Items(0);
  const TCharCollection& templates = placeholder.Combinations();
  ASSERT_FALSE(placeholder.CharInEnglish.empty());
  ASSERT_FALSE(placeholder.CharInFont.empty());
  ASSERT_GT(templates.Count(), 30);
  int rows = 0;
  for (int i = 1; i < map_->Count(); ++i) {
    const TCharItem& base = map_->Items(i);
    if (!IsConsonant(base.CharInFont)) continue;
    ++rows;
    SCOPED_TRACE(codepage::Narrow(base.CharInEnglish));
    ASSERT_EQ(base.Combinations().Count(), templates.Count());
    for (int c = 0; c < templates.Count(); ++c) {
      const TCharItem& t = templates.Items(c);
      const TCharItem& cell = base.Combinations().Items(c);
      std::u16string key = ReplaceFirstW(t.CharInEnglish, placeholder.CharInEnglish, base.CharInEnglish);
      std::u16string font = ReplaceFirstW(t.CharInFont, placeholder.CharInFont, base.CharInFont);
      if (key.size() > 6) key.clear(), font.clear();
      EXPECT_EQ(cell.CharInEnglish, key) << "column " << c + 1;
      EXPECT_EQ(cell.CharInFont, font) << "column " << c + 1;
    }
  }
  EXPECT_EQ(rows, 42);  // 41 consonants and w beside v
}

// A capital letter that types nothing of its own types what its small letter
// does (a capitalised first word), every key that meant something keeps its
// meaning, and the reverse conversion gives the small letters back.
TEST_F(DefaultMap, CapitalsWithoutASoundTypeAsTheirSmallLetters) {
  for (const auto& [typed, expected] : std::map<std::string, std::u16string>{
           {"Mama gedhara yanavaa.", u"මම ගෙදර යනවා."},
           {"Oba kohomadha?", u"ඔබ කොහොමද?"},
           {"Amma", u"අම්ම"},
           {"Eyaa", u"එයා"},
           {"Ira", u"ඉර"},
           {"Uda", u"උඩ"},
           {"Vathura", u"වතුර"},
           {"Wathura", u"වතුර"},
           {"Yaaluvaa", u"යාලුවා"},
           {"Fonayak", u"ෆොනයක්"},
           {"Suba", u"සුබ"},
           {"Zdhaha", u"ඳහ"},
           // Capitals with letters of their own keep them.
           {"Kama Thatu Dhana Shaanthi Laxkaava Ruupa", u"ඛම ථටු ධන ෂාන්ති ළංකාව ඎප"}}) {
    EXPECT_EQ(codepage::Utf16ToUtf8(map_->EnglishToFont(codepage::Widen(typed))), codepage::Utf16ToUtf8(expected))
        << typed;
  }
  // Every key of a small letter among them, capitalised, types the same;
  // converted back it gives the small key's text.
  int capitalised = 0;
  for (int i = 1; i < map_->Count(); ++i) {
    const TCharItem& item = map_->Items(i);
    const std::string itemKey = codepage::Narrow(item.CharInEnglish);
    if (item.CharInFont.empty() || std::string("aeioumyvwfsz").find(itemKey[0]) == std::string::npos) continue;
    for (int c = 0; c < item.Combinations().Count(); ++c) {
      std::u16string key = item.Combinations().Items(c).CharInEnglish;
      if (key.empty()) continue;
      const std::u16string font = map_->EnglishToFont(key);
      key[0] = static_cast<char16_t>(key[0] - u'a' + u'A');
      if (key.rfind(u"Sh", 0) == 0) continue;  // ෂ, a letter of its own
      ++capitalised;
      EXPECT_EQ(map_->EnglishToFont(key), font) << codepage::Narrow(key);
      EXPECT_EQ(map_->EnglishToFont(map_->FontToEnglish(font)), font) << codepage::Narrow(key);
      EXPECT_FALSE(map_->FontToEnglish(font).empty());
      EXPECT_TRUE(map_->FontToEnglish(font)[0] >= u'a') << codepage::Narrow(key);
    }
  }
  EXPECT_GT(capitalised, 400);
}

// Shortcuts: a capital A I U E O after a consonant key types its long vowel,
// also after yansaya and rakaransaya (kA = kaa, kyA = kyaa, krA = kraa); R
// before a vowel types the plain ra (Ri = ri) but Ru and Ruu keep their
// letters; H types as h before every key of the h row but the hal. Each
// types what its usual key types, and the reverse conversion keeps writing
// the usual key.
TEST_F(DefaultMap, ShortcutsTypeWhatTheirUsualKeysType) {
  std::map<std::u16string, std::u16string> usual;  // shortcut -> its usual key
  for (int i = 1; i < map_->Count(); ++i) {
    const std::u16string& c = map_->Items(i).CharInEnglish;
    const std::u16string hal = map_->EnglishToFont(c);
    if (hal.size() != 2 || hal[1] != u'\u0DCA' || !IsConsonant(hal.substr(0, 1))) continue;
    for (const std::u16string middle : {u"", u"y", u"r"})
      for (const auto& [capital, vowel] : {std::pair(u"A", u"aa"), std::pair(u"I", u"ii"), std::pair(u"U", u"uu"),
                                           std::pair(u"E", u"ee"), std::pair(u"O", u"oo")})
        usual[c + middle + capital] = c + middle + vowel;
  }
  for (const std::u16string vowel : {u"a", u"aa", u"ae", u"aae", u"i", u"ii", u"e", u"ee", u"o", u"oo", u"ai", u"au"})
    usual[u"R" + vowel] = u"r" + vowel;
  std::set<std::u16string> keys;
  for (int i = 1; i < map_->Count(); ++i) {
    const TCharCollection& combs = map_->Items(i).Combinations();
    for (int c = 0; c < combs.Count(); ++c) {
      const std::u16string& key = combs.Items(c).CharInEnglish;
      keys.insert(key);
      if (map_->Items(i).CharInEnglish == u"h" && key != u"h") usual[u"H" + key.substr(1)] = key;
    }
  }
  EXPECT_EQ(usual.size(), 53u * 15 + 12 + 38);  // 53 consonant keys, capitals among them

  for (const auto& [shortcut, key] : usual) {
    SCOPED_TRACE(codepage::Narrow(shortcut) + " for " + codepage::Narrow(key));
    ASSERT_TRUE(keys.count(key));
    const std::u16string font = map_->EnglishToFont(key);
    EXPECT_EQ(map_->EnglishToFont(shortcut), font);
    EXPECT_NE(map_->FontToEnglish(font), shortcut);
  }

  for (const auto& [typed, expected] : std::map<std::string, std::u16string>{
           {"pAsala vidhyAlaya shrI", u"පාසල විද්\u200Dයාලය ශ්\u200Dරී"},
           {"kImadha mUNa dhEshaya kOpaya", u"කීමද මූණ දේශය කෝපය"},
           {"Ruupa RuShi DhaRmaya", u"ඎප ඍෂි ධර්\u200Dමය"},
           {"dhumRiya aegRi", u"දුම්රිය ඇග්රි"},
           {"H dhasHi Hari", u"ඃ දස්හි හරි"},
           // A hal before a capital vowel letter, or R and H as repaya and
           // visarga before a vowel, keep apart with "&".
           {"ath&Akurin athAkurin", u"අත්අකුරින් අතාකුරින්"},
           {"anthaH&raajya", u"අන්තඃරාජ්\u200Dය"}}) {
    EXPECT_EQ(codepage::Utf16ToUtf8(map_->EnglishToFont(codepage::Widen(typed))), codepage::Utf16ToUtf8(expected))
        << typed;
  }
}

// The template row is never reached by typing: its keys hold a character the
// 8-bit typing pane cannot produce.
TEST_F(DefaultMap, TemplateRowCannotBeTyped) {
  const TCharItem& placeholder = map_->Items(0);
  EXPECT_NE(codepage::Widen(codepage::Narrow(placeholder.CharInEnglish)), placeholder.CharInEnglish);
  for (int c = 0; c < placeholder.Combinations().Count(); ++c) {
    const std::u16string& key = placeholder.Combinations().Items(c).CharInEnglish;
    EXPECT_NE(key.find(placeholder.CharInEnglish), std::u16string::npos) << c;
  }
  EXPECT_EQ(map_->EnglishToFont(u"#?~%"), u"#?~%");
}

}  // namespace
