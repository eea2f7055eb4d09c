// Export of the display pane's text: as a Windows bitmap, a JPEG picture or
// a Word document. The pictures are drawn line by line in the active map's
// font; the Word document receives the text with the pane's font name and
// size. Written without the window: the window hands over what the exports
// read of it (DisplayText), its save dialog and the Word document it owns.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <limits>
#include <stdexcept>

#include "JpegWriter.h"
#include "automation.h"

class QWidget;

namespace exporttext {

// What the exports read of the window.
struct DisplayText {
  QStringList lines;    // the display pane's lines
  QString fontName;     // the display pane's Font.Name
  int fontSize = 0;     // the display pane's Font.Size, in points
  QString mapFontName;  // the active map's FontName (the face of pictures)

  // The pane's whole text: the lines joined by CR LF.
  QString WholeText() const;
};

enum class ExportKind { Bitmap, Jpeg, WordDocument };

// The format a chosen file name is written in: by its last four characters
// (the whole name when shorter), ASCII letters compared without case:
// ".bmp" bitmap, ".jpg" JPEG, ".doc" Word document, anything else JPEG.
ExportKind KindOfFileName(const QString& fileName);

// What an export writes, from the filter chosen in the save dialog (0-based,
// into the dialog's "Name|*.ext|..." filter) and the name it returned. A
// name ending in one of the three endings is written in that format, as it
// stands. Any other name is written in the chosen filter's format, with that
// filter's ending added; under a filter of no one format ("All Files") the
// name's ending decides as above, and the name stays as it is.
struct ExportChoice {
  ExportKind kind;
  QString fileName;
};
ExportChoice ChosenExport(const QString& pipeFilter, int filterIndex, const QString& fileName);

// The save dialog's filter as the window stores it, and in the dialog
// seam's form.
inline constexpr char kExportFilter[] = "Word Document|*.doc|Windows Bitmap|*.bmp|JPEG File|*.jpg|All Files|*.*";
QString QtFilter(const QString& pipeFilter);

// Writes the bytes as the whole file: a complete new file beside it replaces
// the old one. Throws std::runtime_error with the system's text; the old
// file is then untouched.
void WriteFileBytes(const QString& fileName, const QByteArray& bytes);

// The export's save dialog as the window keeps it for its whole life: the
// name chosen last stays in FileName, and the next dialog starts there.
struct TSaveDialog {
  QString Title;
  QString Filter = QString::fromLatin1(kExportFilter);  // "Name|*.ext|..." pairs
  QString DefaultExt = QStringLiteral("jpg");           // added to a name typed without one
                                                        // under a filter of no one ending
  int FilterIndex = 0;  // the filter the dialog opens on, then the one last chosen (0-based)
  QString FileName;
  // Shows the dialog; false when cancelled, else FileName holds the choice.
  bool Execute(QWidget* parent);
};

// The character height in pixels of a font of `pointSize` points on the
// screen (the magnitude of its Font.Height).
int CharHeight(int pointSize);

// How large an exported picture may be: at most `maxSide` pixels wide and
// high (what the format can hold), and at most `maxBytes` of memory at 4
// bytes a pixel, which keeps it within what picture programs will open.
struct PictureLimit {
  const char* format;  // the format's name, as the refusal names it
  int maxSide;
  qint64 maxBytes;
};
inline constexpr qint64 kMaxPictureBytes = qint64{256} * 1024 * 1024;
inline constexpr PictureLimit kBitmapLimit{"BMP", std::numeric_limits<int>::max(), kMaxPictureBytes};
inline constexpr PictureLimit kJpegLimit{"JPEG", jpegwriter::kMaxSide, kMaxPictureBytes};

// A picture refused before it was drawn; the text says why.
class EPictureTooLarge : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Draws the lines, as 16-bit text, into a white picture: face `mapFontName`,
// character height h = CharHeight(pointSize), left margin h div 3, line i at
// the top h div 12 + i * (h + h div 6); the picture is n * (h + h div 3) high
// and as wide as the widest line plus 20, and larger where that is needed to
// hold every glyph's ink. Nothing drawn erases what was drawn before. No
// lines give a 0 by 0 picture. A picture beyond `limit` is refused with
// EPictureTooLarge before anything is drawn, at a cost that does not grow
// with the length of a line far too long.
QImage RenderToBitmap(const QStringList& lines, const QString& mapFontName, int pointSize,
                      const PictureLimit& limit = kBitmapLimit);

// The exports; each shows its success or error message. A picture of an
// empty pane is not written: the user is told there is no text to export.
// A picture too large to write is refused with the error message and the
// reason. Errors outside the export's own error trap (rendering for a JPEG,
// reaching the document server) are thrown for the default error box.
void ExportBitmap(QWidget* parent, const QString& fileName, const DisplayText& display);
void ExportJpeg(QWidget* parent, const QString& fileName, const DisplayText& display);
// Connects `document` (a new document), inserts the whole text, sets its
// face and size, saves it under `fileName` and closes it; the connection is
// released in every case. Throws when the document server cannot be reached.
// A document that wrote Rich Text instead of a Word document says so.
void ExportWordDocument(QWidget* parent, const QString& fileName, const DisplayText& display,
                        automation::TWordDocument& document);

// The export command: asks for the file name through `dialog`, titled
// "Export As", and runs the export that the chosen filter and name select
// (ChosenExport). A file that an added ending names is replaced only when
// the user agrees. Cancelling does nothing.
void Export(QWidget* parent, TSaveDialog& dialog, const DisplayText& display, automation::TWordDocument& document);

// The messages of an export: success, success as Rich Text (no word
// processor could be reached), nothing to export, and an error, with the
// reason when it is known.
QString SuccessMessage(const QString& fileName);
QString RichTextMessage(const QString& fileName);
inline constexpr char kNothingToExport[] = "There is no text to export.";
QString ErrorMessage(const QString& fileName, const QString& reason = {});

}  // namespace exporttext
