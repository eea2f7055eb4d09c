// Tavimo: the tray typing tool.
#include <QApplication>

#include "uFrmMain.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavimo 2.1");
  TfrmMain frmMain;
  frmMain.setWindowTitle(QApplication::applicationName());
  // Until the start-up sequence is in place: create the map objects, load
  // the default map and show the window.
  frmMain.FCharMap = std::make_unique<TCharCollection>();
  frmMain.FFontMapName = "Sinhala";
  frmMain.FSuggestBusy = true;
  frmMain.cmbMapsChange(nullptr);
  frmMain.FSuggestBusy = false;
  frmMain.FSuggestions = std::make_unique<TCharCollection>();
  frmMain.show();
  return QApplication::exec();
}
