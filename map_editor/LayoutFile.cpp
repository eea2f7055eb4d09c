#include "LayoutFile.h"

#include "CellGrid.h"
#include "VarunelComms.h"

namespace layoutfile {

bool Read(std::string_view bytes, Layout& out) {
  const std::vector<std::u16string> lines = ReadTextLines(bytes);
  if (lines.size() < 2) return false;
  Layout layout;
  layout.font = lines[1];
  bool vertical = false, horizontal = false;
  int v = 0, h = 0;
  for (std::size_t i = 2; i < lines.size(); ++i) {
    const std::u16string& line = lines[i];
    if (line == u"VLayout{") {
      vertical = true;
    } else if (line == u"HLayout{") {
      horizontal = true;
    } else if (line == u"}" && vertical) {
      vertical = false;
    } else if (line == u"}" && horizontal) {
      horizontal = false;
    } else if (auto eq = line.find(u'='); eq != std::u16string::npos && (vertical || horizontal)) {
      Entry e{vertical ? v++ : 0, vertical ? 0 : h++, line.substr(0, eq), line.substr(eq + 1)};
      // Past the last row or column there is no cell: the entry does nothing.
      if (e.row < TCellGrid::RowCount && e.col < TCellGrid::ColCount) layout.entries.push_back(std::move(e));
    }
  }
  out = std::move(layout);
  return true;
}

std::string Write(const std::u16string& font, const std::vector<Entry>& vertical,
                  const std::vector<Entry>& horizontal) {
  std::vector<std::u16string> lines = {u"[layout-font]", font, u"", u"VLayout{"};
  for (const Entry& e : vertical) lines.push_back(e.key + u'=' + e.legend);
  lines.emplace_back(u"}");
  lines.emplace_back(u"HLayout{");
  for (const Entry& e : horizontal) lines.push_back(e.key + u'=' + e.legend);
  lines.emplace_back(u"}");
  return EncodeTextLines(lines);
}

}  // namespace layoutfile
