// The routines and state both main windows share: the typing pane's live
// conversion, the caret line, the suggestion search and its strip of tiles,
// the map list and map loading, the program folder. Each program's TfrmMain
// derives from it, lays the shared components out on its own form and
// overrides the virtual handlers where its behaviour differs.
#pragma once

#include <QColor>
#include <QMainWindow>
#include <QString>
#include <memory>
#include <string>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "ExportText.h"
#include "ImageList.h"  // clipboard and export commands: SaveDialog1, WordDocument1
#include "VarunelComms.h"

class QCheckBox;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QTimer;
class QWidget;
class TMemo;
class TOuterBounds;
class TRunApp;
class TTntCharView;
class TorviScrollBox;

// Shift, Alt and Ctrl flags of a key event.
struct TShiftState {
  bool Shift = false;
  bool Alt = false;
  bool Ctrl = false;
};

// Key codes the key handlers compare (the platform's virtual-key numbers).
enum : quint16 {
  VK_RETURN = 13,
  VK_SPACE = 32,
  VK_LEFT = 37,
  VK_UP = 38,
  VK_RIGHT = 39,
  VK_DOWN = 40,
  // The program's own code asking the key handler for a refresh of the caret
  // line and the suggestions.
  VK_REFRESH = 9999,
};

// The virtual-key code and shift state of a Qt key event (0 for keys no
// handler looks at).
quint16 VirtualKeyOf(const QKeyEvent* event);
TShiftState ShiftStateOf(const QKeyEvent* event);

// Listing a folder that does not exist.
class EFolderNotFound : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TfrmMainBase : public QMainWindow {
  Q_OBJECT

 public:
  explicit TfrmMainBase(QWidget* parent = nullptr);
  ~TfrmMainBase() override;

  // --- shared components (named as on the forms) ------------------------
  TImageList ImageList1;       // pictures of the toolbars and menus
  TRunApp* RunApp1;            // starts the desktop's character map
  TMemo* memSinhala;           // display pane, 16-bit, read-only
  TMemo* memEnglish;           // typing pane, 8-bit
  QWidget* pnlSuggest;         // search bar above the suggestion strip
  QWidget* ToolBar3;
  QLabel* Label1;
  QLineEdit* txtEnglish;
  QLabel* Label2;
  QCheckBox* chkSubmitWords;
  QCheckBox* chkSuggest;
  TorviScrollBox* ScrollBox1;  // the suggestion strip
  QTimer* tmrSuggest;          // 10 ms one-shot refresh

  // --- window state -----------------------------------------------------
  std::unique_ptr<TCharCollection> FCharMap;     // the active map; null until created
  std::unique_ptr<TCharCollection> FSuggestions; // the current suggestion list
  std::string FFontMapName;  // name of the map loaded last with success
  std::string FFontSize;     // display size in points, as text
  std::string FEnglishFont;  // face of the English typing mode
  bool FEnglishMode = false;
  int FCaretLine = 0;
  bool FSuggestBusy = false;    // a search runs: no second one starts
  bool FUpdatingInput = false;  // the program writes the typing pane or the search box
  bool FSinhalaEditing = false; // the display pane holds the focus
  TTntCharView* FSelectedView = nullptr;
  QColor FSelectedViewColor;
  QColor FSelectedViewFontColor;

  // Asked to close (close box, window menu, Exit): each program's window
  // decides; `CanClose` false keeps it open. This form lets it close.
  virtual void FormClose(QObject* Sender, bool& CanClose);

  // --- program folder ---------------------------------------------------
  // The running program's folder, ending with the path separator. A path
  // is the system's, in any script: it is never narrowed to 8-bit text.
  static QString GetAppFolder();
  // Replaces the program folder (tests); an empty folder restores it.
  static void SetAppFolder(const QString& folder);
  // Writes the program folder as the registry value "install_path", as both
  // programs do at start; a failure is only logged.
  static void RegisterAppFolder();

  // --- typing pane ------------------------------------------------------
  // The 0-based line of a caret at `position` (CR LF counting two).
  static int LineIndexAt(std::string_view text, int position);
  virtual void memEnglishChange(QObject* Sender);
  // The typing pane's key release; this form refreshes the caret line and
  // the suggestions on the arrow keys and VK_REFRESH.
  virtual void memEnglishKeyUp(QObject* Sender, quint16& Key, TShiftState Shift);
  void tmrSuggestTimer(QObject* Sender);
  void memSinhalaEnter(QObject* Sender);
  void memSinhalaExit(QObject* Sender);
  void memSinhalaChange(QObject* Sender);

