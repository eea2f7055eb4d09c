#include "ClipboardText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMetaObject>
#include <QMimeData>
#include <QSignalBlocker>

#include "codepage.h"

namespace clipboardtext {
namespace {

std::string ToAnsi(const QString& text) { return codepage::Narrow(text.toStdU16String()); }

QString FromAnsi(std::string_view bytes) { return QString::fromStdU16String(codepage::Widen(bytes)); }

// The text as the 8-bit typing pane holds it.
QString ThroughCodePage(const QString& text) { return FromAnsi(ToAnsi(text)); }

// Clears `flag` when it goes out of scope, also when the step throws.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

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

void Copy(bool typingPaneFocused, const QString& typingSelection, const QString& displayText) {
  if (typingPaneFocused && !typingSelection.isEmpty())
    WriteText(ThroughCodePage(typingSelection));
  else
    WriteText(displayText);
}

void PasteIntoTypingPane(const ReplaceSelection& replaceTyping, const std::function<void()>& typingChanged) {
  replaceTyping(ThroughCodePage(ReadText()));
  if (typingChanged) typingChanged();
}

void PasteIntoDisplayPane(bool& sinhalaEditing, const ReplaceSelection& replaceDisplay) {
  const FlagScope editing(sinhalaEditing);
  replaceDisplay(ReadText());
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

QString WithCrLf(const QString& plainText) {
  QString out;
  out.reserve(plainText.size() + plainText.size() / 8);
  for (qsizetype i = 0; i < plainText.size(); ++i) {
    const QChar c = plainText.at(i);
    if (c == QLatin1Char('\r')) {
      out += QLatin1String("\r\n");
      if (i + 1 < plainText.size() && plainText.at(i + 1) == QLatin1Char('\n')) ++i;
    } else if (c == QLatin1Char('\n') || c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
      out += QLatin1String("\r\n");
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace clipboardtext
