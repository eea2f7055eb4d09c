#include "CharView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

TTntCharView::TTntCharView(QWidget* owner) : QLabel(owner) {
  // The parent's font, no automatic sizing (the owner sets the bounds),
  // caption centred at the top, a hand cursor.
  setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  setCursor(Qt::PointingHandCursor);
  setTextFormat(Qt::PlainText);
  setAutoFillBackground(true);
  setFocusPolicy(Qt::NoFocus);
}

void TTntCharView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int w = width();
  const int h = height();
  // The background is filled by the widget itself (auto fill); the caption
  // is drawn as it stands: an "&" is shown, never taken as a mnemonic.
  p.setPen(palette().color(QPalette::WindowText));
  p.setFont(font());
  p.drawText(QRect(0, 0, w, h), Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, text());

  // The outline of (-1,-1)..(w,h): only the right and bottom lines fall
  // inside, so tiles placed edge to edge share one line between them.
  p.setPen(palette().color(QPalette::Dark));
  p.setBrush(Qt::NoBrush);
  p.drawLine(w - 1, 0, w - 1, h - 1);
  p.drawLine(0, h - 1, w - 1, h - 1);

  // Header pictures: row r of column 0 shows slice r-1 of the tall picture,
  // column c of row 0 slice c-1 of the wide one. The corner tile (0,0) would
  // take a slice before the start of both pictures; it shows none.
  const QRect target(0, 0, w, h);
  if (ColumnIndex == 0 && RowIndex > 0 && VerticlePicture && !VerticlePicture->isNull()) {
    const QRect source(0, (RowIndex - 1) * PictureHeight, PictureWidth, PictureHeight);
    p.drawPixmap(target, *VerticlePicture, source);
  }
  if (RowIndex == 0 && ColumnIndex > 0 && HorizontalPicture && !HorizontalPicture->isNull()) {
    const QRect source((ColumnIndex - 1) * PictureWidth, 0, PictureWidth, PictureHeight);
    p.drawPixmap(target, *HorizontalPicture, source);
  }
}

void TTntCharView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) FPressed = true;
  event->accept();
}

void TTntCharView::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = FPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  FPressed = false;
  event->accept();
  if (click) emit Click(this);
}

void TTntCharView::mouseDoubleClickEvent(QMouseEvent* event) {
  // Taken here: the double-click does not reach the strip behind the tile.
  event->accept();
  if (event->button() == Qt::LeftButton) emit DblClick(this);
}

void TTntCharView::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  emit MouseEnter(this);
}
