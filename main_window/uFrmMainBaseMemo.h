// The multi-line edit both panes are made of, seen the way the window logic
// reads it: whole text, lines and positions count a line break as the two
// characters CR LF. An 8-bit pane (the typing pane) holds only what the ANSI
// code page can hold: typed, pasted or dropped text is narrowed on the way in,
// a character outside the code page arriving as '?'.
#pragma once

#include <QPlainTextEdit>
#include <QSet>
#include <QString>

class QKeyEvent;

class TMemo : public QPlainTextEdit {
  Q_OBJECT

 public:
  TMemo(QWidget* parent, bool ansi);

  bool Ansi() const { return FAnsi; }
  // False: Enter inserts no line break (it is left to the key handlers).
  bool WantReturns = false;

  // Whole text, CR LF between lines. Setting the text the pane already
  // holds changes nothing and raises no change.
  QString Text() const;
  void SetText(const QString& text);
  // The length of Text(), without making it.
  qsizetype TextLength() const;

  // Number of lines: 0 for an empty pane; a line break at the very end
  // starts no new line.
  int LineCount() const;
  // Number of lines as the document keeps them: a break at the very end
  // starts an empty last line, and an empty pane has one empty line. Two
  // panes with the same text line for line have the same count.
  int BlockCount() const;
  QString Line(int index) const;  // "" beyond the last line
  void SetLine(int index, const QString& text);
  // Lines first..last (CR LF between them) become `text`.
  void ReplaceLines(int first, int last, const QString& text);
  // A new last line, as a line list appends one.
  void AddLine(const QString& text);

  // Positions in CR LF form.
  int SelStart() const;
  int SelLength() const;
  void SetSelStart(int position);   // collapses the selection there
  void SetSelLength(int length);    // from SelStart on
  void SetSelText(const QString& text);
  // The 0-based line of a CR LF position.
  int LineAt(int position) const;
  // Up to n characters before `position`, a line break counting as CR LF.
  QString TextBefore(int position, int n) const;

  // The text as an 8-bit pane would take it.
  static QString Narrowed(const QString& text);

  // What changed in the text since the last TakeChanges(), whoever changed
  // it: nothing (first < 0), the lines first..last of the text now, which
  // stand where the lines first..oldLast stood before, or more than one
  // such stretch (whole).
  struct TChanges {
    bool whole = false;
    int first = -1;
    int last = -1;
    int oldLast = -1;
  };
  TChanges TakeChanges();

  // Puts the caret at `column` of line `line` (clipped to the line) and
  // scrolls the pane so that it is in view.
  void ShowPosition(int line, int column);

 signals:
  // The release of a key whose press this pane received.
  void KeyUp(QKeyEvent* event);
  void Enter();
  void Exit();

 protected:
  // A new font lays the text out anew: the caret stays in view, as it
  // was before (a size picked, a map of another face).
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  int ToCrLf(int docPosition) const;
  int FromCrLf(int position) const;
  // The text in the pane's own form: LF line breaks, and for an 8-bit pane
  // what the code page holds.
  QString Incoming(const QString& text) const;
  // The pane holds `lfText` (LF line breaks).
  bool Holds(const QString& lfText) const;
  void ContentsChange(int position, int removed, int added);

  bool FAnsi;
  // Keys pressed while the pane had the focus and not yet released: a
  // release whose press went elsewhere (Enter closing a box) is not passed on.
  QSet<int> FPressedKeys;
  TChanges FChanges;
  int FKnownBlocks = 1;
};
