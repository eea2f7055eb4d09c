// "settings.ini" of the program folder, the Options dialog, the About box
// and the user guide.
#include <QApplication>
#include <QCheckBox>
#include <QScreen>

#include "OuterBounds.h"
#include "ShellOpen.h"
#include "QtCodepage.h"
#include "TypingSettings.h"
#include "codepage.h"
#include "dialogs.h"
#include "uAboutBox.h"
#include "uFrmMain.h"
#include "uFrmMainBaseMemo.h"
#include "uOptions.h"
namespace tavimo {


namespace {
using codepage::NarrowQ;
using codepage::WidenQ;

QString SettingsFolder() { return TfrmMainBase::GetAppFolder(); }
}  // namespace

void TfrmMain::LoadSettings() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect workArea = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  const TTypingSettings s = TTypingSettingsFile(SettingsFolder()).Read(workArea);

  FRestoreLastState = s.RestoreLastState;
  SetOuterBounds(QRect(s.Left, s.Top, s.Width, s.Height));
  FFontSize = NarrowQ(StoredFontSize(s.FontSize));
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
  const QRect outer = OuterBounds();
  s.Left = outer.left();
  s.Top = outer.top();
  s.Width = outer.width();
  s.Height = outer.height();
  s.SubmitWords = chkSubmitWords->isChecked();
  s.FontMapName = WidenQ(FFontMapName);
  s.FontSize = WidenQ(FFontSize);
  s.AutoSuggest = chkSuggest->isChecked();
  s.EnglishFont = WidenQ(FEnglishFont);
  QString error;
  if (!TTypingSettingsFile(SettingsFolder()).Write(s, &error)) dialogs::ShowError(error);
}

void TfrmMain::ApplyFontSize(const std::string& size) { ::ApplyFontSize(memSinhala, WidenQ(size)); }

namespace {
// The window's boxes belong to it, so they stay above the always-on-top
// window, and block only it, so the tray icon can still bring them forward.
void Own(QWidget* window, QDialog* box) {
  if (box->parentWidget() != window) box->setParent(window, box->windowFlags());
  box->setWindowModality(Qt::WindowModal);
}
}  // namespace

void TfrmMain::Options1Click(QObject*) {
  if (!FrmOptions) return;
  Own(this, FrmOptions);
  TTypingSettings s;
  s.RestoreLastState = FRestoreLastState;
  s.EnglishFont = WidenQ(FEnglishFont);
  if (!FrmOptions->Execute(s)) return;
  FRestoreLastState = s.RestoreLastState;
  FEnglishFont = NarrowQ(s.EnglishFont);
  SaveSettings();
}

void TfrmMain::About1Click(QObject*) {
  if (!frmAboutBox) return;
  Own(this, frmAboutBox);
  frmAboutBox->exec();
}

void TfrmMain::UserGuide1Click(QObject*) { shell::UserGuideCommand(this, SettingsFolder()); }

void TfrmMain::UserGuid1Click(QObject* Sender) { UserGuide1Click(Sender); }

// --- window bounds -------------------------------------------------------------

QRect TfrmMain::OuterBounds() const { return FOuterBounds->Outer(); }

void TfrmMain::SetOuterBounds(const QRect& bounds) {
  FOuterBounds->Apply(KeptOnScreen(bounds, WorkAreas(), QSize(450, 350)));
}

}  // namespace tavimo
