// Tavimo: the tray typing tool. Nothing shows at start but the splash; the
// program then lives as an icon in the notification area until Exit.
#include "TavimoMain.h"
#include "log.h"
#include "office.h"

int main(int argc, char** argv) {
  // Word, Excel and PowerPoint are played by LibreOffice where it is
  // installed; elsewhere their targets show their messages.
  if (const std::string why = automation::office::UseOffice(); !why.empty())
    qCWarning(lcOutput) << "no office targets:" << why.c_str();
  return TavimoMain(argc, argv);
}
