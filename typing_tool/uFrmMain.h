// Tavimo's window: the typing and display panes, the suggestion strip, the
// vertical toolbars with the output targets and the map, size and typing-mode
// menus. The shared routines live in TfrmMainBase; later pieces (start-up,
// settings, tray icon, output, clipboard, export) add their methods in files
// of their own (uFrmMain<Piece>.cpp).
#pragma once

#include <QList>
#include <QRect>
#include <QPixmap>
#include <QSystemTrayIcon>

#include "Output.h"
#include "uFrmMainBase.h"

class QAction;
class QButtonGroup;
class QFrame;
class QMenu;
class QPainter;
class QSplitter;
class QToolBar;
class QToolButton;
class TRunApp;
class TWheelHook;

namespace tavimo {

// Where Enter sends the display text: the order of the toolbar buttons.
using TOutputTarget = output::Target;

class TfrmMain : public TfrmMainBase {
  Q_OBJECT

 public:
  explicit TfrmMain(QWidget* parent = nullptr);
  ~TfrmMain() override;

  // --- components -------------------------------------------------------
  QWidget* CoolBar1;
  QToolBar* ToolBar1;
  QToolButton* tbMSWord;
  QToolButton* tbMSExcel;
  QToolButton* tbPP;
  QToolButton* tbMSN;
  QButtonGroup* grpTargets;
  QToolBar* ToolBar2;
  QToolButton* tbLanguage;
  QToolButton* tbCharMap;
  QToolButton* ToolButton1;
  QToolButton* ToolButton2;
  QFrame* Panel1;
  QSplitter* Splitter1;
  QMenu* pmTray;
  QMenu* pmMaps;
  QMenu* pmFontSizes;
  QMenu* popLanguage;
  QAction* SinhalaTyping1;
  QAction* EnglishTyping1;
  QTimer* tmrSplash;
  QTimer* tmrLoadSettings;

  // --- typing pane keys -------------------------------------------------
  void memEnglishKeyUp(QObject* Sender, quint16& Key, TShiftState Shift) override;
  // The first of the four target buttons that is down.
  TOutputTarget OutputTarget() const;
  // Sends the display text to a target; true when it arrived, and the
  // typing pane is then emptied. Each output reports its own failure.
  virtual bool SendToTarget(TOutputTarget target, const QString& text, bool isEnter);
  // Releases the Word, Excel and PowerPoint connections; the applications
  // themselves keep running.
  void DisconnectOfficeServers();

  // --- map, size and typing-mode menus ------------------------------------
  void FillMapMenu(QMenu* menu, const QString& folder, const QString& extension);
  void pmMapsPopup(QObject* Sender);
  void FontMap1Click(QAction* Sender);
  void N81Click(QAction* Sender);
  // The display pane's font size in points, its client height fitted to it.
  void FitDisplayPane(int points);
  void pmFontSizesPopup(QObject* Sender);
  void SinhalaTyping1DrawItem(QAction* Sender, QPainter& canvas, const QRect& rect, bool selected);
  void SinhalaTyping1Click(QObject* Sender);
  void EnglishTyping1Click(QObject* Sender);
  void chkSuggestClick(QObject* Sender) override;

  // --- commands wired by other pieces -------------------------------------
  virtual void WindowsCharacterMap1Click(QObject* Sender);

  // A menu item's caption, exactly as written (no accelerator characters).
  static QString Caption(const QAction* item);
  static void SetCaption(QAction* item, const QString& caption);

  // --- output targets ---------------------------------------------------
  // The Word, Excel and PowerPoint connections and the messenger's memory
  // of the last chat window and face, for the life of the window.
  output::Connections FOutput;

  // --- start-up, tray and settings ---
  // Creation: frame, wheel hook, settings, first map load, registry value,
  // tray icon and the start-up timers. Called once, right after construction.
  void FormCreate(QObject* Sender);
  // With no notification area on the desktop the window is shown at start
  // and its close box ends the program.
  // Until a notification area appears (a timer looks every second), the
  // tray menu's commands are reachable from the window: the same menu opens
  // from a right click on the tool band.
  void StartVisible(bool trayAvailable);
  void tmrTrayWatchTimer(QObject* Sender);
  QTimer* tmrTrayWatch;
  void tmrSplashTimer(QObject* Sender);
  void tmrLoadSettingsTimer(QObject* Sender);
  void Exit1Click(QObject* Sender);
  // Asked to close: `CanClose` false hides the window instead.
  void FormClose(QObject* Sender, bool& CanClose) override;
  void FormDestroy(QObject* Sender);
  // The tray icon's mouse message (the Win32 codes WM_LBUTTONDOWN 0x0201 ...).
  void WMTrayNotify(int mouseMessage);
  static int TrayMouseMessage(QSystemTrayIcon::ActivationReason reason);
  void About1DrawItem(QAction* Sender, QPainter& ACanvas, const QRect& ARect, bool Selected);
  void DrawMenuBand(QPainter& ACanvas);
  void About1Click(QObject* Sender);
  void UserGuide1Click(QObject* Sender);
  void UserGuid1Click(QObject* Sender);
  void Options1Click(QObject* Sender);
  void LoadSettings();
  void SaveSettings();
  void ApplyFontSize(const std::string& size);
  TWheelHook* AppMessage = nullptr;  // the application-wide wheel hook
  QSystemTrayIcon* FTrayIconData = nullptr;
  QAction* Cancel1;
  QAction* About1;
  QAction* UserGuide1;
  QAction* Options1;
  QAction* Exit1;
  bool FRestoreLastState = true;
  bool FExitRequested = false;
  bool FNoTrayArea = false;

  // --- window bounds ---
  // The outer window's bounds (frame included) as stored in the settings:
  // those of the normal window, whether it is maximized or minimized now.
  QRect OuterBounds() const;
  // Puts the outer window at `bounds`, kept whole on the screens' work areas.
  void SetOuterBounds(const QRect& bounds);

 private:
  // The process starter, the tray menu and the start-up timers' wiring
  // (the constructor's part).
  void CreateStartupParts();
  // --- end of start-up, tray and settings ---
  QToolButton* AddButton(QToolBar* bar, const char* name, int image, const QString& hint, QSize size);
  QAction* AddDrawnItem(QMenu* menu, const char* name, const QString& caption, int image);
};

// The program's main window (start-up, tray and settings).
extern TfrmMain* frmMain;

}  // namespace tavimo
