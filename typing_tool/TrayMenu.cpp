#include "TrayMenu.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionMenuItem>
namespace tavimo {


TTrayMenu::TTrayMenu(QWidget* parent) : QMenu(parent) {}

QAction* TTrayMenu::addItem(const QString& objectName, const QString& caption) {
  QAction* action = addAction(QLatin1Char('&') + caption);
  action->setObjectName(objectName);
  return action;
}

QSize TTrayMenu::sizeHint() const {
  // The ordinary measurement, widened so that captions drawn from x = 25
  // stay inside the menu.
  QSize size = QMenu::sizeHint();
  int widest = 0;
  for (QAction* a : actions()) {
    if (a->isSeparator()) continue;
    QString plain = a->text();
    plain.remove(QLatin1Char('&'));
    widest = qMax(widest, fontMetrics().horizontalAdvance(plain));
  }
  size.setWidth(qMax(size.width(), 25 + widest + 16));
  return size;
}

void TTrayMenu::DrawItem(QPainter& painter, const QRect& rect, bool selected, const QString& caption,
                         const QPalette& palette) {
  const QColor back = selected ? palette.color(QPalette::Highlight) : palette.color(QPalette::Window);
  const QColor text = selected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::WindowText);
  QRect fill = rect;
  fill.setLeft(21);
  painter.fillRect(fill, back);
  painter.setPen(text);
  QRect textRect = rect;
  textRect.setLeft(25);
  painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic |
                                 Qt::TextDontClip,
                   caption);
}

void TTrayMenu::DrawMenuBand(QPainter& painter, int height, const QString& title) {
  painter.fillRect(QRect(0, 0, 20, height), QColor(128, 128, 128));
  QFont font(QStringLiteral("Tahoma"));
  font.setPointSize(7);
  font.setBold(false);
  // The rotated copy is two pixels taller than the 7-point font.
  const double dpi = painter.device() ? painter.device()->logicalDpiY() : 96.0;
  font.setPixelSize(qRound(7 * dpi / 72.0) + 2);
  painter.save();
  painter.setFont(font);
  painter.setPen(Qt::white);
  // Text starts at (2, 105) and runs upwards; its top faces the left edge.
  painter.translate(2, 105);
  painter.rotate(-90);
  painter.drawText(QPoint(0, QFontMetrics(font).ascent()), title);
  painter.restore();
}

void TTrayMenu::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.setClipRegion(event->region());
  painter.fillRect(rect(), palette().color(QPalette::Window));
  for (QAction* action : actions()) {
    const QRect r = actionGeometry(action);
    if (action->isSeparator()) {
      QStyleOptionMenuItem opt;
      initStyleOption(&opt, action);
      opt.rect = r;
      style()->drawControl(QStyle::CE_MenuItem, &opt, &painter, this);
      continue;
    }
    const bool selected = action == activeAction();
    if (FDrawItem) FDrawItem(painter, r, selected, action->text());
    else DrawItem(painter, r, selected, action->text(), palette());
  }
}

}  // namespace tavimo
