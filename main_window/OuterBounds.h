// A main window's outer bounds, its frame included: what both programs store
// as the window's "left", "top", "width" and "height". The frame is known
// only once the window manager has framed the shown window; bounds applied
// before that are applied again then, so that the outer window gets them.
#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QTimer>
#include <optional>

class QWidget;

class TOuterBounds : public QObject {
 public:
  // Watches `window`, a top-level widget that outlives this object.
  explicit TOuterBounds(QWidget* window);

  // Puts the outer window at `outer`.
  void Apply(const QRect& outer);
  // The outer bounds of the window in its normal state: bounds applied and
  // still waiting for the frame, else those of the normal window, also
  // while it is maximized or minimized.
  QRect Outer() const;
  // The outer bounds around a client rectangle of the window.
  QRect Around(const QRect& client) const { return client.marginsAdded(frame_); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Normal() const;
  // Takes the frame the window system reports; applies waiting bounds once
  // it is known (or once it is clear there is none).
  void Settle();

  QWidget* window_;
  QMargins frame_;
  std::optional<QRect> pending_;
  QTimer settle_;
  int tries_ = 0;
};
