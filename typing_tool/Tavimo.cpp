// Tavimo: the tray typing tool. Nothing shows at start but the splash; the
// program then lives as an icon in the notification area until Exit.
#include <QtGlobal>

#include "TavimoMain.h"
#include "office.h"

int main(int argc, char** argv) {
  // Word, Excel and PowerPoint are played by LibreOffice where it is
  // installed; elsewhere their targets show their messages.
  if (const std::string why = automation::office::UseOffice(); !why.empty())
    qWarning("No office targets: %s", why.c_str());
  return TavimoMain(argc, argv);
}
