// Tavimo's window in everyday use, through real key and mouse events: keys
// whose press went elsewhere, the keyboard after a tile click, the display
// following the caret and staying the whole typing text converted, English
// typing.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCursor>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <vector>

#include "CharView.h"
#include "WorkingCtrls.h"
#include "uFrmMain.h"
#include "window_fixture.h"

using tavimo::TfrmMain;
using tavimo::TOutputTarget;

namespace {

// The window with its outputs recorded; a failed output shows its message.
class TTestWindow : public TfrmMain {
 public:
  int sent = 0;
  bool sendResult = false;
  bool SendToTarget(TOutputTarget target, const QString& text, bool isEnter) override {
    ++sent;
    return sendResult || TfrmMain::SendToTarget(target, text, isEnter);
  }
};

}  // namespace

class EverydayTest : public QObject, TWindowFixture<TTestWindow> {
  Q_OBJECT

  QWidget* Focused() const { return QApplication::focusWidget(); }
  QString Converted(const QString& typed) const {
    return QString::fromStdU16String(w->FCharMap->EnglishToFont(typed.toStdU16String()));
  }
  // The display position of the end of line `line` is inside the visible area.
  bool LineEndInView(int line) const {
    QTextCursor c(w->memSinhala->document()->findBlockByNumber(line));
    c.movePosition(QTextCursor::EndOfBlock);
    return w->memSinhala->viewport()->rect().contains(w->memSinhala->cursorRect(c));
  }

 private slots:
  void init() {
    QVERIFY(Open());
    w->resize(450, 350);
    w->FitDisplayPane(18);
    w->activateWindow();
    w->memEnglish->setFocus();
    QTRY_VERIFY(w->memEnglish->hasFocus());
  }
  void cleanup() { Close(); }

