// Answers a modal window from inside its own loop.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// Runs `action` on the program's modal window as soon as one is up; gives up
// after 20 seconds (the test then fails on what the action did not do).
inline void WhenModal(const std::function<void(QWidget*)>& action) {
  auto* poll = new QTimer;
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [poll, action, clock] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal && clock->elapsed() < 20000) return;
    poll->stop();
    poll->deleteLater();
    if (modal) action(modal);
  });
  poll->start();
}
