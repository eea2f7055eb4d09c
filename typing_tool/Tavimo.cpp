// Tavimo: the tray typing tool. Nothing shows at start but the splash; the
// program then lives as an icon in the notification area until Exit.
#include <QSystemTrayIcon>

#include "AppHooks.h"
#include "uAboutBox.h"
#include "uFrmMain.h"
#include "uOptions.h"
#include "uSplash.h"

int main(int argc, char** argv) {
  TVarunelApplication app(argc, argv);
  QApplication::setApplicationName("Tavimo 2.1");
  // Hiding the window is not the end: only Exit ends the program.
  QApplication::setQuitOnLastWindowClosed(false);

  // The splash first: its own timer runs from here.
  frmSplash = new TfrmSplash;
  frmMain = new TfrmMain;
  frmMain->FormCreate(frmMain);
  frmAboutBox = new TfrmAboutBox;
  FrmOptions = new TFrmOptions;
  frmMain->StartVisible(QSystemTrayIcon::isSystemTrayAvailable());

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
