// The tray menu: a popup menu drawn by its owner. Every item that is not a
// separator is handed to a drawing routine; separators keep the menu's own
// look. The menu also paints a grey band with the application title, written
// bottom to top, down its left edge.
#pragma once

#include <QMenu>
#include <functional>

namespace tavimo {

class TTrayMenu : public QMenu {
  Q_OBJECT
 public:
  // Draws one item: the painter, the item's rectangle (in menu coordinates),
  // whether it is highlighted, and the caption with its accelerator ("&Exit").
  using DrawItemHandler = std::function<void(QPainter&, const QRect&, bool, const QString&)>;

  explicit TTrayMenu(QWidget* parent = nullptr);

  void setDrawItemHandler(DrawItemHandler handler) { FDrawItem = std::move(handler); }

  // Adds an item whose caption gets its first letter as accelerator.
  QAction* addItem(const QString& objectName, const QString& caption);

  // The default drawing of one item: background from x = 21 in the highlight
  // or menu colour, caption from x = 25, vertically centred, one line.
  static void DrawItem(QPainter& painter, const QRect& rect, bool selected, const QString& caption,
                       const QPalette& palette);
  // The grey band, 20 pixels wide and as high as `height`, with `title` in
  // white Tahoma 7 pt (2 pixels larger) reading upwards from (2, 105).
  static void DrawMenuBand(QPainter& painter, int height, const QString& title);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  DrawItemHandler FDrawItem;
};

}  // namespace tavimo
