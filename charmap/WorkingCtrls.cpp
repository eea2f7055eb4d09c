#include "WorkingCtrls.h"

#include <QEvent>
#include <QKeyEvent>
#include <QScrollBar>

TorviScrollBox::TorviScrollBox(QWidget* parent) : QScrollArea(parent), FContent(new QWidget) {
  FContent->setObjectName("ScrollBoxContent");
  setWidget(FContent);
  setWidgetResizable(false);
  FContent->installEventFilter(this);
  FContent->resize(viewport()->size());
}

void TorviScrollBox::UpdateRange() {
  QRect bounds(0, 0, viewport()->width(), viewport()->height());
  for (QObject* child : FContent->children()) {
    if (auto* w = qobject_cast<QWidget*>(child); w && !w->isHidden()) bounds |= w->geometry();
  }
  FContent->resize(bounds.right() + 1, bounds.bottom() + 1);
}

void TorviScrollBox::keyPressEvent(QKeyEvent* event) {
  emit KeyDown(event);
  if (!event->text().isEmpty()) emit KeyPress(event);
  QScrollArea::keyPressEvent(event);
}

void TorviScrollBox::keyReleaseEvent(QKeyEvent* event) {
  emit KeyUp(event);
  QScrollArea::keyReleaseEvent(event);
}

void TorviScrollBox::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  UpdateRange();
}

bool TorviScrollBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == FContent && event->type() == QEvent::MouseButtonDblClick) emit DblClick();
  return QScrollArea::eventFilter(watched, event);
}
