// Loads arbitrary bytes as a font map (with its lookup lists), saves and
// reloads it, converts text taken from the input both ways and checks that
// the indexed conversions agree with the plain scans.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "VarunelComms.h"
#include "codepage.h"

namespace {

void Agree(const TCharCollection& map, std::u16string_view english, std::u16string_view font) {
  if (map.EnglishToFont(english) != map.EnglishToFontScan(english)) {
    std::fputs("forward index and scan differ\n", stderr);
    std::abort();
  }
  if (map.FontToEnglish(font) != map.FontToEnglishScan(font)) {
    std::fputs("reverse index and scan differ\n", stderr);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TCharCollection map;
  try {
    map.LoadFromBytes(bytes, true);
  } catch (const EFontMapLoadError&) {
    return 0;
  }
  // Texts: the input's tail read as 8-bit text, and the map's own keys and
  // codes run together (so that long keys are met).
  std::u16string english = codepage::Widen(bytes.substr(size > 256 ? size - 256 : 0));
  std::u16string font = english;
  constexpr std::size_t kText = 512;  // keeps the scans quick
  for (int i = 0; i < map.Count() && (english.size() < kText || font.size() < kText); ++i) {
    const TCharCollection& combs = map.Items(i).Combinations();
    for (int c = 0; c < combs.Count(); ++c) {
      if (english.size() < kText) english += combs.Items(c).CharInEnglish + u"&";
      if (font.size() < kText) font += combs.Items(c).CharInFont;
    }
  }
  english.resize(std::min(english.size(), 2 * kText));
  font.resize(std::min(font.size(), 2 * kText));
  Agree(map, english, font);

  // Save and reload: the saved form must load, and saving again gives the
  // same bytes, unless an item's key or codes is itself a block marker
  // (those lines cannot be told apart from the markers).
  bool markers = false;
  for (int i = 0; i < map.Count(); ++i)
    for (const std::u16string* s : {&map.Items(i).CharInEnglish, &map.Items(i).CharInFont})
      if (*s == u"<!--" || *s == u"-->") markers = true;
  const std::string saved = map.SaveToBytes();
  TCharCollection again;
  again.LoadFromBytes(saved, true);
  if (!markers && (again.SaveToBytes() != saved || again.Count() != map.Count())) {
    std::fputs("save and reload differ\n", stderr);
    std::abort();
  }
  Agree(again, english, font);
  // An un-indexed load keeps the lists and the index.
  try {
    again.LoadFromBytes(bytes.substr(0, size / 2), false);
  } catch (const EFontMapLoadError&) {
  }
  Agree(again, english, font);
  return 0;
}
