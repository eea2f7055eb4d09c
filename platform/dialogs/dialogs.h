// The one seam every modal interaction goes through: message boxes, the text
// input box, the save dialog and the font dialog. By default each opens the
// Qt dialog; a test installs a Script that answers instead and records what
// was asked, so no test ever blocks on a dialog. Each box belongs to the
// window it is opened for (else the active one) and blocks only that window;
// a box no window owns is kept above all windows.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

class QWidget;

namespace dialogs {

enum class Icon { None, Information, Warning, Error, Question };

// Buttons and answers, with the values the message box of the original
// system returns (OK = 1, Cancel = 2, Yes = 6, No = 7).
enum Answer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };

// A modal message box; returns the button pressed. Every Yes/No question of
// these programs asks whether to go ahead with something that drops or
// replaces the user's work ("Close anyway?", replace a file, cut a map):
// its default button (Enter) and its Escape button are No.
int MessageBox(QWidget* parent, const QString& text, const QString& caption = QString(),
               Icon icon = Icon::None, Buttons buttons = Buttons::Ok);

// The library's default error box for an exception no handler caught:
// titled with the application name, showing the exception's text.
void ShowError(const QString& text);

// The text input box; false when cancelled. `value` holds the initial text
// and receives the answer.
bool InputQuery(QWidget* parent, const QString& caption, const QString& prompt, QString& value);

// The save dialog. `filter` is in Qt form ("Bitmap (*.bmp);;JPEG (*.jpg)").
// A name typed without extension gets the chosen filter's one extension, or
// `defaultExt` under a filter of many (or any) extensions. `filterIndex`
// (0-based, may be null) names the filter the dialog opens on and receives
// the one chosen. Returns the chosen file name, or an empty string when
// cancelled.
QString SaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                     const QString& defaultExt, const QString& initialName = QString(), int* filterIndex = nullptr);

// The font dialog; false when cancelled.
bool ChooseFont(QWidget* parent, QFont& font);

// --- test double -----------------------------------------------------------

struct Asked {
  QString kind;     // "message", "error", "input", "save", "font"
  QString text;     // message text, prompt, or save-dialog filter
  QString caption;  // caption, or the save dialog's default extension
  Icon icon = Icon::None;
};

// While a Script exists, every dialog is answered from it and recorded in
// `asked`; an empty queue answers OK / cancel.
class Script {
 public:
  Script();
  ~Script();
  Script(const Script&) = delete;
  Script& operator=(const Script&) = delete;

  std::deque<int> answers;           // message boxes
  std::deque<QString> inputs;        // input boxes (a null QString cancels)
  std::deque<QString> saveNames;     // save dialogs (empty cancels)
  std::deque<int> saveFilters;       // the filter chosen in them (none: the one they open on)
  std::deque<QFont> fonts;           // font dialogs (none: cancel)
  std::vector<Asked> asked;

  // Convenience: the texts of every message and error box shown.
  QStringList messages() const;

  static Script* current();

 private:
  Script* previous_;
};

}  // namespace dialogs
