#include "PaneStack.h"

#include <QMouseEvent>
#include <algorithm>
namespace varunel {


TPaneStack::TPaneStack(QWidget* parent) : QWidget(parent) {}

void TPaneStack::SetFill(QWidget* control) {
  control->setParent(this);
  fill_ = control;
  Relayout();
}

void TPaneStack::AddBottom(QWidget* control, int height) {
  control->setParent(this);
  bottom_.append({control, std::max(0, height)});
  Relayout();
}

void TPaneStack::SetPaneHeight(QWidget* control, int height) {
  for (Pane& p : bottom_)
    if (p.control == control) p.height = std::max(0, height);
  Relayout();
}

int TPaneStack::PaneHeight(QWidget* control) const {
  for (const Pane& p : bottom_)
    if (p.control == control) return p.height;
  return control ? control->height() : 0;
}

void TPaneStack::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Relayout();
}

void TPaneStack::Relayout() {
  int y = height();
  for (auto it = bottom_.rbegin(); it != bottom_.rend(); ++it) {
    y -= it->height;
    it->control->setGeometry(0, y, width(), it->height);
  }
  if (fill_) fill_->setGeometry(0, 0, width(), std::max(0, y));
}

TSplitter::TSplitter(TPaneStack* stack, QWidget* control, QWidget* parent)
    : QFrame(parent), stack_(stack), control_(control) {
  setCursor(Qt::SplitVCursor);
  setFixedHeight(4);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, pal.color(QPalette::Mid));  // the scroll bar's colour
  setPalette(pal);
}

void TSplitter::BeginDrag(int globalY) {
  dragging_ = true;
  startY_ = globalY;
  startHeight_ = control_->height();
  // The control grows into the filling pane, which keeps MinSize.
  room_ = std::max(0, stack_->FillHeight() - MinSize);
}

void TSplitter::DragTo(int globalY) {
  if (!dragging_) return;
  const int wanted = startHeight_ + (startY_ - globalY);
  const int lowest = std::min(MinSize, startHeight_);
  stack_->SetPaneHeight(control_, std::clamp(wanted, lowest, std::max(lowest, startHeight_ + room_)));
}

void TSplitter::EndDrag() {
  if (!dragging_) return;
  dragging_ = false;
  emit Moved();
}

void TSplitter::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) BeginDrag(event->globalPosition().toPoint().y());
}

void TSplitter::mouseMoveEvent(QMouseEvent* event) { DragTo(event->globalPosition().toPoint().y()); }

void TSplitter::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    DragTo(event->globalPosition().toPoint().y());
    EndDrag();
  }
}

}  // namespace varunel
