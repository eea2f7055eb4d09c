// Small helpers shared by the font-map tests: map text in the file's
// encodings, map loading and lookup-list keys.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "VarunelComms.h"
#include "codepage.h"
#include "temp_dir.h"

namespace maptest {

// UTF-16 LE with its mark, each line followed by `eol`.
inline std::string Utf16Le(const std::vector<std::u16string>& lines, std::u16string_view eol = u"\r\n") {
  std::string b = "\xFF\xFE";
  auto put = [&](char16_t c) {
    b.push_back(static_cast<char>(c & 0xFF));
    b.push_back(static_cast<char>(c >> 8));
  };
  for (const auto& l : lines) {
    for (char16_t c : l) put(c);
    for (char16_t c : eol) put(c);
  }
  return b;
}

inline std::string Utf16Be(const std::vector<std::u16string>& lines, std::u16string_view eol = u"\r\n") {
  std::string le = Utf16Le(lines, eol);
  for (std::size_t i = 0; i + 1 < le.size(); i += 2) std::swap(le[i], le[i + 1]);
  return le;  // the mark swaps to FE FF as well
}

inline std::string Utf8(const std::vector<std::u16string>& lines, std::u16string_view eol = u"\r\n") {
  std::string b = "\xEF\xBB\xBF";
  for (const auto& l : lines) b += codepage::Utf16ToUtf8(l) + codepage::Utf16ToUtf8(eol);
  return b;
}

inline std::string Ansi(const std::vector<std::u16string>& lines, std::u16string_view eol = u"\r\n") {
  std::string b;
  for (const auto& l : lines) b += codepage::Narrow(l) + codepage::Narrow(eol);
  return b;
}

// The six header lines followed by `body`.
inline std::vector<std::u16string> MapLines(std::initializer_list<std::u16string> body,
                                            std::u16string font = u"Font A", std::u16string layout = u"Lay") {
  std::vector<std::u16string> v{u"[font]", font, u"", u"[map_layout]", layout, u""};
  v.insert(v.end(), body);
  return v;
}

using testutil::ReadBytes;
using testutil::TempDir;

// Keys of every entry of lookup list n, in order.
inline std::vector<std::u16string> ListKeys(const TCharCollection& map, int n) {
  std::vector<std::u16string> keys;
  if (const TLookupList* list = map.LenIndex(n))
    for (int i = 0; i < list->Count(); ++i) keys.emplace_back(list->Items(i).CharInEnglish);
  return keys;
}

// A map loaded, with its lookup lists, from the given body lines.
inline void LoadBody(TCharCollection& map, std::initializer_list<std::u16string> body, bool index = true) {
  map.LoadFromBytes(Utf16Le(MapLines(body)), index);
}

}  // namespace maptest
