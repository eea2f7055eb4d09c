// Writes the HTML chart of a map file, as the editor exports it after
// loading that map: `map_chart <map.fmp> <chart.htm>`. Used by
// scripts/chart-picture.sh to render the default map's chart.
#include <QApplication>
#include <QString>
#include <cstdio>
#include <exception>
#include <vector>

#include "CellGrid.h"
#include "CharView.h"
#include "HtmlChart.h"
#include "VarunelComms.h"

namespace {

// The map's items in the grid's rows, their combinations in its columns.
class TMapGrid : public TCellGrid {
 public:
  explicit TMapGrid(const TCharCollection& map) {
    for (int r = 0; r < RowCount; ++r)
      for (int c = 0; c < ColCount; ++c) {
        auto* cell = new TTntCharView(&owner_);
        cell->RowIndex = r;
        cell->ColumnIndex = c;
        const TCharItem* item = r < map.Count() ? &map.Items(r) : nullptr;
        if (item && c > 0) item = c <= item->Combinations().Count() ? &item->Combinations().Items(c - 1) : nullptr;
        if (item) {
          cell->CharInEnglish = QString::fromStdU16String(item->CharInEnglish);
          cell->CharInFont = QString::fromStdU16String(item->CharInFont);
        }
        cells_.push_back(cell);
      }
  }
  TTntCharView* GetCell(int row, int col) const override {
    if (row < 0 || row >= RowCount || col < 0 || col >= ColCount) return nullptr;
    return cells_[static_cast<std::size_t>(row * ColCount + col)];
  }
  TTntCharView* CurrentCell() const override { return nullptr; }

 private:
  QWidget owner_;
  std::vector<TTntCharView*> cells_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: map_chart <map.fmp> <chart.htm>\n");
    return 2;
  }
  try {
    TCharCollection map;
    map.LoadFromFile(QString::fromLocal8Bit(argv[1]).toStdU16String(), false);
    const TMapGrid grid(map);
    htmlchart::WriteLines(QString::fromLocal8Bit(argv[2]),
                          htmlchart::ChartLines(grid, QString::fromStdU16String(map.FontName)));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
