#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "map_helpers.h"

using namespace maptest;
using namespace std::string_literals;

namespace {

// The whole content of a map as one text: items, their combinations.
std::u16string Dump(const TCharCollection& map) {
  std::u16string s = map.FontName + u"|" + codepage::Widen(map.MapLayout) + u"\n";
  for (int i = 0; i < map.Count(); ++i) {
    const TCharItem& it = map.Items(i);
    s += u"[" + it.CharInEnglish + u"/" + it.CharInFont + u"]";
    for (int c = 0; c < it.Combinations().Count(); ++c)
      s += u" " + it.Combinations().Items(c).CharInEnglish + u"=" + it.Combinations().Items(c).CharInFont;
    s += u"\n";
  }
  return s;
}

// The dump of a map loaded from `bytes`.
std::u16string DumpOf(const std::string& bytes, bool index = true) {
  TCharCollection map;
  map.LoadFromBytes(bytes, index);
  return Dump(map);
}

const std::vector<std::u16string> kSample = MapLines({
    u"%", u"%", u"<!--", u"%a=%\u00E9", u"-->",
    u"ka", u"k", u"<!--", u"ka=k", u"kaa=kW", u"ki=k=x", u"=", u"-->",
    u"ga", u"g", u"<!--", u"ga=g", u"-->"});

}  // namespace

TEST(MapFile, EveryEncodingLoadsTheSameContent) {
  TCharCollection ref;
  ref.LoadFromBytes(Utf16Le(kSample), true);
  ASSERT_EQ(ref.Count(), 3);
  const std::u16string want = Dump(ref);
  EXPECT_EQ(want,
            u"Font A|Lay\n[%/%] %a=%\u00E9\n[ka/k] ka=k kaa=kW ki=k=x =\n[ga/g] ga=g\n");
  for (const std::string& bytes : {Utf16Be(kSample), Utf8(kSample), Ansi(kSample)}) {
    TCharCollection m;
    m.LoadFromBytes(bytes, true);
    EXPECT_EQ(Dump(m), want);
    EXPECT_EQ(ListKeys(m, 2), ListKeys(ref, 2));
  }
  // A character the code page cannot hold survives UTF-16 and UTF-8 only.
  const auto sinhala = MapLines({u"ka", u"\u0D9A", u"<!--", u"ka=\u0D9A\u0DCF", u"-->"});
  for (const std::string& bytes : {Utf16Le(sinhala), Utf16Be(sinhala), Utf8(sinhala)}) {
    TCharCollection m;
    m.LoadFromBytes(bytes, false);
    ASSERT_EQ(m.Count(), 1);
    EXPECT_EQ(m.Items(0).Combinations().Items(0).CharInFont, u"\u0D9A\u0DCF");
  }
}

TEST(MapFile, LineEnds) {
  const std::u16string ref = DumpOf(Utf16Le(kSample));
  for (std::u16string_view eol : {u"\r", u"\n", u"\u2028", u"\r\n\u2028"})
    EXPECT_EQ(DumpOf(Utf16Le(kSample, eol)), ref) << int(eol[0]);
  // Mixed ends in one file; no line end after the last line.
  EXPECT_EQ(DumpOf(Utf16Le({u"[font]\rF\n\r\n[map_layout]\u2028L\n\nka\nk\r<!--\nka=k\r\n-->"}, u"")),
            u"F|L\n[ka/k] ka=k\n");

  // LF CR is two breaks (CR LF one): the header shifts by one line.
  TCharCollection one;
  one.LoadFromBytes("[font]\r\nF\r\n\r\n[map_layout]\r\nL\r\n", false);
  EXPECT_EQ(one.MapLayout, "L");
  TCharCollection two;
  two.LoadFromBytes("[font]\r\nF\r\n\n\r[map_layout]\r\nL\r\n", false);
  EXPECT_EQ(two.FontName, u"F");
  EXPECT_EQ(two.MapLayout, "[map_layout]");
}

