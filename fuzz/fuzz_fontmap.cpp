// Loads arbitrary bytes as a font map (with its lookup lists); converts text
// taken from the input both ways and checks that the indexed conversions
// agree with the plain scans; runs the suggestion search as the strip does;
// saves the map to a file and loads it back.
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "VarunelComms.h"
#include "codepage.h"
#include "fuzz_check.h"

namespace {

void Agree(const TCharCollection& map, std::u16string_view english, std::u16string_view font) {
  if (map.EnglishToFont(english) != map.EnglishToFontScan(english)) Fail("forward index and scan differ");
  if (map.FontToEnglish(font) != map.FontToEnglishScan(font)) Fail("reverse index and scan differ");
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The search for every tail of `typed` of 6 down to 1 characters, as the
// strip makes it: each suggestion's key starts with its fragment.
void Suggest(const TCharCollection& map, std::string_view typed) {
  std::unique_ptr<TCharCollection> list;
  for (std::size_t n = 6; n >= 1; --n) {
    if (typed.size() < n) continue;
    const std::string_view fragment = typed.substr(typed.size() - n);
    const int before = list ? list->Count() : 0;
    map.FindCombinations(fragment, list, before > 0);
    for (int i = before; i < list->Count(); ++i) {
      const TCharItem& s = list->Items(i);
      const std::string key = codepage::Narrow(s.CharInEnglish);
      if (key.size() < n || s.CharInFont.empty() || s.Data != codepage::Widen(fragment) ||
          s.Combinations().Count() != 0)
        Fail("a suggestion that does not fit its fragment");
      for (std::size_t c = 0; c < n; ++c)
        if (Lower(key[c]) != Lower(fragment[c])) Fail("a suggestion that does not start with its fragment");
    }
  }
}

// A folder of our own for the saved maps, removed at exit.
struct Folder {
  Folder() {
    char pattern[] = "/tmp/varunel-fuzz-XXXXXX";
    if (!::mkdtemp(pattern)) Fail("no temporary folder");
    path = pattern;
  }
  ~Folder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  std::string path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Folder folder;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TCharCollection map;
  try {
    map.LoadFromBytes(bytes, true);
  } catch (const EFontMapLoadError&) {
    return 0;
  }
  // Texts: keys and codes of combinations from all over the map run
  // together (so that long keys are met), then the input's tail read as
  // 8-bit text. The scans take time in proportion to the text and the
  // lookup lists, so a large map gets shorter texts.
  std::size_t entries = 1;
  for (int n = 1; n <= TCharCollection::kMaxKey; ++n) entries += static_cast<std::size_t>(map.LenIndex(n)->Count());
  const std::size_t forwardLen = std::clamp<std::size_t>(200000 / entries, 32, 512);
  const std::size_t reverseLen = std::clamp<std::size_t>(50000 / entries, 16, 512);
  std::vector<const TCharItem*> combinations;
  for (int i = 0; i < map.Count(); ++i)
    for (int c = 0; c < map.Items(i).Combinations().Count(); ++c)
      combinations.push_back(&map.Items(i).Combinations().Items(c));
  std::u16string english, font;
  const std::size_t step = std::max<std::size_t>(1, combinations.size() / 64);
  for (std::size_t i = 0; i < combinations.size(); i += step) {
    if (english.size() < forwardLen / 2) english += combinations[i]->CharInEnglish + u"&";
    if (font.size() < reverseLen / 2) font += combinations[i]->CharInFont;
  }
  const std::string_view tail = bytes.substr(size > 256 ? size - 256 : 0);
  english += codepage::Widen(tail);
  font += codepage::Widen(tail);
  english.resize(std::min(english.size(), forwardLen));
  font.resize(std::min(font.size(), reverseLen));
  Agree(map, english, font);
  Suggest(map, tail);
  Suggest(map, codepage::Narrow(english.substr(0, 64)));

  // Save to a file and load it back: the saved form must load, with the same
  // items, and saving again gives the same bytes, unless an item's key or
  // codes is itself a block marker (those lines cannot be told apart from
  // the markers).
  bool markers = false;
  for (int i = 0; i < map.Count(); ++i)
    for (const std::u16string* s : {&map.Items(i).CharInEnglish, &map.Items(i).CharInFont})
      if (*s == u"<!--" || *s == u"-->") markers = true;
  const std::string file = folder.path + "/map.fmp";
  map.SaveToFile(file);
  const std::string saved = map.SaveToBytes();
  TCharCollection again;
  again.LoadFromFile(file, true);
  if (!markers && (again.SaveToBytes() != saved || again.Count() != map.Count() || again.FontName != map.FontName ||
                   again.MapLayout != map.MapLayout))
    Fail("save and reload differ");
  // The same lists give the same conversions; a map with markers reads
  // back as another map and is checked on its own.
  if (markers) Agree(again, english, font);
  const std::u16string toFont = again.EnglishToFont(english), toEnglish = again.FontToEnglish(font);
  if (!markers && (toFont != map.EnglishToFont(english) || toEnglish != map.FontToEnglish(font)))
    Fail("the reloaded map converts differently");
  // An un-indexed load keeps the lists and the index.
  try {
    again.LoadFromBytes(bytes.substr(0, size / 2), false);
  } catch (const EFontMapLoadError&) {
  }
  if (again.EnglishToFont(english) != toFont || again.FontToEnglish(font) != toEnglish)
    Fail("an un-indexed load changed the conversions");
  return 0;
}
