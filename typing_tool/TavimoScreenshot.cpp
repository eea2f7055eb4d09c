// Renders Tavimo's window with some converted text and suggestion tiles into
// a PNG file:  tavimo_screenshot out.png [map.fmp]
// Without a map file a few Sinhala letters are used.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "TestMaps.h"
#include "uFrmMain.h"
#include "uFrmMainBaseMemo.h"

namespace {

void WriteLetters(const QString& folder) {
  WriteMap(folder, "Sinhala", u"Noto Sans Sinhala",
           {{u"a", u"\u0D85", {{u"a", u"\u0D85"}, {u"aa", u"\u0D86"}}},
            {u"k", u"\u0D9A\u0DCA", {{u"k", u"\u0D9A\u0DCA"}, {u"ka", u"\u0D9A"}, {u"kaa", u"\u0D9A\u0DCF"},
                                     {u"ki", u"\u0D9A\u0DD2"}, {u"kii", u"\u0D9A\u0DD3"}, {u"ku", u"\u0D9A\u0DD4"},
                                     {u"kuu", u"\u0D9A\u0DD6"}, {u"ke", u"\u0D9A\u0DD9"}, {u"ko", u"\u0D9A\u0DDC"}}},
            {u"m", u"\u0DB8\u0DCA", {{u"m", u"\u0DB8\u0DCA"}, {u"ma", u"\u0DB8"}, {u"maa", u"\u0DB8\u0DCF"}}}});
}

}  // namespace

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavimo 2.1");
  if (argc < 2) {
    std::fprintf(stderr, "usage: tavimo_screenshot out.png [map.fmp]\n");
    return 2;
  }
  QTemporaryDir dir;
  const QString map = dir.filePath("Sinhala.fmp");
  if (!(argc > 2 && QFileInfo::exists(argv[2]) && QFile::copy(argv[2], map))) WriteLetters(dir.path());
  TfrmMainBase::SetAppFolder(dir.path().toStdString());

  TfrmMain w;
  w.setWindowTitle(QApplication::applicationName());
  w.FCharMap = std::make_unique<TCharCollection>();
  w.FFontMapName = "Sinhala";
  w.cmbMapsChange(nullptr);
  w.FSuggestions = std::make_unique<TCharCollection>();
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
