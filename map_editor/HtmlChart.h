// The printable chart of a font map: an HTML page with one table in which
// every base character that has both a key and font codes gives two rows,
// its 39 combinations drawn in the map's font, then their keys. Written
// from the grid as shown, as UTF-16 LE text with its mark and CR LF line
// ends. Each cell holds exactly the cell's own 16-bit text: "<", ">", "&"
// and line breaks are written as character references. The map's font name stands in the
// title, escaped as the cells are, and in the style block as a CSS string,
// where it can neither end the string nor the block.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;
class TCellGrid;
namespace exporttext {
struct TSaveDialog;
}

namespace htmlchart {

// The save dialog's filter and default extension.
inline constexpr char kFilter[] = "HTML File (*.htm)|*.htm|MS Excel Woorkbook (*.xls)|*.xls|All Files (*.*)|*.*";
inline constexpr char kDefaultExt[] = "htm";

// The text with "&", "<", ">" and line breaks as character references.
QString Escape(const QString& text);

// The chart's lines: 13 head lines, four per exported row, three tail lines.
QStringList ChartLines(const TCellGrid& grid, const QString& fontName);

// Writes the lines as UTF-16 LE with the mark FF FE, CR LF after each; the
// old file is replaced only once the new one is complete. Throws
// std::runtime_error with the system's text when it cannot be written.
void WriteLines(const QString& fileName, const QStringList& lines);

// The command: the save dialog, preset to the font name followed by
// "CharacterMap.htm", then the chart. Cancelling writes nothing. A failure
// to write is thrown for the default error box. True when written.
bool Export(QWidget* parent, exporttext::TSaveDialog& dialog, const TCellGrid& grid, const QString& fontName);

}  // namespace htmlchart
