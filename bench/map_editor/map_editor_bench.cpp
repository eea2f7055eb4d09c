// Opening the font-map editor on the default map (create the window, load
// the map, show it, first paint) and switching it to another map of the same
// size, against a bare window holding 4,400 plain labels in a scroll area
// (create, show, first paint), all in the same run. Prints the median of
// each over several rounds.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "VarunelComms.h"
#include "uFrmFontMapping.h"
#include "uFrmMainBase.h"

namespace {

constexpr int kRounds = 15;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double Ms(const std::function<void()>& step) {
  QElapsedTimer t;
  t.start();
  step();
  return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

// Shows `w` and paints what is on screen.
void ShowAndPaint(QWidget& w) {
  w.show();
  w.repaint();
  QApplication::processEvents();
}

// The bare window: a scroll area with 4,400 labels of the editor's size.
double BareWindow() {
  return Ms([] {
    QWidget w;
    w.resize(809, 590);
    auto* area = new QScrollArea(&w);
    auto* content = new QWidget;
    for (int r = 0; r < TCellGrid::RowCount; ++r)
      for (int c = 0; c < TCellGrid::ColCount; ++c)
        (new QLabel(QString::number(r * TCellGrid::ColCount + c), content))->setGeometry(33 + 44 * c, 28 + 27 * r, 44, 27);
    content->resize(1793, 2998);
    area->setWidget(content);
    (new QVBoxLayout(&w))->addWidget(area);
    ShowAndPaint(w);
  });
}

}  // namespace

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString source = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString(VARUNEL_PROGRAM_DIR);
  QTemporaryDir dir;
  QDir(dir.path()).mkdir("layouts");
  if (!QFile::copy(source + "/Sinhala.fmp", dir.filePath("Sinhala.fmp")) ||
      !QFile::copy(source + "/layouts/Sinhala.lot", dir.filePath("layouts/Sinhala.lot"))) {
    std::fprintf(stderr, "no default map and layout in %s\n", qPrintable(source));
    return 1;
  }
  // "Other": every code of the default map changed, the grid filled to 110 by 39.
  TCharCollection map;
  map.LoadFromFile(dir.filePath("Sinhala.fmp").toStdU16String(), false);
  while (map.Count() < TCellGrid::RowCount) map.Add();
  for (int r = 0; r < map.Count(); ++r) {
    TCharItem& item = map.Items(r);
    item.CharInFont += u"x";
    while (item.Combinations().Count() < TCellGrid::ColCount - 1) item.Combinations().Add();
    for (int c = 0; c < item.Combinations().Count(); ++c) item.Combinations().Items(c).CharInFont += u"y";
  }
  map.SaveToFile(dir.filePath("Other.fmp").toStdU16String());
  TfrmMainBase::SetAppFolder(dir.path());
  TfrmMainBase owner;

  std::vector<double> bare, create, load, show, open, toOther, toSinhala;
  for (int round = 0; round < kRounds; ++round) {
    bare.push_back(BareWindow());
    double c = 0, l = 0, s = 0;
    {
      QElapsedTimer t;
      t.start();
      TfrmFontMapping editor(&owner);
      c = static_cast<double>(t.nsecsElapsed()) / 1e6;
      l = Ms([&] { editor.LoadMap("Sinhala"); });
      s = Ms([&] { ShowAndPaint(editor); });
      toOther.push_back(Ms([&] {
        editor.LoadMap("Other");
        editor.repaint();
      }));
      toSinhala.push_back(Ms([&] {
        editor.LoadMap("Sinhala");
        editor.repaint();
      }));
    }
    create.push_back(c);
    load.push_back(l);
    show.push_back(s);
    open.push_back(c + l + s);
  }
  std::printf("median of %d rounds, ms\n", kRounds);
  std::printf("bare window, 4400 labels (create, show, paint): %8.1f\n", Median(bare));
  std::printf("editor: create window                          : %8.1f\n", Median(create));
  std::printf("editor: LoadMap default map                    : %8.1f\n", Median(load));
  std::printf("editor: show and first paint                   : %8.1f\n", Median(show));
  std::printf("editor: open (all three)          goal < 150   : %8.1f\n", Median(open));
  std::printf("editor: switch to another map     goal < 30    : %8.1f\n", Median(toOther));
  std::printf("editor: switch back to the default map         : %8.1f\n", Median(toSinhala));
  return 0;
}
