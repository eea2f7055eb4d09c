// "settings.ini" of the program folder, the Options dialog, the About box
// and the user guide.
#include <QApplication>
#include <QCheckBox>
#include <QScreen>

#include "ShellOpen.h"
#include "QtCodepage.h"
#include "TypingSettings.h"
#include "codepage.h"
#include "dialogs.h"
#include "uAboutBox.h"
#include "uFrmMain.h"
#include "uFrmMainBaseMemo.h"
#include "uOptions.h"

namespace {
using codepage::NarrowQ;
using codepage::WidenQ;

QString SettingsFolder() { return TfrmMainBase::GetAppFolder(); }
}  // namespace

void TfrmMain::LoadSettings() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize screenSize = screen ? screen->size() : QSize(1024, 768);
  const TTypingSettings s = TTypingSettingsFile(SettingsFolder()).Read(screenSize);

  FRestoreLastState = s.RestoreLastState;
  move(s.Left, s.Top);
  resize(s.Width, s.Height);
  FFontSize = NarrowQ(s.FontSize);
  // Both branches size the display pane, so the pane, the size menu and the
  // text sent out agree on the size.
  ApplyFontSize(FFontSize);
  FEnglishFont = NarrowQ(s.EnglishFont);
  chkSubmitWords->setChecked(s.SubmitWords);
  const bool suggestChanges = chkSuggest->isChecked() != s.AutoSuggest;
  chkSuggest->setChecked(s.AutoSuggest);
  // The stored state lays the panes out; the defaults only when it changed.
  if (FRestoreLastState || suggestChanges) chkSuggestClick(chkSuggest);
  FFontMapName = NarrowQ(s.FontMapName);
}

void TfrmMain::SaveSettings() {
  TTypingSettings s;
  s.RestoreLastState = FRestoreLastState;
  s.Left = pos().x();
  s.Top = pos().y();
  s.Width = width();
  s.Height = height();
  s.SubmitWords = chkSubmitWords->isChecked();
  s.FontMapName = WidenQ(FFontMapName);
  s.FontSize = WidenQ(FFontSize);
  s.AutoSuggest = chkSuggest->isChecked();
  s.EnglishFont = WidenQ(FEnglishFont);
  const TTypingSettingsFile file(SettingsFolder());
  if (!file.Write(s)) dialogs::ShowError(QStringLiteral("Cannot write ") + file.FileName() + QLatin1Char('.'));
}

void TfrmMain::ApplyFontSize(const std::string& size) { ::ApplyFontSize(memSinhala, WidenQ(size)); }

void TfrmMain::Options1Click(QObject*) {
  if (!FrmOptions) return;
  TTypingSettings s;
  s.RestoreLastState = FRestoreLastState;
  s.EnglishFont = WidenQ(FEnglishFont);
  if (!FrmOptions->Execute(s)) return;
  FRestoreLastState = s.RestoreLastState;
  FEnglishFont = NarrowQ(s.EnglishFont);
  SaveSettings();
}

void TfrmMain::About1Click(QObject*) {
  if (frmAboutBox) frmAboutBox->exec();
}

void TfrmMain::UserGuide1Click(QObject*) { shell::OpenUserGuide(SettingsFolder()); }

void TfrmMain::UserGuid1Click(QObject* Sender) { UserGuide1Click(Sender); }
