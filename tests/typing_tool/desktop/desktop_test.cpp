// The tray tool on a desktop with a window manager (and, where a test starts
// one, a tray host): what only a real window system shows. Run through
// tests/support/desktop.sh.
#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTest>
#include <QWindow>
#include <memory>

#include "TypingSettings.h"
#include "program_session.h"
#include "uAboutBox.h"
#include "uFrmMain.h"
#include "when_modal.h"

using tavimo::TfrmMain;

namespace {

// The tray icon's own window, once the tray host has embedded it.
QWindow* TrayIconWindow() {
  for (QWindow* window : QGuiApplication::topLevelWindows())
    if (window->isVisible() && window->objectName().contains(QLatin1String("QSystemTrayIconSys"))) return window;
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->inherits("QSystemTrayIconSys") && widget->isVisible()) return widget->windowHandle();
  return nullptr;
}

}  // namespace

class DesktopTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TProgramSession> session;
  QProcess tray;

  QString IniPath() const { return session->folder.Folder() + "settings.ini"; }

  std::unique_ptr<TfrmMain> Start() {
    auto w = std::make_unique<TfrmMain>();
    w->FormCreate(w.get());
    w->tmrSplash->stop();
    w->tmrLoadSettings->stop();
    return w;
  }

  // Starts the tray host; false (the test is skipped) when there is none.
  bool StartTray() {
    const QString host = QStandardPaths::findExecutable(QStringLiteral("trayer"));
    if (host.isEmpty()) return false;
    tray.start(host, {"--edge", "bottom", "--align", "right", "--widthtype", "pixel", "--width", "120",
                      "--height", "24", "--SetDockType", "true"});
    return tray.waitForStarted() && QTest::qWaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000);
  }

 private slots:
  void initTestCase() { QApplication::setApplicationName("Tavimo 2.1"); }

  void init() {
    session = std::make_unique<TProgramSession>();
  }

  void cleanup() {
    delete frmAboutBox;
    frmAboutBox = nullptr;
    if (tray.state() != QProcess::NotRunning) {
      tray.terminate();
      tray.waitForFinished(3000);
    }
    session.reset();
  }

  // The stored size is the outer window's; exit while maximized stores the
  // normal bounds; a minimized window comes back from the tray icon.
  void outerBoundsMaximizedAndMinimized() {
    QVERIFY(WriteFile(IniPath(), "[bounds]\ntleft=100\nttop=80\ntwidth=500\ntheight=400\n"));
    auto w = Start();
    w->WMTrayNotify(0x0201);
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QTRY_VERIFY(w->frameGeometry() != w->geometry());  // the manager's frame is there
    QTRY_COMPARE(w->frameGeometry(), QRect(100, 80, 500, 400));

    // Minimized by the window manager, not only asked to be: a restore and a
    // maximize sent before it has done so cross its own state changes.
    w->setWindowState(Qt::WindowMinimized);
    QTRY_VERIFY(!w->windowHandle()->isExposed());
    w->WMTrayNotify(0x0201);
    QTRY_VERIFY(!w->isMinimized());
    QTRY_VERIFY(w->windowHandle()->isExposed());

    w->showMaximized();
    QTRY_VERIFY(w->isMaximized());
    QTRY_VERIFY(w->width() > 500);
    w->Exit1Click(nullptr);
    const TTypingSettings s = TTypingSettingsFile(session->folder.Folder()).Read(QSize(1280, 800));
    QCOMPARE(QRect(s.Left, s.Top, s.Width, s.Height), QRect(100, 80, 500, 400));
  }

  // No tray at start: the window shows and the tool band offers the tray
  // menu; a tray that comes later is noticed, and the close box then hides.
  void withoutTrayThenATrayAppears() {
    QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
    auto w = Start();
    w->StartVisible(QSystemTrayIcon::isSystemTrayAvailable());
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    // A right click on the band's empty end, through the window system.
    const QPoint band = w->CoolBar1->mapTo(w.get(), QPoint(5, w->CoolBar1->height() - 5));
    QTest::mouseClick(w->windowHandle(), Qt::RightButton, {}, band);
    QTRY_VERIFY(w->pmTray->isVisible());
    w->pmTray->close();

    if (!StartTray()) QSKIP("no tray host (trayer) is installed");
    QTRY_VERIFY_WITH_TIMEOUT(!w->FNoTrayArea, 5000);
    QVERIFY(!w->close());
    QVERIFY(!w->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(TrayIconWindow() != nullptr, 5000);
  }

  // A box opened from the tray stays above the always-on-top window, and a
  // press on the icon while it is open brings it to the front.
  void boxesComeForwardFromTheTrayIcon() {
    if (!StartTray()) QSKIP("no tray host (trayer) is installed");
    frmAboutBox = new TfrmAboutBox;
    auto w = Start();
    w->StartVisible(true);
    QTRY_VERIFY_WITH_TIMEOUT(TrayIconWindow() != nullptr, 5000);
    bool owned = false, cameForward = false, shown = false;
    WhenModal([&](QWidget* box) {
      owned = box == frmAboutBox && box->parentWidget() == w.get();
      // The box up and taking the keyboard, the icon in the tray host (which
      // may be taking it in again); the window is hidden: only the icon's
      // press can show it.
      (void)QTest::qWaitForWindowActive(box);
      QWindow* icon = nullptr;
      if (QTest::qWaitFor([&] { return (icon = TrayIconWindow()) && icon->isExposed(); }, 5000)) {
        QTest::mousePress(icon, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(icon, Qt::LeftButton, {}, QPoint(5, 5));
      }
      shown = QTest::qWaitFor([&] { return w->isVisible(); }, 3000);
      cameForward = QTest::qWaitFor([&] { return QApplication::activeWindow() == box; }, 3000);
      box->close();
    });
    w->About1Click(nullptr);
    QVERIFY(owned);
    QVERIFY(shown);
    QVERIFY(cameForward);
  }
};

QTEST_MAIN(DesktopTest)
#include "desktop_test.moc"
