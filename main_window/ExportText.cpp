#include "ExportText.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageWriter>
#include <QLocale>
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

void ShowFailure(QWidget* parent, const QString& fileName, const QString& reason = {}) {
  dialogs::MessageBox(parent, ErrorMessage(fileName, reason), QStringLiteral("Error"), dialogs::Icon::Error,
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

namespace {

QString Thousands(qint64 n) { return QLocale(QLocale::English).toString(n); }

// The width of `line`, measured only as far as needed to know that it is
// wider than `limit`: a long line is measured piece by piece, and the
// measuring stops once the pieces have passed `limit` by more than their
// cuts can account for (a cut may shape the characters beside it apart
// that would have joined, by about a character each). Then the result is
// the width so far, beyond `limit`; else the whole line's.
double WidthWithin(const QFontMetricsF& metrics, const QString& line, double limit) {
  constexpr qsizetype kPiece = 256;
  if (line.size() > kPiece) {
    const double slack = 2 * std::max(metrics.maxWidth(), metrics.height());
    double width = 0;
    for (qsizetype at = 0, pieces = 1; at < line.size(); ++pieces) {
      qsizetype n = std::min(kPiece, line.size() - at);
      if (at + n < line.size() && line[at + n - 1].isHighSurrogate()) ++n;  // never between a surrogate pair
      width += metrics.horizontalAdvance(line.mid(at, n));
      at += n;
      if (width > limit + static_cast<double>(pieces) * slack) return width;
    }
  }
  return metrics.horizontalAdvance(line);
}

// The widest picture of this height that `limit` allows.
qint64 WidestAllowed(qint64 height, const PictureLimit& limit) {
  return std::min<qint64>(limit.maxSide, limit.maxBytes / 4 / std::max<qint64>(height, 1));
}

[[noreturn]] void RefuseWidth(qint64 height, const PictureLimit& limit) {
  if (limit.maxBytes / 4 / std::max<qint64>(height, 1) >= limit.maxSide)
    throw EPictureTooLarge(QStringLiteral("A %1 picture can be at most %2 pixels wide, and this text would make it "
                                          "wider. Break the long lines, or export the text as a Word document.")
                               .arg(QString::fromLatin1(limit.format), Thousands(limit.maxSide))
                               .toStdString());
  throw EPictureTooLarge(QStringLiteral("The picture would take more than %1 MB of memory, too large for picture "
                                        "programs to open. Break the long lines or export fewer lines at a time, "
                                        "or export the text as a Word document.")
                             .arg(Thousands(limit.maxBytes / (1024 * 1024)))
                             .toStdString());
}

// Refuses a picture of this size beyond `limit`.
void CheckSize(qint64 width, qint64 height, const PictureLimit& limit) {
  if (height > limit.maxSide)
    throw EPictureTooLarge(QStringLiteral("A %1 picture can be at most %2 pixels high, and these lines would make it "
                                          "higher. Export fewer lines at a time, or export the text as a Word "
                                          "document.")
                               .arg(QString::fromLatin1(limit.format), Thousands(limit.maxSide))
                               .toStdString());
  if (width > WidestAllowed(height, limit)) RefuseWidth(height, limit);
}

}  // namespace

QImage RenderToBitmap(const QStringList& lines, const QString& mapFontName, int pointSize, const PictureLimit& limit) {
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
  // The size is known, and a picture too large refused, before anything
  // that costs in proportion to a line's drawing.
  qint64 height = static_cast<qint64>(lines.size()) * (h + h / 3);
  CheckSize(0, height, limit);
  const qint64 widest = WidestAllowed(height, limit);
  qint64 width = 0;
  for (const QString& line : lines) {
    width = std::max(width, static_cast<qint64>(std::ceil(WidthWithin(metrics, line, widest - 20))) + 20);
    if (width > widest) RefuseWidth(height, limit);
  }

  std::vector<QPointF> origins;
  QRectF ink;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QPointF origin(h / 3, static_cast<double>(i) * pitch + h / 12 + metrics.ascent());
    origins.push_back(origin);
    if (lines[i].isEmpty()) continue;
    QPainterPath outline;
    outline.addText(origin, font, lines[i]);
    // Hinting may move drawn ink a pixel off the outline.
    ink |= outline.boundingRect().adjusted(-1, -1, 1, 1);
  }
  const int shiftX = ink.isEmpty() ? 0 : std::max(0, static_cast<int>(std::ceil(-ink.left())));
  const int shiftY = ink.isEmpty() ? 0 : std::max(0, static_cast<int>(std::ceil(-ink.top())));
  if (!ink.isEmpty()) {
    width = std::max(width + shiftX, static_cast<qint64>(std::ceil(ink.right())) + shiftX + 1);
    height = std::max(height + shiftY, static_cast<qint64>(std::ceil(ink.bottom())) + shiftY + 1);
  }
  CheckSize(width, height, limit);

  QImage picture = WhitePicture(static_cast<int>(width), static_cast<int>(height));
  QPainter painter(&picture);
  painter.setFont(font);
  painter.setPen(QGuiApplication::palette().color(QPalette::WindowText));
  // Transparent: a line's box must not erase the ink of the line above.
  painter.setBackgroundMode(Qt::TransparentMode);
  for (qsizetype i = 0; i < lines.size(); ++i)
    if (!lines[i].isEmpty()) painter.drawText(origins[i] + QPointF(shiftX, shiftY), lines[i]);
  return picture;
}

namespace {

// The picture of the display text for an export to `fileName`, or none
// when the pane is empty or the picture would be too large to write; the
// user has then been told. Other failures to draw are thrown.
std::optional<QImage> PictureFor(QWidget* parent, const QString& fileName, const DisplayText& display,
                                 const PictureLimit& limit) {
  if (display.lines.isEmpty()) {
    dialogs::MessageBox(parent, QString::fromLatin1(kNothingToExport), QStringLiteral("Information"),
                        dialogs::Icon::Information, dialogs::Buttons::Ok);
    return std::nullopt;
  }
  try {
    return RenderToBitmap(display.lines, display.mapFontName, display.fontSize, limit);
  } catch (const EPictureTooLarge& e) {
    qCWarning(lcFiles) << "export to" << fileName << "refused:" << e.what();
    ShowFailure(parent, fileName, QString::fromStdString(e.what()));
    return std::nullopt;
  }
}

}  // namespace

void ExportBitmap(QWidget* parent, const QString& fileName, const DisplayText& display) {
  try {
    const std::optional<QImage> picture = PictureFor(parent, fileName, display, kBitmapLimit);
    if (!picture) return;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(*picture)) throw std::runtime_error(writer.errorString().toStdString());
    WriteFileBytes(fileName, bytes);
    ShowSuccess(parent, fileName);
  } catch (const std::exception& e) {
    qCWarning(lcFiles) << "export to" << fileName << "failed:" << e.what();
    ShowFailure(parent, fileName, QString::fromUtf8(e.what()));
  }
}

