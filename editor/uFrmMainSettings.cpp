// The editor's keys in "settings.ini", its Options dialog, the pane heights
// with their splitters, and the font-size list.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>

#include "EditorSettings.h"
#include "OuterBounds.h"
#include "PaneStack.h"
#include "TypingSettings.h"
#include "QtCodepage.h"
#include "dialogs.h"
#include "uFrmMain.h"
#include "uFrmMainBaseMemo.h"
#include "uOptions.h"
namespace varunel {


namespace {

// The display pane's point size for a size text; 0 when it is no whole
// number a font can have; at most the largest size the panes can draw.
int PointsOf(const QString& text, bool* isNumber = nullptr) {
  bool ok = false;
  const int points = text.trimmed().toInt(&ok);
  if (isNumber) *isNumber = ok;
  return ok && points > 0 ? std::min(points, kMaxFontPoints) : 0;
}

void SetPoints(QWidget* pane, int points) {
  if (points <= 0) return;
  QFont f = pane->font();
  f.setPointSize(points);
  pane->setFont(f);
}

// The editor's face of the shared Options dialog: "Auto Recovery" above
// "On Start", and no English font.
void ShowEditorGroups(TFrmOptions& dialog) {
  dialog.GroupBox1->show();
  dialog.GroupBox1->move(8, 4);
  dialog.GroupBox2->move(8, 62);
  dialog.GroupBox3->hide();
}

}  // namespace

void TfrmMain::LoadSettings() {
  const TEditorSettings s = TEditorSettingsFile(GetAppFolder()).Read();
  FRestoreLastState = s.RestoreLastState;
  // The stored bounds are the outer window's, its frame included; bounds
  // from another desktop (a monitor gone) come whole onto a screen.
  FNormalBounds = KeptOnScreen(QRect(s.Left, s.Top, s.Width, s.Height), WorkAreas(), QSize(750, 550));
  FOuterBounds->Apply(FNormalBounds);
  chkSuggest->setChecked(s.AutoSuggest);
  FSuggestPanelHeight = s.SuggestPanelHeight;
  FEnglishPanelHeight = s.EnglishPanelHeight;
  RestackPanes();
  FFontMapName = codepage::NarrowQ(s.FontMapName);
  {
    // A stored size that is no number leaves the pane at its design size;
    // the start goes on without a word.
    const QSignalBlocker quiet(cmbFontSize);
    cmbFontSize->setCurrentText(s.FontSize);
  }
  SetPoints(memSinhala, PointsOf(s.FontSize));
  switch (s.WindowState) {
    case 0: setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized)); break;
    case 1: setWindowState((windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized); break;
    case 2: setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized); break;
    default: break;  // any other value leaves the state as it is
  }
  FAutoSave = s.AutoSave;
  FAutoSaveInterval = s.SaveInterval;
  SetAutoSaveInterval();
}

bool TfrmMain::SaveSettings(QString* error) {
  TEditorSettings s;
  s.RestoreLastState = FRestoreLastState;
  s.AutoSave = FAutoSave;
  s.SaveInterval = FAutoSaveInterval;
  // At close the bounds are the normal window's, even when the desktop has
  // not finished taking the window out of its maximised state, and the state
  // goes apart. From the Options the bounds are the window's as it is now,
  // maximised or not, and the state is normal.
  QRect bounds = FClosed ? FOuterBounds->Outer() : FOuterBounds->Current();
  if (FClosed && (FSavedWindowState & (Qt::WindowMinimized | Qt::WindowMaximized))) bounds = FNormalBounds;
  s.Left = bounds.left();
  s.Top = bounds.top();
  s.Width = bounds.width();
  s.Height = bounds.height();
  s.AutoSuggest = chkSuggest->isChecked();
  s.SuggestPanelHeight = FSuggestPanelHeight;
  s.EnglishPanelHeight = FEnglishPanelHeight;
  s.FontMapName = cmbMaps->currentText();
  // The size the display pane shows: a list text that is no whole number
  // was never applied, and stored it would send the next start back to the
  // design size.
  s.FontSize = QString::number(memSinhala->font().pointSize());
  s.WindowState = !FClosed                                           ? 0
                  : FSavedWindowState.testFlag(Qt::WindowMinimized) ? 1
                  : FSavedWindowState.testFlag(Qt::WindowMaximized) ? 2
                                                                     : 0;
  QString message;
  if (TEditorSettingsFile(GetAppFolder()).Write(s, &message)) return true;
  if (error)
    *error = message;
  else
    dialogs::ShowError(message);
  return false;
}

