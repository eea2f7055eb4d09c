#include "AppHooks.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QWidget>
#include <exception>

#include "dialogs.h"
#include "log.h"

// --- the wheel hook ---------------------------------------------------------

TWheelHook::TWheelHook(QObject* parent) : QObject(parent) {}

TWheelHook::~TWheelHook() { Remove(); }

void TWheelHook::Install() {
  if (FInstalled || !QCoreApplication::instance()) return;
  QCoreApplication::instance()->installEventFilter(this);
  FInstalled = true;
}

void TWheelHook::Remove() {
  if (!FInstalled) return;
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
  FInstalled = false;
}

bool TWheelHook::WheelToKey(QObject* receiver, const QWheelEvent& wheel) {
  if (!receiver || !receiver->isWidgetType()) return false;
  const QPoint distance = wheel.angleDelta();
  if (distance.y() == 0 && distance.x() != 0) return false;  // a sideways wheel
  // The start and end markers of a touchpad scroll carry no step at all.
  if (distance.isNull() && wheel.pixelDelta().isNull() && wheel.phase() != Qt::NoScrollPhase) return true;
  // The wheel goes where the keyboard goes: the focused control of the same
  // window, else the widget under the pointer (the scroll area behind a
  // viewport, or the widget a focus proxy stands for).
  auto* target = static_cast<QWidget*>(receiver);
  if (QWidget* focus = QApplication::focusWidget(); focus && focus->window() == target->window()) target = focus;
  if (auto* area = qobject_cast<QAbstractScrollArea*>(target->parentWidget()); area && area->viewport() == target)
    target = area;
  while (target->focusProxy()) target = target->focusProxy();
  QKeyEvent press(QEvent::KeyPress, distance.y() > 0 ? Qt::Key_Up : Qt::Key_Down, wheel.modifiers());
  QCoreApplication::sendEvent(target, &press);
  return true;
}

bool TWheelHook::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel) return WheelToKey(watched, *static_cast<QWheelEvent*>(event));
  return false;
}

// --- the application object -------------------------------------------------

TVarunelApplication::TVarunelApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TVarunelApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    qCWarning(lcApp) << "unhandled failure in" << receiver << event->type() << ":" << error.what();
    dialogs::ShowError(QString::fromUtf8(error.what()));
  } catch (...) {
    qCWarning(lcApp) << "unhandled failure of an unknown kind in" << receiver << event->type();
    dialogs::ShowError(QStringLiteral("Unknown exception."));
  }
  return false;
}

