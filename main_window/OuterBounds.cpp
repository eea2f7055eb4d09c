#include "OuterBounds.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace {

// How long a shown window waits for its frame, in steps of kStep: a desktop
// without a window manager frames nothing.
constexpr int kStep = 20;  // milliseconds
constexpr int kTries = 50;

// The frame the window system reports around `window`, or none while it is
// not known. While the window manager takes the window into its frame, the
// frame can still be smaller than the window, which gives margins below
// zero: such a frame is not the one the window will have.
QMargins FrameOf(const QWidget* window) {
  const QWindow* handle = window->windowHandle();
  const QMargins frame = handle ? handle->frameMargins() : QMargins();
  if (frame.left() < 0 || frame.top() < 0 || frame.right() < 0 || frame.bottom() < 0) return {};
  return frame;
}

}  // namespace

TOuterBounds::TOuterBounds(QWidget* window) : QObject(window), window_(window) {
  window_->installEventFilter(this);
  settle_.setInterval(kStep);
  connect(&settle_, &QTimer::timeout, this, &TOuterBounds::Settle);
}

bool TOuterBounds::Normal() const {
  return !(window_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
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

void TOuterBounds::Settle() {
  const QMargins frame = FrameOf(window_);
  if (frame.isNull() && ++tries_ < kTries) return;
  settle_.stop();
  if (!frame.isNull()) frame_ = frame;
  // A maximized or minimized window gets them when it is normal again.
  if (!pending_ || !Normal()) return;
  const QRect outer = *pending_;
  pending_.reset();
  Apply(outer);
}

bool TOuterBounds::eventFilter(QObject* watched, QEvent* event) {
  if (watched != window_) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::Show:
      if (pending_ && !settle_.isActive()) {
        tries_ = 0;
        settle_.start();
      }
      break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowStateChange:
      if (settle_.isActive() || !window_->isVisible() || !Normal()) break;
      if (pending_) {
        const QRect outer = *pending_;
        pending_.reset();
        Apply(outer);
      } else if (const QMargins frame = FrameOf(window_); !frame.isNull()) {
        // The user may have moved the window to a desktop that frames it otherwise.
        frame_ = frame;
      }
      break;
    default: break;
  }
  return QObject::eventFilter(watched, event);
}
