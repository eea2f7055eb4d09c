#include "ExportText.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QScreen>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <vector>

#include "ClipboardText.h"
#include "JpegWriter.h"
#include "QtFiles.h"
#include "dialogs.h"
#include "log.h"

namespace exporttext {
namespace {

// Face names longer than this are cut by the font object.
constexpr qsizetype kMaxFaceLength = 31;

QFont DrawingFont(const QString& mapFontName, int pixelHeight) {
  QFont font = QGuiApplication::font();
  const QString face = clipboardtext::AnsiForm(mapFontName).left(kMaxFaceLength);
  if (!face.isEmpty()) font.setFamily(face);
  font.setPixelSize(std::max(pixelHeight, 1));
  font.setBold(false);
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  return font;
}

QImage WhitePicture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) throw std::runtime_error("Out of system resources.");
  image.fill(Qt::white);
  return image;
}

void ShowSuccess(QWidget* parent, const QString& fileName) {
  dialogs::MessageBox(parent, SuccessMessage(fileName), QStringLiteral("Information"), dialogs::Icon::Information,
                      dialogs::Buttons::Ok);
}

void ShowFailure(QWidget* parent, const QString& fileName) {
  dialogs::MessageBox(parent, ErrorMessage(fileName), QStringLiteral("Error"), dialogs::Icon::Error,
                      dialogs::Buttons::Ok);
}

char AsciiLower(char16_t c) {
  return static_cast<char>(c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : (c < 0x80 ? c : 0));
}

}  // namespace

// Writes the bytes as the whole file: a complete new file beside it
// replaces the old one, so a full disk or a crash never leaves a fragment.
// Throws on failure; the old file is then untouched.
void WriteFileBytes(const QString& fileName, const QByteArray& bytes) {
  QString why;
  if (!files::ReplaceWholeQ(fileName, bytes, &why)) throw std::runtime_error(why.toStdString());
}

QString DisplayText::WholeText() const { return lines.join(QStringLiteral("\r\n")); }

namespace {

// The format a name's last four characters name, ASCII letters compared
// without case; none for any other ending.
std::optional<ExportKind> KindOfEnding(const QString& fileName) {
  const QString tail = fileName.right(4);
  std::string ending;
  for (QChar c : tail) ending += AsciiLower(c.unicode());
  if (ending == ".bmp") return ExportKind::Bitmap;
  if (ending == ".jpg") return ExportKind::Jpeg;
  if (ending == ".doc") return ExportKind::WordDocument;
  return std::nullopt;
}

}  // namespace

ExportKind KindOfFileName(const QString& fileName) { return KindOfEnding(fileName).value_or(ExportKind::Jpeg); }

ExportChoice ChosenExport(const QString& pipeFilter, int filterIndex, const QString& fileName) {
  // "*.bmp" gives ".bmp"; "*.*" names no one format.
  const QString ending = pipeFilter.split(QLatin1Char('|')).value(2 * filterIndex + 1).mid(1);
  const std::optional<ExportKind> filtered = ending.size() == 4 ? KindOfEnding(ending) : std::nullopt;
  if (!filtered || KindOfEnding(fileName)) return {KindOfFileName(fileName), fileName};
  return {*filtered, fileName + ending};
}

QString QtFilter(const QString& pipeFilter) {
  const QStringList parts = pipeFilter.split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    const QString shown = QStringLiteral("(") + patterns + QLatin1Char(')');
    // A name that already shows its patterns keeps them once.
    entries << (parts[i].endsWith(shown) ? parts[i] : parts[i] + QLatin1Char(' ') + shown);
  }
  return entries.join(QStringLiteral(";;"));
}

int CharHeight(int pointSize) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double ppi = screen ? screen->logicalDotsPerInchY() : 96.0;
  return static_cast<int>(std::lround(std::abs(pointSize) * ppi / 72.0));
}

QImage RenderToBitmap(const QStringList& lines, const QString& mapFontName, int pointSize) {
  if (lines.isEmpty()) return QImage();
  const int h = CharHeight(pointSize);
  const int pitch = h + h / 6;
  const QFont font = DrawingFont(mapFontName, h);
  const QFontMetricsF metrics(font);

  // The layout: left margin h div 3, line i with its top at
  // i * pitch + h div 12, the picture n * (h + h div 3) high and as wide as
  // the widest line plus 20. Where a glyph reaches beyond that (a tall font
  // overhanging its line, a large size outgrowing the margin), the picture
  // grows to hold it, and moves everything right or down when ink would
  // fall before its left or top edge.
  // The lines are measured and drawn as the pane holds them, in 16 bits: a
  // map whose codes are Unicode letters draws them instead of a row of "?",
  // and a legacy 8-bit map, whose codes all lie within the code page, draws
  // exactly what its 8-bit form would.
  std::vector<QPointF> origins;
  QRectF ink;
  int width = 0;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QPointF origin(h / 3, static_cast<double>(i) * pitch + h / 12 + metrics.ascent());
    origins.push_back(origin);
    width = std::max(width, static_cast<int>(std::ceil(metrics.horizontalAdvance(lines[i]))) + 20);
    if (lines[i].isEmpty()) continue;
    QPainterPath outline;
    outline.addText(origin, font, lines[i]);
    // Hinting may move drawn ink a pixel off the outline.
    ink |= outline.boundingRect().adjusted(-1, -1, 1, 1);
  }
  int height = static_cast<int>(lines.size()) * (h + h / 3);
  const int shiftX = ink.isEmpty() ? 0 : std::max(0, static_cast<int>(std::ceil(-ink.left())));
  const int shiftY = ink.isEmpty() ? 0 : std::max(0, static_cast<int>(std::ceil(-ink.top())));
  if (!ink.isEmpty()) {
    width = std::max(width + shiftX, static_cast<int>(std::ceil(ink.right())) + shiftX + 1);
    height = std::max(height + shiftY, static_cast<int>(std::ceil(ink.bottom())) + shiftY + 1);
  }

  QImage picture = WhitePicture(width, height);
  QPainter painter(&picture);
  painter.setFont(font);
  painter.setPen(QGuiApplication::palette().color(QPalette::WindowText));
  // Transparent: a line's box must not erase the ink of the line above.
  painter.setBackgroundMode(Qt::TransparentMode);
  for (qsizetype i = 0; i < lines.size(); ++i)
    if (!lines[i].isEmpty()) painter.drawText(origins[i] + QPointF(shiftX, shiftY), lines[i]);
  return picture;
}

