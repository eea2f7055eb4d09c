#include "CellCommands.h"

#include <QAction>
#include <QMenu>
#include <string>

#include "CellGrid.h"
#include "CharView.h"
#include "QtCodepage.h"
#include "VarunelComms.h"

namespace cellcommands {

namespace {

constexpr int kLastRow = TCellGrid::RowCount - 1;
constexpr int kLastCol = TCellGrid::ColCount - 1;

// Every occurrence of `pattern` replaced, left to right; an empty pattern
// replaces nothing.
std::string ReplaceAll(std::string text, const std::string& pattern, const std::string& replacement) {
  if (pattern.empty()) return text;
  for (std::size_t at = text.find(pattern); at != std::string::npos;
       at = text.find(pattern, at + replacement.size()))
    text.replace(at, pattern.size(), replacement);
  return text;
}

void Move(const TCellGrid& grid, int toRow, int toCol, int fromRow, int fromCol) {
  TTntCharView* target = grid.GetCell(toRow, toCol);
  const TTntCharView* source = grid.GetCell(fromRow, fromCol);
  if (target && source) MoveContent(*target, *source);
}

void Empty(const TCellGrid& grid, int row, int col) {
  if (TTntCharView* cell = grid.GetCell(row, col)) EmptyCell(*cell);
}

void EmptyBlock(const TCellGrid& grid, int firstRow, int lastRow, int firstCol, int lastCol) {
  for (int r = firstRow; r <= lastRow; ++r)
    for (int c = firstCol; c <= lastCol; ++c) Empty(grid, r, c);
}

void SetCodes(TTntCharView& cell, const QString& key, const QString& codes) {
  cell.CharInEnglish = key;
  cell.CharInFont = codes;
  cell.SetCaption(codes);
}

}  // namespace

void MoveContent(TTntCharView& target, const TTntCharView& source) {
  if (&target == &source) return;
  target.CharInEnglish = source.CharInEnglish;
  target.CharInFont = source.CharInFont;
  target.SetCaption(source.Caption());
}

void EmptyCell(TTntCharView& cell) { SetCodes(cell, QString(), QString()); }

bool PasteContent(const TCellGrid& grid, int clipRow, int clipCol) {
  TTntCharView* target = grid.CurrentCell();
  const TTntCharView* source = grid.GetCell(clipRow, clipCol);
  if (!target || !source) return false;
  const QString key = source->CharInEnglish, codes = source->CharInFont;
  SetCodes(*target, key, codes);
  return true;
}

bool PastePattern(const TCellGrid& grid, int clipRow, int clipCol) {
  TTntCharView* target = grid.CurrentCell();
  if (!target) return false;
  const TTntCharView* source = grid.GetCell(clipRow, clipCol);
  const TTntCharView* sourceBase = grid.GetCell(clipRow, 0);
  const TTntCharView* targetBase = grid.GetCell(target->RowIndex, 0);
  if (!source || !sourceBase || !targetBase) return false;
  const QString key = codepage::WidenQ(ReplaceAll(codepage::NarrowQ(source->CharInEnglish),
                                                  codepage::NarrowQ(sourceBase->CharInEnglish),
                                                  codepage::NarrowQ(targetBase->CharInEnglish)));
  const QString codes = QString::fromStdU16String(ReplaceFirstW(
      source->CharInFont.toStdU16String(), sourceBase->CharInFont.toStdU16String(),
      targetBase->CharInFont.toStdU16String()));
  SetCodes(*target, key, codes);
  return true;
}

void ClearCell(const TCellGrid& grid) {
  if (TTntCharView* cell = grid.CurrentCell()) EmptyCell(*cell);
}

void ClearRow(const TCellGrid& grid) {
  if (const TTntCharView* cell = grid.CurrentCell())
    EmptyBlock(grid, cell->RowIndex, cell->RowIndex, cell->ColumnIndex + 1, kLastCol);
}

void ClearColumn(const TCellGrid& grid) {
  if (const TTntCharView* cell = grid.CurrentCell())
    EmptyBlock(grid, cell->RowIndex + 1, kLastRow, cell->ColumnIndex, cell->ColumnIndex);
}

void ClearToBottomRight(const TCellGrid& grid) {
  if (const TTntCharView* cell = grid.CurrentCell())
    EmptyBlock(grid, cell->RowIndex + 1, kLastRow, cell->ColumnIndex + 1, kLastCol);
}

// The inserting commands copy from the far end backwards and the deleting
// ones forwards, so that no cell is overwritten before it has moved.

void InsertCellAfter(const TCellGrid& grid) {
  const TTntCharView* cell = grid.CurrentCell();
  if (!cell || cell->ColumnIndex < 0 || cell->ColumnIndex > kLastCol - 2) return;
  const int R = cell->RowIndex, C = cell->ColumnIndex;
  for (int t = kLastCol; t >= C + 2; --t) Move(grid, R, t, R, t - 1);
  Empty(grid, R, C + 1);
}

void DeleteCell(const TCellGrid& grid) {
  const TTntCharView* cell = grid.CurrentCell();
  if (!cell || cell->ColumnIndex < 0 || cell->ColumnIndex > kLastCol - 1) return;
  const int R = cell->RowIndex, C = cell->ColumnIndex;
  for (int t = C; t <= kLastCol - 1; ++t) Move(grid, R, t, R, t + 1);
  Empty(grid, R, kLastCol);
}

void InsertRowBelow(const TCellGrid& grid) {
  const TTntCharView* cell = grid.CurrentCell();
  if (!cell || cell->RowIndex < 0 || cell->RowIndex > kLastRow - 2) return;
  const int R = cell->RowIndex, C = cell->ColumnIndex;
  for (int t = kLastRow; t >= R + 2; --t)
    for (int c = C; c <= kLastCol; ++c) Move(grid, t, c, t - 1, c);
  EmptyBlock(grid, R + 1, R + 1, C, kLastCol);
}

void DeleteRow(const TCellGrid& grid) {
  const TTntCharView* cell = grid.CurrentCell();
  if (!cell || cell->RowIndex < 0 || cell->RowIndex > kLastRow - 1) return;
  const int R = cell->RowIndex, C = cell->ColumnIndex;
  for (int t = R; t <= kLastRow - 1; ++t)
    for (int c = C; c <= kLastCol; ++c) Move(grid, t, c, t + 1, c);
  EmptyBlock(grid, kLastRow, kLastRow, C, kLastCol);
}

void InsertColumnRight(const TCellGrid& grid) {
  const TTntCharView* cell = grid.CurrentCell();
  if (!cell || cell->ColumnIndex < 0 || cell->ColumnIndex > kLastCol - 2) return;
  const int R = cell->RowIndex, C = cell->ColumnIndex;
  for (int t = kLastCol; t >= C + 2; --t)
    for (int r = kLastRow; r >= R; --r) Move(grid, r, t, r, t - 1);
  EmptyBlock(grid, R, kLastRow, C + 1, C + 1);
}

void DeleteColumn(const TCellGrid& grid) {
  const TTntCharView* cell = grid.CurrentCell();
  if (!cell || cell->ColumnIndex < 0 || cell->ColumnIndex > kLastCol - 1) return;
  const int R = cell->RowIndex, C = cell->ColumnIndex;
  for (int t = C; t <= kLastCol - 1; ++t)
    for (int r = R; r <= kLastRow; ++r) Move(grid, r, t, r, t + 1);
  EmptyBlock(grid, R, kLastRow, kLastCol, kLastCol);
}

// --- the menu ----------------------------------------------------------------

namespace {

QAction* Item(QMenu* menu, const char* name, const char* caption) {
  QAction* action = menu->addAction(QString::fromLatin1(caption));
  action->setObjectName(QString::fromLatin1(name));
  return action;
}

QAction* Separator(QMenu* menu, const char* name) {
  QAction* action = menu->addSeparator();
  action->setObjectName(QString::fromLatin1(name));
  return action;
}

}  // namespace

TCellMenu::TCellMenu(QMenu* menu)
    : mnuTools(menu),
      CopyContent1(Item(mnuTools, "CopyContent1", "Copy Content")),
      PasteContent1(Item(mnuTools, "PasteContent1", "Paste Content")),
      N5(Separator(mnuTools, "N5")),
      CopyPattern1(Item(mnuTools, "CopyPattern1", "Copy Pattern")),
      PastePattern1(Item(mnuTools, "PastePattern1", "Paste Pattern")),
      N1(Separator(mnuTools, "N1")),
      miClearCell(Item(mnuTools, "miClearCell", "Clear Cell")),
      ClearColumn1(Item(mnuTools, "ClearColumn1", "Clear Column")),
      ClearRow1(Item(mnuTools, "ClearRow1", "Clear Row")),
      ClearContenttoright1(Item(mnuTools, "ClearContenttoright1", "Clear Content to bottom, right")),
      N2(Separator(mnuTools, "N2")),
      InsertCell1(Item(mnuTools, "InsertCell1", "Insert Cell After")),
      InsertColumnRight1(Item(mnuTools, "InsertColumnRight1", "Insert Column Right")),
      InsertRow1(Item(mnuTools, "InsertRow1", "Insert Row Below")),
      N3(Separator(mnuTools, "N3")),
      DeleteCell1(Item(mnuTools, "DeleteCell1", "Delete Cell")),
      DeleteColumn1(Item(mnuTools, "DeleteColumn1", "Delete Column")),
      DeleteRow1(Item(mnuTools, "DeleteRow1", "Delete Row")),
      N4(Separator(mnuTools, "N4")),
      miCancel(Item(mnuTools, "miCancel", "Cancel")) {}

void TCellMenu::EnableItems(bool cellSelected, int clipMode) {
  for (QAction* item : {CopyContent1, CopyPattern1, miClearCell, ClearColumn1, ClearRow1, ClearContenttoright1,
                        InsertCell1, InsertColumnRight1, InsertRow1, DeleteCell1, DeleteColumn1, DeleteRow1})
    item->setEnabled(cellSelected);
  PasteContent1->setEnabled(cellSelected && clipMode == kClipContent);
  PastePattern1->setEnabled(cellSelected && clipMode == kClipPattern);
}

}  // namespace cellcommands
