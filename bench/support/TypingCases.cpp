#include "TypingCases.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <utility>
#include <vector>

#include "FrameClock.h"
#include "WorkingCtrls.h"
#include "uFrmMainBase.h"
#include "uFrmMainBaseMemo.h"

namespace bench {

namespace {

void CaretAtLineEnd(QPlainTextEdit* pane, int line) {
  QTextCursor c(pane->document()->findBlockByNumber(line));
  c.movePosition(QTextCursor::EndOfBlock);
  pane->setTextCursor(c);
}

void CaretAtLineStart(QPlainTextEdit* pane, int line) {
  pane->setTextCursor(QTextCursor(pane->document()->findBlockByNumber(line)));
}

double KeyToPaint(QWidget* pane, QWidget* painted, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
  return MsToPaint(painted, [&] { QTest::keyClick(pane, key, mods); });
}

QString LongLine() {
  QString line;
  while (line.size() < 10000) line += QStringLiteral("kaamaa mama ");
  return line.left(10000);
}

QString MegabyteOfLines() {
  QString text;
  for (int i = 0; text.size() < (1 << 20); ++i) text += QStringLiteral("oba kohomadha? mama hondhin %1\r\n").arg(i);
  return text;
}

}  // namespace

QString LinesText() {
  QString text;
  for (int i = 0; i < 2000; ++i) text += QStringLiteral("mama kaama gedara yanavaa %1 \r\n").arg(i);
  return text;
}

void SetBoth(TfrmMainBase& form, TBareWindow& bare, const QString& text, int line) {
  form.memEnglish->SetText(text);
  CaretAtLineEnd(form.memEnglish, line);
  quint16 refresh = VK_REFRESH;
  form.memEnglishKeyUp(nullptr, refresh, {});
  bare.setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  CaretAtLineEnd(&bare, line);
  Settle();
}

std::vector<double> TypeTimed(QWidget* pane, QWidget* painted, const QString& keys) {
  std::vector<double> ms;
  for (QChar c : keys) {
    ms.push_back(MsToPaint(painted, [&] { QTest::keyClick(pane, c.toLatin1()); }));
    Settle();
  }
  for (int i = 0; i < keys.size(); ++i) QTest::keyClick(pane, Qt::Key_Backspace);
  Settle();
  return ms;
}

void TypingRows(const TTypingWindow& window, TBareWindow& bare, const std::function<void()>& extraRows) {
  TfrmMainBase& form = *window.form;
  TMemo* typing = form.memEnglish;
  QWidget* display = form.memSinhala->viewport();
  const TSide program{[&] { Prepare(&form, typing, form.ScrollBox1->viewport()); }, {}};
  const TSide plain{[&] { Prepare(&bare, &bare, &bare); }, {}};
  const auto with = [](TSide side, std::function<std::vector<double>()> run) {
    side.run = std::move(run);
    return side;
  };
  const QString word = QStringLiteral("kaamaa");

  SetBoth(form, bare, QStringLiteral("mama "), 0);
  Row("word in a one-line text, per key", with(program, [&] { return TypeTimed(typing, display, word); }),
      with(plain, [&] { return TypeTimed(&bare, bare.viewport(), word); }));

  const QString lines = LinesText();
  SetBoth(form, bare, lines, kMiddleLine);
  Row("word in a line of 2,000 lines, per key", with(program, [&] { return TypeTimed(typing, display, word); }),
      with(plain, [&] { return TypeTimed(&bare, bare.viewport(), word); }));

  // A letter typed after a space offers every key that starts with it: "k"
  // a typical strip, and the letter that offers the most tiles.
  const auto tilesFor = [&](QChar c) {
    QTest::keyClick(typing, c.toLatin1());
    const std::size_t tiles = form.Tiles().size();
    QTest::keyClick(typing, Qt::Key_Backspace);
    return tiles;
  };
  QChar widest('k');
  std::size_t most = 0;
  for (char c = 'a'; c <= 'z'; ++c) {
    if (const std::size_t tiles = tilesFor(QChar(c)); tiles > most) {
      most = tiles;
      widest = QChar(c);
    }
  }
  std::vector<QChar> letters{QChar('k')};
  if (widest != QChar('k')) letters.push_back(widest);
  for (const QChar c : letters) {
    const QString key(c);
    Row(QStringLiteral("\"%1\" after a space, 2,000 lines").arg(c),
        with(program, [&] { return TypeTimed(typing, display, key); }),
        with(plain, [&] { return TypeTimed(&bare, bare.viewport(), key); }), 9, 2,
        QStringLiteral("%1 tiles").arg(tilesFor(c)));
  }

  // Backspace at the start of a line joins it to the one before; Enter
  // splits it again.
  const auto joinSplit = [&](QPlainTextEdit* pane, QWidget* painted) {
    CaretAtLineStart(pane, kMiddleLine);
    std::vector<double> ms;
    ms.push_back(KeyToPaint(pane, painted, Qt::Key_Backspace));
    Settle();
    ms.push_back(KeyToPaint(pane, painted, Qt::Key_Return));
    Settle();
    return ms;
  };
  if (window.wantReturns) window.wantReturns(true);
  Row("Backspace joining lines, Enter splitting", with(program, [&] { return joinSplit(typing, display); }),
      with(plain, [&] { return joinSplit(&bare, bare.viewport()); }));
  if (window.wantReturns) window.wantReturns(false);

  if (extraRows) {
    SetBoth(form, bare, lines, kMiddleLine);
    extraRows();
  }

  SetBoth(form, bare, LongLine(), 0);
  Row("letter at the end of a 10,000-char line", with(program, [&] { return TypeTimed(typing, display, "ka"); }),
      with(plain, [&] { return TypeTimed(&bare, bare.viewport(), "ka"); }));

  // The paste is timed to the frame that shows it, all its work done.
  const QString megabyte = MegabyteOfLines();
  QGuiApplication::clipboard()->setText(megabyte);
  const auto paste = [&](QPlainTextEdit* pane, QWidget* painted) {
    const double ms = KeyToPaint(pane, painted, Qt::Key_V, Qt::ControlModifier);
    SetBoth(form, bare, lines, kMiddleLine);
    QGuiApplication::clipboard()->setText(megabyte);
    return std::vector<double>{ms};
  };
  SetBoth(form, bare, lines, kMiddleLine);
  Row("paste of 1 MB of lines into 2,000 lines", with(program, [&] { return paste(typing, display); }),
      with(plain, [&] { return paste(&bare, bare.viewport()); }), 7, 1);
}

}  // namespace bench
