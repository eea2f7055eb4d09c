#include "ClipboardText.h"

#include "QtCodepage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMetaObject>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QSignalBlocker>

#include "codepage.h"

namespace clipboardtext {
namespace {

std::string ToAnsi(const QString& text) { return codepage::NarrowQ(text); }
QString FromAnsi(std::string_view bytes) { return codepage::WidenQ(bytes); }

void ClearWithoutSignals(QObject* pane) {
  if (!pane) return;
  const QSignalBlocker blocker(pane);
  QMetaObject::invokeMethod(pane, "clear", Qt::DirectConnection);
}

}  // namespace

void WriteText(const QString& text) {
  auto* data = new QMimeData;
  data->setText(text);
  const std::string ansi = ToAnsi(text);
  data->setData(QString::fromLatin1(kAnsiTextMime), QByteArray(ansi.data(), static_cast<qsizetype>(ansi.size())));
  QGuiApplication::clipboard()->setMimeData(data);
}

QString ReadText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data) return QString();
  if (data->hasText()) {
    QString text = data->text();
    if (!text.isEmpty()) return text;
  }
  const QString ansiFormat = QString::fromLatin1(kAnsiTextMime);
  if (!data->hasFormat(ansiFormat)) return QString();
  const QByteArray bytes = data->data(ansiFormat);
  return FromAnsi(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

void Copy(bool typingPaneFocused, const QString& typingSelection, const QString& displayPlainText) {
  if (typingPaneFocused && !typingSelection.isEmpty())
    WriteText(AnsiForm(WithCrLf(typingSelection)));
  else
    WriteText(PaneText(displayPlainText));
}

void PasteIntoTypingPane(const ReplaceSelection& replaceTyping, const std::function<void()>& typingChanged) {
  replaceTyping(AnsiForm(WithLf(ReadText())));
  if (typingChanged) typingChanged();
}

void PasteIntoDisplayPane(bool& sinhalaEditing, const ReplaceSelection& replaceDisplay) {
  const QScopedValueRollback editing(sinhalaEditing, true);
  replaceDisplay(WithLf(ReadText()));
}

void Paste(bool typingPaneFocused, bool& sinhalaEditing, const ReplaceSelection& replaceTyping,
           const std::function<void()>& typingChanged, const ReplaceSelection& replaceDisplay) {
  if (typingPaneFocused)
    PasteIntoTypingPane(replaceTyping, typingChanged);
  else
    PasteIntoDisplayPane(sinhalaEditing, replaceDisplay);
}

void ClearPanes(QObject* displayPane, QObject* typingPane) {
  ClearWithoutSignals(displayPane);
  ClearWithoutSignals(typingPane);
}

QString AnsiForm(const QString& text) { return codepage::RoundTripQ(text); }

QString WithLf(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c == QLatin1Char('\r')) {
      out += QLatin1Char('\n');
      if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) ++i;
    } else if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
      out += QLatin1Char('\n');
    } else {
      out += c;
    }
  }
  return out;
}

QString WithCrLf(const QString& text) { return WithLf(text).replace(QLatin1Char('\n'), QLatin1String("\r\n")); }

QStringList PaneLines(const QString& plainText) {
  QStringList lines = WithLf(plainText).split(QLatin1Char('\n'));
  if (lines.last().isEmpty()) lines.removeLast();
  return lines;
}

QString PaneText(const QString& plainText) { return PaneLines(plainText).join(QLatin1String("\r\n")); }

}  // namespace clipboardtext