TEST(MapFile, NulCutsAndOddTrailingByte) {
  std::u16string text = u"[font]\r\nF\r\n\r\n[map_layout]\r\nL\r\n\r\nka\r\nk\r\n<!--\r\nka=k\r\n";
  std::string cut = Utf16Le({text}, u"") + std::string("\0\0", 2) + Utf16Le({u"kaa=kW\r\n-->\r\n"}, u"").substr(2);
  EXPECT_EQ(DumpOf(cut), u"F|L\n[ka/k] ka=k\n");
  // 8-bit text is cut at a NUL byte too.
  EXPECT_EQ(DumpOf("[font]\nF\n\n[map_layout]\nL\n\nka\nk\n<!--\nka=k\n\0kaa=kW\n"s), u"F|L\n[ka/k] ka=k\n");

  // A lone last byte of a UTF-16 file is ignored, in either byte order.
  const std::u16string ref = DumpOf(Utf16Le(kSample));
  EXPECT_EQ(DumpOf(Utf16Le(kSample) + "x"), ref);
  EXPECT_EQ(DumpOf(Utf16Be(kSample) + "\x41"), ref);
}

TEST(MapFile, HeaderOnlyAndShortFiles) {
  TCharCollection m;
  m.LoadFromBytes(Utf16Le(MapLines({})), true);
  EXPECT_EQ(m.Count(), 0);
  EXPECT_EQ(m.FontName, u"Font A");
  EXPECT_EQ(m.MapLayout, "Lay");
  EXPECT_TRUE(m.HasLookupLists());

  TCharCollection five;
  five.LoadFromBytes(Utf16Le({u"[font]", u"F5", u"", u"[map_layout]", u""}), true);
  EXPECT_EQ(five.Count(), 0);
  EXPECT_EQ(five.FontName, u"F5");
  EXPECT_EQ(five.MapLayout, "");
  EXPECT_TRUE(five.HasLookupLists());

  for (int lines = 0; lines <= 4; ++lines) {
    std::vector<std::u16string> v{u"[font]", u"F4", u"", u"[map_layout]"};
    v.resize(static_cast<std::size_t>(lines));
    TCharCollection s;
    s.FontName = u"old";
    EXPECT_THROW(s.LoadFromBytes(Utf16Le(v), true), EFontMapLoadError) << lines;
    EXPECT_EQ(s.FontName, lines >= 2 ? u"F4" : u"old");
    EXPECT_FALSE(s.HasLookupLists());
  }
  TCharCollection e;
  try {
    e.LoadFromBytes("", false);
    FAIL();
  } catch (const EFontMapLoadError& err) {
    EXPECT_STREQ(err.what(), "Error Loading.");
  }
}

TEST(MapFile, FailedLoadState) {
  TempDir dir;
  const std::string good = dir.Write("good.fmp", Utf16Le(kSample));
  const std::string shortFile = dir.Write("short.fmp", Utf16Le({u"[font]", u"New font", u"", u"[map_layout]"}));
  TCharCollection m;
  m.LoadFromFile(good, true);
  const auto keys2 = ListKeys(m, 2);
  ASSERT_FALSE(keys2.empty());
  const std::u16string ka = m.EnglishToFont(u"kaa ka");

  EXPECT_THROW(m.LoadFromFile(shortFile, true), EFontMapLoadError);
  EXPECT_EQ(m.Count(), 0);
  EXPECT_EQ(m.FileName(), shortFile);
  EXPECT_EQ(m.FontName, u"New font");
  EXPECT_EQ(m.MapLayout, "Lay");
  EXPECT_EQ(ListKeys(m, 2), keys2);
  EXPECT_EQ(m.EnglishToFont(u"kaa ka"), ka);  // still converts with the old lists

  const std::string missing = dir.File("missing.fmp");
  EXPECT_THROW(m.LoadFromFile(missing, true), EFontMapLoadError);
  EXPECT_EQ(m.FileName(), missing);
  EXPECT_EQ(m.FontName, u"New font");
  EXPECT_EQ(ListKeys(m, 2), keys2);

  // A folder is not a map.
  EXPECT_THROW(m.LoadFromFile(dir.File(""), false), EFontMapLoadError);
  EXPECT_EQ(m.Count(), 0);
}

