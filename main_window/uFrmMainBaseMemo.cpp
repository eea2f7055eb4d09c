#include "uFrmMainBaseMemo.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextDocument>
#include <algorithm>

#include "ClipboardText.h"
#include "QtCodepage.h"

namespace {

constexpr QChar kParagraph(0x2029);

}  // namespace

TMemo::TMemo(QWidget* parent, bool ansi) : QPlainTextEdit(parent), FAnsi(ansi) {
  setTabChangesFocus(true);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  connect(document(), &QTextDocument::contentsChange, this,
          [this](int position, int removed, int added) { ContentsChange(position, removed, added); });
  // A pane shorter than one line counts even its last line as out of view,
  // so the scroll range reaches one line past the end; when the text then
  // shrinks, the top line stays past the last one and the pane shows
  // nothing. The top line never passes the last line.
  connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, [this](int, int max) {
    const int last = std::max(0, document()->lineCount() - 1);
    if (max > last) verticalScrollBar()->setMaximum(last);
  });
}

void TMemo::ContentsChange(int position, int, int added) {
  // One edit replaces a stretch of whole lines by another; a second edit
  // inside the lines already changed keeps the stretch, anything else asks
  // for the whole text.
  const QTextDocument* doc = document();
  const int blocks = doc->blockCount();
  const int delta = blocks - FKnownBlocks;
  const int first = doc->findBlock(position).blockNumber();
  const QTextBlock edited = doc->findBlock(position + added);
  const int last = edited.blockNumber();
  // The line an edit ends in keeps its shaped glyphs (they are dropped after
  // each layout otherwise): the pane lays it out, finds the caret in it and
  // paints it, and each of those would shape a long line anew. The change is
  // reported before the layout, so the layout to come already keeps them.
  if (edited.isValid()) edited.layout()->setCacheEnabled(true);
  FKnownBlocks = blocks;
  if (FChanges.whole) return;
  if (first < 0 || last < 0) {
    FChanges.whole = true;
  } else if (FChanges.first < 0) {
    FChanges.first = first;
    FChanges.last = last;
    FChanges.oldLast = last - delta;
  } else if (!(delta == 0 && first == last && first >= FChanges.first && first <= FChanges.last)) {
    FChanges.whole = true;
  }
}

TMemo::TChanges TMemo::TakeChanges() {
  const TChanges changes = FChanges;
  FChanges = {};
  FKnownBlocks = document()->blockCount();
  return changes;
}

int TMemo::BlockCount() const { return document()->blockCount(); }

void TMemo::ShowPosition(int line, int column) {
  const QTextBlock b = document()->findBlockByNumber(line);
  if (!b.isValid()) return;
  QTextCursor c(b);
  c.setPosition(b.position() + std::clamp(column, 0, b.length() - 1));
  setTextCursor(c);
  ensureCursorVisible();
}

void TMemo::changeEvent(QEvent* event) {
  QPlainTextEdit::changeEvent(event);
  if (event->type() == QEvent::FontChange) ensureCursorVisible();
}

QString TMemo::Narrowed(const QString& text) { return codepage::RoundTripQ(text); }

QString TMemo::Incoming(const QString& text) const {
  // A text that needs neither step (what the pane itself gave out, a text
  // read back from a file) is taken as it is: a long text is not copied twice.
  const auto otherBreak = [](QChar c) {
    return c == QLatin1Char('\r') || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
  };
  const auto outsideCodePage = [](QChar c) { return codepage::RoundTrip(c.unicode()) != c.unicode(); };
  QString t = std::any_of(text.begin(), text.end(), otherBreak) ? clipboardtext::WithLf(text) : text;
  if (FAnsi && std::any_of(t.begin(), t.end(), outsideCodePage)) t = Narrowed(t);
  return t;  // one break, LF, the one the document keeps
}

QString TMemo::Text() const {
  QString raw = document()->toRawText();
  raw.replace(kParagraph, QStringLiteral("\r\n"));
  return raw;
}

void TMemo::SetText(const QString& text) {
  const QString t = Incoming(text);
  if (Holds(t)) return;
  setPlainText(t);
}

qsizetype TMemo::TextLength() const {
  // Every block but the last ends in one separator, which Text() makes two.
  const QTextDocument* doc = document();
  return doc->characterCount() - 1 + doc->blockCount() - 1;
}

