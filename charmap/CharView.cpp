#include "CharView.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStaticText>
#include <algorithm>
#include <cmath>

// Where a caption goes in a tile: the font it is drawn in (the tile's, or a
// smaller size where its ink would not fit) and the top left of its text.
struct TCaptionFit {
  QStaticText text;
  QFont font;
  QPoint topLeft;
  bool inked = false;
};

namespace {

// The pixels that `text` in `font` inks when drawn with its top left at
// (0, 0), measured on the raster it is drawn with; empty for no ink.
QRect InkOf(const QStaticText& text, const QFont& font, qreal ratio) {
  const QFontMetricsF metrics(font);
  // Room around the text for marks above, below and beside its box.
  for (int pad = std::max(8, QFontInfo(font).pixelSize()); pad < 4096; pad *= 2) {
    const QSize canvas(static_cast<int>(std::ceil(text.size().width())) + 2 * pad,
                       static_cast<int>(std::ceil(metrics.height())) + 2 * pad);
    QImage image(canvas * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    {
      QPainter p(&image);
      p.setFont(font);
      p.setPen(Qt::black);
      p.drawStaticText(QPoint(pad, pad), text);
    }
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      for (int x = 0; x < image.width(); ++x) {
        if ((line[x] & 0xffffff) == 0xffffff) continue;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
    if (right < 0) return {};
    // Ink on the canvas's edge may go on beyond it: measured again with more room.
    if (left > 0 && top > 0 && right < image.width() - 1 && bottom < image.height() - 1) {
      // In the tile's pixels, every device pixel touched counted whole.
      const auto outer = [ratio](int v) { return static_cast<int>(std::floor(v / ratio)); };
      return QRect(QPoint(outer(left) - pad, outer(top) - pad), QPoint(outer(right) - pad, outer(bottom) - pad));
    }
  }
  return {};
}

QStaticText Shaped(const QString& caption, const QFont& font) {
  QStaticText text(caption);
  text.setTextFormat(Qt::PlainText);
  text.prepare(QTransform(), font);
  return text;
}

// The caption laid out as a label lays it out, centred at the top; where its
// ink would not keep one pixel clear of every edge (the tile's own left and
// top, and the grid lines on its right and bottom with the pixel beside
// them), the largest smaller size that does, moved inside the tile as little
// as it must.
TCaptionFit Fit(const QString& caption, const QFont& font, QSize size, qreal ratio) {
  TCaptionFit fit;
  const QRect room(1, 1, size.width() - 3, size.height() - 3);
  fit.font = font;
  fit.text = Shaped(caption, font);
  QRect ink = InkOf(fit.text, font, ratio);
  if (ink.isEmpty() || room.isEmpty()) return fit;
  fit.topLeft = QPoint(static_cast<int>(std::lround((size.width() - fit.text.size().width()) / 2)), 0);
  if (room.contains(ink.translated(fit.topLeft))) {
    fit.inked = true;
    return fit;
  }
  const int full = QFontInfo(font).pixelSize();
  const double scale = std::min({1.0, static_cast<double>(room.width()) / ink.width(),
                                 static_cast<double>(room.height()) / ink.height()});
  for (int pixels = std::min(full - 1, static_cast<int>(full * scale)); pixels > 0; --pixels) {
    fit.font = font;
    fit.font.setPixelSize(pixels);
    fit.text = Shaped(caption, fit.font);
    ink = InkOf(fit.text, fit.font, ratio);
    if (ink.isEmpty()) return fit;
    if (ink.width() > room.width() || ink.height() > room.height()) continue;
    const int x = room.left() + (room.width() - ink.width()) / 2 - ink.left();
    const int y = std::clamp(0, room.top() - ink.top(), room.bottom() - ink.bottom());
    fit.topLeft = QPoint(x, y);
    fit.inked = true;
    return fit;
  }
  return fit;
}

// Fits are shared by every tile: a caption comes back with every search.
// They live while any tile does, so that no font outlives the application.
QHash<QString, std::shared_ptr<const TCaptionFit>>& Fits() {
  static QHash<QString, std::shared_ptr<const TCaptionFit>> fits;
  return fits;
}
int gTiles = 0;

std::shared_ptr<const TCaptionFit> FitCaption(const QString& caption, const QFont& font, QSize size, qreal ratio) {
  auto& fits = Fits();
  const QString key = QStringLiteral("%1\x1f%2\x1f%3x%4@%5")
                          .arg(caption, font.key())
                          .arg(size.width())
                          .arg(size.height())
                          .arg(ratio);
  if (auto it = fits.constFind(key); it != fits.constEnd()) return *it;
  // Bounded: a few maps' captions at a few sizes fit many times over.
  if (fits.size() >= 50000) fits.clear();
  auto fit = std::make_shared<const TCaptionFit>(Fit(caption, font, size, ratio));
  fits.insert(key, fit);
  return fit;
}

}  // namespace

TTntCharView::TTntCharView(QWidget* owner) : QLabel(owner) {
  // The parent's font, no automatic sizing (the owner sets the bounds),
  // caption centred at the top, a hand cursor.
  setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  setCursor(Qt::PointingHandCursor);
  setTextFormat(Qt::PlainText);
  setAutoFillBackground(true);
  setFocusPolicy(Qt::NoFocus);
  ++gTiles;
}

TTntCharView::~TTntCharView() {
  if (--gTiles == 0) Fits().clear();
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
  const qreal ratio = devicePixelRatioF();
  if (!FCaptionFit || FCaptionText != text() || FCaptionFont != font() || FCaptionSize != size() ||
      FCaptionRatio != ratio) {
    FCaptionText = text();
    FCaptionFont = font();
    FCaptionSize = size();
    FCaptionRatio = ratio;
    FCaptionFit = FitCaption(FCaptionText, FCaptionFont, FCaptionSize, ratio);
  }
  if (!FCaptionFit->inked) return;
  p.setFont(FCaptionFit->font);
  p.setPen(palette().color(foregroundRole()));
  p.drawStaticText(FCaptionFit->topLeft, FCaptionFit->text);
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
