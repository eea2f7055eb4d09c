// Renders Tavimo's window with some converted text and suggestion tiles into
// a PNG file:  tavimo_screenshot out.png map.fmp
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "uFrmMain.h"
#include "uFrmMainBaseMemo.h"

using tavimo::TfrmMain;

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavimo 2.1");
  if (argc < 3) {
    std::fprintf(stderr, "usage: tavimo_screenshot out.png map.fmp\n");
    return 2;
  }
  QTemporaryDir dir;
  const QString map = dir.filePath("Sinhala.fmp");
  if (!QFile::copy(QString::fromLocal8Bit(argv[2]), map)) {
    std::fprintf(stderr, "cannot read %s\n", argv[2]);
    return 1;
  }
  TfrmMainBase::SetAppFolder(dir.path());

  TfrmMain w;
  w.setWindowTitle(QApplication::applicationName());
  w.FFontMapName = "Sinhala";
  w.CreateMaps();
  w.FitDisplayPane(22);
  w.resize(450, 350);
  w.show();
  if (!QTest::qWaitForWindowExposed(&w)) return 1;
  QTest::keyClicks(w.memEnglish, "amma kaa");
  QApplication::processEvents();
  if (!w.grab().save(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
