// The recovery file "varunel.tmp": the typing pane written at close, on
// "Save Content" and by the auto-save timer, and read back at start. It
// belongs to one window at a time: the first Varunel on a program folder
// holds its lock until it closes.
#include <QTimer>
#include <chrono>

#include "QtCodepage.h"
#include "QtFiles.h"
#include "RecoveryText.h"
#include "dialogs.h"
#include "log.h"
#include "uFrmMain.h"
#include "uFrmMainBaseMemo.h"
namespace varunel {


void TfrmMain::TakeRecoveryFile() {
  FRecoveryLock = std::make_unique<files::Lock>(files::PathQ(FTempFile), std::chrono::milliseconds(0));
  // Without the lock for any other reason (a folder we may not write) the
  // writes themselves tell what is wrong.
  if (!FRecoveryLock->Held() && !FRecoveryLock->Busy())
    qCWarning(lcFiles) << "recovery file" << FTempFile << "not locked:" << files::ErrorTextQ(FRecoveryLock->Error());
  if (FRecoveryLock->Busy())
    FRecoveryRefusal = QStringLiteral("Another Varunel window keeps its text in \"%1\".").arg(FTempFile);
}

bool TfrmMain::WriteRecoveryFile(QString* error) {
  tmrAutoSave->stop();
  if (!FRecoveryRefusal.isEmpty()) {
    if (error) *error = FRecoveryRefusal;
    return false;
  }
  const std::string bytes = recovery::BytesFromText(codepage::NarrowQ(memEnglish->Text()));
  // A complete new file replaces the old one; a crash or a full disk on the
  // way leaves the previous copy.
  QString why;
  if (!files::ReplaceWholeQ(FTempFile, bytes, &why)) {
    if (error) *error = QStringLiteral("Cannot create file \"%1\". %2").arg(FTempFile, why);
    // The timer stays off until a write succeeds or the Options set it.
    return false;
  }
  // Starting the timer again starts its interval afresh.
  SetAutoSaveInterval();
  return true;
}

void TfrmMain::WriteRecoveryFileOrTell() {
  QString error;
  if (!WriteRecoveryFile(&error)) dialogs::ShowError(error);
}

void TfrmMain::RestoreRecoveryFile() {
  if (!FRecoveryRefusal.isEmpty()) return;  // another window's text
  std::string bytes;
  std::error_code ec;
  if (!files::ReadWholeQ(FTempFile, recovery::kMaxFileSize, bytes, ec)) {
    if (ec == std::errc::no_such_file_or_directory) return;  // nothing to restore
    // A file that is there but not read is left as it is: writing the pane
    // over it would replace text nobody has seen.
    FRecoveryRefusal =
        QStringLiteral("Cannot read file \"%1\". %2; it is left as it is.").arg(FTempFile, files::ErrorTextQ(ec));
    tmrAutoSave->stop();
    return;
  }
  const QString text = codepage::WidenQ(recovery::TextFromBytes(bytes));
  if (text != memEnglish->Text()) memEnglish->SetText(text);
}

void TfrmMain::SaveAs1Click(QObject*) { WriteRecoveryFileOrTell(); }

void TfrmMain::tmrAutoSaveTimer(QObject*) { WriteRecoveryFileOrTell(); }

}  // namespace varunel