  // Enter that closed a box lands its release in the typing pane: it must
  // not submit again, nor may any other key whose press went elsewhere.
  void releasesWhosePressWentElsewhereDoNothing() {
    QTest::keyClicks(w->memEnglish, "kam");
    QTest::keyClick(w->memEnglish, Qt::Key_Return);
    QCOMPARE(w->sent, 1);
    QCOMPARE(script->messages().size(), 1);  // the "Please verify ..." box
    QTest::keyRelease(w->memEnglish, Qt::Key_Return);  // the box's Enter, released
    w->chkSubmitWords->setChecked(true);
    QTest::keyRelease(w->memEnglish, Qt::Key_Space);
    QCOMPARE(w->sent, 1);
    QCOMPARE(script->messages().size(), 1);

    QTest::keyRelease(w->memEnglish, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(!w->FEnglishMode);
    QTest::keyClick(w->memEnglish, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(w->FEnglishMode);
    QTest::keyRelease(w->memEnglish, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(w->FEnglishMode);
    QTest::keyClick(w->memEnglish, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!w->FEnglishMode);

    w->FSuggestions->Clear();
    w->LayoutSuggestions(*w->FSuggestions);
    QTest::keyRelease(w->memEnglish, Qt::Key_Left);
    QVERIFY(w->Tiles().empty());  // no refresh
    // A key held while the focus went away and came back.
    QTest::keyPress(w->memEnglish, Qt::Key_Return);
    w->txtEnglish->setFocus();
    QTRY_VERIFY(w->txtEnglish->hasFocus());
    w->memEnglish->setFocus();
    QTRY_VERIFY(w->memEnglish->hasFocus());
    const int before = w->sent;
    QTest::keyRelease(w->memEnglish, Qt::Key_Return);
    QCOMPARE(w->sent, before);
  }

  // With the pointer resting over the strip, every keystroke selects the
  // tile that then lies under it, as pointing at it would.
  void restingPointerSelectsTheTileUnderIt() {
    const auto selected = [this] { return w->FSelectedView ? w->FSelectedView->Caption() : QString(); };
    QTest::keyClicks(w->memEnglish, "k");  // K, Ka, Kaa, Ki
    QCursor::setPos(w->Tiles().at(1)->mapToGlobal(QPoint(10, 10)));
    QTRY_COMPARE(selected(), QString("Ka"));
    QTest::keyClicks(w->memEnglish, "a");  // Ka, Kaa, A, AA: other tiles in the same places
    QCOMPARE(selected(), QString("Kaa"));
    QCOMPARE(w->txtEnglish->text(), QString("kaa"));
    QTest::keyClicks(w->memEnglish, "q");  // no tiles
    QCOMPARE(selected(), QString());
    QTest::keyClick(w->memEnglish, Qt::Key_Backspace);
    QCOMPARE(selected(), QString("Kaa"));
    QCOMPARE(Focused(), w->memEnglish);
  }

  void tileClicksGiveTheKeyboardBack() {
    QTest::keyClicks(w->memEnglish, "ka");
    TTntCharView* tile = w->Tiles().at(1);
    QCOMPARE(tile->CharInEnglish, QString("kaa"));
    QTest::mouseClick(tile, Qt::LeftButton);
    QCOMPARE(w->txtEnglish->text(), QString("kaa"));
    QCOMPARE(Focused(), w->memEnglish);
    QCOMPARE(w->memEnglish->SelStart(), 2);
    QTest::keyClicks(Focused(), "m");
    QCOMPARE(Typed(), QString("kam"));

    SetTyped("ka");
    QTest::keyClick(w->memEnglish, Qt::Key_Left);  // caret before the "a"? no: refresh at 1
    QTest::keyClick(w->memEnglish, Qt::Key_Right);
    tile = w->Tiles().at(1);
    QCOMPARE(tile->CharInEnglish, QString("kaa"));
    QTest::mouseDClick(tile, Qt::LeftButton);
    QCOMPARE(Typed(), QString("kaa"));
    QCOMPARE(Focused(), w->memEnglish);
    QCOMPARE(w->memEnglish->SelStart(), 3);  // after the inserted key
    QTRY_COMPARE(Display(), QString("Kaa"));
    QTest::keyClicks(Focused(), "m");
    QCOMPARE(Typed(), QString("kaam"));
    QCOMPARE(Display(), QString("KaaM"));
  }

  void displayKeepsTheCaretInView() {
    // Along a line wider than the pane.
    for (int i = 0; i < 12; ++i) QTest::keyClicks(w->memEnglish, "kaamaa ");
    QVERIFY(w->memSinhala->horizontalScrollBar()->maximum() > 0);
    QVERIFY(LineEndInView(0));
    // Across lines, after a whole-text conversion (more lines than shown).
    QString lines;
    for (int i = 0; i < 30; ++i) lines += "ma ka\r\n";
    QGuiApplication::clipboard()->setText(lines + "kaa");
    QTest::keyClick(w->memEnglish, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w->memSinhala->BlockCount(), 31);
    QVERIFY(LineEndInView(30));
    QVERIFY(!LineEndInView(0));
    // And after a one-line edit far from there.
    QTest::keyClick(w->memEnglish, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(w->memEnglish, Qt::Key_End);
    QTest::keyClicks(w->memEnglish, "m");
    QVERIFY(LineEndInView(0));
  }

  // However short the panes are, once several lines have come and gone the
  // text typed on is drawn in both: a pane never stays scrolled past its
  // last line.
  void panesDrawTheirTextAfterLinesHaveGone() {
    // Ink: columns of the pane's viewport holding something other than its
    // background (the caret alone is one column).
    const auto inked = [](TMemo* pane) {
      const QImage shot = pane->viewport()->grab().toImage();
      const QColor background = pane->viewport()->palette().color(pane->viewport()->backgroundRole());
      int columns = 0;
      for (int x = 0; x < shot.width(); ++x)
        for (int y = 0; y < shot.height(); ++y)
          if (shot.pixelColor(x, y) != background) {
            ++columns;
            break;
          }
      return columns > 3;
    };
    const auto showLines = [](TMemo* pane, int height) {
      pane->setFixedHeight(pane->height() - pane->viewport()->height() + height);
    };
    for (TMemo* pane : {w->memEnglish, w->memSinhala}) QVERIFY(pane->fontMetrics().ascent() > 6);
    for (int step = 0; step < 12; ++step) {
      const bool submit = step % 2 == 1;
      // From a viewport that shows a line's letters but not the whole line,
      // to one that shows more than three lines.
      for (TMemo* pane : {w->memEnglish, w->memSinhala}) {
        const QFontMetrics m = pane->fontMetrics();
        showLines(pane, 4 + m.ascent() + step * m.height() / 3);
      }
      QApplication::processEvents();
      QGuiApplication::clipboard()->setText("kamala\r\nmama\r\ngedara");
      QTest::keyClick(w->memEnglish, Qt::Key_V, Qt::ControlModifier);
      QCOMPARE(w->memSinhala->BlockCount(), 3);
      if (submit) {
        w->sendResult = true;
        QTest::keyClick(w->memEnglish, Qt::Key_Return);
        w->sendResult = false;
      } else {
        QTest::keyClick(w->memEnglish, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w->memEnglish, Qt::Key_Backspace);
      }
      QCOMPARE(Typed(), QString());
      QTest::keyClicks(w->memEnglish, "kama");
      QCOMPARE(Display(), Converted("kama"));
      QApplication::processEvents();
      QVERIFY2(inked(w->memEnglish), qPrintable(QString("typing pane blank at step %1").arg(step)));
      QVERIFY2(inked(w->memSinhala), qPrintable(QString("display pane blank at step %1").arg(step)));
      SetTyped("");
    }
  }

  // Whatever the user does to the typing pane, the display holds its whole
  // text converted, line for line and break for break.
  void displayIsTheWholeTypingTextConverted() {
    const QStringList pasted = {"ka", "mama\r\n", "\r\nkaa", "ma\r\nka\r\nm", "\r\n", "k a"};
    for (int seed = 1; seed <= 300; ++seed) {
      QRandomGenerator random(seed);
      SetTyped("");
      if (w->FEnglishMode) QTest::keyClick(w->memEnglish, Qt::Key_S, Qt::ControlModifier);
      // The editor's typing pane takes Enter as a line break; Tavimo's
      // submits, and a successful output empties the pane.
      w->memEnglish->WantReturns = seed % 2 == 0;
      QStringList steps;
      for (int step = 0; step < 25; ++step) {
        const int what = random.bounded(15);
        const Qt::KeyboardModifiers shift = random.bounded(3) == 0 ? Qt::ShiftModifier : Qt::NoModifier;
        switch (what) {
          case 0: case 1: case 2: {
            const QString letter(QChar("kamai "[random.bounded(6)]));
            steps << letter;
            QTest::keyClicks(w->memEnglish, letter);
            break;
          }
          case 3: steps << "BS"; QTest::keyClick(w->memEnglish, Qt::Key_Backspace); break;
          case 4: steps << "Del"; QTest::keyClick(w->memEnglish, Qt::Key_Delete); break;
          case 5:
            w->sendResult = random.bounded(4) == 0;
            steps << (w->sendResult ? "Enter+" : "Enter");
            QTest::keyClick(w->memEnglish, Qt::Key_Return);
            break;
          case 6: {
            static const Qt::Key moves[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End};
            const Qt::Key key = moves[random.bounded(6)];
            steps << QString("move%1%2").arg(key).arg(shift ? "+shift" : "");
            QTest::keyClick(w->memEnglish, key, shift);
            break;
          }
          case 7: case 8: {
            const QString text = pasted[random.bounded(pasted.size())];
            QGuiApplication::clipboard()->setText(text);
            steps << "paste " + QString(text).replace("\r\n", "|");
            if (what == 7)
              QTest::keyClick(w->memEnglish, Qt::Key_V, Qt::ControlModifier);
            else
              w->Paste1Click(nullptr);
            break;
          }
          case 9: steps << "cut"; QTest::keyClick(w->memEnglish, Qt::Key_X, Qt::ControlModifier); break;
          case 10: case 11: steps << "undo"; QTest::keyClick(w->memEnglish, Qt::Key_Z, Qt::ControlModifier); break;
          case 12: {
            const std::string map = random.bounded(2) ? "Other" : "Sinhala";
            steps << QString::fromStdString(map);
            QVERIFY(w->LoadFontMap(map));
            break;
          }
          case 13: steps << "select all"; QTest::keyClick(w->memEnglish, Qt::Key_A, Qt::ControlModifier); break;
          case 14:
            // The display keeps its text over a switch of the typing mode
            // until the next change.
            w->sendResult = false;
            steps << (w->FEnglishMode ? "Ctrl+S, m" : "Ctrl+E, m");
            QTest::keyClick(w->memEnglish, w->FEnglishMode ? Qt::Key_S : Qt::Key_E, Qt::ControlModifier);
            QTest::keyClicks(w->memEnglish, "m");
            break;
        }
        QVERIFY2(Display() == (w->FEnglishMode ? Typed() : Converted(Typed())),
                 qPrintable(QString("seed %1 after %2: typed \"%3\" shows \"%4\"")
                                .arg(seed)
                                .arg(steps.join(", "), QString(Typed()).replace("\r\n", "|"),
                                     QString(Display()).replace("\r\n", "|"))));
      }
    }
    QVERIFY(w->memEnglish->hasFocus());
  }

  void englishTypingOnlyMirrors() {
    QTest::keyClick(w->memEnglish, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(w->FEnglishMode);
    QTest::keyClicks(w->memEnglish, "hello kam");
    QCOMPARE(Display(), QString("hello kam"));
    // A map switch while the display pane has the focus changes nothing.
    QTest::mouseClick(w->memSinhala->viewport(), Qt::LeftButton);
    QTRY_VERIFY(w->memSinhala->hasFocus());
    QVERIFY(w->LoadFontMap("Other"));
    QCOMPARE(Display(), QString("hello kam"));
    QCOMPARE(Typed(), QString("hello kam"));

    // Equal line counts: only the line typed in is written.
    w->memEnglish->setFocus();
    QTRY_VERIFY(w->memEnglish->hasFocus());
    QString lines;
    for (int i = 0; i < 20; ++i) lines += "line\r\n";
    SetTyped(lines + "last");
    QCOMPARE(Display(), lines + "last");
    w->memEnglish->SetSelStart(12);  // line 2
    std::vector<int> written;
    connect(w->memSinhala->document(), &QTextDocument::contentsChange, this,
            [&](int position, int, int added) {
              written.push_back(w->memSinhala->document()->findBlock(position).blockNumber());
              written.push_back(w->memSinhala->document()->findBlock(position + added).blockNumber());
            });
    QTest::keyClicks(w->memEnglish, "x");
    QCOMPARE(Display(), Typed());
    QCOMPARE(written, std::vector<int>({2, 2}));
  }
};

QTEST_MAIN(EverydayTest)
#include "everyday_test.moc"
