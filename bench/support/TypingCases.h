// The keystroke cases both main windows are measured on, each beside a bare
// Qt pane given the same text and the same keys: a word typed inside a line
// of a 2,000-line text and of a one-line text, the keystroke that offers the
// most suggestion tiles, a line split and joined again, a letter at the end of
// a 10,000-character line, and a 1 MB paste.
#pragma once

#include <QString>
#include <functional>
#include <vector>

class QWidget;
class TfrmMainBase;

namespace bench {

class TBareWindow;

struct TTypingWindow {
  TfrmMainBase* form;
  // Whether Enter breaks lines in the typing pane as the case needs: set
  // around the split-and-join case.
  std::function<void(bool)> wantReturns;
};

// Prints the rows. `extraRows` runs after the shared ones, with the
// 2,000-line text in both panes, for rows of the program's own.
void TypingRows(const TTypingWindow& window, TBareWindow& bare, const std::function<void()>& extraRows = {});

// Sets the typing pane and the bare pane to `text` (not timed) and puts both
// carets at the end of line `line`.
void SetBoth(TfrmMainBase& form, TBareWindow& bare, const QString& text, int line);
// Types `keys` one by one into `pane`, each timed to the paint of `painted`,
// then takes them back with Backspace (not timed).
std::vector<double> TypeTimed(QWidget* pane, QWidget* painted, const QString& keys);

// The 2,000-line text the rows type in, and the line its carets stand on.
QString LinesText();
constexpr int kMiddleLine = 1000;

}  // namespace bench
