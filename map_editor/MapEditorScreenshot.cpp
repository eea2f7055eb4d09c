// Renders the font-map editor on the default map and its layout, with one
// cell selected, into a PNG file:  map_editor_screenshot out.png program-folder
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "CharView.h"
#include "uFrmFontMapping.h"
#include "uFrmMainBase.h"

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Varunel");
  if (argc < 3) {
    std::fprintf(stderr, "usage: map_editor_screenshot out.png program-folder\n");
    return 2;
  }
  const QString source = QString::fromLocal8Bit(argv[2]);
  QTemporaryDir dir;
  QDir(dir.path()).mkdir("layouts");
  for (const QString f : {"Sinhala.fmp", "layouts/Sinhala.lot"}) {
    if (!QFile::copy(source + "/" + f, dir.filePath(f))) {
      std::fprintf(stderr, "cannot read %s/%s\n", argv[2], qPrintable(f));
      return 1;
    }
  }
  TfrmMainBase::SetAppFolder(dir.path());
  TfrmMainBase owner;
  TfrmFontMapping editor(&owner);
  editor.LoadMap("Sinhala");
  editor.show();
  if (!QTest::qWaitForWindowExposed(&editor)) return 1;
  // The combination "kaa" of the first consonant row.
  editor.LocateCell("kaa", true, true);
  QApplication::processEvents();
  if (!editor.grab().save(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
