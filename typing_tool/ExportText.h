// Export of the display pane's text: as a Windows bitmap, a JPEG picture or
// a Word document. The pictures are drawn line by line in the active map's
// font; the Word document receives the text with the pane's font name and
// size. Written without the window: the window hands over what the exports
// read of it (DisplayText) and the Word document it owns.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

class QWidget;

namespace exporttext {

// What the exports read of the window.
struct DisplayText {
  QStringList lines;    // the display pane's lines: clipboardtext::PaneLines(memSinhala->toPlainText())
  QString fontName;     // the display pane's Font.Name
  int fontSize = 0;     // the display pane's Font.Size, in points
  QString mapFontName;  // the active map's FontName (the face of pictures)

  // The pane's whole text: the lines joined by CR LF.
  QString WholeText() const;
};

// The Word document calls of the export, in the order it makes them. Each
// call throws on failure. The window binds this to its Word document
// automation component.
class TWordExportDocument {
 public:
  virtual ~TWordExportDocument() = default;
  // Attaches to a running document server, else starts a new one.
  virtual void Connect() = 0;
  // Content.InsertAfter(text)
  virtual void ContentInsertAfter(const QString& text) = 0;
  // Range() (the whole document) .Font.Name = name
  virtual void RangeSetFontName(const QString& name) = 0;
  // Range() (the whole document) .Font.Size = points
  virtual void RangeSetFontSize(double points) = 0;
  // SaveAs(fileName), the other arguments omitted.
  virtual void SaveAs(const QString& fileName) = 0;
  // Close(), all arguments omitted.
  virtual void Close() = 0;
  // Releases the server; Word itself is never told to quit.
  virtual void Disconnect() = 0;
};

enum class ExportKind { Bitmap, Jpeg, WordDocument };

// The format a chosen file name is written in: by its last four characters
// (the whole name when shorter), ASCII letters compared without case:
// ".bmp" bitmap, ".jpg" JPEG, ".doc" Word document, anything else JPEG.
ExportKind KindOfFileName(const QString& fileName);

// The save dialog's filter as the window stores it, and in the dialog
// seam's form.
inline constexpr char kExportFilter[] = "Word Document|*.doc|Windows Bitmap|*.bmp|JPEG File|*.jpg|All Files|*.*";
QString QtFilter(const QString& pipeFilter);

// The character height in pixels of a font of `pointSize` points on the
// screen (the magnitude of its Font.Height).
int CharHeight(int pointSize);

// Draws the lines, each narrowed to the 8-bit code page, into a white
// picture: face `mapFontName`, character height CharHeight(pointSize), left
// margin h div 3, line i at the top h div 12 + i * (h + h div 6); the
// picture is n * (h + h div 3) high and as wide as the widest line plus 20.
// No lines give a 0 by 0 picture.
QImage RenderToBitmap(const QStringList& lines, const QString& mapFontName, int pointSize);

// The exports; each shows its success or error message. Errors outside the
// export's own error trap (rendering for a JPEG, connecting to Word) are
// thrown for the default error box.
void ExportBitmap(QWidget* parent, const QString& fileName, const DisplayText& display);
void ExportJpeg(QWidget* parent, const QString& fileName, const DisplayText& display);
void ExportWordDocument(QWidget* parent, const QString& fileName, const DisplayText& display,
                        TWordExportDocument& document);

// The export command: asks for the file name through the save dialog (which
// starts at `dialogFileName`, the name chosen the time before, and keeps
// the new one there) and runs the export its ending selects. Cancelling
// does nothing.
void Export(QWidget* parent, QString& dialogFileName, const DisplayText& display, TWordExportDocument& document);

// The success and error messages of an export.
QString SuccessMessage(const QString& fileName);
QString ErrorMessage(const QString& fileName);

}  // namespace exporttext
