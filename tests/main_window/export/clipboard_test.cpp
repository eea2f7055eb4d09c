#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include "ClipboardText.h"

namespace {

using namespace clipboardtext;

const QString kSinhala = QStringLiteral(u"\u0D9A\u0DB8\u0DBD ka");  // "කමල ka"

QByteArray AnsiOnClipboard() {
  return QGuiApplication::clipboard()->mimeData()->data(QString::fromLatin1(kAnsiTextMime));
}

void PutAnsiOnly(const QByteArray& bytes) {
  auto* data = new QMimeData;
  data->setData(QString::fromLatin1(kAnsiTextMime), bytes);
  QGuiApplication::clipboard()->setMimeData(data);
}

TEST(Clipboard, UnicodeTextTravelsWithItsAnsiForm) {
  WriteText(kSinhala);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), kSinhala);
  EXPECT_EQ(AnsiOnClipboard(), QByteArray("??? ka"));
  EXPECT_EQ(ReadText(), kSinhala);

  WriteText(QStringLiteral(u"caf\u00E9 \u20AC"));
  EXPECT_EQ(AnsiOnClipboard(), QByteArray("caf\xE9 \x80"));
}

TEST(Clipboard, AnsiFormAloneIsWidenedThroughTheCodePage) {
  PutAnsiOnly(QByteArray("caf\xE9 \x80\x81"));
  EXPECT_EQ(ReadText(), QStringLiteral(u"caf\u00E9 \u20AC\u0081"));

  QGuiApplication::clipboard()->setMimeData(new QMimeData);
  EXPECT_TRUE(ReadText().isEmpty());
}

TEST(Clipboard, CopyTakesTheTypingSelectionOnlyWhenFocusedAndNotEmpty) {
  const QString display = QStringLiteral(u"\u0D9A\n\u0DB8\n");  // as the pane gives it
  const QString displayText = QStringLiteral(u"\u0D9A\r\n\u0DB8");
  Copy(true, QStringLiteral("ka"), display);
  EXPECT_EQ(ReadText(), QStringLiteral("ka"));
  EXPECT_EQ(AnsiOnClipboard(), QByteArray("ka"));
  Copy(true, QStringLiteral("ka") + QChar(QChar::ParagraphSeparator) + QStringLiteral("ma"), display);
  EXPECT_EQ(AnsiOnClipboard(), QByteArray("ka\r\nma"));

  Copy(true, QString(), display);
  EXPECT_EQ(ReadText(), displayText);
  Copy(false, QStringLiteral("ka"), display);
  EXPECT_EQ(ReadText(), displayText);
}

TEST(Clipboard, PasteIntoTypingPaneNarrowsThenRunsTheChangeHandler) {
  WriteText(kSinhala);
  QPlainTextEdit typing(QStringLiteral("ab"));
  typing.moveCursor(QTextCursor::End);
  QString seenByChange;
  bool sinhalaEditing = false;
  Paste(
      true, sinhalaEditing, [&](const QString& t) { typing.insertPlainText(t); },
      [&] { seenByChange = typing.toPlainText(); }, [](const QString&) { FAIL() << "display pane touched"; });
  EXPECT_EQ(typing.toPlainText(), QStringLiteral("ab??? ka"));
  EXPECT_EQ(seenByChange, QStringLiteral("ab??? ka"));
}

TEST(Clipboard, PasteIntoDisplayPaneRunsWithSinhalaEditingSet) {
  PutAnsiOnly(QByteArray("l"));
  QPlainTextEdit display(QStringLiteral("xy"));
  display.setReadOnly(true);
  QTextCursor c = display.textCursor();
  c.setPosition(1);
  c.setPosition(2, QTextCursor::KeepAnchor);  // "y" selected
  display.setTextCursor(c);
  bool sinhalaEditing = false;
  bool flagDuringChange = false;
  QObject::connect(&display, &QPlainTextEdit::textChanged, [&] { flagDuringChange = sinhalaEditing; });
  Paste(
      false, sinhalaEditing, [](const QString&) { FAIL() << "typing pane touched"; }, [] {},
      [&](const QString& t) { display.insertPlainText(t); });
  EXPECT_EQ(display.toPlainText(), QStringLiteral("xl"));
  EXPECT_TRUE(flagDuringChange);
  EXPECT_FALSE(sinhalaEditing);

  // The flag is cleared even when the paste fails.
  EXPECT_THROW(PasteIntoDisplayPane(sinhalaEditing, [](const QString&) { throw std::runtime_error("x"); }),
               std::runtime_error);
  EXPECT_FALSE(sinhalaEditing);
}

TEST(Clipboard, ClearEmptiesBothPanesWithoutChangeEvents) {
  QPlainTextEdit display(QStringLiteral("\u0D9A"));
  QPlainTextEdit typing(QStringLiteral("ka"));
  int changes = 0;
  QObject::connect(&display, &QPlainTextEdit::textChanged, [&] { ++changes; });
  QObject::connect(&typing, &QPlainTextEdit::textChanged, [&] { ++changes; });
  ClearPanes(&display, &typing);
  EXPECT_TRUE(display.toPlainText().isEmpty());
  EXPECT_TRUE(typing.toPlainText().isEmpty());
  EXPECT_EQ(changes, 0);
  typing.insertPlainText(QStringLiteral("k"));
  EXPECT_EQ(changes, 1);
}

TEST(Clipboard, PastedLinesKeepTheirCount) {
  WriteText(QStringLiteral("a\r\nb\r\n"));
  QPlainTextEdit typing;
  PasteIntoTypingPane([&](const QString& t) { typing.insertPlainText(t); }, {});
  EXPECT_EQ(typing.blockCount(), 3);
  EXPECT_EQ(typing.toPlainText(), QStringLiteral("a\nb\n"));
}

TEST(PaneText, LinesAndWholeTextAsTheMemosGiveThem) {
  EXPECT_EQ(PaneLines(QString()), QStringList());
  EXPECT_EQ(PaneLines(QStringLiteral("\n")), QStringList{QString()});
  EXPECT_EQ(PaneLines(QStringLiteral("a\n\nb\n")), QStringList({"a", "", "b"}));
  EXPECT_EQ(PaneText(QStringLiteral("a\r\nb\rc\n")), QStringLiteral("a\r\nb\r\nc"));
  EXPECT_EQ(WithCrLf(QStringLiteral("a") + QChar(QChar::LineSeparator) + QStringLiteral("b\n")),
            QStringLiteral("a\r\nb\r\n"));
}

}  // namespace
