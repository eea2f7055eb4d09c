// The font-map editor's grid as its commands see it: 110 rows (the template
// row 0 and 109 base characters) by 40 columns (the base column 0 and 39
// combinations) of tiles, found by position. Cell (0,0) holds the
// placeholder pattern, row 0 the combination templates, column 0 the base
// characters. The editor window implements it; the cell commands, Smart
// Map and the chart work through it.
#pragma once

class TTntCharView;

class TCellGrid {
 public:
  static constexpr int RowCount = 110;
  static constexpr int ColCount = 40;

  virtual ~TCellGrid() = default;
  // The tile at (row, col); null outside the grid.
  virtual TTntCharView* GetCell(int row, int col) const = 0;
  // The selected tile (the current cell); null when none is selected.
  virtual TTntCharView* CurrentCell() const = 0;
};
