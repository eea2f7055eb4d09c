// Time from a key press in the typing pane to the converted display line and
// the rebuilt suggestion strip, for a one-line text and a 2,000-line text with
// the caret in the middle; Backspace joining two lines of it and Enter
// splitting them again; English typing on it; and a paste of 1 MB of lines,
// then typing on the pane it made. Uses the default map of the program folder,
// a map given on the command line, or else a generated map of the same size.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "CharView.h"
#include "codepage.h"
#include "uFrmMain.h"
#include "uFrmMainBaseMemo.h"

using tavimo::TfrmMain;
using tavimo::TOutputTarget;

namespace {

// 109 base characters with 39 combinations each, keys of 1 to 4 letters.
void GenerateMap(const QString& path) {
  const char* consonants[] = {"k", "kh", "g", "gh", "ng", "ch", "chh", "j", "jh", "ny", "t", "th", "d", "dh",
                              "n", "p", "ph", "b", "bh", "m", "y", "r", "l", "v", "w", "sh", "s", "h", "f"};
  const char* vowels[] = {"",   "a",  "aa", "A",  "Aa", "i",  "ii", "u",   "uu",  "e",  "ee", "ai", "o",
                          "oo", "au", "R",  "RR", "L",  "LL", "x",  "aH",  "aM",  "ah", "am", "iM", "uM",
                          "eM", "oM", "ya", "ra", "yaa", "raa", "wa", "waa", "Ii", "Uu", "Ee", "Oo", "Au"};
  TCharCollection map;
  map.FontName = u"Generated";
  map.Add();
  char16_t code = 0x41;
  for (int i = 0; i < 109; ++i) {
    TCharItem& base = map.Add();
    std::string key = consonants[i % 29];
    if (i >= 29) key += static_cast<char>('a' + i / 29);  // further series: "ka", "kb", ...
    base.CharInEnglish = codepage::Widen(key);
    base.CharInFont = std::u16string(1, code);
    for (const char* v : vowels) {
      TCharItem& c = base.Combinations().Add();
      c.CharInEnglish = codepage::Widen(key + v);
      c.CharInFont = std::u16string(1, code) + std::u16string(1, static_cast<char16_t>(0xC0 + (&v - vowels)));
    }
    code = static_cast<char16_t>(code == 0x7A ? 0x41 : code + 1);
  }
  map.SaveToFile(path.toStdString());
}

// The window with its output left out: Enter, which the join case presses,
// would otherwise open the output's error box.
class TBenchWindow : public TfrmMain {
 public:
  bool SendToTarget(TOutputTarget, const QString&, bool) override { return false; }
};

struct Result {
  double median;
  double worst;
  double paintedMedian;  // including the repaint of panes and strip
  std::size_t tiles;
};

// Types `keys` one by one at the caret, each followed by a Backspace so the
// text keeps its size; times every key press.
Result Measure(TfrmMain& w, const QString& keys, int rounds) {
  std::vector<double> times, painted;
  std::size_t tiles = 0;
  QElapsedTimer t;
  for (int r = 0; r < rounds; ++r) {
    for (QChar c : keys) {
      t.start();
      QTest::keyClick(w.memEnglish, c.toLatin1());
      const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
      times.push_back(ms);
      tiles = std::max(tiles, w.Tiles().size());
      w.repaint();
      QApplication::processEvents();
      painted.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    for (int i = 0; i < keys.size(); ++i) QTest::keyClick(w.memEnglish, Qt::Key_Backspace);
  }
  std::sort(times.begin(), times.end());
  std::sort(painted.begin(), painted.end());
  return {times[times.size() / 2], times.back(), painted[painted.size() / 2], tiles};
}

// Backspace at the start of a line (joining it to the one before) and Enter
// splitting it again, each timed.
Result MeasureJoin(TfrmMain& w, int line, int rounds) {
  std::vector<double> times;
  QElapsedTimer t;
  w.memEnglish->WantReturns = true;
  for (int r = 0; r < rounds; ++r) {
    QTextCursor c(w.memEnglish->document()->findBlockByNumber(line));
    w.memEnglish->setTextCursor(c);
    for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Return}) {
      t.start();
      QTest::keyClick(w.memEnglish, key);
      times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
  }
  w.memEnglish->WantReturns = false;
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], times.back(), 0, w.Tiles().size()};
}

void Print(const char* what, const Result& r) {
  std::printf("%-10s: median %.3f ms, worst %.3f ms per keystroke (up to %zu tiles); with repaint median %.3f ms\n",
              what, r.median, r.worst, r.tiles, r.paintedMedian);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  QTemporaryDir dir;
  QString source = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString(VARUNEL_PROGRAM_DIR "/Sinhala.fmp");
  const QString target = dir.filePath("Sinhala.fmp");
  const bool shipped = QFileInfo::exists(source) && QFile::copy(source, target);
  if (!shipped) GenerateMap(target);
  TfrmMainBase::SetAppFolder(dir.path());

  TBenchWindow w;
  w.FFontMapName = "Sinhala";
  w.CreateMaps();
  w.show();
  QApplication::processEvents();
  std::printf("map: %s (%d items)\n", shipped ? qPrintable(source) : "generated", w.FCharMap->Count());

  const QString keys = "kaamaa";
  w.memEnglish->SetText("mama ");
  w.memEnglish->moveCursor(QTextCursor::End);
  const Result one = Measure(w, keys, 50);
  Print("one line", one);

  QString text;
  for (int i = 0; i < 2000; ++i) text += QStringLiteral("mama kaama gedara yanavaa %1\r\n").arg(i);
  w.memEnglish->SetText(text);
  w.memEnglish->SetSelStart(static_cast<int>(text.size() / 2));
  const Result many = Measure(w, keys, 20);
  Print("2000 lines", many);
  Print("join/split", MeasureJoin(w, 1000, 20));

  // English typing mirrors; no conversion, no suggestions.
  w.FEnglishMode = true;
  w.memEnglish->SetSelStart(static_cast<int>(text.size() / 2));
  Print("English", Measure(w, keys, 20));
  w.FEnglishMode = false;

  // 1 MB of lines pasted into the 2,000-line pane at its caret.
  QString mb;
  for (int i = 0; mb.size() < (1 << 20); ++i) mb += QStringLiteral("oba kohomadha? mama hondhin %1\r\n").arg(i);
  QGuiApplication::clipboard()->setText(mb);
  QElapsedTimer t;
  t.start();
  QTest::keyClick(w.memEnglish, Qt::Key_V, Qt::ControlModifier);
  std::printf("%-10s: %.3f ms for %lld bytes, %d lines now\n", "paste 1 MB", static_cast<double>(t.nsecsElapsed()) / 1e6,
              static_cast<long long>(mb.size()), w.memEnglish->BlockCount());
  Print("after it", Measure(w, keys, 20));
  return 0;
}
