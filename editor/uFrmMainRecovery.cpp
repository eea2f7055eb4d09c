// The recovery file "varunel.tmp": the typing pane written at close, on
// "Save Content" and by the auto-save timer, and read back at start. It
// belongs to one window at a time: the first Varunel on a program folder
// holds its lock until it closes.
#include <QTimer>
#include <chrono>
#include <cmath>
#include <optional>

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

bool TfrmMain::TextTooLarge() const { return memEnglish->TextLength() > qsizetype(recovery::kMaxFileSize); }

QString TfrmMain::TooLargeText() const {
  constexpr double kMegabyte = 1 << 20;
  // Rounded up: a text just over the limit never reads as the limit.
  const double size = std::ceil(memEnglish->TextLength() * 10 / kMegabyte) / 10;
  return QStringLiteral("The text is %1 MB; \"%2\" keeps at most %3 MB, so it is not written there. "
                        "Copy it into another program to keep it.")
      .arg(QString::number(size, 'f', 1), FTempFile, QString::number(recovery::kMaxFileSize / kMegabyte));
}

bool TfrmMain::WriteRecoveryFile(QString* error) {
  tmrAutoSave->stop();
  if (!FRecoveryRefusal.isEmpty()) {
    if (error) *error = FRecoveryRefusal;
    return false;
  }
  std::optional<std::string> bytes;
  if (!TextTooLarge()) bytes = recovery::BytesFromText(codepage::NarrowQ(memEnglish->Text()));
  if (!bytes) {
    // Never a file the next start would not read back: the file keeps the
    // last text that fitted. The timer goes on, for a text cut down again.
    if (error) *error = TooLargeText();
    SetAutoSaveInterval();
    return false;
  }
  // A complete new file replaces the old one; a crash or a full disk on the
  // way leaves the previous copy.
  QString why;
  if (!files::ReplaceWholeQ(FTempFile, *bytes, &why)) {
    if (error) *error = QStringLiteral("Cannot create file \"%1\". %2").arg(FTempFile, why);
    // The timer stays off until a write succeeds or the Options set it.
    return false;
  }
  FTooLargeTold = false;
  // Starting the timer again starts its interval afresh.
  SetAutoSaveInterval();
  return true;
}

void TfrmMain::WriteRecoveryFileOrTell() {
  QString error;
  if (WriteRecoveryFile(&error)) return;
  FTooLargeTold = TextTooLarge();
  dialogs::ShowError(error);
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
  // In the pane's own form, LF between lines: a long text is not copied
  // once more on its way in. A pane that holds it already stays untouched.
  memEnglish->SetText(codepage::WidenQ(recovery::TextFromBytes(bytes, "\n")));
}

void TfrmMain::SaveAs1Click(QObject*) { WriteRecoveryFileOrTell(); }

void TfrmMain::tmrAutoSaveTimer(QObject*) {
  // A text too large for the file is told once, not at every interval,
  // until a write has succeeded again.
  if (FTooLargeTold && TextTooLarge()) return;
  WriteRecoveryFileOrTell();
}

}  // namespace varunel
