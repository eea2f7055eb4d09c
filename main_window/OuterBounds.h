// A main window's outer bounds, its frame included: what both programs store
// as the window's "left", "top", "width" and "height". The frame is known
// only once the window manager has framed the shown window; bounds applied
// before that are applied again then, so that the outer window gets them.
//
// Only the frame of a normal window counts: a maximised window's frame is
// another (often without borders). While the desktop maximises or restores
// the window, the frame it reports changes and may lag behind the window's
// state; bounds read then are not settled (Settled() false) until the frame
// has held steady for a moment.
#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QTimer>
#include <functional>
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
  // The outer bounds the window has now: those of the maximised window
  // while it is maximised, else Outer().
  QRect Current() const;
  // The outer bounds around a client rectangle of the window.
  QRect Around(const QRect& client) const { return client.marginsAdded(frame_); }
  // The normal window's frame is known and steady: Outer() is the window's.
  bool Settled() const { return !settle_.isActive(); }
  // Runs `settled` whenever the frame has settled with the window normal.
  void OnSettled(std::function<void()> settled) { settled_ = std::move(settled); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Normal() const;
  QMargins Reported() const;
  // Waits for the frame to settle.
  void StartSettling();
  // Takes the frame the window system reports once it is the normal
  // window's and steady (or once it is clear there is none); then applies
  // waiting bounds.
  void Settle();

  QWidget* window_;
  QMargins frame_;       // the normal window's frame
  QMargins otherFrame_;  // the frame last seen around the maximised or minimised window
  QMargins seen_;        // the frame the last step of settling saw
  std::optional<QRect> pending_;
  QTimer settle_;
  int tries_ = 0;
  std::function<void()> settled_;
};
