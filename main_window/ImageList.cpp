// The window's image list, drawn at start so the program carries no picture
// files: small 16 by 16 glyphs, one per index.
#include <QPainter>
#include <QPainterPath>

#include "ImageList.h"

namespace {

constexpr int kSize = 16;
constexpr int kCount = imgSinhala + 1;

void Page(QPainter& p, QColor ink) {
  p.setPen(ink);
  p.setBrush(Qt::white);
  p.drawRect(3, 1, 10, 14);
  p.setPen(QColor(150, 150, 150));
  for (int y = 4; y <= 12; y += 2) p.drawLine(5, y, 11, y);
}

void Letter(QPainter& p, QColor back, const QString& text, QColor fore = Qt::white) {
  p.setPen(back.darker(130));
  p.setBrush(back);
  p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
  QFont f("Sans");
  f.setPixelSize(text.size() > 1 ? 9 : 12);
  f.setBold(true);
  p.setFont(f);
  p.setPen(fore);
  p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, text);
}

void Draw(QPainter& p, int index) {
  const QColor ink(40, 40, 40);
  switch (index) {
    case imgNew:
      Page(p, ink);
      break;
    case imgOpen:
      p.setPen(QColor(150, 110, 20));
      p.setBrush(QColor(240, 200, 80));
      p.drawRect(1, 4, 14, 10);
      p.drawRect(1, 2, 6, 2);
      break;
    case imgCut:
      p.setPen(QPen(ink, 1.5));
      p.drawLine(4, 1, 11, 10);
      p.drawLine(11, 1, 4, 10);
      p.drawEllipse(2, 10, 4, 4);
      p.drawEllipse(9, 10, 4, 4);
      break;
    case imgCopy:
    case imgCopyMap:
      p.translate(-2, -1);
      Page(p, ink);
      p.translate(4, 2);
      Page(p, index == 8 ? QColor(20, 90, 160) : ink);
      break;
    case imgPaste:
      p.setPen(ink);
      p.setBrush(QColor(200, 160, 90));
      p.drawRect(2, 2, 11, 13);
      p.setBrush(Qt::white);
      p.drawRect(6, 6, 8, 9);
      break;
    case imgSave: {
      p.setPen(QColor(20, 50, 120));
      p.setBrush(QColor(60, 100, 190));
      p.drawRect(1, 1, 14, 14);
      p.setBrush(Qt::white);
      p.drawRect(4, 2, 8, 5);
      p.setBrush(QColor(200, 200, 200));
      p.drawRect(5, 10, 6, 5);
      break;
    }
    case imgCharMap: {
      p.setPen(ink);
      p.setBrush(Qt::white);
      p.drawRect(1, 1, 14, 14);
      for (int i = 1; i < 3; ++i) {
        p.drawLine(1 + i * 14 / 3, 1, 1 + i * 14 / 3, 15);
        p.drawLine(1, 1 + i * 14 / 3, 15, 1 + i * 14 / 3);
      }
      p.setBrush(QColor(30, 120, 200));
      p.drawRect(6, 6, 4, 4);
      break;
    }
    case imgNewMap:
      Page(p, ink);
      p.setPen(QPen(QColor(0, 140, 0), 2));
      p.drawLine(11, 9, 11, 15);
      p.drawLine(8, 12, 14, 12);
      break;
    case imgHtml:
      Letter(p, QColor(220, 110, 30), "<>");
      break;
    case imgClear:
      p.setPen(QPen(QColor(200, 30, 30), 2));
      p.drawLine(3, 3, 13, 13);
      p.drawLine(13, 3, 3, 13);
      break;
    case imgExport:
      Page(p, ink);
      p.setPen(QPen(QColor(0, 120, 0), 2));
      p.drawLine(7, 8, 14, 8);
      p.drawLine(11, 5, 14, 8);
      p.drawLine(11, 11, 14, 8);
      break;
    case imgHelp:
      Letter(p, QColor(30, 110, 200), "?");
      break;
    case imgAbout:
      Letter(p, QColor(30, 110, 200), "i");
      break;
    case imgWord:
      Letter(p, QColor(40, 80, 170), "W");
      break;
    case imgExcel:
      Letter(p, QColor(20, 120, 60), "X");
      break;
    case imgFontMap:
      Letter(p, QColor(240, 240, 230), "Aa", QColor(120, 40, 40));
      break;
    case imgFontSize: {
      p.setPen(ink);
      QFont f("Sans");
      f.setBold(true);
      f.setPixelSize(13);
      p.setFont(f);
      p.drawText(QRect(0, 0, 10, 16), Qt::AlignLeft | Qt::AlignBottom, "A");
      f.setPixelSize(8);
      p.setFont(f);
      p.drawText(QRect(9, 0, 7, 16), Qt::AlignLeft | Qt::AlignBottom, "A");
      break;
    }
    case imgPowerPoint:
      Letter(p, QColor(200, 80, 30), "P");
      break;
    case imgMessenger: {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(40, 160, 60));
      p.drawEllipse(1, 2, 6, 6);
      p.drawRoundedRect(0, 8, 8, 7, 3, 3);
      p.setBrush(QColor(40, 110, 200));
      p.drawEllipse(9, 2, 6, 6);
      p.drawRoundedRect(8, 8, 8, 7, 3, 3);
      break;
    }
    case imgEnglish:
      Letter(p, QColor(90, 90, 90), "En");
      break;
    case imgSinhala:
      Letter(p, QColor(150, 30, 60), "Si");
      break;
    default:
      break;
  }
}

}  // namespace

TImageList::TImageList() {
  for (int i = 0; i < kCount; ++i) {
    QPixmap pix(kSize, kSize);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    Draw(p, i);
    p.end();
    FImages.append(pix);
  }
}

QPixmap TImageList::Pixmap(int index) const { return index >= 0 && index < Count() ? FImages.at(index) : QPixmap(); }

QIcon TImageList::Icon(int index) const { return QIcon(Pixmap(index)); }
