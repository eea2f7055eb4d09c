// Varunel's life: the window's creation, its first showing with the splash,
// and closing, which ends the program.
#include <QApplication>
#include <QComboBox>
#include <QTimer>

#include "AppHooks.h"
#include "QtCodepage.h"
#include "RecoveryText.h"
#include "RunApp.h"
#include "ShellOpen.h"
#include "dialogs.h"
#include "files.h"
#include "log.h"
#include "uAboutBox.h"
#include "uFrmMain.h"
#include "uFrmMainBaseMemo.h"
#include "uSplash.h"
namespace varunel {


TfrmMain* frmMain = nullptr;

void TfrmMain::FormCreate(QObject*) {
  FTempFile = GetAppFolder() + QString::fromLatin1(recovery::kFileName);
  TakeRecoveryFile();
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
  RegisterAppFolder();

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
  if (!FRecoveryRefusal.isEmpty())
    dialogs::MessageBox(
        this, FRecoveryRefusal + QStringLiteral(" What you type in this window is not kept across a restart."),
        QApplication::applicationName(), dialogs::Icon::Information);
}

bool TfrmMain::CloseAnyway(const QString& why) {
  return dialogs::MessageBox(this, why + QStringLiteral("\n\nWhat you typed will not be there at the next start. Close anyway?"),
                             QApplication::applicationName(), dialogs::Icon::Warning,
                             dialogs::Buttons::YesNo) == dialogs::Yes;
}

void TfrmMain::FormClose(QObject*, bool& CanClose) {
  if (FClosed) return;
  // A text the recovery file cannot keep is said before anything is
  // written: the user may stay and keep it elsewhere.
  const bool tooLarge = FRecoveryRefusal.isEmpty() && TextTooLarge();
  if (tooLarge && !CloseAnyway(TooLargeText())) {
    CanClose = false;
    return;
  }
  FClosed = true;
  // The bounds saved are those of the normal window; the state goes apart.
  FSavedWindowState = windowState();
  setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
  // Both files are written while the window still has everything, so that
  // the user can stay when the text cannot be kept: one box says what failed.
  QString settingsError, recoveryError;
  SaveSettings(&settingsError);
  const bool nothingToKeep = !FRecoveryRefusal.isEmpty() && memEnglish->Text().isEmpty();
  if (!tooLarge && !WriteRecoveryFile(&recoveryError) && !nothingToKeep) {
    if (!CloseAnyway((settingsError.isEmpty() ? QString() : settingsError + QLatin1Char('\n')) + recoveryError)) {
      // The window stays as it was, with its text, to be copied or saved.
      setWindowState(FSavedWindowState);
      FClosed = false;
      CanClose = false;
      return;
    }
  } else if (!settingsError.isEmpty()) {
    dialogs::ShowError(settingsError);
  }
  if (FSuggestions) FSuggestions->Clear();
  FSuggestions.reset();
  if (FCharMap) FCharMap->Clear();
  FCharMap.reset();
  tmrAutoSave->stop();
  FRecoveryLock.reset();
  CanClose = true;
  QCoreApplication::quit();
}

void TfrmMain::Exit1Click(QObject*) { close(); }

void TfrmMain::About1Click(QObject*) {
  if (frmAboutBox) frmAboutBox->exec();
}

void TfrmMain::UserGuid1Click(QObject*) { shell::UserGuideCommand(this, GetAppFolder()); }

void TfrmMain::WindowsCharacterMap1Click(QObject*) { RunCharacterMap(*RunApp1); }

}  // namespace varunel
