// The editor's panes stacked from the bottom up: each bottom control keeps
// its own height, the top control fills what is left, and a splitter
// between two panes changes the height of the control below it. When the
// heights add up to more than there is, the controls nearest the top are
// pushed out of view, never squeezed.
#pragma once

#include <QFrame>
#include <QList>
#include <QWidget>

namespace varunel {

class TPaneStack : public QWidget {
  Q_OBJECT

 public:
  explicit TPaneStack(QWidget* parent = nullptr);

  // The control that fills the space above the bottom controls.
  void SetFill(QWidget* control);
  // Appends a bottom control under the ones added before.
  void AddBottom(QWidget* control, int height);
  void SetPaneHeight(QWidget* control, int height);
  int PaneHeight(QWidget* control) const;
  // The height left to the filling control.
  int FillHeight() const { return fill_ ? fill_->height() : 0; }
  // Lays the controls out again (after heights changed).
  void Relayout();

  QSize sizeHint() const override { return {200, 200}; }
  QSize minimumSizeHint() const override { return {0, 0}; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct Pane {
    QWidget* control;
    int height;
  };
  QWidget* fill_ = nullptr;
  QList<Pane> bottom_;
};

// A 4-pixel bar that resizes the control below it when dragged; Moved
// comes when the drag ends.
class TSplitter : public QFrame {
  Q_OBJECT

 public:
  TSplitter(TPaneStack* stack, QWidget* control, QWidget* parent);

  // The least height of the resized control and of the filling control.
  int MinSize = 30;
  // Drags the bar to `globalY` as the mouse does (press, moves, release).
  void BeginDrag(int globalY);
  void DragTo(int globalY);
  void EndDrag();

 signals:
  void Moved();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  TPaneStack* stack_;
  QWidget* control_;
  bool dragging_ = false;
  int startY_ = 0;
  int startHeight_ = 0;
  int room_ = 0;  // the height the control may grow by
};

}  // namespace varunel