void ExportBitmap(QWidget* parent, const QString& fileName, const DisplayText& display) {
  try {
    const QImage picture = RenderToBitmap(display.lines, display.mapFontName, display.fontSize);
    if (picture.isNull()) {
      WriteFileBytes(fileName, QByteArray());
    } else {
      QByteArray bytes;
      QBuffer buffer(&bytes);
      buffer.open(QIODevice::WriteOnly);
      QImageWriter writer(&buffer, "bmp");
      if (!writer.write(picture)) throw std::runtime_error(writer.errorString().toStdString());
      WriteFileBytes(fileName, bytes);
    }
    ShowSuccess(parent, fileName);
  } catch (const std::exception& e) {
    qCWarning(lcFiles) << "export to" << fileName << "failed:" << e.what();
    ShowFailure(parent, fileName);
  }
}

void ExportJpeg(QWidget* parent, const QString& fileName, const DisplayText& display) {
  // A failure to render is not this export's to report.
  const QImage picture = RenderToBitmap(display.lines, display.mapFontName, display.fontSize);
  try {
    WriteFileBytes(fileName, jpegwriter::EncodeJpeg(picture));
    ShowSuccess(parent, fileName);
  } catch (const std::exception& e) {
    qCWarning(lcFiles) << "export to" << fileName << "failed:" << e.what();
    ShowFailure(parent, fileName);
  }
}

void ExportWordDocument(QWidget* parent, const QString& fileName, const DisplayText& display,
                        automation::TWordDocument& document) {
  // A failure to reach the document server is not this export's to report.
  document.Connect();
  try {
    document.Content()->InsertAfter(display.WholeText().toStdU16String());
    document.Range()->GetFont()->SetName(display.fontName.toStdU16String());
    document.Range()->GetFont()->SetSize(static_cast<float>(display.fontSize));
    document.SaveAs(fileName.toStdU16String());
    document.Close();
    ShowSuccess(parent, fileName);
  } catch (const std::exception& e) {
    qCWarning(lcFiles) << "export to" << fileName << "failed:" << e.what();
    ShowFailure(parent, fileName);
  }
  document.Disconnect();
}

bool TSaveDialog::Execute(QWidget* parent) {
  int chosenFilter = FilterIndex;
  const QString chosen = dialogs::SaveFileName(parent, Title, QtFilter(Filter), DefaultExt, FileName, &chosenFilter);
  if (chosen.isEmpty()) return false;
  FileName = chosen;
  FilterIndex = chosenFilter;
  return true;
}

void Export(QWidget* parent, TSaveDialog& dialog, const DisplayText& display, automation::TWordDocument& document) {
  dialog.Title = QStringLiteral("Export As");
  if (!dialog.Execute(parent)) return;
  const ExportChoice choice = ChosenExport(dialog.Filter, dialog.FilterIndex, dialog.FileName);
  // The dialog asked before overwriting the name it returned; an ending
  // added here names another file.
  if (choice.fileName != dialog.FileName && QFileInfo::exists(choice.fileName) &&
      dialogs::MessageBox(parent, choice.fileName + QStringLiteral(" already exists.\nDo you want to replace it?"),
                          dialog.Title, dialogs::Icon::Warning, dialogs::Buttons::YesNo) != dialogs::Yes)
    return;
  dialog.FileName = choice.fileName;
  switch (choice.kind) {
    case ExportKind::Bitmap: ExportBitmap(parent, choice.fileName, display); break;
    case ExportKind::WordDocument: ExportWordDocument(parent, choice.fileName, display, document); break;
    case ExportKind::Jpeg: ExportJpeg(parent, choice.fileName, display); break;
  }
}

QString SuccessMessage(const QString& fileName) {
  return QStringLiteral("The output was successfully saved to ") + fileName + QStringLiteral(" .");
}

QString ErrorMessage(const QString& fileName) { return QStringLiteral("Error saving to ") + fileName + QLatin1Char('.'); }

}  // namespace exporttext
