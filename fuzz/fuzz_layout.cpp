// Reads arbitrary bytes as a layout file, then writes what it read back out
// and reads that again: the entries stay inside the grid, and the written
// form reads back to the same face and legends.
#include <cstdint>
#include <string_view>
#include <vector>

#include "CellGrid.h"
#include "LayoutFile.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  layoutfile::Layout layout;
  if (!layoutfile::Read(bytes, layout)) return 0;
  std::vector<layoutfile::Entry> vertical, horizontal;
  for (const layoutfile::Entry& e : layout.entries) {
    Check(e.row >= 0 && e.row < TCellGrid::RowCount && e.col >= 0 && e.col < TCellGrid::ColCount,
          "an entry outside the grid");
    Check(e.row == 0 || e.col == 0, "an entry off the header cells");
    // Entries that survive a write: no line breaks, no "=" in the key, no
    // line that is itself a marker.
    const bool plain = e.key.find_first_of(u"\r\n\u2028=") == std::u16string::npos &&
                       e.legend.find_first_of(u"\r\n\u2028") == std::u16string::npos &&
                       e.key.find(u'\0') == std::u16string::npos && e.legend.find(u'\0') == std::u16string::npos;
    // The corner cell is named by both sections: once in each list.
    const bool inColumn = e.col == 0 && (e.row > 0 || vertical.empty());
    if (plain) (inColumn ? vertical : horizontal).push_back(e);
  }
  if (layout.font.find_first_of(u"\r\n\u2028") != std::u16string::npos || layout.font.find(u'\0') != std::u16string::npos)
    return 0;
  layoutfile::Layout again;
  Check(layoutfile::Read(layoutfile::Write(layout.font, vertical, horizontal), again), "the written form does not read");
  Check(again.font == layout.font, "the face changed");
  Check(again.entries.size() == vertical.size() + horizontal.size(), "entries lost or added");
  for (std::size_t i = 0; i < vertical.size(); ++i)
    Check(again.entries[i].key == vertical[i].key && again.entries[i].legend == vertical[i].legend &&
              again.entries[i].row == static_cast<int>(i),
          "a vertical entry changed");
  return 0;
}
