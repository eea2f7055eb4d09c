// Varunel's life: the window's creation, its first showing with the splash,
// and closing, which ends the program.
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QTimer>

#include "AppHooks.h"
#include "QtCodepage.h"
#include "RecoveryText.h"
#include "RunApp.h"
#include "ShellOpen.h"
#include "dialogs.h"
#include "log.h"
#include "registry.h"
#include "uAboutBox.h"
#include "uFrmMain.h"
#include "uSplash.h"
namespace varunel {


TfrmMain* frmMain = nullptr;

void TfrmMain::FormCreate(QObject*) {
  FTempFile = GetAppFolder() + QString::fromLatin1(recovery::kFileName);
  // Every wheel step becomes one arrow-key press for the widget it reached.
  if (!AppMessage) {
    AppMessage = new TWheelHook(this);
    AppMessage->setObjectName("AppMessage");
  }
  AppMessage->Install();
  // The clipboard: Qt's already carries Unicode text, so there is no object to install.
  LoadSettings();
  if (FAutoSave) RestoreRecoveryFile();

  try {
    FillMapList(cmbMaps, GetAppFolder(), QStringLiteral(".fmp"));
  } catch (const std::exception& e) {
    // No program folder to list: the list stays empty.
    qCWarning(lcMaps) << "maps not listed:" << e.what();
  }
  {
    const QSignalBlocker quiet(cmbMaps);
    cmbMaps->setCurrentIndex(cmbMaps->findText(codepage::WidenQ(FFontMapName), Qt::MatchFixedString));
  }
  QFont face = QApplication::font();
  face.setFamily(QStringLiteral("Tahoma"));
  QApplication::setFont(face);

  CreateMaps();

  // Written at every start, never read; a failure is silent.
  // Nothing about the registry is shown to the user.
  if (!registry::WriteInstallPath(GetAppFolder().toStdU16String()))
    qCWarning(lcFiles) << "program folder not written to the registry hive" << registry::HiveFile().c_str();

  if (QApplication::windowIcon().isNull()) QApplication::setWindowIcon(ImageList1.Icon(imgFontMap));
}

void TfrmMain::showEvent(QShowEvent* event) {
  TfrmMainBase::showEvent(event);
  if (FShown) return;
  FShown = true;
  // The splash runs its own modal loop once the window is on the screen.
  QTimer::singleShot(0, this, [this] { FormShow(this); });
}

void TfrmMain::FormShow(QObject*) {
  // It closes itself by its own timer, started when it was made.
  if (frmSplash) frmSplash->exec();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  FormClose(this);
  event->accept();
}

void TfrmMain::FormClose(QObject*) {
  if (FClosed) return;
  FClosed = true;
  if (FSuggestions) FSuggestions->Clear();
  FSuggestions.reset();
  // The bounds saved are those of the normal window; the state goes apart.
  FSavedWindowState = windowState();
  setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
  SaveSettings();
  if (FCharMap) FCharMap->Clear();
  FCharMap.reset();
  // The text would be gone with the window: say which file is missing it.
  // The window closes and the program ends all the same.
  WriteRecoveryFileOrTell();
  tmrAutoSave->stop();
  QCoreApplication::quit();
}

void TfrmMain::Exit1Click(QObject*) { close(); }

void TfrmMain::About1Click(QObject*) {
  if (frmAboutBox) frmAboutBox->exec();
}

void TfrmMain::UserGuid1Click(QObject*) { shell::OpenUserGuide(GetAppFolder()); }

void TfrmMain::WindowsCharacterMap1Click(QObject*) { RunCharacterMap(*RunApp1); }

}  // namespace varunel