bool TMemo::Holds(const QString& lfText) const {
  // Texts of other lengths differ: a long pane is not read out to tell.
  if (TextLength() != lfText.size() + lfText.count(QLatin1Char('\n'))) return false;
  return Text() == QString(lfText).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

int TMemo::LineCount() const {
  const QTextDocument* doc = document();
  if (doc->isEmpty()) return 0;
  int n = doc->blockCount();
  if (doc->lastBlock().length() <= 1) --n;  // empty last block: a trailing break
  return n;
}

QString TMemo::Line(int index) const {
  const QTextBlock b = document()->findBlockByNumber(index);
  return b.isValid() ? b.text() : QString();
}

void TMemo::SetLine(int index, const QString& text) {
  const QTextBlock b = document()->findBlockByNumber(index);
  if (!b.isValid()) return;
  const QString t = Incoming(text);
  if (b.text() == t) return;
  QTextCursor c(b);
  c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  c.insertText(t);
}

void TMemo::ReplaceLines(int first, int last, const QString& text) {
  const QTextBlock a = document()->findBlockByNumber(first);
  const QTextBlock b = document()->findBlockByNumber(last);
  if (!a.isValid() || !b.isValid() || last < first) return;
  QString old;
  for (QTextBlock k = a;; k = k.next()) {
    old += k.text();
    if (k == b) break;
    old += QChar('\n');
  }
  const QString t = Incoming(text);
  // Only the stretch between what the old and the new text share at their
  // start and at their end is replaced: a letter typed in a long line does
  // not put the whole line in again.
  const qsizetype most = std::min(old.size(), t.size());
  qsizetype prefix = 0;
  while (prefix < most && old.at(prefix) == t.at(prefix)) ++prefix;
  qsizetype suffix = 0;
  while (suffix < most - prefix && old.at(old.size() - 1 - suffix) == t.at(t.size() - 1 - suffix)) ++suffix;
  if (prefix == old.size() && prefix == t.size()) return;
  QTextCursor c(document());
  c.setPosition(a.position() + static_cast<int>(prefix));
  c.setPosition(a.position() + static_cast<int>(old.size() - suffix), QTextCursor::KeepAnchor);
  c.beginEditBlock();
  c.insertText(t.mid(prefix, t.size() - prefix - suffix));
  c.endEditBlock();
}

void TMemo::AddLine(const QString& text) {
  const QString t = Incoming(text);
  QTextCursor c(document());
  c.movePosition(QTextCursor::End);
  if (document()->isEmpty())
    c.insertText(t + QChar('\n'));
  else if (document()->lastBlock().length() > 1)
    c.insertText(QChar('\n') + t);
  else
    c.insertText(t + QChar('\n'));
}

int TMemo::ToCrLf(int docPosition) const {
  return docPosition + document()->findBlock(docPosition).blockNumber();
}

int TMemo::FromCrLf(int position) const {
  if (position <= 0) return 0;
  const QTextDocument* doc = document();
  // Block k starts at CR LF position block.position() + k: find the last
  // block starting at or before `position`.
  int lo = 0, hi = doc->blockCount() - 1;
  while (lo < hi) {
    const int mid = (lo + hi + 1) / 2;
    if (doc->findBlockByNumber(mid).position() + mid <= position)
      lo = mid;
    else
      hi = mid - 1;
  }
  const QTextBlock b = doc->findBlockByNumber(lo);
  const int offset = position - (b.position() + lo);
  return b.position() + std::min(offset, b.length() - 1);
}

int TMemo::SelStart() const { return ToCrLf(textCursor().selectionStart()); }

int TMemo::SelLength() const {
  const QTextCursor c = textCursor();
  return ToCrLf(c.selectionEnd()) - ToCrLf(c.selectionStart());
}

void TMemo::SetSelStart(int position) {
  QTextCursor c = textCursor();
  c.setPosition(FromCrLf(position));
  setTextCursor(c);
}

void TMemo::SetSelLength(int length) {
  QTextCursor c = textCursor();
  const int start = SelStart();
  c.setPosition(FromCrLf(start));
  c.setPosition(FromCrLf(start + std::max(0, length)), QTextCursor::KeepAnchor);
  setTextCursor(c);
}

void TMemo::SetSelText(const QString& text) {
  QTextCursor c = textCursor();
  c.insertText(Incoming(text));
  setTextCursor(c);
}

int TMemo::LineAt(int position) const { return document()->findBlock(FromCrLf(position)).blockNumber(); }

QString TMemo::TextBefore(int position, int n) const {
  QString out;
  const int docPos = FromCrLf(position);
  QTextBlock b = document()->findBlock(docPos);
  int inBlock = docPos - b.position();
  while (b.isValid() && out.size() < n) {
    out.prepend(b.text().left(inBlock));
    if (out.size() >= n) break;
    b = b.previous();
    if (!b.isValid()) break;
    out.prepend(QStringLiteral("\r\n"));
    inBlock = b.length() - 1;
  }
  return out.right(n);
}

void TMemo::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  FPressedKeys.insert(key);
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !WantReturns) {
    event->accept();
    return;
  }
  const QString text = event->text();
  if (FAnsi && !text.isEmpty() && Narrowed(text) != text) {
    QKeyEvent narrowed(event->type(), key, event->modifiers(), event->nativeScanCode(),
                       event->nativeVirtualKey(), event->nativeModifiers(), Narrowed(text),
                       event->isAutoRepeat(), static_cast<quint16>(event->count()));
    QPlainTextEdit::keyPressEvent(&narrowed);
    event->setAccepted(narrowed.isAccepted());
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void TMemo::keyReleaseEvent(QKeyEvent* event) {
  QPlainTextEdit::keyReleaseEvent(event);
  if (event->isAutoRepeat()) return;
  if (FPressedKeys.remove(event->key())) emit KeyUp(event);
}

void TMemo::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  emit Enter();
}

void TMemo::focusOutEvent(QFocusEvent* event) {
  // A key held while the focus leaves is released elsewhere.
  FPressedKeys.clear();
  QPlainTextEdit::focusOutEvent(event);
  emit Exit();
}

void TMemo::insertFromMimeData(const QMimeData* source) {
  if (!source || !source->hasText() || isReadOnly()) return;
  insertPlainText(Incoming(source->text()));
}

void TMemo::inputMethodEvent(QInputMethodEvent* event) {
  if (FAnsi && !event->commitString().isEmpty()) {
    QInputMethodEvent narrowed(event->preeditString(), event->attributes());
    narrowed.setCommitString(Narrowed(event->commitString()), event->replacementStart(),
                             event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&narrowed);
    return;
  }
  QPlainTextEdit::inputMethodEvent(event);
}
