// The character tile: a small Unicode label showing one character of a font
// map (a cell of the map editor's grid, a tile of the suggestion strip). It
// carries the cell's key, font codes and grid position and draws its own
// grid line along the right and bottom edges.
#pragma once

#include <QFont>
#include <QLabel>
#include <QSize>
#include <QString>
#include <memory>

class QPainter;
class QPixmap;
struct TCaptionFit;

class TTntCharView : public QLabel {
  Q_OBJECT

 public:
  explicit TTntCharView(QWidget* owner = nullptr);
  ~TTntCharView() override;

  // Plain values: setting one neither repaints nor changes anything else.
  int ColumnIndex = 0;
  int RowIndex = 0;
  QString CharInEnglish;
  QString CharInFont;
  QString Data;
  // Not owned: whoever sets a picture keeps it alive while the tile exists.
  const QPixmap* VerticlePicture = nullptr;
  const QPixmap* HorizontalPicture = nullptr;
  int PictureHeight = 27;
  int PictureWidth = 44;
  bool IsBiggerChars = false;

  QString Caption() const { return text(); }
  void SetCaption(const QString& caption) { setText(caption); }

 signals:
  void Click(TTntCharView* sender);
  void DblClick(TTntCharView* sender);
  void MouseEnter(TTntCharView* sender);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  // Draws the caption centred at the top, in a smaller size where its ink
  // would not fit inside the tile.
  void DrawCaption(QPainter& p);

  bool FPressed = false;
  // Where the caption goes, kept while caption, font and size stay.
  QString FCaptionText;
  QFont FCaptionFont;
  QSize FCaptionSize;
  qreal FCaptionRatio = 0;
  std::shared_ptr<const TCaptionFit> FCaptionFit;
};
