// Layout files (".lot" in the "layouts" folder): the legends of the editor
// grid's header cells and the face they are drawn in. No Qt: the editor
// window applies what Read returns, and the fuzz target feeds it any bytes.
//
// A written layout has 157 lines: "[layout-font]", the face, an empty line,
// "VLayout{", one "key=legend" entry per cell (r,0) for r = 0..109, "}",
// "HLayout{", one entry per cell (0,c) for c = 0..39, "}". The placeholder
// cell (0,0) is the first entry of both sections.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace layoutfile {

// A written layout is a few kilobytes; a larger file is not read.
inline constexpr std::size_t kMaxFileSize = 1u << 20;

// One header cell named by a layout.
struct Entry {
  int row = 0;
  int col = 0;
  std::u16string key;     // the cell's English code
  std::u16string legend;  // the caption the cell shows
};

struct Layout {
  std::u16string font;         // line 1: the legend face
  std::vector<Entry> entries;  // in file order; only cells inside the grid
};

// Reads a layout's bytes (the map file's encodings and line ends). False
// when the text has fewer than two lines; `out` is then left alone.
//
// From line 2 on, per line, the first rule that applies: "VLayout{" opens the
// vertical section, "HLayout{" the horizontal one; "}" closes the vertical
// section when it is open, else the horizontal one; a line holding "=" is an
// entry (key before the first "=", legend after it) for the next row of
// column 0 while the vertical section is open, else for the next column of
// row 0 while the horizontal one is; anything else is ignored. Markers are
// compared whole and exactly. The two counters run on across sections, and
// entries past the grid's last row or column are dropped.
bool Read(std::string_view bytes, Layout& out);

// The file's bytes: `vertical` are the entries of cells (r,0) in row order,
// `horizontal` those of cells (0,c) in column order.
std::string Write(const std::u16string& font, const std::vector<Entry>& vertical,
                  const std::vector<Entry>& horizontal);

}  // namespace layoutfile
