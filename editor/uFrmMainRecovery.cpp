// The recovery file "varunel.tmp": the typing pane written at close, on
// "Save Content" and by the auto-save timer, and read back at start.
#include <QFile>
#include <QSaveFile>
#include <QTimer>

#include "QtCodepage.h"
#include "RecoveryText.h"
#include "dialogs.h"
#include "uFrmMain.h"
#include "uFrmMainBaseMemo.h"
namespace varunel {


bool TfrmMain::WriteRecoveryFile(QString* error) {
  tmrAutoSave->stop();
  const std::string bytes = recovery::BytesFromText(codepage::NarrowQ(memEnglish->Text()));
  // A complete new file replaces the old one; a crash or a full disk on the
  // way leaves the previous copy.
  QSaveFile file(FTempFile);
  const bool written = file.open(QIODevice::WriteOnly) &&
                       file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                           static_cast<qint64>(bytes.size()) &&
                       file.commit();
  if (!written) {
    if (error) *error = file.errorString();
    // The timer stays off until a write succeeds or the Options set it.
    return false;
  }
  // Starting the timer again starts its interval afresh.
  SetAutoSaveInterval();
  return true;
}

void TfrmMain::WriteRecoveryFileOrTell() {
  QString error;
  if (!WriteRecoveryFile(&error))
    dialogs::ShowError(QStringLiteral("Cannot create file \"%1\". %2").arg(FTempFile, error));
}

void TfrmMain::RestoreRecoveryFile() {
  QFile file(FTempFile);
  if (!file.exists() || !file.open(QIODevice::ReadOnly)) return;  // nothing to restore, or unreadable
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return;
  const QString text = codepage::WidenQ(recovery::TextFromBytes(std::string_view(bytes.constData(), bytes.size())));
  if (text != memEnglish->Text()) memEnglish->SetText(text);
}

void TfrmMain::SaveAs1Click(QObject*) { WriteRecoveryFileOrTell(); }

void TfrmMain::tmrAutoSaveTimer(QObject*) { WriteRecoveryFileOrTell(); }

}  // namespace varunel
