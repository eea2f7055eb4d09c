// The default map's font codes all draw in "Noto Sans Sinhala": every
// combination and every converted sample shapes without a missing glyph and
// without the dotted circle the shaper puts in for a malformed sequence.
#include <QFontDatabase>
#include <QFontInfo>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QRawFont>
#include <QTextLayout>
#include <QtTest>

#include "VarunelComms.h"
#include "codepage.h"
#include "sinhala_samples.h"

namespace {

const QString kFamily = QStringLiteral("Noto Sans Sinhala");
const QChar kDottedCircle(0x25CC);

}  // namespace

class DefaultMapFontTest : public QObject {
  Q_OBJECT

 private:
  TCharCollection map_;

  static QList<QGlyphRun> Shape(const QString& text) {
    QFont font(kFamily);
    font.setPixelSize(24);
    QTextLayout layout(text, font);
    layout.beginLayout();
    while (layout.createLine().isValid()) {
    }
    layout.endLayout();
    return layout.glyphRuns();
  }

  static QList<quint32> Glyphs(const QString& text) {
    QList<quint32> glyphs;
    for (const QGlyphRun& run : Shape(text)) glyphs += run.glyphIndexes();
    return glyphs;
  }

  // Shapes `text` and reports what is wrong with it, or an empty string.
  static QString ShapeProblem(const QString& text) {
    const bool placeholderExpected = text.contains(kDottedCircle);
    for (const QGlyphRun& run : Shape(text)) {
      const QRawFont raw = run.rawFont();
      if (raw.familyName() != kFamily) return "drawn in " + raw.familyName();
      const QList<quint32> circle = raw.glyphIndexesForString(QString(kDottedCircle));
      for (quint32 glyph : run.glyphIndexes()) {
        if (glyph == 0) return QStringLiteral("missing glyph");
        if (!placeholderExpected && !circle.isEmpty() && glyph == circle.first())
          return QStringLiteral("dotted circle inserted");
      }
    }
    return {};
  }

 private slots:
  void initTestCase() {
    if (!QFontDatabase::families().contains(kFamily))
      QSKIP("The font \"Noto Sans Sinhala\" is not installed (Debian: fonts-noto-core).");
    QFontInfo info{QFont(kFamily)};
    QCOMPARE(info.family(), kFamily);
    map_.LoadFromFile(VARUNEL_DEFAULT_MAP, true);
    // The check sees a malformed sequence: a lone al-lakuna.
    QVERIFY(!ShapeProblem(QString(QChar(0x0DCA))).isEmpty());
  }

  void everyCombinationShapes() {
    int shaped = 0;
    for (int i = 0; i < map_.Count(); ++i) {
      const TCharItem& item = map_.Items(i);
      for (int c = 0; c < item.Combinations().Count(); ++c) {
        const TCharItem& comb = item.Combinations().Items(c);
        if (comb.CharInFont.empty()) continue;
        QString text = QString::fromStdU16String(comb.CharInFont);
        // A sign stands on a consonant; a repaya on the one that follows it.
        if (text.front().isMark()) text.prepend(QChar(0x0D9A));
        if (text.endsWith(QChar(0x200D))) text += QChar(0x0D9A);
        const QString key = QString::fromStdU16String(comb.CharInEnglish);
        const QString problem = ShapeProblem(text);
        QVERIFY2(problem.isEmpty(), qPrintable(key + ": " + problem));
        // The joiner must make the conjunct form: without it the letters
        // would be drawn apart. Ra over ra, which Sinhala never writes, has
        // no form of its own.
        if (text.contains(QChar(0x200D)) && !text.startsWith(QStringLiteral(u"\u0DBB\u0DCA\u200D\u0DBB")))
          QVERIFY2(Glyphs(text) != Glyphs(QString(text).remove(QChar(0x200D))), qPrintable(key));
        ++shaped;
      }
    }
    QVERIFY(shaped > 1000);
  }

  void convertedSamplesShape() {
    for (const SinhalaSample& s : kSinhalaSamples) {
      const QString text = QString::fromStdU16String(map_.EnglishToFont(codepage::Widen(s.typed)));
      const QString problem = ShapeProblem(text);
      QVERIFY2(problem.isEmpty(), qPrintable(QString::fromLatin1(s.typed) + ": " + problem));
    }
  }
};

QTEST_MAIN(DefaultMapFontTest)
#include "default_map_font_test.moc"
