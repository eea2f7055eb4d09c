#include "HtmlChart.h"

#include <QByteArray>
#include <string>
#include <vector>

#include "CellGrid.h"
#include "CharView.h"
#include "ExportText.h"
#include "VarunelComms.h"

namespace htmlchart {

QString Escape(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (const QChar ch : text) {
    switch (ch.unicode()) {
      case u'&': out += QStringLiteral("&amp;"); break;
      case u'<': out += QStringLiteral("&lt;"); break;
      case u'>': out += QStringLiteral("&gt;"); break;
      // A line break would split the chart's line.
      case u'\r': out += QStringLiteral("&#13;"); break;
      case u'\n': out += QStringLiteral("&#10;"); break;
      default: out += ch;
    }
  }
  return out;
}

namespace {

// The text as the inside of a double-quoted CSS string in a style block.
QString CssString(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (const QChar ch : text) {
    const char16_t u = ch.unicode();
    // Quotes and the backslash would end or bend the string, "<" and ">"
    // could close the style block ("</style>") before any CSS is read, and
    // control characters would break the line: each is written as a CSS
    // hexadecimal escape, ended by a blank.
    if (u < 0x20 || u == 0x7F || u == u'"' || u == u'\'' || u == u'\\' || u == u'<' || u == u'>' || u == u'&')
      out += QLatin1Char('\\') + QString::number(u, 16) + QLatin1Char(' ');
    else
      out += ch;
  }
  return out;
}

QString CellLine(const TCellGrid& grid, int row, const QString& cellClass, QString TTntCharView::*value) {
  QString line = QStringLiteral("<tr>");
  const QString open = QStringLiteral("<td class=\"") + cellClass + QStringLiteral("\">");
  for (int c = 1; c < TCellGrid::ColCount; ++c) {
    const TTntCharView* cell = grid.GetCell(row, c);
    line += open + (cell ? Escape(cell->*value) : QString()) + QStringLiteral("</td>");
  }
  return line;
}

}  // namespace

QStringList ChartLines(const TCellGrid& grid, const QString& fontName) {
  QStringList lines{
      QStringLiteral("<html>"),
      QStringLiteral("<head>"),
      QStringLiteral("<title>") + Escape(fontName) + QStringLiteral(" Character Map</title>"),
      QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-16\">"),
      QStringLiteral("<style type=\"text/css\">"),
      QStringLiteral("<!--"),
      QStringLiteral(".sinFont {font-family: \"") + CssString(fontName) + QStringLiteral("\"}"),
      QStringLiteral(".engFont {font-family: \"Tahoma\", Times, serif}"),
      QStringLiteral("-->"),
      QStringLiteral("</style>"),
      QStringLiteral("</head>"),
      QStringLiteral("<body>"),
      QStringLiteral("<table border=1>"),
  };
  for (int r = 1; r < TCellGrid::RowCount; ++r) {
    const TTntCharView* base = grid.GetCell(r, 0);
    if (!base || base->CharInEnglish.isEmpty() || base->CharInFont.isEmpty()) continue;
    lines << CellLine(grid, r, QStringLiteral("sinFont"), &TTntCharView::CharInFont) << QStringLiteral("</tr>")
          << CellLine(grid, r, QStringLiteral("engFont"), &TTntCharView::CharInEnglish) << QStringLiteral("</tr>");
  }
  lines << QStringLiteral("</table>") << QStringLiteral("</body>") << QStringLiteral("</html>");
  return lines;
}

void WriteLines(const QString& fileName, const QStringList& lines) {
  std::vector<std::u16string> text;
  text.reserve(static_cast<std::size_t>(lines.size()));
  for (const QString& line : lines) text.push_back(line.toStdU16String());
  exporttext::WriteFileBytes(fileName, QByteArray::fromStdString(EncodeTextLines(text)));
}

bool Export(QWidget* parent, exporttext::TSaveDialog& dialog, const TCellGrid& grid, const QString& fontName) {
  dialog.Filter = QString::fromLatin1(kFilter);
  dialog.DefaultExt = QString::fromLatin1(kDefaultExt);
  dialog.FileName = fontName + QStringLiteral("CharacterMap.htm");
  if (!dialog.Execute(parent)) return false;
  WriteLines(dialog.FileName, ChartLines(grid, fontName));
  return true;
}

}  // namespace htmlchart
