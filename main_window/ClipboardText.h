// The program's clipboard: Unicode text together with its 8-bit form, and
// the steps of the main window's Copy, Paste and Clear commands, written
// without the window so that each handler is a few lines.
//
// On Linux the Unicode text travels as "text/plain"; its 8-bit form (the
// Windows-1252 bytes) travels beside it under a format of our own, which a
// paste reads when the clipboard holds no Unicode text.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string>

class QObject;

namespace clipboardtext {

// The clipboard format holding the 8-bit (Windows-1252) form of the text.
inline constexpr char kAnsiTextMime[] = "application/x-varunel-ansi-text";

// Puts the text on the clipboard as Unicode text and as its 8-bit form.
void WriteText(const QString& text);

// The clipboard's text: the Unicode text when there is a non-empty one,
// else the 8-bit form widened through the code page; empty when neither.
QString ReadText();

// A replacement of a pane's selection (the text goes in at the caret when
// nothing is selected). The text comes with LF line breaks, the Qt panes'
// own form.
using ReplaceSelection = std::function<void(const QString&)>;

// Copy: with the typing pane focused and a non-empty selection, that
// selection goes to the clipboard (as the code page holds it, CR LF between
// lines); otherwise the display pane's whole text (PaneText). Both are taken
// as the panes give them (toPlainText, the cursor's selectedText).
void Copy(bool typingPaneFocused, const QString& typingSelection, const QString& displayPlainText);

// Paste into the typing pane: the clipboard text narrowed to the code page
// replaces the pane's selection, then `typingChanged` (the pane's change
// handler) converts it into the display pane.
void PasteIntoTypingPane(const ReplaceSelection& replaceTyping, const std::function<void()>& typingChanged);

// Paste into the display pane: `sinhalaEditing` is set while the clipboard
// text replaces the display pane's selection, so that the pane's change
// handler converts it back into the typing pane; afterwards it holds the
// value it had before (still set while the display pane keeps the focus).
void PasteIntoDisplayPane(bool& sinhalaEditing, const ReplaceSelection& replaceDisplay);

// The whole Paste command: into the typing pane when it has the focus,
// else into the display pane.
void Paste(bool typingPaneFocused, bool& sinhalaEditing, const ReplaceSelection& replaceTyping,
           const std::function<void()>& typingChanged, const ReplaceSelection& replaceDisplay);

// Clear: empties the display pane, then the typing pane, each through its
// clear() slot with its signals blocked, so no change handler runs.
void ClearPanes(QObject* displayPane, QObject* typingPane);

// --- pane text in the form of the 8-bit and Unicode memos -----------------

// The text as 8-bit text holds it: narrowed to the code page and widened.
QString AnsiForm(const QString& text);

// Every line break (CR LF, CR, LF, U+2028, U+2029) as CR LF.
QString WithCrLf(const QString& text);

// Every line break as LF.
QString WithLf(const QString& text);

// A pane's lines: an empty pane has none, and a break at the very end
// starts no further line.
QStringList PaneLines(const QString& plainText);

// A pane's whole text: its lines joined by CR LF, no break at the end.
QString PaneText(const QString& plainText);

}  // namespace clipboardtext