  // --- suggestion strip -------------------------------------------------
  virtual void FindSuggestions(const std::string& text, bool searchMode);
  void LayoutSuggestions(const TCharCollection& list);
  virtual TTntCharView* AddCharView(int& row, int& column, const TCharItem& item);
  virtual void SelectCharView(TTntCharView* tile);
  void tntCharViewClick(TTntCharView* Sender);
  void tntCharViewDblClick(TTntCharView* Sender);
  void txtEnglishChange(QObject* Sender);
  virtual void chkSuggestClick(QObject* Sender);
  void ScrollBox1DblClick(QObject* Sender);
  // The tiles now in the strip, in strip order.
  std::vector<TTntCharView*> Tiles() const;

  // --- maps -------------------------------------------------------------
  // Names of the files of `folder` (the program folder when empty) ending
  // in `extension`, sorted by name. Throws EFolderNotFound.
  std::vector<std::string> ListMapFiles(const QString& folder, const QString& extension) const;
  void FillMapList(QComboBox* combo, const QString& folder, const QString& extension);
  // Loads the map `name` from the program folder and re-converts the text;
  // every failure is swallowed. True when it loaded.
  bool LoadFontMap(const std::string& name);
  virtual void cmbMapsChange(QObject* Sender);
  // Start-up's first map load: a new map object, the map named FFontMapName
  // loaded by cmbMapsChange with no suggestion search (the list does not
  // exist yet), then a new suggestion list.
  void CreateMaps();

  // --- clipboard and export commands ---
  // Components of the export: the save dialog keeps the name chosen last;
  // the Word document connection is made and released by each export.
  exporttext::TSaveDialog SaveDialog1;
  automation::TWordDocument WordDocument1;
  // Copy: the typing pane's selection when it has the focus and one, else
  // the display pane's whole text, as Unicode text with its 8-bit form.
  void Copy1Click(QObject* Sender);
  // Paste: into the typing pane (narrowed, then converted) when it has the
  // focus, else into the display pane (converted back into the typing pane).
  void Paste1Click(QObject* Sender);
  // Clear: empties both panes without their change events.
  void Clear1Click(QObject* Sender);
  // Export: asks for a file name and writes the display text as a bitmap, a
  // JPEG picture or a Word document by the name's ending. An error that is
  // not the export's own to report goes to the default error box.
  void Export1Click(QObject* Sender);
  // The display pane's lines drawn in the active map's font.
  QImage RenderToBitmap() const;
  void ExportBitmap(const QString& FileName);
  void ExportJpeg(const QString& FileName);  // throws when rendering fails
  void ExportWordDocument(const QString& FileName);  // throws when Word cannot be reached
  // What the exports read of the window: the display pane and FCharMap.
  exporttext::DisplayText DisplaySource() const;

 protected:
  // The window's outer bounds (frame included), as both programs store them.
  TOuterBounds* FOuterBounds;
  // Runs FormClose and closes or stays as it says.
  void closeEvent(QCloseEvent* event) override;
  // The refresh step of the key handler: caret line and suggestions for the
  // characters before the selection start.
  void RefreshCaret();
  // RefreshCaret() on the arrow keys and VK_REFRESH; true when it ran.
  bool RefreshCaretOn(quint16 key);
  // Binds a new tile's events; the editor binds no mouse entry.
  virtual void BindCharView(TTntCharView* tile);
  // The next tile of the strip: one kept from an earlier search, with the
  // colours and font of a selection taken back, or a new one, hidden.
  TTntCharView* NextTile();
  // Cuts every signal from the children to this window (destructors).
  void DisconnectChildren();
  // A pane's text converted with the active map.
  QString ToFont(const QString& text) const;
  // Brings the display pane in step with the typing pane: the one line that
  // changed when both have the same number of lines, else the whole text;
  // converted in Sinhala typing, copied in English typing. Then keeps the
  // caret's converted position in view.
  void UpdateDisplay();
  // Scrolls the display pane to where the typing pane's caret lands in it.
  void ShowCaretInDisplay();
  // The click on a tile: selects it and gives the keyboard back to the
  // typing pane.
  void tntCharViewClicked(TTntCharView* tile);

 private:
  static QString& AppFolderOverride();
  // Shows the tiles of the strip that are new.
  void ShowTiles();
  // The tile under the resting pointer is entered, as a tile shown there
  // anew would be (a tile moved or relabelled there is not, by itself).
  void EnterPointedTile();
  // Every tile made so far, in strip order; the first FTilesShown are the
  // strip's, the others out of its sight until a search needs them again.
  std::vector<TTntCharView*> FTilePool;
  int FTilesShown = 0;
  // The typing mode the display text was last made in: after a switch the
  // next update makes the whole text again.
  bool FDisplayEnglish = false;
};
