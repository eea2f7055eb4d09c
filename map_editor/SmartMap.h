// Smart Map: combination cells generated from the templates of row 0. Each
// template is written with the placeholder codes of cell (0,0) standing for
// the base character; Smart Map puts each row's base character (column 0)
// in their place, for all rows, the current cell's row or its column. It
// changes cells on screen only and cannot fail.
#pragma once

class QWidget;
class TCellGrid;

namespace smartmap {

// The range chosen with the radio buttons.
enum class Range { AllRows, SelectedRow, SelectedColumn };

// The question asked before anything changes.
inline constexpr char kConfirmText[] =
    "This action cannot be undone and may clear existing mapping data. Are you sure to continue?";

// Generates the range's cells. "Selected Row" needs a current cell in row 1
// or below, "Selected Column" one in column 1 or right of it; otherwise
// nothing is generated. A row whose base key or base codes are empty is
// left untouched.
void Generate(const TCellGrid& grid, Range range);

// The command: asks with a Yes/No box and generates on Yes. True when it ran.
bool Run(QWidget* parent, const TCellGrid& grid, Range range);

}  // namespace smartmap
