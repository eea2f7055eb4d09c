// The main windows' pictures, drawn at start so the programs carry no
// picture files: index as on the toolbars and menus (the font-map editor's
// toolbar uses the same list).
#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>

class TImageList {
 public:
  TImageList();
  int Count() const { return static_cast<int>(FImages.size()); }
  QPixmap Pixmap(int index) const;
  QIcon Icon(int index) const;

 private:
  QList<QPixmap> FImages;
};