void TfrmMain::RestackPanes() {
  // The stack keeps the order display pane, Splitter1, typing pane,
  // Splitter2, suggestion panel whatever the heights.
  Panes->SetPaneHeight(memEnglish, FEnglishPanelHeight);
  Panes->SetPaneHeight(pnlSuggest, FSuggestPanelHeight);
}

void TfrmMain::SetAutoSaveInterval() {
  const int ms = AutoSaveMilliseconds(FAutoSaveInterval);
  tmrAutoSave->setInterval(ms);
  // An interval of 0 keeps the timer from firing, and so does a recovery
  // file that is not this window's.
  if (ms > 0 && FRecoveryRefusal.isEmpty())
    tmrAutoSave->start();
  else
    tmrAutoSave->stop();
}

void TfrmMain::Options1Click(QObject*) {
  if (!FrmOptions) return;
  ShowEditorGroups(*FrmOptions);
  FrmOptions->chkAutoSave->setChecked(FAutoSave);
  FrmOptions->seInterval->setValue(FAutoSaveInterval);  // outside 0 to 30: the nearer bound
  FrmOptions->rbLastSettings->setChecked(FRestoreLastState);
  FrmOptions->rbDefaultSettings->setChecked(!FRestoreLastState);
  if (FrmOptions->exec() != QDialog::Accepted) return;
  FAutoSave = FrmOptions->chkAutoSave->isChecked();
  FAutoSaveInterval = FrmOptions->seInterval->value();
  FRestoreLastState = FrmOptions->rbLastSettings->isChecked();
  SetAutoSaveInterval();
  SaveSettings();
}

void TfrmMain::memEnglishEnter(QObject*) {
  // Unticked "Auto suggest" leaves only the search bar in view.
  Panes->SetPaneHeight(pnlSuggest, chkSuggest->isChecked() ? FSuggestPanelHeight : 25);
}

void TfrmMain::txtEnglishEnter(QObject*) {
  // A search by hand shows its tiles.
  if (!chkSuggest->isChecked()) Panes->SetPaneHeight(pnlSuggest, FSuggestPanelHeight);
}

void TfrmMain::Splitter1Moved(QObject*) { FEnglishPanelHeight = Panes->PaneHeight(memEnglish); }

void TfrmMain::Splitter2Moved(QObject*) { FSuggestPanelHeight = Panes->PaneHeight(pnlSuggest); }

void TfrmMain::cmbFontSizeChange(QObject*) {
  bool isNumber = false;
  const QString text = cmbFontSize->currentText();
  const int points = PointsOf(text, &isNumber);
  if (!isNumber) {
    dialogs::ShowError(QStringLiteral("'%1' is not a valid integer value.").arg(text));
    return;
  }
  // Only the display pane changes; the tiles keep their sizes.
  SetPoints(memSinhala, points);
}

void TfrmMain::KeepNormalBounds() {
  // Not while the desktop maximises or restores the window: its frame, and
  // so its outer bounds, are not yet those of the normal window.
  if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) && isVisible() &&
      FOuterBounds->Settled())
    FNormalBounds = FOuterBounds->Outer();
}

void TfrmMain::moveEvent(QMoveEvent* event) {
  TfrmMainBase::moveEvent(event);
  KeepNormalBounds();
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
  TfrmMainBase::resizeEvent(event);
  KeepNormalBounds();
}

}  // namespace varunel
