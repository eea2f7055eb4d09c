#include "CharView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>

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
  DrawCaption(p);

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

void TTntCharView::DrawCaption(QPainter& p) {
  if (text().isEmpty()) return;
  if (FCaptionText != text() || FCaptionFont != font()) {
    // The caption's outline as the font shapes it, from the start of its
    // baseline: its bounds are exactly where ink will fall.
    FCaptionText = text();
    FCaptionFont = font();
    FCaptionPath = QPainterPath();
    FCaptionPath.addText(0, 0, FCaptionFont, FCaptionText);
    FCaptionAdvance = QFontMetricsF(FCaptionFont).horizontalAdvance(FCaptionText);
  }
  const QRectF ink = FCaptionPath.boundingRect();
  if (ink.isEmpty()) return;
  // The ink keeps one pixel clear of every edge: of the tile's own left
  // and top, and of the grid lines on its right and bottom.
  const QRectF room(1.5, 1.5, width() - 4.0, height() - 4.0);
  const double ascent = QFontMetricsF(FCaptionFont).ascent();
  // Laid out as a label does: centred, at the top.
  double scale = 1.0;
  double x = (width() - FCaptionAdvance) / 2.0;
  double y = ascent;
  QRectF placed = ink.translated(x, y);
  if (!room.contains(placed)) {
    // Too big for the tile: scaled down to fit, and moved inside it as
    // little as it must.
    scale = std::min({1.0, room.width() / ink.width(), room.height() / ink.height()});
    x = room.center().x() - (ink.center().x() * scale);
    y = std::clamp(ascent * scale, room.top() - ink.top() * scale, room.bottom() - ink.bottom() * scale);
  }
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(x, y);
  p.scale(scale, scale);
  p.fillPath(FCaptionPath, palette().color(foregroundRole()));
  p.restore();
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
