#include "SmartMap.h"

#include <QString>

#include "CellGrid.h"
#include "CharView.h"
#include "VarunelComms.h"
#include "dialogs.h"

namespace smartmap {

namespace {

QString ReplaceFirst(const QString& text, const QString& pattern, const QString& replacement) {
  return QString::fromStdU16String(
      ReplaceFirstW(text.toStdU16String(), pattern.toStdU16String(), replacement.toStdU16String()));
}

}  // namespace

void Generate(const TCellGrid& grid, Range range) {
  const TTntCharView* placeholder = grid.GetCell(0, 0);
  if (!placeholder) return;
  int firstRow = 1, lastRow = TCellGrid::RowCount - 1;
  int firstCol = 1, lastCol = TCellGrid::ColCount - 1;
  const TTntCharView* current = grid.CurrentCell();
  if (range == Range::SelectedRow) {
    if (!current || current->RowIndex < 1) return;
    firstRow = lastRow = current->RowIndex;
  } else if (range == Range::SelectedColumn) {
    if (!current || current->ColumnIndex < 1) return;
    firstCol = lastCol = current->ColumnIndex;
  }
  for (int r = firstRow; r <= lastRow; ++r) {
    const TTntCharView* base = grid.GetCell(r, 0);
    if (!base || base->CharInEnglish.isEmpty() || base->CharInFont.isEmpty()) continue;
    for (int c = firstCol; c <= lastCol; ++c) {
      const TTntCharView* tmpl = grid.GetCell(0, c);
      TTntCharView* target = grid.GetCell(r, c);
      if (!tmpl || !target) continue;
      // A template without a key leaves the target's font codes as they are.
      if (!tmpl->CharInEnglish.isEmpty())
        target->CharInFont = ReplaceFirst(tmpl->CharInFont, placeholder->CharInFont, base->CharInFont);
      target->SetCaption(target->CharInFont);
      target->CharInEnglish = ReplaceFirst(tmpl->CharInEnglish, placeholder->CharInEnglish, base->CharInEnglish);
    }
  }
}

bool Run(QWidget* parent, const TCellGrid& grid, Range range) {
  if (dialogs::MessageBox(parent, QString::fromLatin1(kConfirmText), QStringLiteral("Confirm"),
                          dialogs::Icon::Question, dialogs::Buttons::YesNo) != dialogs::Yes)
    return false;
  Generate(grid, range);
  return true;
}

}  // namespace smartmap
