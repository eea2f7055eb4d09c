// Tavimo's life: the window's creation, the start-up timers, hiding and
// Exit. The window lives in the notification area; it is shown only from the
// tray icon.
#include <QAction>
#include <QApplication>
#include <QTimer>

#include "AppHooks.h"
#include "RunApp.h"
#include "TrayMenu.h"
#include "codepage.h"
#include "uFrmMain.h"
#include "uFrmMainBaseMemo.h"
#include "uSplash.h"
namespace tavimo {


TfrmMain* frmMain = nullptr;

void TfrmMain::CreateStartupParts() {
  RunApp1->ShowConsole = true;

  auto* tray = new TTrayMenu(this);
  tray->setObjectName("pmTray");
  pmTray = tray;
  Cancel1 = tray->addItem("Cancel1", "Cancel");
  tray->addSeparator()->setObjectName("N3");
  About1 = tray->addItem("About1", QStringLiteral("About") + QString(17, QLatin1Char(' ')));
  UserGuide1 = tray->addItem("UserGuide1", "User Guide");
  Options1 = tray->addItem("Options1", "Options...");
  tray->addSeparator()->setObjectName("N2");
  Exit1 = tray->addItem("Exit1", "Exit");
  tray->setDrawItemHandler([this](QPainter& canvas, const QRect& rect, bool selected, const QString& caption) {
    for (QAction* item : pmTray->actions())
      if (!item->isSeparator() && item->text() == caption) return About1DrawItem(item, canvas, rect, selected);
  });
  // The commands run once the menu has gone, so a modal window opened by
  // one does not run inside the menu's own handling.
  connect(About1, &QAction::triggered, this, [this] { About1Click(About1); }, Qt::QueuedConnection);
  connect(UserGuide1, &QAction::triggered, this, [this] { UserGuide1Click(UserGuide1); }, Qt::QueuedConnection);
  connect(Options1, &QAction::triggered, this, [this] { Options1Click(Options1); }, Qt::QueuedConnection);
  connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(Exit1); }, Qt::QueuedConnection);

  // The tray menu from a right click on the tool band.
  CoolBar1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(CoolBar1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { pmTray->popup(CoolBar1->mapToGlobal(at)); });
  tmrTrayWatch = new QTimer(this);
  tmrTrayWatch->setObjectName("tmrTrayWatch");
  tmrTrayWatch->setInterval(1000);
  connect(tmrTrayWatch, &QTimer::timeout, this, [this] { tmrTrayWatchTimer(tmrTrayWatch); });

  connect(tmrSplash, &QTimer::timeout, this, [this] { tmrSplashTimer(tmrSplash); });
  connect(tmrLoadSettings, &QTimer::timeout, this, [this] { tmrLoadSettingsTimer(tmrLoadSettings); });
}

void TfrmMain::FormCreate(QObject*) {
  // A tool window on top of all others: no taskbar entry.
  setWindowFlag(Qt::Tool);
  setWindowFlag(Qt::WindowStaysOnTopHint);
  FEnglishMode = false;
  setWindowTitle(QApplication::applicationName());
  // Every wheel step becomes one arrow-key press for the widget it reached.
  if (!AppMessage) {
    AppMessage = new TWheelHook(this);
    AppMessage->setObjectName("AppMessage");
  }
  AppMessage->Install();
  // The clipboard: Qt's already carries Unicode text, so there is no object to install.
  LoadSettings();
  QFont face = QApplication::font();
  face.setFamily(QStringLiteral("Tahoma"));
  QApplication::setFont(face);

  CreateMaps();

  // Written at every start, never read; a failure is silent.
  RegisterAppFolder();

  memEnglish->SetText(QString());
  memSinhala->SetText(QString());

  // The program's icon is its Sinhala-typing picture; the tray shows it.
  if (QApplication::windowIcon().isNull()) QApplication::setWindowIcon(ImageList1.Icon(imgSinhala));
  if (!FTrayIconData) {
    FTrayIconData = new QSystemTrayIcon(QApplication::windowIcon(), this);
    FTrayIconData->setObjectName("FTrayIconData");
    connect(FTrayIconData, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { WMTrayNotify(TrayMouseMessage(reason)); });
  }
  FTrayIconData->setToolTip(windowTitle());
  FTrayIconData->show();

  tmrSplash->start();
  tmrLoadSettings->start();
}

void TfrmMain::StartVisible(bool trayAvailable) {
  FNoTrayArea = !trayAvailable;
  // Without a notification area nothing would reach the hidden window.
  if (!FNoTrayArea) return;
  WMTrayNotify(0x0201);
  tmrTrayWatch->start();
}

void TfrmMain::tmrTrayWatchTimer(QObject*) {
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
  // A notification area has come (after a login's autostart race): the
  // icon goes there and the close box hides the window again.
  tmrTrayWatch->stop();
  FNoTrayArea = false;
  if (FTrayIconData) {
    FTrayIconData->hide();
    FTrayIconData->show();
  }
}

void TfrmMain::tmrSplashTimer(QObject*) {
  tmrSplash->stop();
  // The splash closes itself by its own timer, started when it was made.
  if (frmSplash) frmSplash->exec();
}

void TfrmMain::tmrLoadSettingsTimer(QObject*) {
  tmrLoadSettings->stop();
  // The map of the settings again, now with the suggestions allowed; a map
  // that does not load is logged there and otherwise ignored.
  FontMap1Click(nullptr);
}

void TfrmMain::Exit1Click(QObject*) {
  FExitRequested = true;
  close();
}

void TfrmMain::FormClose(QObject*, bool& CanClose) {
  // The close box hides the window; the icon stays. Without a notification
  // area it ends the program, since a hidden window could not come back.
  if (!FExitRequested && !FNoTrayArea) {
    CanClose = false;
    hide();
    return;
  }
  FExitRequested = true;
  DisconnectOfficeServers();
  if (FSuggestions) FSuggestions->Clear();
  FSuggestions.reset();
  // The bounds saved are those of the normal window (SaveSettings).
  SaveSettings();
  if (FCharMap) FCharMap->Clear();
  FCharMap.reset();
  CanClose = true;
  QCoreApplication::quit();
}

void TfrmMain::FormDestroy(QObject*) {
  if (!FTrayIconData) return;
  FTrayIconData->hide();
  delete FTrayIconData;
  FTrayIconData = nullptr;
}

}  // namespace tavimo
