// Varunel's window: a document window with the display pane on top, the
// multi-line typing pane under it and the suggestion panel at the bottom,
// two splitters between them, the main menu and two tool bars. The shared
// routines live in TfrmMainBase; the editor's variants, its settings and
// its recovery file are here (uFrmMain<Piece>.cpp). Closing the window ends
// the program.
#pragma once

#include <QRect>
#include <QString>
#include <functional>
#include <memory>

#include "uFrmMainBase.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QToolBar;
class QToolButton;
class TWheelHook;
namespace files {
class Lock;
}

namespace varunel {

class TPaneStack;
class TSplitter;

class TfrmMain : public TfrmMainBase {
  Q_OBJECT

 public:
  explicit TfrmMain(QWidget* parent = nullptr);
  ~TfrmMain() override;

  // --- components -------------------------------------------------------
  QWidget* CoolBar1;
  QToolBar* ToolBar1;
  QToolButton* tbClear;
  QToolButton* tbSave;
  QToolButton* tbExport;
  QToolButton* tbCopy;
  QToolButton* tbPaste;
  QToolButton* tbCharMap;
  QToolBar* ToolBar2;
  QLabel* Label3;
  QComboBox* cmbMaps;
  QToolButton* btnCharMap;
  QComboBox* cmbFontSize;
  TPaneStack* Panes;
  TSplitter* Splitter1;
  TSplitter* Splitter2;
  QLabel* Label5;
  QLineEdit* txtFontRep;
  QTimer* tmrAutoSave;
  QMenu* File1;
  QAction* Clear1;
  QAction* SaveAs1;
  QAction* Export1;
  QAction* RefreshMappingList1;
  QAction* Exit1;
  QMenu* Edit1;
  QAction* Copy1;
  QAction* Paste1;
  QMenu* Tools1;
  QAction* OpenFontMap1;
  QAction* WindowsCharacterMap1;
  QAction* Options1;
  QMenu* Help1;
  QAction* About1;
  QAction* UserGuid1;

  // --- window state -----------------------------------------------------
  QString FTempFile;            // the recovery file
  bool FAutoSave = true;        // "auto_save": read the recovery file at start
  int FAutoSaveInterval = 5;    // "save_interval", minutes
  bool FRestoreLastState = true;
  int FSuggestPanelHeight = 100;
  int FEnglishPanelHeight = 100;
  Qt::WindowStates FSavedWindowState;
  TWheelHook* AppMessage = nullptr;

  // --- start-up and shutdown (uFrmMainStartup.cpp) ------------------------
  // Creation: recovery file name, wheel hook, settings, recovery file, map
  // list, first map load, registry value. Called once, right after
  // construction.
  void FormCreate(QObject* Sender);
  // The first showing shows the splash modally, then says when this window
  // cannot keep its text in the recovery file.
  void FormShow(QObject* Sender);
  // Writes the settings and the recovery file, then frees the maps and ends
  // the program. When the text could not be kept, a box asks first, and
  // CanClose false leaves the window open with its text. A text too large for
  // the recovery file is asked about before anything is written.
  void FormClose(QObject* Sender, bool& CanClose) override;
  void Exit1Click(QObject* Sender);
  void About1Click(QObject* Sender);
  void UserGuid1Click(QObject* Sender);
  void WindowsCharacterMap1Click(QObject* Sender);

  // --- settings, Options and panes (uFrmMainSettings.cpp) -------------------
  void LoadSettings();
  // Writes the settings: at close the normal bounds and the state the window
  // closed in, else (the Options) the window's bounds as they are now and
  // the normal state. False when the file could not be written, after an
  // error box naming the file and the system's reason, or with that text in
  // `error` instead.
  bool SaveSettings(QString* error = nullptr);
  void RestackPanes();
  void Options1Click(QObject* Sender);
  void memEnglishEnter(QObject* Sender);
  void txtEnglishEnter(QObject* Sender);
  void Splitter1Moved(QObject* Sender);
  void Splitter2Moved(QObject* Sender);
  void cmbFontSizeChange(QObject* Sender);
  // The auto-save timer's interval from FAutoSaveInterval.
  void SetAutoSaveInterval();

  // --- typing, suggestions and maps (uFrmMain.cpp) ------------------------
  void SelectCharView(TTntCharView* tile) override;
  void cmbMapsChange(QObject* Sender) override;
  void RefreshMappingList1Click(QObject* Sender);
  void OpenFontMap1Click(QObject* Sender);
  // Opens the font-map editor modally on the map `mapName` and returns when
  // it has closed: OpenFontMapping unless replaced (tests); without one the
  // command only lists the maps again and reloads the current map.
  using TFontMapEditor = std::function<void(TfrmMain& owner, const QString& mapName)>;
  static void SetFontMapEditor(TFontMapEditor editor);
  static void OpenFontMapping(TfrmMain& owner, const QString& mapName);

  // --- recovery file (uFrmMainRecovery.cpp) --------------------------------
  // Takes the recovery file for this window: only the first window on a
  // program folder keeps its text there, until it closes.
  void TakeRecoveryFile();
  // Writes the typing pane to FTempFile, whole or not at all, and starts the
  // auto-save interval afresh. False when it could not be written, or when
  // the file is not this window's: the old file stays, the timer stays off,
  // and `error` holds the message that says why. A text larger than the
  // start reads back (recovery::kMaxFileSize) is not written either: false,
  // the old file as it was, the timer running on.
  bool WriteRecoveryFile(QString* error = nullptr);
  // Reads FTempFile into the typing pane. A file that is there but cannot be
  // read (no regular file, larger than recovery::kMaxFileSize) is left
  // alone: this window then does not write it.
  void RestoreRecoveryFile();
  // "Save Content": writes the recovery file, or says why not.
  void SaveAs1Click(QObject* Sender);
  // Writes the recovery file, or says why not; a text too large for it is
  // said once, not at every interval.
  void tmrAutoSaveTimer(QObject* Sender);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void BindCharView(TTntCharView* tile) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QToolButton* AddButton(QToolBar* bar, const char* name, int image, const QString& hint);
  QAction* AddItem(QMenu* menu, const char* name, const QString& caption, int image = -1);
  void CreateMenus();
  // Writes the recovery file from a command; an error box names the file
  // when it fails.
  void WriteRecoveryFileOrTell();
  // The typing pane is larger than the recovery file keeps, and what the
  // message about it says.
  bool TextTooLarge() const;
  QString TooLargeText() const;
  // Asks whether to close although what was typed is lost with `why`; the
  // answer that keeps the window open is the default.
  bool CloseAnyway(const QString& why);
  // The bounds of the window when it was last in the normal state: what
  // closing a maximised or minimised window saves. Taken only with the
  // frame settled: while the desktop maximises or restores the window, the
  // frame it reports may still be the other state's.
  void KeepNormalBounds();
  QRect FNormalBounds;
  std::unique_ptr<files::Lock> FRecoveryLock;
  // Why this window does not write the recovery file (a sentence of the
  // messages that say so); empty when it does.
  QString FRecoveryRefusal;
  // The auto-save has told that the text is too large, and has not written
  // since.
  bool FTooLargeTold = false;
  bool FShown = false;
  bool FClosed = false;
  static TFontMapEditor& FontMapEditor();
};

// The program's main window.
extern TfrmMain* frmMain;

}  // namespace varunel
