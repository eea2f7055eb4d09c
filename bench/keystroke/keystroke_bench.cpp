// Tavimo's typing window, from a key press to the painted frame, beside a
// bare Qt pane of the window's size given the same text and keys in the same
// run (see TypingCases.h for the rows), and English typing. Uses the default
// map of the program folder, a map given on the command line, or else a
// generated map of the same size. Run it on a desktop (scripts/bench.sh):
//   keystroke_bench [map.fmp]
#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "FrameClock.h"
#include "TypingCases.h"
#include "WorkingCtrls.h"
#include "codepage.h"
#include "registry.h"
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

// The window with its output left out: Enter, which the split case presses,
// would otherwise open the output's error box.
class TBenchWindow : public TfrmMain {
 public:
  bool SendToTarget(TOutputTarget, const QString&, bool) override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavimo 2.1");
  // A blinking caret would paint in the middle of a measurement.
  QApplication::setCursorFlashTime(0);
  QTemporaryDir dir;
  const QString source = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString(VARUNEL_PROGRAM_DIR "/Sinhala.fmp");
  const QString target = dir.filePath("Sinhala.fmp");
  const bool shipped = QFileInfo::exists(source) && QFile::copy(source, target);
  if (!shipped) GenerateMap(target);
  TfrmMainBase::SetAppFolder(dir.path());
  registry::SetHiveFile(dir.filePath("registry.ini").toStdString());

  TBenchWindow w;
  w.FormCreate(&w);
  w.tmrSplash->stop();
  w.tmrLoadSettings->stop();
  w.move(20, 20);
  w.show();
  if (!QTest::qWaitForWindowExposed(&w, 5000)) std::fprintf(stderr, "the window was not shown\n");
  bench::TBareWindow bare(w.size(), QPoint(w.frameGeometry().right() + 20, 20));
  bare.ShowExposed();
  std::printf("map: %s (%d items), window %dx%d\n", shipped ? qPrintable(source) : "generated",
              w.FCharMap->Count(), w.width(), w.height());

  bench::Header(QStringLiteral("Tavimo, on X with the pointer over the suggestion strip"), QStringLiteral("Tavimo"));
  bench::TypingRows({&w, [&w](bool on) { w.memEnglish->WantReturns = on; }}, bare, [&] {
    // English typing mirrors the typing pane; no conversion, no suggestions.
    w.FEnglishMode = true;
    bench::Row("English typing, word in 2,000 lines",
               {[&] { bench::Prepare(&w, w.memEnglish, w.ScrollBox1->viewport()); },
                [&] { return bench::TypeTimed(w.memEnglish, w.memSinhala->viewport(), "kaamaa"); }},
               {[&] { bench::Prepare(&bare, &bare, &bare); },
                [&] { return bench::TypeTimed(&bare, bare.viewport(), "kaamaa"); }});
    w.FEnglishMode = false;
  });
  return 0;
}
