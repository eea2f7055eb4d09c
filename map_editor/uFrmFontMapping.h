// The font-map editor: a modal window showing one font map as a grid of 110
// rows by 40 columns of character tiles (row 0 the combination templates,
// column 0 the base characters), the code boxes of the current cell, the
// map and layout combos, and the toolbar. The grid is the working copy:
// every edit changes the tiles only, and Save builds the map file from them.
//
// Failures: LoadMap throws the map reader's EFontMapLoadError ("Error
// Loading."), which the map combo's handler shows in the default error box;
// a layout that cannot be read is reported by a message box and the map
// loads all the same; a map or layout that cannot be written shows the
// default error box with the error's text. Files are replaced only once the
// new one is complete.
#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QString>
#include <memory>
#include <vector>

#include "CellGrid.h"
#include "ExportText.h"
#include "VarunelComms.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QToolBar;
class QToolButton;
class TTntCharView;
class TfrmMainBase;
class TorviScrollBox;
namespace cellcommands {
struct TCellMenu;
}

class TfrmFontMapping : public QDialog, public TCellGrid {
  Q_OBJECT

 public:
  // `owner` is the main window whose image list, process starter and map
  // listing the editor uses; it must outlive the editor.
  explicit TfrmFontMapping(TfrmMainBase* owner);
  ~TfrmFontMapping() override;

  // --- components (named as on the form) ---------------------------------
  QWidget* CoolBar1;
  QToolBar* ToolBar1;
  QToolButton* ToolButton4;  // new map
  QToolButton* ToolButton2;  // save
  QToolButton* ToolButton6;  // HTML chart
  QAction* ToolButton1;      // separator
  QToolButton* ToolButton5;  // copy map
  QToolButton* ToolButton3;  // the desktop's character map
  QLabel* Label3;
  QComboBox* cmbMaps;
  QGroupBox* GroupBox1;
  QLabel* lblEdit1;
  QLineEdit* Edit1;
  QLabel* lblEdit2;
  QLineEdit* Edit2;
  QLineEdit* txtFontChar;
  QCheckBox* chkAutoLocate;
  QCheckBox* chkAutoUpdate;
  QPushButton* btnUpdate;
  QLabel* lblFontName;
  QLineEdit* txtFontName;
  QPushButton* btnFont;
  TorviScrollBox* ScrollBox1;
  QLabel* lblCharacters;
  QLabel* lblCharCombinations;
  QGroupBox* GroupBox3;
  QRadioButton* rdbAutoAllRows;
  QRadioButton* rdbAutoSelectedRow;
  QRadioButton* rdbAutoSelectedColumn;
  QPushButton* btnSmartMap;
  QGroupBox* GroupBox2;
  QLabel* lblMapLayout;
  QComboBox* cmbMapLayout;
  QLabel* lblLayoutFont;
  QLineEdit* txtLayoutFont;
  QPushButton* Button3;
  QLabel* lblLegend;
  QLineEdit* txtLegend;
  QCheckBox* chkAutoSaveLayout;
  QMenu* mnuTools;  // the cell menu; its items are made by CreateCellMenu
  exporttext::TSaveDialog SaveDialog1;  // the HTML chart's file name

  // --- the grid ----------------------------------------------------------
  TTntCharView* GetCell(int row, int col) const override;
  TTntCharView* CurrentCell() const override { return FSelected; }
  TTntCharView* CreateCell(int Row, int Col);
  void ShowMap();
  // Makes `Cell` current (null only removes the highlight); with LoadEdits
  // the code boxes take its codes.
  void SelectCell(TTntCharView* Cell, bool LoadEdits);
  // Selects the first cell, row by row, whose English code (or font code)
  // begins with `Text`, and scrolls it into view.
  void LocateCell(const QString& Text, bool ByEnglish, bool LoadEdits);

  // --- maps --------------------------------------------------------------
  // Loads the map `Name` of the program folder into the grid. Throws
  // EFontMapLoadError.
  void LoadMap(const QString& Name);
  // Writes the grid to the map `Name` of the program folder. When the map
  // as loaded holds base characters or combinations the grid cannot show,
  // asks first; false when the user keeps the file. Throws EFontMapSaveError.
  bool SaveMap(const QString& Name);

  // --- layouts -----------------------------------------------------------
  // Reads the layout `Name` into the header cells; a layout that cannot be
  // read is reported, never thrown.
  void LoadLayout(const QString& Name);
  // Writes the header cells as the layout `Name`. Throws EFontMapSaveError.
  void SaveLayout(const QString& Name);
  void SetHeaderCell(int Row, int Col, const QString& Key, const QString& Legend);

