#include <gtest/gtest.h>

#include <QFontInfo>

#include <QAbstractItemView>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QSet>
#include <QSignalSpy>
#include <algorithm>

#include "FontCombo.h"

namespace {

QStringList Items(const TFontCombo& combo) {
  QStringList out;
  for (int i = 0; i < combo.count(); ++i) out << combo.itemText(i);
  return out;
}

QStringList Listed(const std::vector<TEnumFont>& fonts) {
  QStringList kept, items;
  for (const TEnumFont& f : fonts) TFontCombo::EnumFontsProc(f, kept, items);
  return items;
}

}  // namespace

TEST(FontCombo, SplitsItemTexts) {
  EXPECT_EQ(TFontCombo::ItemFontName(QStringLiteral("Arial-|0")), QStringLiteral("Arial"));
  EXPECT_EQ(TFontCombo::ItemCharset(QStringLiteral("Arial-|161")), 161);
  EXPECT_EQ(TFontCombo::ItemFontName(QStringLiteral("A-B-|C-|2")), QStringLiteral("A-B"));
  EXPECT_EQ(TFontCombo::ItemCharset(QStringLiteral("A-B-|C-|2")), 2);
  EXPECT_EQ(TFontCombo::ItemCharset(QStringLiteral("X-|a1b2")), 12);
  EXPECT_EQ(TFontCombo::ItemCharset(QStringLiteral("X-|")), 0);
  EXPECT_EQ(TFontCombo::ItemFontName(QStringLiteral("NoSeparator")), QString());
  EXPECT_EQ(TFontCombo::ItemCharset(QStringLiteral("NoSeparator")), 0);
}

TEST(FontCombo, KeepsTheFirstOfConsecutiveEntriesOfAFaceOfAListedKind) {
  TFontCombo combo;  // the shared set is now TrueType only
  using F = TEnumFont;
  EXPECT_EQ(Listed({{"Alpha", 0, F::TrueType},
                    {"Alpha", 161, F::TrueType},
                    {"ALPHA", 204, F::TrueType},
                    {"Beta", 2, F::TrueType},
                    {"Alpha", 177, F::TrueType},
                    {"Bitmap", 0, F::Raster},
                    {"Printer", 0, F::Device}}),
            (QStringList{"Alpha-|0", "Beta-|2", "Alpha-|177"}));
  // A face of a kind not listed is not kept, so its next entry is compared
  // with the face kept before it.
  combo.SetFontType({RASTER_FONTS, DEVICE_FONTS});
  EXPECT_EQ(Listed({{"Mixed", 0, F::TrueType}, {"Mixed", 1, F::Raster}, {"Printer", 0, F::Device}}),
            (QStringList{"Mixed-|1", "Printer-|0"}));
}

TEST(FontCombo, ListsEveryInstalledOutlineFaceOnce) {
  TFontCombo combo;
  const QStringList items = Items(combo);
  ASSERT_FALSE(items.isEmpty());
  QSet<QString> faces;
  for (const TEnumFont& f : EnumerateFonts())
    if (f.fontType == TEnumFont::TrueType) faces.insert(f.face.toLower());
  QSet<QString> listed;
  for (const QString& item : items) {
    const QString face = TFontCombo::ItemFontName(item);
    ASSERT_FALSE(face.isEmpty()) << item.toStdString();
    EXPECT_FALSE(face.contains(QStringLiteral(" ["))) << "foundry left in " << item.toStdString();
    EXPECT_EQ(item, face + QStringLiteral("-|") + QString::number(TFontCombo::ItemCharset(item)));
    EXPECT_FALSE(listed.contains(face.toLower())) << item.toStdString();
    listed.insert(face.toLower());
  }
  EXPECT_EQ(listed, faces);
  // A dingbat face, where one is installed, is a symbol face.
  for (const QString& item : items)
    if (item.startsWith(QStringLiteral("D050000L-|"))) {
      EXPECT_EQ(TFontCombo::ItemCharset(item), 2);
    }

  combo.SetSorted(true);
  const QStringList sorted = Items(combo);
  EXPECT_EQ(sorted.size(), items.size());
  for (int i = 1; i < sorted.size(); ++i) EXPECT_LE(sorted[i - 1].compare(sorted[i], Qt::CaseInsensitive), 0);
  // The dropped-down list is wide enough for the widest measured item.
  EXPECT_EQ(combo.view()->minimumWidth(), combo.MaxItemWidth() + 34);
  EXPECT_GT(combo.MaxItemHeight(), 0);
}

