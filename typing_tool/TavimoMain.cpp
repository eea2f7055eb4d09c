#include "TavimoMain.h"

#include <QSystemTrayIcon>
#include <QTimer>

#include "AppHooks.h"
#include "uAboutBox.h"
#include "uFrmMain.h"
#include "uOptions.h"
#include "uSplash.h"

using tavimo::TfrmMain;
using tavimo::frmMain;

int TavimoMain(int argc, char** argv, const std::function<void()>& atFirstIdle) {
  TVarunelApplication app(argc, argv);
  QApplication::setApplicationName("Tavimo 2.1");
  // Hiding the window is not the end: only Exit ends the program.
  QApplication::setQuitOnLastWindowClosed(false);

  // The splash first: its own timer runs from here.
  frmSplash = new TfrmSplash;
  frmMain = new TfrmMain;
  frmMain->FormCreate(frmMain);
  // The boxes belong to the main window, so they stay above it.
  frmAboutBox = new TfrmAboutBox(frmMain);
  FrmOptions = new TFrmOptions(frmMain);
  frmMain->StartVisible(QSystemTrayIcon::isSystemTrayAvailable());
  if (atFirstIdle) QTimer::singleShot(0, &app, atFirstIdle);

  const int result = QApplication::exec();
  delete FrmOptions;
  FrmOptions = nullptr;
  delete frmAboutBox;
  frmAboutBox = nullptr;
  delete frmMain;  // removes the icon
  frmMain = nullptr;
  delete frmSplash;
  frmSplash = nullptr;
  return result;
}