  // --- event handlers ----------------------------------------------------
  void FormCreate();
  void FormClose();
  void tntCharViewClick(TTntCharView* Sender);
  void tntCharViewDblClick(TTntCharView* Sender);
  // Any button selects the cell as a click does; the right one then opens
  // the cell menu at the press.
  void tntCharViewMouseDown(TTntCharView* Sender, Qt::MouseButton Button, QPoint Pos);
  void ScrollBox1KeyDown(QKeyEvent* Key);
  void btnUpdateClick();
  void Edit1Change();
  void Edit2Change();
  void Edit1KeyDown(int Key);
  void Edit2KeyDown(int Key);
  void ToolButton3Click();
  void btnSaveClick();
  void cmbMapsChange();
  void cmbMapsCloseUp();
  void cmbMapsKeyDown();
  void btnFontClick();
  void txtLegendKeyUp();
  void Button3Click();

  // --- commands made elsewhere (Smart Map, the cell menu, new and copied
  // maps, the HTML chart); wired here, written in files of their own -----
  void CreateCellMenu();  // fills mnuTools; called once by FormCreate
  void btnSmartMapClick();
  void mnuToolsPopup();
  void CopyContent1Click();
  void PasteContent1Click();
  void CopyPattern1Click();
  void PastePattern1Click();
  void miClearCellClick();
  void ClearColumn1Click();
  void ClearRow1Click();
  void ClearContenttoright1Click();
  void InsertCell1Click();
  void InsertColumnRight1Click();
  void InsertRow1Click();
  void DeleteCell1Click();
  void DeleteColumn1Click();
  void DeleteRow1Click();
  void chkAutoUpdateClick();
  void chkAutoLocateClick();
  void Edit1KeyUp(int Key);  // key release in Edit1 and in Edit2
  void ToolButton4Click();   // new map
  void ToolButton5Click();   // copy map
  void ToolButton6Click();   // HTML chart

  // Holds the repainting of the cells while it lives, then repaints the grid
  // once as a whole. A command that changes many cells takes one: cell by
  // cell, each repaint request is weighed against thousands of siblings when
  // the window is painted, which takes far longer than the change itself.
  class RepaintHeld {
   public:
    explicit RepaintHeld(TfrmFontMapping* editor);
    ~RepaintHeld();
    RepaintHeld(const RepaintHeld&) = delete;
    RepaintHeld& operator=(const RepaintHeld&) = delete;

   private:
    void Hold(bool on);
    QWidget* grid_;
  };

  // --- state -------------------------------------------------------------
  const TCharCollection* Map() const { return FMap.get(); }
  QString LayoutFont() const { return FLayoutFont; }
  bool MapPicked() const { return FMapPicked; }
  TfrmMainBase* MainWindow() const { return FOwner; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The file's bytes replace `path` once complete. Throws EFontMapSaveError.
  static void WriteWhole(const QString& path, const std::string& bytes);
  // True when the map as loaded holds content past the grid's last row or
  // column.
  bool MapExceedsGrid() const;
  void SetCellColors(TTntCharView* cell, const QColor& background, const QColor& text);

  TfrmMainBase* FOwner;
  std::unique_ptr<TCharCollection> FMap;
  std::vector<TTntCharView*> FCells;  // row-major, as created
  QFont FGridFont;
  QString FLayoutFont;
  TTntCharView* FSelected = nullptr;
  QColor FSelColor;
  QColor FSelFontColor;
  bool FLocating = false;
  bool FDblClicked = false;  // a double-click's button is still down
  bool FMapPicked = false;
  bool FCutAccepted = false;  // the user agreed to drop what lies past the grid
  bool FMapShown = false;     // the last load succeeded: the grid shows the combo's map
  bool FClosed = false;
  std::unique_ptr<cellcommands::TCellMenu> FCellMenu;  // the items of mnuTools

 public:
  // The cell clipboard of the cell menu: the copied cell and the mode (0
  // content, 1 pattern, 2 nothing copied).
  int FClipCol = 0;
  int FClipRow = 0;
  int FClipMode = 2;
};

// Opens the font-map editor modally on the map `mapName` of the program
// folder, owned by `owner`, and destroys it when it closes. Returns the
// dialog's result. A map that cannot be loaded throws EFontMapLoadError
// before the editor shows.
int ShowFontMapping(TfrmMainBase* owner, const QString& mapName);
