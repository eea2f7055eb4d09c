// Application-wide pieces both programs install at start: the mouse-wheel
// hook and the application object that shows an exception no handler caught.
#pragma once

#include <QApplication>
#include <QObject>
#include <QUrl>
#include <functional>

class QWheelEvent;

// Turns every vertical wheel step that reaches a widget into one Up arrow
// key press (wheel turned away from the user) or one Down arrow key press
// (towards the user, or no distance) for that same widget; no key release
// follows. The wheel event itself is consumed.
class TWheelHook : public QObject {
  Q_OBJECT

 public:
  explicit TWheelHook(QObject* parent = nullptr);
  ~TWheelHook() override;

  // Starts and stops watching every event of the application.
  void Install();
  void Remove();
  bool Installed() const { return FInstalled; }

  // Sends the key press for `wheel`, received by `receiver`; false when the
  // event is none of ours (a horizontal wheel, a receiver that is no widget).
  static bool WheelToKey(QObject* receiver, const QWheelEvent& wheel);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool FInstalled = false;
};

// The application object: an exception that no handler caught is shown in
// the default error box and the program goes on.
class TVarunelApplication : public QApplication {
  Q_OBJECT

 public:
  TVarunelApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

