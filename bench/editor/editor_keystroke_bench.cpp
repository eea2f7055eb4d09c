// Time from a key press in the editor's typing pane to the converted display
// pane and the rebuilt suggestion strip, on documents of 2,000 and 20,000
// lines with the caret in the middle: a letter typed inside a line (one
// line converted) and Enter (a new line: the whole text converted). Uses
// the shipped default map, or the map given on the command line.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "uFrmMain.h"
#include "uFrmMainBaseMemo.h"

using varunel::TfrmMain;

namespace {

struct Result {
  double median;
  double worst;
};

Result Summary(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], times.back()};
}

// Presses `key` at the caret `rounds` times, each followed by a Backspace
// (not timed) so the document keeps its size.
Result Measure(TfrmMain& w, Qt::Key key, char letter, int rounds) {
  std::vector<double> times;
  QElapsedTimer t;
  for (int r = 0; r < rounds; ++r) {
    t.start();
    if (letter)
      QTest::keyClick(w.memEnglish, letter);
    else
      QTest::keyClick(w.memEnglish, key);
    times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    QTest::keyClick(w.memEnglish, Qt::Key_Backspace);
    QApplication::processEvents();
  }
  return Summary(times);
}

}  // namespace

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  const QString source = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString(VARUNEL_PROGRAM_DIR "/Sinhala.fmp");
  if (!QFileInfo::exists(source) || !QFile::copy(source, dir.filePath("Sinhala.fmp"))) {
    std::fprintf(stderr, "no map at %s\n", qPrintable(source));
    return 1;
  }
  TfrmMainBase::SetAppFolder(dir.path());

  TfrmMain w;
  w.FormCreate(&w);
  w.show();
  QApplication::processEvents();
  std::printf("map: %s (%d items)\n", qPrintable(source), w.FCharMap->Count());

  for (const int lines : {2000, 20000}) {
    QString text;
    for (int i = 0; i < lines; ++i) text += QStringLiteral("mama sinhala liyanavaa %1 laxkaava\r\n").arg(i);
    w.memEnglish->SetText(text);
    // The caret at the end of the middle line.
    w.memEnglish->SetSelStart(static_cast<int>(text.size() / 2));
    w.memEnglish->moveCursor(QTextCursor::EndOfLine);
    QApplication::processEvents();
    const Result letter = Measure(w, Qt::Key_A, 'a', 30);
    const Result enter = Measure(w, Qt::Key_Return, 0, 15);
    std::printf("%5d lines: inside a line median %.3f ms, worst %.3f ms; Enter median %.3f ms, worst %.3f ms\n",
                lines, letter.median, letter.worst, enter.median, enter.worst);
  }
  return 0;
}