TEST(FontCombo, FontNameSelectsByExactFaceName) {
  TFontCombo combo;
  ASSERT_GT(combo.count(), 1);
  EXPECT_EQ(combo.FontName(), QString());
  EXPECT_EQ(combo.ComboHeight(), 21);
  QSignalSpy changed(&combo, &TFontCombo::changed);
  const QString face = TFontCombo::ItemFontName(combo.itemText(1));
  combo.SetFontName(face);
  EXPECT_EQ(combo.currentIndex(), 1);
  EXPECT_EQ(combo.FontName(), face);

  // A face not installed shows the face the system draws instead; the name
  // is kept.
  const QString missing = face.toUpper() + QStringLiteral("x");
  combo.SetFontName(missing);
  EXPECT_EQ(combo.currentIndex(), combo.IndexOfFont(QFontInfo(QFont(missing)).family()));
  EXPECT_EQ(combo.FontName(), missing);
  EXPECT_EQ(changed.count(), 0);  // only the user's choice notifies

  // The user picks the first item.
  combo.setCurrentIndex(0);
  emit combo.activated(0);
  EXPECT_EQ(combo.FontName(), TFontCombo::ItemFontName(combo.itemText(0)));
  EXPECT_EQ(changed.count(), 1);

  QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&combo, &move);
  EXPECT_EQ(combo.toolTip(), QStringLiteral("Font - ") + combo.FontName());
}

TEST(FontCombo, ItemHeightChangesOnlyForANewPositiveValue) {
  TFontCombo combo;
  combo.addItem(QStringLiteral("Marker-|0"));  // gone once the list is rebuilt
  for (int value : {0, -5, 21}) {
    combo.SetComboHeight(value);
    EXPECT_EQ(combo.ComboHeight(), 21);
    EXPECT_EQ(combo.findText(QStringLiteral("Marker-|0")), combo.count() - 1);
  }
  combo.SetComboHeight(30);
  EXPECT_EQ(combo.ComboHeight(), 30);
  EXPECT_EQ(combo.findText(QStringLiteral("Marker-|0")), -1);
  EXPECT_EQ(combo.view()->sizeHintForRow(0), 30);
}

TEST(FontCombo, AllPickersShareOneFontTypeSet) {
  TFontCombo first;
  const int outline = first.count();
  first.SetFontType({RASTER_FONTS});
  EXPECT_EQ(first.GetFontType(), TFontTypes{RASTER_FONTS});
  EXPECT_NE(first.count(), outline);
  TFontCombo second;
  EXPECT_EQ(first.GetFontType(), TFontTypes{TRUETYPE_FONTS});
  EXPECT_EQ(second.count(), outline);
  EXPECT_NE(first.count(), outline);  // keeps its list until rebuilt
}

TEST(FontCombo, DrawsTheGlyphAndTheFaceName) {
  TFontCombo combo;
  combo.clear();
  combo.addItems({QStringLiteral("DejaVu Sans-|0"), QStringLiteral("D050000L-|2")});
  for (int index : {0, 1}) {
    QImage image(300, combo.ComboHeight(), QImage::Format_ARGB32);
    image.fill(Qt::red);
    {
      QPainter painter(&image);
      combo.DrawItem(painter, index, image.rect(), QStyle::State_Enabled);
    }
    const QColor base = combo.palette().color(QPalette::Base);
    EXPECT_EQ(image.pixelColor(299, 0), base);  // the whole item is filled
    int inked = 0;  // the name is drawn after the glyph, whole within the item
    int lowest = 0;
    for (int x = 18; x < 300; ++x)
      for (int y = 0; y < image.height(); ++y)
        if (image.pixelColor(x, y) != base) {
          ++inked;
          lowest = std::max(lowest, y);
        }
    EXPECT_GT(inked, 20) << index;
    if (index == 0) {
      EXPECT_LT(lowest, image.height() - 1) << "tallest face " << combo.MaxItemHeight();
    }
  }
  for (int i : {0, 1}) {
    const QImage glyph = combo.Glyph(i).toImage();
    EXPECT_EQ(glyph.size(), QSize(16, 16));
    EXPECT_EQ(glyph.pixelColor(0, 15).alpha(), 0);  // olive is transparent
    EXPECT_NE(glyph.pixelColor(10, 10).alpha(), 0);
  }
}
