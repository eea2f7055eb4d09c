#include "FontCombo.h"

#include <QFontInfo>

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kGlyphSize = 16;
constexpr int kTextIndent = 18;  // glyph plus gap
constexpr int kSymbolCharset = 2;
const QString kSeparator = QStringLiteral("-|");

// The font-type set all pickers share.
TFontTypes gFontTypes{TRUETYPE_FONTS};

// Nearest integer, a half going to the even neighbour.
int RoundEven(double value) { return static_cast<int>(std::nearbyint(value)); }

int CharsetOf(QFontDatabase::WritingSystem ws) {
  switch (ws) {
    case QFontDatabase::Latin: return 0;
    case QFontDatabase::Japanese: return 128;
    case QFontDatabase::Korean: return 129;
    case QFontDatabase::SimplifiedChinese: return 134;
    case QFontDatabase::TraditionalChinese: return 136;
    case QFontDatabase::Greek: return 161;
    case QFontDatabase::Vietnamese: return 163;
    case QFontDatabase::Hebrew: return 177;
    case QFontDatabase::Arabic: return 178;
    case QFontDatabase::Cyrillic: return 204;
    case QFontDatabase::Thai: return 222;
    default: return -1;
  }
}

// "TTFENABLED" and "TTFDISABLED": two letters T, one behind the other,
// drawn on olive, which then becomes transparent.
QPixmap MakeGlyph(bool enabled) {
  const QColor olive(0x80, 0x80, 0x00);
  QPixmap pixmap(kGlyphSize, kGlyphSize);
  pixmap.fill(olive);
  {
    QPainter p(&pixmap);
    auto letterT = [&p](int x, int y, const QColor& color) {
      p.fillRect(x, y, 9, 2, color);      // bar
      p.fillRect(x + 3, y, 3, 10, color);  // stem
    };
    if (enabled) {
      letterT(1, 1, QColor(0x80, 0x80, 0x80));
      letterT(6, 5, QColor(0x00, 0x00, 0x80));
    } else {
      letterT(2, 2, Qt::white);
      letterT(1, 1, QColor(0xC0, 0xC0, 0xC0));
      letterT(7, 6, Qt::white);
      letterT(6, 5, QColor(0x80, 0x80, 0x80));
    }
  }
  pixmap.setMask(pixmap.createMaskFromColor(olive));
  return pixmap;
}

// Draws the combo's items through TFontCombo::DrawItem, each ComboHeight high.
class TFontComboDelegate : public QAbstractItemDelegate {
 public:
  explicit TFontComboDelegate(TFontCombo* combo) : QAbstractItemDelegate(combo), combo_(combo) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    painter->save();
    combo_->DrawItem(*painter, index.row(), option.rect, option.state);
    painter->restore();
    if (option.state & QStyle::State_Selected) {
      QStyleOptionFocusRect focus;
      focus.QStyleOption::operator=(option);
      focus.backgroundColor = combo_->palette().color(QPalette::Base);
      combo_->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, combo_);
    }
  }

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {combo_->MaxItemWidth() + kGlyphSize + kTextIndent, combo_->ComboHeight()};
  }

 private:
  TFontCombo* combo_;
};

}  // namespace

std::vector<TEnumFont> EnumerateFonts() {
  std::vector<TEnumFont> fonts;
  for (const QString& family : QFontDatabase::families()) {
    if (QFontDatabase::isPrivateFamily(family)) continue;
    // A family installed by several foundries comes as "Face [foundry]"
    // once per foundry; each is the same face.
    QString face = family;
    if (face.endsWith(u']')) {
      const qsizetype open = face.lastIndexOf(QStringLiteral(" ["));
      if (open > 0) face.truncate(open);
    }
    const int type = QFontDatabase::isSmoothlyScalable(family) ? TEnumFont::TrueType : TEnumFont::Raster;
    const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
    // Qt marks a face that covers no language it knows with "Symbol" (also
    // named "Other"). One that still holds Latin code points is a symbol
    // face (dingbats and the like); the others draw scripts Qt has no name
    // for.
    if (systems.contains(QFontDatabase::Symbol) && systems.contains(QFontDatabase::Latin)) {
      fonts.push_back({face, kSymbolCharset, type});
      continue;
    }
    bool listed = false;
    for (QFontDatabase::WritingSystem ws : systems) {
      const int charset = CharsetOf(ws);
      if (charset < 0) continue;
      fonts.push_back({face, charset, type});
      listed = true;
    }
    if (!listed) fonts.push_back({face, 0, type});
  }
  return fonts;
}

