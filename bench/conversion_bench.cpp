// Speed of the phonetic conversion: forward and reverse over a few MB of
// romanised prose, through the index and through the plain ordered
// scan of the lookup lists, and the time to load the map with its index.
// Bytes are characters of the converted text (one byte each in the 8-bit
// typing pane).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "VarunelComms.h"
#include "codepage.h"

namespace {

// About 60 base characters with 20 combinations each, keys of 1 to 5
// characters, font codes of 1 to 3 code-page characters.
std::string SyntheticMap() {
  const char* consonants[] = {"k", "kh", "g", "gh", "ng", "ch", "chh", "j", "jh", "ny", "t", "th",
                              "d", "dh", "n", "p", "ph", "b", "bh", "m", "y", "r", "l", "w",
                              "sh", "s", "h", "f", "L", "N", "T", "D", "Th", "Dh", "Sh", "nd",
                              "ng", "nj", "mb", "gn", "kr", "gr", "tr", "dr", "pr", "br", "kw", "sw",
                              "hr", "st", "sp", "sk", "x", "z", "q", "v", "c", "R", "Y", "W"};
  const char* vowels[] = {"",   "a",  "aa", "A",  "Aa", "i",  "ii", "u",  "uu", "e",
                          "ee", "ai", "o",  "oo", "au", "ru", "rU", "lu", "aM", "aH"};
  std::u16string text = u"[font]\r\nSynthetic\r\n\r\n[map_layout]\r\n\r\n\r\n%\r\n%\r\n<!--\r\n";
  for (const char* v : vowels) text += u"%" + codepage::Widen(v) + u"=%\r\n";
  text += u"-->\r\n";
  int code = 0;
  for (const char* c : consonants) {
    const std::u16string base = codepage::Widen(c);
    auto font = [&](int len) {
      std::u16string f;
      for (int i = 0; i < len; ++i) f += static_cast<char16_t>(0xC0 + (code++ % 60));
      return f;
    };
    text += base + u"\r\n" + font(1) + u"\r\n<!--\r\n";
    for (int v = 0; v < 20; ++v) text += base + codepage::Widen(vowels[v]) + u"=" + font(1 + v % 3) + u"\r\n";
    text += u"-->\r\n";
  }
  std::string bytes = "\xFF\xFE";
  for (char16_t ch : text) {
    bytes.push_back(static_cast<char>(ch & 0xFF));
    bytes.push_back(static_cast<char>(ch >> 8));
  }
  return bytes;
}

struct Fixture {
  std::string mapBytes;
  std::string mapPath;
  bool synthetic = false;
  TCharCollection map;
  std::u16string english;  // a few MB of romanised prose
  std::u16string font;     // its conversion

  Fixture() {
    std::ifstream in(VARUNEL_DEFAULT_MAP, std::ios::binary);
    if (in) {
      mapPath = VARUNEL_DEFAULT_MAP;
      mapBytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    try {
      if (!mapBytes.empty()) map.LoadFromBytes(mapBytes, true);
    } catch (const EFontMapLoadError&) {
      mapBytes.clear();
    }
    if (mapBytes.empty() || map.Count() < 2) {
      synthetic = true;
      mapBytes = SyntheticMap();
      mapPath = (std::filesystem::temp_directory_path() / "varunel-bench-synthetic.fmp").string();
      std::ofstream(mapPath, std::ios::binary) << mapBytes;
      map.LoadFromBytes(mapBytes, true);
    }
    // Words of one to four combination keys of base characters (not the
    // template row), spaces, punctuation, CR LF now and then.
    std::vector<std::u16string> keys;
    for (int i = 1; i < map.Count(); ++i) {
      const TCharCollection& combs = map.Items(i).Combinations();
      for (int c = 0; c < combs.Count(); ++c) {
        const std::u16string& k = combs.Items(c).CharInEnglish;
        if (!k.empty() && k.size() <= 6 && !combs.Items(c).CharInFont.empty()) keys.push_back(k);
      }
    }
    std::mt19937 rng(12345);
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
    const char16_t* punct[] = {u" ", u" ", u" ", u" ", u", ", u". ", u"? ", u"; "};
    int words = 0;
    while (english.size() < 4u << 20) {
      for (std::size_t n = 1 + pick(4); n > 0; --n) english += keys[pick(keys.size())];
      english += punct[pick(8)];
      if (++words % 12 == 0) english += u"\r\n";
    }
    font = map.EnglishToFont(english);
  }
};

Fixture& Data() {
  static Fixture f;
  return f;
}

// The scans are far slower; they run on the first 256 K characters.
std::u16string_view Slice(const std::u16string& s, bool scan) {
  return std::u16string_view(s).substr(0, scan ? 256u << 10 : s.size());
}

// One conversion over the whole text: forward or reverse, indexed or scan.
void BM_Convert(benchmark::State& state, bool reverse, bool scan) {
  Fixture& d = Data();
  const std::u16string_view text = Slice(reverse ? d.font : d.english, scan);
  using Convert = std::u16string (TCharCollection::*)(std::u16string_view) const;
  const Convert convert = reverse ? (scan ? &TCharCollection::FontToEnglishScan : &TCharCollection::FontToEnglish)
                                  : (scan ? &TCharCollection::EnglishToFontScan : &TCharCollection::EnglishToFont);
  for (auto _ : state) {
    auto out = (d.map.*convert)(text);
    benchmark::DoNotOptimize(out);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
  state.SetLabel(d.synthetic ? "synthetic map" : "default map");
}

void BM_LoadMap(benchmark::State& state) {
  Fixture& d = Data();
  TCharCollection m;
  for (auto _ : state) m.LoadFromFile(d.mapPath, true);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(d.mapBytes.size()));
  state.SetLabel(d.synthetic ? "synthetic map" : "default map");
}

}  // namespace

BENCHMARK_CAPTURE(BM_Convert, forward_indexed, false, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convert, forward_scan, false, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convert, reverse_indexed, true, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convert, reverse_scan, true, true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadMap)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
