// Varunel's editor window, from a key press to the painted frame, beside a
// bare Qt pane of the window's size given the same text and keys in the same
// run (see TypingCases.h for the rows). Uses the shipped default map, or the
// map given on the command line. Run it on a desktop (scripts/bench.sh):
//   editor_keystroke_bench [map.fmp]
#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "FrameClock.h"
#include "TypingCases.h"
#include "registry.h"
#include "uFrmMain.h"
#include "uFrmMainBaseMemo.h"

using varunel::TfrmMain;

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("VarunelV1.0");
  // A blinking caret would paint in the middle of a measurement.
  QApplication::setCursorFlashTime(0);
  QTemporaryDir dir;
  const QString source = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString(VARUNEL_PROGRAM_DIR "/Sinhala.fmp");
  if (!QFileInfo::exists(source) || !QFile::copy(source, dir.filePath("Sinhala.fmp"))) {
    std::fprintf(stderr, "no map at %s\n", qPrintable(source));
    return 1;
  }
  TfrmMainBase::SetAppFolder(dir.path());
  registry::SetHiveFile(dir.filePath("registry.ini").toStdString());

  TfrmMain w;
  w.FormCreate(&w);
  w.move(20, 20);
  w.show();
  if (!QTest::qWaitForWindowExposed(&w, 5000)) std::fprintf(stderr, "the window was not shown\n");
  bench::TBareWindow bare(w.size(), QPoint(w.frameGeometry().right() + 20, 20));
  bare.ShowExposed();
  std::printf("map: %s (%d items), window %dx%d\n", qPrintable(source), w.FCharMap->Count(), w.width(), w.height());

  bench::Header(QStringLiteral("Varunel, on X with the pointer over the suggestion strip"), QStringLiteral("Varunel"));
  bench::TypingRows({&w, {}}, bare);
  return 0;
}