void ExportJpeg(QWidget* parent, const QString& fileName, const DisplayText& display) {
  // A failure to render is not this export's to report.
  const std::optional<QImage> picture = PictureFor(parent, fileName, display, kJpegLimit);
  if (!picture) return;
  try {
    WriteFileBytes(fileName, jpegwriter::EncodeJpeg(*picture));
    ShowSuccess(parent, fileName);
  } catch (const std::exception& e) {
    qCWarning(lcFiles) << "export to" << fileName << "failed:" << e.what();
    ShowFailure(parent, fileName, QString::fromUtf8(e.what()));
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
    if (document.SavesRichText())
      dialogs::MessageBox(parent, RichTextMessage(fileName), QStringLiteral("Information"), dialogs::Icon::Information,
                          dialogs::Buttons::Ok);
    else
      ShowSuccess(parent, fileName);
  } catch (const std::exception& e) {
    qCWarning(lcFiles) << "export to" << fileName << "failed:" << e.what();
    ShowFailure(parent, fileName, QString::fromUtf8(e.what()));
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

QString RichTextMessage(const QString& fileName) {
  return QStringLiteral("The output was saved as Rich Text to ") + fileName +
         QStringLiteral(" .\nLibreOffice could not be reached to write a Word document.");
}

QString ErrorMessage(const QString& fileName, const QString& reason) {
  const QString message = QStringLiteral("Error saving to ") + fileName + QLatin1Char('.');
  return reason.isEmpty() ? message : message + QLatin1Char('\n') + reason;
}

}  // namespace exporttext
