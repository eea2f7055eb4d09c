// The notification-area icon's mouse messages and the tray menu's drawing.
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QPainter>
#include <QTimer>

#include "TrayMenu.h"
#include "uFrmMain.h"
namespace tavimo {


namespace {
// The mouse messages the icon reports, as the platform numbers them.
constexpr int WM_LBUTTONDOWN = 0x0201;
constexpr int WM_LBUTTONDBLCLK = 0x0203;
constexpr int WM_RBUTTONDOWN = 0x0204;
constexpr int WM_MBUTTONDOWN = 0x0207;
}  // namespace

int TfrmMain::TrayMouseMessage(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      return WM_LBUTTONDOWN;
    // The desktop reports the right button when it goes down, and menus
    // here open on the press.
    case QSystemTrayIcon::Context:
      return WM_RBUTTONDOWN;
    case QSystemTrayIcon::DoubleClick:
      return WM_LBUTTONDBLCLK;
    case QSystemTrayIcon::MiddleClick:
      return WM_MBUTTONDOWN;
    case QSystemTrayIcon::Unknown:
      break;
  }
  return 0;
}

void TfrmMain::WMTrayNotify(int mouseMessage) {
  if (mouseMessage == WM_LBUTTONDOWN) {
    // A minimized window comes back as it was before.
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    // A modal window of the program (the About box, the Options) stays in
    // front; again once the window manager has put the shown window up.
    if (QWidget* last = QApplication::activeModalWidget(); last && last != this) {
      last->raise();
      last->activateWindow();
      QTimer::singleShot(150, last, [last] {
        last->raise();
        last->activateWindow();
      });
    }
  } else if (mouseMessage == WM_RBUTTONDOWN) {
    activateWindow();
    pmTray->popup(QCursor::pos());
  }
}

void TfrmMain::About1DrawItem(QAction* Sender, QPainter& ACanvas, const QRect& ARect, bool Selected) {
  const QString caption = Sender ? Sender->text() : QString();
  TTrayMenu::DrawItem(ACanvas, ARect, Selected, caption, pmTray->palette());
  // The last item: the band then covers the whole menu.
  if (caption == QLatin1String("&Exit")) DrawMenuBand(ACanvas);
}

void TfrmMain::DrawMenuBand(QPainter& ACanvas) {
  const int height = ACanvas.device() ? ACanvas.device()->height() : pmTray->height();
  TTrayMenu::DrawMenuBand(ACanvas, height, QApplication::applicationName());
}

}  // namespace tavimo
