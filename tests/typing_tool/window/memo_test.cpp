// The pane helper: CR LF positions, lines and the 8-bit typing pane.
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QTest>

#include "uFrmMainBase.h"
#include "uFrmMainBaseMemo.h"

class MemoTest : public QObject {
  Q_OBJECT

 private slots:
  void lineCountRule() {
    TMemo m(nullptr, false);
    QCOMPARE(m.LineCount(), 0);
    m.SetText("ab");
    QCOMPARE(m.LineCount(), 1);
    m.SetText("ab\r\n");  // a final break starts no new line
    QCOMPARE(m.LineCount(), 1);
    m.SetText("ab\r\n\r\ncd");
    QCOMPARE(m.LineCount(), 3);
    QCOMPARE(m.Line(1), QString());
    QCOMPARE(m.Line(2), QString("cd"));
    QCOMPARE(m.Line(7), QString());
  }

  void addLineAppendsAsALineList() {
    TMemo m(nullptr, false);
    m.AddLine("x");
    QCOMPARE(m.Text(), QString("x\r\n"));
    m.AddLine("y");
    QCOMPARE(m.Text(), QString("x\r\ny\r\n"));
    m.SetText("ab");
    m.AddLine("");
    QCOMPARE(m.Text(), QString("ab\r\n"));
  }

  void positionsCountCrLf() {
    TMemo m(nullptr, true);
    m.SetText("ab\r\ncd\r\nef");
    m.moveCursor(QTextCursor::End);
    QCOMPARE(m.SelStart(), 10);
    QCOMPARE(m.LineAt(10), 2);
    m.SetSelStart(4);  // start of line 1
    QCOMPARE(m.textCursor().blockNumber(), 1);
    QCOMPARE(m.SelStart(), 4);
    QCOMPARE(m.TextBefore(4, 6), QString("ab\r\n"));
    QCOMPARE(m.TextBefore(9, 6), QString("\ncd\r\ne"));
    QCOMPARE(m.TextBefore(2, 6), QString("ab"));
    QCOMPARE(m.TextBefore(0, 6), QString());
    m.SetSelStart(1);
    m.SetSelLength(4);  // "b", CR LF, "c"
    QCOMPARE(m.SelLength(), 4);
    m.SetSelText("X");
    QCOMPARE(m.Text(), QString("aXd\r\nef"));
    m.SetSelStart(-3);
    QCOMPARE(m.SelStart(), 0);
    m.SetSelStart(99);
    QCOMPARE(m.SelStart(), 7);
  }

  void lineIndexAtCountsWholeBreaks() {
    const std::string text = "ab\r\ncd\r\n";
    QCOMPARE(TfrmMainBase::LineIndexAt(text, 0), 0);
    QCOMPARE(TfrmMainBase::LineIndexAt(text, -5), 0);
    QCOMPARE(TfrmMainBase::LineIndexAt(text, 3), 0);  // between CR and LF
    QCOMPARE(TfrmMainBase::LineIndexAt(text, 4), 1);
    QCOMPARE(TfrmMainBase::LineIndexAt(text, 100), 2);
    QCOMPARE(TfrmMainBase::LineIndexAt("abc", 3), 0);
  }

  // Lines replaced by other lines leave exactly the text asked for, whatever
  // the old and the new lines share at their start and end, characters of
  // two code units included; the text's length is known without making it.
  void replacedLinesHoldTheNewText() {
    const QStringList pieces = {"a", "b", "\u0D9A", "\u0DCF", QString::fromUtf8("\U0001D11E"),
                                QString::fromUtf8("\U0001D122"), "\r\n"};
    TMemo m(nullptr, false);
    for (int seed = 1; seed <= 400; ++seed) {
      QRandomGenerator random(seed);
      const auto text = [&](int most) {
        QString t;
        for (int n = random.bounded(most); n > 0; --n) t += pieces[random.bounded(pieces.size())];
        return t;
      };
      m.SetText(text(12));
      QStringList lines = m.Text().split("\r\n");
      const int first = random.bounded(static_cast<int>(lines.size()));
      const int last = first + random.bounded(static_cast<int>(lines.size()) - first);
      const QString with = text(8);
      m.ReplaceLines(first, last, with);
      lines.remove(first, last - first + 1);
      lines.insert(first, with);
      QCOMPARE(m.Text(), lines.join("\r\n"));
      QCOMPARE(m.TextLength(), m.Text().size());  // told without making the text
    }
  }

  void typingPaneHoldsEightBitText() {
    TMemo m(nullptr, true);
    m.show();
    for (QChar c : QString::fromUtf8("aé\u0D9A\u20ACz")) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(&m, &press);
    }
    // é and the euro sign are in the code page; the Sinhala letter is not.
    QCOMPARE(m.Text(), QString::fromUtf8("aé?\u20ACz"));
    QApplication::clipboard()->setText(QString::fromUtf8("x\u0DB8\r\ny"));
    m.paste();
    QCOMPARE(m.Text(), QString::fromUtf8("aé?\u20ACzx?\r\ny"));
    // Enter breaks no line.
    QTest::keyClick(&m, Qt::Key_Return);
    QCOMPARE(m.LineCount(), 2);

    TMemo display(nullptr, false);
    display.SetText(QString::fromUtf8("\u0D9A\u00A0"));
    QCOMPARE(display.Text(), QString::fromUtf8("\u0D9A\u00A0"));  // 16-bit, no-break space kept
  }
};

int RunMemoTests(int argc, char** argv) {
  MemoTest t;
  return QTest::qExec(&t, argc, argv);
}

#include "memo_test.moc"
