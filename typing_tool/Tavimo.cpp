// Tavimo: the tray typing tool. Nothing shows at start but the splash; the
// program then lives as an icon in the notification area until Exit.
#include "TavimoMain.h"
#include "office.h"

int main(int argc, char** argv) {
  // Word, Excel and PowerPoint are played by LibreOffice where it is installed.
  automation::office::UseOffice();
  return TavimoMain(argc, argv);
}
