// The character tile drawn for real: grid lines, caption, picture slices.
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTest>

#include "CharView.h"
#include "VarunelComms.h"
#include "WorkingCtrls.h"

namespace {

QImage Render(TTntCharView& tile) { return tile.grab().toImage(); }

// A picture of `bands` bands of `band` pixels along one axis, band i filled
// with a colour of its own.
QPixmap Bands(int bands, QSize band, bool vertical) {
  QPixmap pix(vertical ? band.width() : band.width() * bands, vertical ? band.height() * bands : band.height());
  QPainter p(&pix);
  for (int i = 0; i < bands; ++i) {
    const QColor c = QColor::fromHsv(i * 30 % 360, 255, 255);
    if (vertical)
      p.fillRect(0, i * band.height(), band.width(), band.height(), c);
    else
      p.fillRect(i * band.width(), 0, band.width(), band.height(), c);
  }
  return pix;
}

bool Uniform(const QImage& img, QColor c) {
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixelColor(x, y).rgb() != c.rgb()) return false;
  return true;
}

}  // namespace

class TileTest : public QObject {
  Q_OBJECT

 private slots:
  void newTileDefaults() {
    QWidget parent;
    QFont f("Sans");
    f.setPixelSize(19);
    parent.setFont(f);
    TTntCharView tile(&parent);
    QCOMPARE(tile.cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(tile.alignment(), Qt::AlignHCenter | Qt::AlignTop);
    QCOMPARE(tile.font().pixelSize(), 19);
    QCOMPARE(tile.PictureWidth, 44);
    QCOMPARE(tile.PictureHeight, 27);
    QCOMPARE(tile.RowIndex, 0);
    QCOMPARE(tile.ColumnIndex, 0);
    QVERIFY(!tile.IsBiggerChars);
  }

  void gridLinesFollowTheEdges() {
    TTntCharView tile;
    const QColor line = tile.palette().color(QPalette::Dark);
    const QColor back = tile.palette().color(QPalette::Window);
    for (QSize size : {QSize(44, 27), QSize(60, 41), QSize(10, 5)}) {
      tile.resize(size);
      const QImage img = Render(tile);
      QCOMPARE(img.size(), size);
      for (int y = 0; y < size.height(); ++y) QCOMPARE(img.pixelColor(size.width() - 1, y).rgb(), line.rgb());
      for (int x = 0; x < size.width(); ++x) QCOMPARE(img.pixelColor(x, size.height() - 1).rgb(), line.rgb());
      // No line on the left and top edges: neighbours share one line.
      QCOMPARE(img.pixelColor(0, 0).rgb(), back.rgb());
    }
  }

  void captionIsDrawnAsWritten() {
    TTntCharView one, two, empty;
    for (TTntCharView* t : {&one, &two, &empty}) t->resize(44, 27);
    one.SetCaption("&");
    two.SetCaption("&&");
    // An "&" is a character of its own: "&&" shows two of them, not one.
    QVERIFY(Render(one) != Render(empty));
    QVERIFY(Render(one) != Render(two));
    QCOMPARE(one.Caption(), QString("&"));
  }

  void pictureSlices_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("band");
    QTest::addColumn<QSize>("size");
    QTest::newRow("row 3 of the tall picture") << 3 << 0 << 2 << QSize(44, 27);
    QTest::newRow("row 1 stretched") << 1 << 0 << 0 << QSize(88, 54);
    QTest::newRow("column 2 of the wide picture") << 0 << 2 << 1 << QSize(44, 27);
    QTest::newRow("column 5 on a small tile") << 0 << 5 << 4 << QSize(20, 10);
  }

  void pictureSlices() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, band);
    QFETCH(QSize, size);
    const QPixmap tall = Bands(10, QSize(44, 27), true);
    const QPixmap wide = Bands(10, QSize(44, 27), false);
    TTntCharView tile;
    tile.resize(size);
    tile.SetCaption("x");
    tile.RowIndex = row;
    tile.ColumnIndex = column;
    tile.VerticlePicture = &tall;
    tile.HorizontalPicture = &wide;
    // The slice covers the caption and the grid lines.
    QVERIFY(Uniform(Render(tile), QColor::fromHsv(band * 30 % 360, 255, 255)));
  }

  void noPictureOutsideTheHeaders() {
    const QPixmap tall = Bands(10, QSize(44, 27), true);
    TTntCharView corner, cell;
    for (TTntCharView* t : {&corner, &cell}) {
      t->resize(44, 27);
      t->VerticlePicture = &tall;
      t->HorizontalPicture = &tall;
    }
    cell.RowIndex = 2;
    cell.ColumnIndex = 3;
    const QColor back = cell.palette().color(QPalette::Window);
    // The corner would take slices before the start of both pictures.
    QCOMPARE(Render(corner).pixelColor(5, 5).rgb(), back.rgb());
    QCOMPARE(Render(cell).pixelColor(5, 5).rgb(), back.rgb());
  }

  // Every caption of the default map drawn whole inside its tile, at the
  // strip's size and enlarged as the selected tile: no ink on the tile's
  // outer pixels nor on the pixels beside its grid lines.
  void everyCaptionOfTheDefaultMapFitsItsTile() {
    TCharCollection map;
    map.LoadFromFile(VARUNEL_DEFAULT_MAP, false);
    QVERIFY(map.Count() > 1);
    QFont strip(QString::fromStdU16String(map.FontName));
    strip.setPixelSize(24);
    QFont selected = strip;
    selected.setPointSize(24);
    TTntCharView tile;
    QPalette pal = tile.palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::Dark, Qt::white);  // the grid line out of the way
    pal.setColor(QPalette::WindowText, Qt::black);
    tile.setPalette(pal);
    int captions = 0;
    for (const auto& [font, size] : {std::pair{strip, QSize(44, 27)}, std::pair{selected, QSize(60, 41)}}) {
      tile.setFont(font);
      tile.resize(size);
      for (int i = 1; i < map.Count(); ++i) {
        for (int c = 0; c < map.Items(i).Combinations().Count(); ++c) {
          const QString caption = QString::fromStdU16String(map.Items(i).Combinations().Items(c).CharInFont);
          if (caption.isEmpty()) continue;
          ++captions;
          tile.SetCaption(caption);
          const QImage img = Render(tile);
          int ink = 0;
          QString touched;
          for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
              if (img.pixelColor(x, y).rgb() == QColor(Qt::white).rgb()) continue;
              ++ink;
              if (x == 0 || y == 0 || x >= img.width() - 2 || y >= img.height() - 2)
                touched = QString("(%1,%2)").arg(x).arg(y);
            }
          QVERIFY2(ink > 0, qPrintable(caption));
          QVERIFY2(touched.isEmpty(), qPrintable(caption + " in " + QString::number(size.width()) + " touches " + touched));
        }
      }
    }
    QVERIFY(captions > 2000);
  }

  void scrollBoxPassesKeysAndGrows() {
    TorviScrollBox box;
    box.resize(100, 60);
    int ups = 0, downs = 0;
    connect(&box, &TorviScrollBox::KeyUp, this, [&](QKeyEvent*) { ++ups; });
    connect(&box, &TorviScrollBox::KeyDown, this, [&](QKeyEvent*) { ++downs; });
    QTest::keyClick(&box, Qt::Key_A);
    QCOMPARE(downs, 1);
    QCOMPARE(ups, 1);
    auto* tile = new TTntCharView(box.Content());
    tile->setGeometry(1, 300, 44, 27);
    box.UpdateRange();
    QVERIFY(box.Content()->height() >= 327);
  }
};

QTEST_MAIN(TileTest)
#include "tile_test.moc"
