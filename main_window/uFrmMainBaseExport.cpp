// Export of the display pane's text as a bitmap, a JPEG picture or a Word
// document.
#include <QFontInfo>
#include <cmath>
#include <exception>

#include "dialogs.h"
#include "uFrmMainBase.h"
#include "uFrmMainBaseMemo.h"

namespace {

// A font's size in whole points, also for a font sized in pixels.
int PointsOf(const QFont& font) {
  if (font.pointSizeF() > 0) return static_cast<int>(std::lround(font.pointSizeF()));
  return static_cast<int>(std::lround(QFontInfo(font).pointSizeF()));
}

}  // namespace

exporttext::DisplayText TfrmMainBase::DisplaySource() const {
  exporttext::DisplayText display;
  for (int i = 0; i < memSinhala->LineCount(); ++i) display.lines << memSinhala->Line(i);
  display.fontName = memSinhala->font().family();
  display.fontSize = PointsOf(memSinhala->font());
  if (FCharMap) display.mapFontName = QString::fromStdU16String(FCharMap->FontName);
  return display;
}

QImage TfrmMainBase::RenderToBitmap() const {
  const exporttext::DisplayText display = DisplaySource();
  return exporttext::RenderToBitmap(display.lines, display.mapFontName, display.fontSize);
}

void TfrmMainBase::ExportBitmap(const QString& FileName) { exporttext::ExportBitmap(this, FileName, DisplaySource()); }

void TfrmMainBase::ExportJpeg(const QString& FileName) { exporttext::ExportJpeg(this, FileName, DisplaySource()); }

void TfrmMainBase::ExportWordDocument(const QString& FileName) {
  exporttext::ExportWordDocument(this, FileName, DisplaySource(), WordDocument1);
}

void TfrmMainBase::Export1Click(QObject*) {
  try {
    exporttext::Export(this, SaveDialog1, DisplaySource(), WordDocument1);
  } catch (const std::exception& error) {
    dialogs::ShowError(QString::fromUtf8(error.what()));
  }
}
