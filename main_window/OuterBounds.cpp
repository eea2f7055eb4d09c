#include "OuterBounds.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace {

// How long a frame may take to settle, in steps of kStep: a desktop without
// a window manager frames nothing.
constexpr int kStep = 20;  // milliseconds
constexpr int kTries = 50;

}  // namespace

TOuterBounds::TOuterBounds(QWidget* window) : QObject(window), window_(window) {
  window_->installEventFilter(this);
  settle_.setInterval(kStep);
  connect(&settle_, &QTimer::timeout, this, &TOuterBounds::Settle);
}

bool TOuterBounds::Normal() const {
  return !(window_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

QMargins TOuterBounds::Reported() const {
  const QWindow* handle = window_->windowHandle();
  const QMargins frame = handle ? handle->frameMargins() : QMargins();
  // While the window manager takes the window into its frame, the frame can
  // still be smaller than the window, which gives margins below zero: such
  // a frame is not the one the window will have.
  if (frame.left() < 0 || frame.top() < 0 || frame.right() < 0 || frame.bottom() < 0) return {};
  return frame;
}

void TOuterBounds::Apply(const QRect& outer) {
  // A window's position is its frame's; its size is the client area's.
  window_->move(outer.topLeft());
  window_->resize(outer.marginsRemoved(frame_).size());
  if (!window_->isVisible() || settle_.isActive()) pending_ = outer;
}

QRect TOuterBounds::Outer() const {
  if (pending_) return *pending_;
  QRect client = Normal() ? window_->geometry() : window_->normalGeometry();
  if (!client.isValid()) client = window_->geometry();
  return Around(client);
}

QRect TOuterBounds::Current() const {
  if (Normal() || !window_->isVisible()) return Outer();
  return window_->geometry().marginsAdded(Reported());
}

void TOuterBounds::StartSettling() {
  tries_ = 0;
  seen_ = QMargins();
  settle_.start();
}

void TOuterBounds::Settle() {
  const QMargins frame = Reported();
  if (!Normal()) {
    // Bounds wait for the normal window, and its frame is another.
    otherFrame_ = frame;
    settle_.stop();
    return;
  }
  // Just out of another state, the frame reported may still be that
  // state's: it is taken once it differs and holds for a step.
  const bool steady = frame == seen_;
  seen_ = frame;
  if ((frame.isNull() || frame == otherFrame_ || !steady) && ++tries_ < kTries) return;
  settle_.stop();
  if (!frame.isNull()) frame_ = frame;
  if (pending_) {
    const QRect outer = *pending_;
    pending_.reset();
    Apply(outer);
  }
  if (settled_) settled_();
}

bool TOuterBounds::eventFilter(QObject* watched, QEvent* event) {
  if (watched != window_) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::Show:
      if (pending_ && !settle_.isActive()) StartSettling();
      break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowStateChange:
      if (!window_->isVisible()) break;
      if (!Normal()) {
        if (!Reported().isNull()) otherFrame_ = Reported();
        break;
      }
      // Bounds waiting for the frame, or a frame other than the normal
      // window's (the desktop maximising or restoring the window, or the
      // user moving it to a desktop that frames it otherwise): settle first.
      if (!settle_.isActive() && (pending_ || Reported() != frame_)) StartSettling();
      break;
    default: break;
  }
  return QObject::eventFilter(watched, event);
}
