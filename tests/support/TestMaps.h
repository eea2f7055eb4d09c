// Small font maps written into a folder; also used by the screenshot tool.
#pragma once

#include <QDir>
#include <QString>
#include <initializer_list>
#include <utility>

#include "VarunelComms.h"

struct TestBase {
  const char16_t* english;
  const char16_t* font;
  std::initializer_list<std::pair<const char16_t*, const char16_t*>> combinations;
};

// Writes a map named `name` with the font `fontName` into `folder`.
inline void WriteMap(const QString& folder, const QString& name, const char16_t* fontName,
                     std::initializer_list<TestBase> bases) {
  TCharCollection map;
  map.FontName = fontName;
  map.Add();  // the template row
  for (const TestBase& b : bases) {
    TCharItem& item = map.Add();
    item.CharInEnglish = b.english;
    item.CharInFont = b.font;
    for (const auto& [key, codes] : b.combinations) {
      TCharItem& c = item.Combinations().Add();
      c.CharInEnglish = key;
      c.CharInFont = codes;
    }
  }
  map.SaveToFile(QDir(folder).filePath(name + ".fmp").toStdString());
}

// "Sinhala": k, m and a with a few combinations, drawn in "TestSinhala".
inline void WriteSinhala(const QString& folder) {
  WriteMap(folder, "Sinhala", u"TestSinhala",
           {{u"k", u"K", {{u"k", u"K"}, {u"ka", u"Ka"}, {u"kaa", u"Kaa"}, {u"ki", u"Ki"}}},
            {u"m", u"M", {{u"m", u"M"}, {u"ma", u"Ma"}, {u"maa", u"Maa"}}},
            {u"a", u"A", {{u"a", u"A"}, {u"aa", u"AA"}}}});
}

// "Other": the same keys, other codes, drawn in "TestOther".
inline void WriteOther(const QString& folder) {
  WriteMap(folder, "Other", u"TestOther",
           {{u"k", u"q", {{u"k", u"q"}, {u"ka", u"qa"}}}, {u"m", u"w", {{u"m", u"w"}, {u"ma", u"wa"}}}});
}