TEST(MapFile, NamesDifferingOnlyInCaseFindTheFile) {
  TempDir dir;
  dir.Write("Mixed.FMP", Utf16Le(kSample));
  TCharCollection m;
  const std::string asked = dir.File("mixed.fmp");
  m.LoadFromFile(asked, true);
  EXPECT_GT(m.Count(), 0);
  EXPECT_EQ(m.FileName(), asked);  // the name asked for, not the one on disk
  EXPECT_THROW(m.LoadFromFile(dir.File("mixe.fmp"), true), EFontMapLoadError);
}

TEST(MapFile, BodyRules) {
  TCharCollection m;
  LoadBody(m, {u"-->", u"x=y", u"ka", u"k", u"<!--", u"ka=k=x", u"=", u"kaaaaaa=long", u"stray", u"-->",
               u"after=close", u"ga", u"g", u"<!--", u"ga=g", u"gi", u"gI", u"<!--", u"gi=gI"});
  // "-->" and "=" outside blocks are ignored; a missing "-->" just starts the next item.
  EXPECT_EQ(Dump(m), u"Font A|Lay\n[ka/k] ka=k=x = kaaaaaa=long\n[ga/g] ga=g\n[gi/gI] gi=gI\n");
  EXPECT_EQ(ListKeys(m, 2), (std::vector<std::u16string>{u"ka", u"ga", u"gi"}));
  for (int n = 1; n <= 6; ++n) {
    if (n != 2) {
      EXPECT_TRUE(ListKeys(m, n).empty()) << n;  // "=" and the 7-char key nowhere
    }
  }
  EXPECT_EQ(m.LenIndex(2)->Items(0).CharInFont, u"k=x");

  // "<!--" as line 6 takes the layout name and the empty line as its key pair.
  TCharCollection early;
  early.LoadFromBytes(Utf16Le({u"[font]", u"F", u"", u"[map_layout]", u"Lay", u"", u"<!--", u"a=b", u"-->"}), true);
  ASSERT_EQ(early.Count(), 1);
  EXPECT_EQ(early.Items(0).CharInEnglish, u"Lay");
  EXPECT_EQ(early.Items(0).CharInFont, u"");
  EXPECT_EQ(ListKeys(early, 1), (std::vector<std::u16string>{u"a"}));
}

TEST(MapFile, IndexedLoadsReplaceAndUnindexedLoadsKeepTheLists) {
  TCharCollection m;
  m.LoadFromBytes(Utf16Le(kSample), true);
  m.LoadFromBytes(Utf16Le(kSample), true);
  EXPECT_EQ(ListKeys(m, 2), (std::vector<std::u16string>{u"%a", u"ka", u"ki", u"ga"}));
  EXPECT_EQ(ListKeys(m, 3), (std::vector<std::u16string>{u"kaa"}));
  // The lists are copies: clearing the items leaves them.
  m.Clear();
  EXPECT_EQ(ListKeys(m, 3), (std::vector<std::u16string>{u"kaa"}));

  TCharCollection plain;
  plain.LoadFromBytes(Utf16Le(kSample), false);
  EXPECT_FALSE(plain.HasLookupLists());
  m.LoadFromBytes(Utf16Le(MapLines({u"x", u"y", u"<!--", u"xy=z", u"-->"})), false);
  EXPECT_EQ(m.Count(), 1);
  EXPECT_EQ(ListKeys(m, 2), (std::vector<std::u16string>{u"%a", u"ka", u"ki", u"ga"}));
  EXPECT_EQ(m.EnglishToFont(u"xy kaa"), u"xy kW");
  m.LoadFromBytes(Utf16Le(MapLines({u"x", u"y", u"<!--", u"xy=z", u"-->"})), true);
  EXPECT_EQ(ListKeys(m, 3), std::vector<std::u16string>{});
  EXPECT_EQ(m.EnglishToFont(u"xy kaa"), u"z kaa");
}

