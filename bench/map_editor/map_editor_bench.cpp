// Opening the font-map editor on the default map (create the window, load
// the map, show it until its grid is painted) and switching it to another map
// of the same size until the grid is painted again, against a bare window
// holding 4,400 plain labels in a scroll area (create, show, painted; its
// destruction is not timed), in turns in the same run. Prints the median and
// the worst of each. Run it on a desktop (scripts/bench.sh):
//   map_editor_bench [program-folder]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <cstdio>
#include <memory>
#include <vector>

#include "FrameClock.h"
#include "VarunelComms.h"
#include "WorkingCtrls.h"
#include "uFrmFontMapping.h"
#include "uFrmMainBase.h"

namespace {

constexpr int kRounds = 15;
constexpr int kWarmup = 2;

double MsSince(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

// The bare window: a scroll area with 4,400 labels of the editor's size.
// Created, shown and painted; the caller destroys it after the timing.
double BareWindow(std::unique_ptr<QWidget>& w) {
  QElapsedTimer t;
  t.start();
  w = std::make_unique<QWidget>();
  w->resize(809, 590);
  auto* area = new QScrollArea(w.get());
  auto* content = new QWidget;
  for (int r = 0; r < TCellGrid::RowCount; ++r)
    for (int c = 0; c < TCellGrid::ColCount; ++c)
      (new QLabel(QString::number(r * TCellGrid::ColCount + c), content))->setGeometry(33 + 44 * c, 28 + 27 * r, 44, 27);
  content->resize(1793, 2998);
  area->setWidget(content);
  (new QVBoxLayout(w.get()))->addWidget(area);
  const double created = MsSince(t);
  return created + bench::MsToPaint(area, [&] { w->show(); });
}

void Print(const char* what, const std::vector<double>& ms, const char* goal = "") {
  const bench::TStats s = bench::Summarise(ms);
  std::printf("%-48s %8.1f %8.1f  %s\n", what, s.median, s.worst, goal);
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
  for (int round = 0; round < kWarmup + kRounds; ++round) {
    const bool counted = round >= kWarmup;
    {
      std::unique_ptr<QWidget> w;
      const double ms = BareWindow(w);
      if (counted) bare.push_back(ms);
    }
    bench::Settle();
    TfrmFontMapping* editor = nullptr;
    QElapsedTimer t;
    t.start();
    editor = new TfrmFontMapping(&owner);
    const double c = MsSince(t);
    t.start();
    editor->LoadMap("Sinhala");
    const double l = MsSince(t);
    const double s = bench::MsToPaint(editor->ScrollBox1, [&] { editor->show(); });
    bench::Settle();
    const double other = bench::MsToPaint(editor->ScrollBox1, [&] { editor->LoadMap("Other"); });
    bench::Settle();
    const double back = bench::MsToPaint(editor->ScrollBox1, [&] { editor->LoadMap("Sinhala"); });
    delete editor;
    bench::Settle();
    if (!counted) continue;
    create.push_back(c);
    load.push_back(l);
    show.push_back(s);
    open.push_back(c + l + s);
    toOther.push_back(other);
    toSinhala.push_back(back);
  }
  std::printf("font-map editor (QT_QPA_PLATFORM=%s), %d rounds after %d not counted, ms to the painted frame\n",
              qPrintable(QGuiApplication::platformName()), kRounds, kWarmup);
  std::printf("%-48s %8s %8s\n", "", "median", "worst");
  Print("bare window, 4400 labels (create, show, paint)", bare);
  Print("editor: create window", create);
  Print("editor: LoadMap default map", load);
  Print("editor: show until painted", show);
  Print("editor: open (all three)", open, "goal < 150");
  Print("editor: switch to another map until painted", toOther, "goal < 30");
  Print("editor: switch back to the default map", toSinhala);
  return 0;
}
