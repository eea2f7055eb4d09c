// The scroll box that hosts the suggestion strip and the map editor's grid.
// It only makes its key events available to the window that holds it. Its
// children live on the scrolled content widget (Content()); positions there
// are content coordinates.
#pragma once

#include <QScrollArea>

class QKeyEvent;

class TorviScrollBox : public QScrollArea {
  Q_OBJECT

 public:
  explicit TorviScrollBox(QWidget* parent = nullptr);

  QWidget* Content() const { return FContent; }
  // Grows the content to hold every child (and at least the visible area).
  void UpdateRange();

 signals:
  void KeyUp(QKeyEvent* event);
  void KeyDown(QKeyEvent* event);
  void KeyPress(QKeyEvent* event);
  void DblClick();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* FContent;
};