TFontCombo::TFontCombo(QWidget* owner) : QComboBox(owner) {
  setEditable(false);
  setEnabled(true);
  setMouseTracking(true);
  setItemDelegate(new TFontComboDelegate(this));
  FGlyphs = {MakeGlyph(true), MakeGlyph(false)};
  gFontTypes = TFontTypes{TRUETYPE_FONTS};
  connect(this, &QComboBox::activated, this, &TFontCombo::Change);
  CreateWnd();
}

TFontCombo::~TFontCombo() = default;

void TFontCombo::EnumFontsProc(const TEnumFont& font, QStringList& kept, QStringList& items) {
  if (!kept.isEmpty() && QString::localeAwareCompare(kept.last().toLower(), font.face.toLower()) == 0) return;
  const bool wanted = (font.fontType == TEnumFont::TrueType && gFontTypes.Contains(TRUETYPE_FONTS)) ||
                      (font.fontType == TEnumFont::Device && gFontTypes.Contains(DEVICE_FONTS)) ||
                      (font.fontType == TEnumFont::Raster && gFontTypes.Contains(RASTER_FONTS));
  if (!wanted) return;
  kept.append(font.face);
  items.append(font.face + kSeparator + QString::number(font.charset));
}

void TFontCombo::CreateWnd() {
  QStringList kept, items;
  for (const TEnumFont& font : EnumerateFonts()) EnumFontsProc(font, kept, items);
  if (FSorted)
    std::stable_sort(items.begin(), items.end(),
                     [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
  const QSignalBlocker quiet(this);
  clear();
  addItems(items);
  setCurrentIndex(IndexOfFont(FFontName));
  // Measuring loads every face: done once the list is first needed on screen.
  FMeasured = false;
}

void TFontCombo::EnsureMeasured() const {
  if (FMeasured) return;
  auto* self = const_cast<TFontCombo*>(this);
  self->MeasureItems();
  self->FMeasured = true;
  self->view()->setMinimumWidth(FMaxItemWidth + kGlyphSize + kTextIndent);
}

void TFontCombo::showPopup() {
  EnsureMeasured();
  QComboBox::showPopup();
}

QString TFontCombo::ItemFontName(const QString& item) {
  const qsizetype at = item.indexOf(kSeparator);
  return at < 0 ? QString() : item.left(at);
}

int TFontCombo::ItemCharset(const QString& item) {
  const qsizetype at = item.indexOf(kSeparator);
  QString digits = QStringLiteral("0");
  if (at >= 0)
    for (QChar c : item.mid(at + kSeparator.size()))
      if (c >= u'0' && c <= u'9') digits += c;
  bool ok = false;
  const int value = digits.toInt(&ok);
  return ok ? value : 0;
}

int TFontCombo::IndexOfFont(const QString& name) const {
  for (int i = 0; i < count(); ++i)
    if (ItemFontName(itemText(i)) == name) return i;
  return -1;
}

QFont TFontCombo::FaceFont(const QString& face) const {
  QFont f(face);
  if (font().pointSizeF() > 0)
    f.setPointSizeF(font().pointSizeF());
  else
    f.setPixelSize(font().pixelSize());
  // Letters the face lacks (a face for another script) come from a stand-in
  // face, so that every name can be read.
  return f;
}

void TFontCombo::MeasureItems() {
  FMaxItemWidth = 0;
  FMaxItemHeight = 0;
  const QFontMetrics own(font());
  for (int i = 0; i < count(); ++i) {
    const QString item = itemText(i);
    const QString face = ItemFontName(item);
    const QFontMetrics faced(FaceFont(face));
    if (ItemCharset(item) != 0) {
      const int w1 = own.horizontalAdvance(face + QStringLiteral(" - "));
      const int w2 = faced.horizontalAdvance(face);
      FMaxItemWidth = std::max(FMaxItemWidth, w1 + w2);
    }
    FMaxItemHeight = std::max(FMaxItemHeight, faced.height());
  }
}

QRect TFontCombo::CenterRect(const QRect& rect, int textHeight) const {
  // Text is placed by the tallest item measured, but never pushed out of an
  // item lower than that (a tall face among the installed ones would
  // otherwise cut every name off at the bottom).
  EnsureMeasured();
  const int d = RoundEven((std::min(FMaxItemHeight, rect.height()) - textHeight) / 2.0);
  return rect.adjusted(0, d, 0, -d);
}

void TFontCombo::DrawItem(QPainter& canvas, int index, const QRect& rect, QStyle::State) {
  canvas.fillRect(rect, palette().color(QPalette::Base));
  if (index < 0 || index >= count()) return;  // no item: an empty box
  const int glyphTop = (rect.top() + rect.top() + rect.height() - kGlyphSize) / 2;
  canvas.drawPixmap(rect.left(), glyphTop, FGlyphs[isEnabled() ? 0 : 1]);
  canvas.setPen(isEnabled() ? palette().color(QPalette::Text) : palette().color(QPalette::Dark));

  const QString item = itemText(index);
  const QString face = ItemFontName(item);
  const int x = rect.left() + kTextIndent;
  auto textOut = [&canvas](int left, const QRect& line, const QString& text) {
    canvas.drawText(QPoint(left, line.top() + canvas.fontMetrics().ascent()), text);
  };
  if (ItemCharset(item) != kSymbolCharset) {
    canvas.setFont(FaceFont(face));
    textOut(x, CenterRect(rect, canvas.fontMetrics().height()), face);
    return;
  }
  // A symbol face shows its name in the control's font, then the name in
  // its own face, scaled so that it fills the item's height.
  const QString caption = face + QStringLiteral(" - ");
  canvas.setFont(font());
  const int w = canvas.fontMetrics().horizontalAdvance(caption);
  textOut(x, CenterRect(rect, canvas.fontMetrics().height()), caption);
  QFont symbol = FaceFont(face);
  const double size = symbol.pointSizeF() > 0 ? symbol.pointSizeF() : symbol.pixelSize();
  const int t = QFontMetrics(symbol).height();
  if (t > 0) {
    const int scaled = std::max(1, RoundEven(size * FComboHeight / t));
    if (symbol.pointSizeF() > 0)
      symbol.setPointSize(scaled);
    else
      symbol.setPixelSize(scaled);
  }
  canvas.setFont(symbol);
  textOut(x + w, CenterRect(rect, canvas.fontMetrics().height()), face);
}

void TFontCombo::Change() {
  FFontName = ItemFontName(currentText());
  emit changed();
}

void TFontCombo::SetFontName(const QString& value) {
  FFontName = value;
  const QSignalBlocker quiet(this);
  int index = IndexOfFont(value);
  // A face that is not installed shows as the face the system draws in its
  // place; the name itself is kept.
  if (index < 0 && !value.isEmpty()) index = IndexOfFont(QFontInfo(QFont(value)).family());
  setCurrentIndex(index);
  update();
}

TFontTypes TFontCombo::GetFontType() const { return gFontTypes; }

void TFontCombo::SetFontType(TFontTypes value) {
  gFontTypes = value;
  CreateWnd();
}

void TFontCombo::SetComboHeight(int value) {
  if (value <= 0 || value == FComboHeight) return;
  FComboHeight = value;
  CreateWnd();
}

void TFontCombo::SetSorted(bool value) {
  if (value == FSorted) return;
  FSorted = value;
  CreateWnd();
}

void TFontCombo::mouseMoveEvent(QMouseEvent*) { setToolTip(QStringLiteral("Font - ") + FFontName); }

void TFontCombo::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  option.currentText.clear();
  option.currentIcon = QIcon();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  painter.save();
  painter.setClipRect(field);
  DrawItem(painter, currentIndex(), field, option.state);
  painter.restore();
}
