// The cell menu of the font-map editor and the commands behind it: copying
// and pasting a cell's content or pattern, clearing cells, and moving blocks
// of cells by one place along a row or a column to insert or delete cells.
//
// A cell's content is three values that always travel together: its key
// (CharInEnglish), its font codes (CharInFont) and its caption. The
// commands work on the grid's current cell, change only cells on screen and
// never fail: with no current cell, a position out of range or a missing
// source they change nothing.
#pragma once

#include <QString>

class QAction;
class QMenu;
class TCellGrid;
class TTntCharView;

namespace cellcommands {

// What Copy Content or Copy Pattern remembered.
enum ClipMode : int { kClipContent = 0, kClipPattern = 1, kClipNone = 2 };

// Copies the three values of a cell into another.
void MoveContent(TTntCharView& target, const TTntCharView& source);
// Empties the three values of a cell.
void EmptyCell(TTntCharView& cell);

// Paste Content: the current cell takes the key and the font codes of the
// cell at (clipRow, clipCol) and shows the font codes as its caption.
// True when it pasted; the window then reloads its code boxes from the cell.
bool PasteContent(const TCellGrid& grid, int clipRow, int clipCol);
// Paste Pattern: the source at (clipRow, clipCol) re-based onto the current
// cell's row: every occurrence of the source row's base key in the key is
// exchanged for the target row's base key (on 8-bit text), the first
// occurrence of the source row's base codes in the font codes for the
// target row's. True when it pasted.
bool PastePattern(const TCellGrid& grid, int clipRow, int clipCol);

// The current cell only.
void ClearCell(const TCellGrid& grid);
// The cells right of the current one in its row.
void ClearRow(const TCellGrid& grid);
// The cells below the current one in its column.
void ClearColumn(const TCellGrid& grid);
// The block below and right of the current cell.
void ClearToBottomRight(const TCellGrid& grid);

// Moving blocks, from the current cell (R, C); rows above R and columns
// left of C are never touched.
void InsertCellAfter(const TCellGrid& grid);    // row R, columns C+1.. one right
void DeleteCell(const TCellGrid& grid);         // row R, columns C+1.. one left
void InsertRowBelow(const TCellGrid& grid);     // rows R+1.., columns C.. one down
void DeleteRow(const TCellGrid& grid);          // rows R+1.., columns C.. one up
void InsertColumnRight(const TCellGrid& grid);  // columns C+1.., rows R.. one right
void DeleteColumn(const TCellGrid& grid);       // columns C+1.., rows R.. one left

// The cell menu's items, added to `menu` in menu order; separators are
// named N1 to N5. The items belong to the menu.
struct TCellMenu {
  explicit TCellMenu(QMenu* menu);

  QMenu* mnuTools;
  QAction* CopyContent1;
  QAction* PasteContent1;
  QAction* N5;
  QAction* CopyPattern1;
  QAction* PastePattern1;
  QAction* N1;
  QAction* miClearCell;
  QAction* ClearColumn1;
  QAction* ClearRow1;
  QAction* ClearContenttoright1;
  QAction* N2;
  QAction* InsertCell1;
  QAction* InsertColumnRight1;
  QAction* InsertRow1;
  QAction* N3;
  QAction* DeleteCell1;
  QAction* DeleteColumn1;
  QAction* DeleteRow1;
  QAction* N4;
  QAction* miCancel;

  // Enabling as the menu opens: every command needs a current cell, each
  // paste also the matching copy; Cancel and the separators stay as they are.
  void EnableItems(bool cellSelected, int clipMode);
};

}  // namespace cellcommands
