// What the window benches share: the time from an input to the painted frame
// that shows it, rows that set each case beside a bare Qt window measured in
// the same run, and the summary of a series of runs.
#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <functional>
#include <vector>

class QWidget;

namespace bench {

struct TStats {
  double median = 0;
  double worst = 0;
  int runs = 0;
};
TStats Summarise(std::vector<double> ms);

// Processes events until none is pending, round trips to the X server
// included, so that the next input starts from a quiet window.
void Settle();

// `window` active with the keyboard in `focus` and the pointer resting over
// `pointAt` (its centre), as a typist has it; then settled.
void Prepare(QWidget* window, QWidget* focus, QWidget* pointAt);

// Runs `act`, then processes events until `pane` or a widget inside it has
// been painted and the X server has taken the frame. Milliseconds from the start of `act`; a frame
// that does not come within five seconds counts as 5000.
double MsToPaint(QWidget* pane, const std::function<void()>& act);

// One side of a row: `prepare` (not timed) before each run, `run` timing one
// or more inputs and returning their milliseconds.
struct TSide {
  std::function<void()> prepare;
  std::function<std::vector<double>()> run;
};

// Prints the table's heading; `program` names the program's column.
void Header(const QString& what, const QString& program);
// Runs both sides in turns, `warmup` rounds first that are not counted, then
// `rounds` counted ones, and prints one row: median and worst of each side.
void Row(const QString& name, const TSide& program, const TSide& bare, int rounds = 9, int warmup = 2,
         const QString& note = {});

// The bare reference: a top-level plain text pane, no wrapping (as the
// programs' panes), nothing else.
class TBareWindow : public QPlainTextEdit {
 public:
  TBareWindow(QSize size, QPoint at);
  // Shows it and waits until it is on screen.
  void ShowExposed();
};

}  // namespace bench
