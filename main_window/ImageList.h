// The main windows' pictures, drawn at start so the programs carry no
// picture files: index as on the toolbars and menus (the font-map editor's
// toolbar uses the same list).
#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>

// The pictures by index, as the toolbars and menus of both programs and the
// font-map editor's toolbar use them.
enum TImageIndex : int {
  imgNew = 0,
  imgOpen = 1,
  imgCut = 2,
  imgCopy = 3,
  imgPaste = 4,
  imgSave = 5,
  imgCharMap = 6,
  imgNewMap = 7,
  imgCopyMap = 8,
  imgHtml = 9,
  imgClear = 10,
  imgExport = 11,
  imgHelp = 12,
  imgAbout = 13,
  imgWord = 14,
  imgExcel = 15,
  imgFontMap = 16,
  imgFontSize = 17,
  imgPowerPoint = 18,
  imgMessenger = 19,
  imgEnglish = 20,
  imgSinhala = 21,
};

class TImageList {
 public:
  TImageList();
  int Count() const { return static_cast<int>(FImages.size()); }
  QPixmap Pixmap(int index) const;
  QIcon Icon(int index) const;

 private:
  QList<QPixmap> FImages;
};
