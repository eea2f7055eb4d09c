// Varunel: the phonetic Sinhala editor. One document window; closing it
// ends the program.
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

#include "AppHooks.h"
#include "EditorArt.h"
#include "log.h"
#include "office.h"
#include "uAboutBox.h"
#include "uFrmMain.h"
#include "uOptions.h"
#include "uSplash.h"

using varunel::TfrmMain;
using varunel::frmMain;

namespace {

// Qt ends with an abort message when no display can be reached; say what
// to do instead, before Qt tries.
bool DisplayAvailable() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (!platform.isEmpty() && !platform.startsWith("xcb")) return true;
  if (!qgetenv("WAYLAND_DISPLAY").isEmpty()) return true;
  const QByteArray display = qgetenv("DISPLAY");
  if (display.isEmpty()) return false;
  // A local display ":N" listens on its socket; a display left behind in
  // the environment has none.
  if (display.startsWith(':')) {
    const QByteArray number = display.mid(1).split('.').first();
    return QFile::exists(QStringLiteral("/tmp/.X11-unix/X") + QString::fromLatin1(number));
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (!DisplayAvailable()) {
    std::fprintf(stderr,
                 "Varunel needs a graphical desktop, and none can be reached (DISPLAY and "
                 "WAYLAND_DISPLAY name none that is running).\n"
                 "Start it from a terminal of your desktop session, or on a virtual display:\n"
                 "  sudo apt-get install xvfb && xvfb-run -a %s\n",
                 argc > 0 ? argv[0] : "Varunel");
    return 2;
  }
  TVarunelApplication app(argc, argv);
  QApplication::setApplicationName("VarunelV1.0");
  // The Word document export writes through LibreOffice where it can be
  // reached, else Rich Text.
  if (const std::string why = automation::office::UseOffice(); !why.empty())
    qCWarning(lcFiles) << "the Word document export writes Rich Text:" << why.c_str();

  frmMain = new TfrmMain;
  frmMain->FormCreate(frmMain);
  frmSplash = new TfrmSplash;
  editorart::MakeEditorSplash(*frmSplash);
  frmAboutBox = new TfrmAboutBox;
  editorart::MakeEditorAboutBox(*frmAboutBox);
  FrmOptions = new TFrmOptions;
  frmMain->show();

  const int result = QApplication::exec();
  delete FrmOptions;
  FrmOptions = nullptr;
  delete frmAboutBox;
  frmAboutBox = nullptr;
  delete frmSplash;
  frmSplash = nullptr;
  delete frmMain;
  frmMain = nullptr;
  return result;
}