TEST(MapFile, SaveLoadRoundTripIsByteExact) {
  TempDir dir;
  TCharCollection m;
  m.FontName = u"FM Abhaya \u0D85";
  m.MapLayout = "Std\xE9";
  TCharItem& t = m.Add();
  t.CharInEnglish = u"%";
  t.CharInFont = u"%";
  t.Combinations().Add();  // the empty combination "="
  TCharItem& k = m.Add();
  k.CharInEnglish = u"ka";
  k.CharInFont = u"\u0D9A";
  TCharItem& c = k.Combinations().Add();
  c.CharInEnglish = u"kaa";
  c.CharInFont = u"\u0D9A\u0DCF=";
  m.Add();  // an empty item

  const std::string path = dir.File("round.fmp");
  m.SaveToFile(path);
  EXPECT_TRUE(m.FileName().empty());  // saving does not rename the map
  const std::string expected = Utf16Le(MapLines({u"%", u"%", u"<!--", u"=", u"-->", u"ka", u"\u0D9A", u"<!--",
                                                 u"kaa=\u0D9A\u0DCF=", u"-->", u"", u"", u"<!--", u"-->"},
                                                u"FM Abhaya \u0D85", u"Std\u00E9"));
  EXPECT_EQ(ReadBytes(path), expected);

  TCharCollection back;
  back.LoadFromFile(path, true);
  EXPECT_EQ(back.FileName(), path);
  EXPECT_EQ(Dump(back), Dump(m));
  EXPECT_EQ(back.SaveToBytes(), expected);
  EXPECT_EQ(ListKeys(back, 3), std::vector<std::u16string>{u"kaa"});

  TCharCollection empty;
  empty.SaveToFile(dir.File("empty.fmp"));
  TCharCollection e2;
  e2.LoadFromFile(dir.File("empty.fmp"), true);
  EXPECT_EQ(e2.Count(), 0);
  EXPECT_EQ(e2.SaveToBytes(), empty.SaveToBytes());

  EXPECT_THROW(m.SaveToFile(dir.File("no/such/folder/x.fmp")), EFontMapSaveError);
  EXPECT_FALSE(std::filesystem::exists(dir.File("no")));
}

TEST(MapFile, ASaveThatFailsMidwayKeepsTheOldMap) {
  TempDir dir;
  TCharCollection m;
  m.LoadFromBytes(Utf16Le(kSample), false);
  const std::string path = dir.File("kept.fmp");
  m.SaveToFile(path);
  const std::string old = ReadBytes(path);
  for (int i = 0; i < 2000; ++i) m.Items(1).Combinations().Add().CharInEnglish = u"kaaaa";

  // Files may grow to 1 KB only: the write stops part way, as on a full disk.
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1024;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_THROW(m.SaveToFile(path), EFontMapSaveError);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(ReadBytes(path), old);
  std::vector<std::filesystem::path> left(std::filesystem::directory_iterator(dir.path), {});
  EXPECT_EQ(left, std::vector<std::filesystem::path>{path});
}

TEST(MapFile, OnlyRegularFilesOfSaneSizeAreRead) {
  TempDir dir;
  const std::string fifo = dir.File("x.fmp"), zero = dir.File("zero.fmp"), huge = dir.File("huge.fmp");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", zero);
  dir.Write("huge.fmp", Utf16Le(kSample));
  std::filesystem::resize_file(huge, TCharCollection::kMaxFileSize + 1);  // sparse: takes no room
  TCharCollection m;
  for (const std::string& path : {fifo, zero, huge}) {
    EXPECT_THROW(m.LoadFromFile(path, true), EFontMapLoadError) << path;
    EXPECT_EQ(m.FileName(), path);
  }
  std::filesystem::resize_file(huge, TCharCollection::kMaxFileSize);
  EXPECT_NO_THROW(m.LoadFromFile(huge, false));  // the text ends at the first NUL
  EXPECT_EQ(m.Count(), 3);
}
