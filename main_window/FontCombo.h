// TFontCombo: a drop-down list of the installed font faces in which every
// face name is drawn in its own face, behind a small glyph.
#pragma once

#include <QComboBox>
#include <QPixmap>
#include <QStringList>
#include <QStyle>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

enum TFontType : std::uint8_t { DEVICE_FONTS, RASTER_FONTS, TRUETYPE_FONTS };

// A set of TFontType, held as the bits 1, 2 and 4 of one byte.
class TFontTypes {
 public:
  constexpr TFontTypes() = default;
  constexpr TFontTypes(std::initializer_list<TFontType> types) {
    for (TFontType t : types) bits_ = static_cast<std::uint8_t>(bits_ | Bit(t));
  }
  constexpr bool Contains(TFontType t) const { return (bits_ & Bit(t)) != 0; }
  constexpr std::uint8_t Bits() const { return bits_; }
  friend constexpr bool operator==(TFontTypes, TFontTypes) = default;

 private:
  static constexpr std::uint8_t Bit(TFontType t) { return static_cast<std::uint8_t>(1u << t); }
  std::uint8_t bits_ = 0;
};

// One face as the font enumeration reports it: once for every character set
// it supports, with the character-set number of the original platform
// (0 Western, 2 symbol, 161 Greek, 204 Cyrillic ...) and its kind.
struct TEnumFont {
  enum Kind { Raster = 1, Device = 2, TrueType = 4 };
  QString face;
  int charset = 0;
  int fontType = TrueType;
};

// Every face of Qt's font database in the database's order, each once per
// character set: its writing systems mapped to character sets (a face with
// none that maps counts as Western; a symbol face, as dingbat faces, only
// as symbol), outline faces as TrueType, bitmap faces as raster. A
// face that several foundries provide is reported once for each.
std::vector<TEnumFont> EnumerateFonts();

class TFontCombo : public QComboBox {
  Q_OBJECT

 public:
  explicit TFontCombo(QWidget* owner = nullptr);
  ~TFontCombo() override;

  // Height of every list item in pixels; 21 after construction. A value of
  // 0 or less, or the current one, changes nothing.
  int ComboHeight() const { return FComboHeight; }
  void SetComboHeight(int value);

  // Face of the chosen font. Writing it selects the first item whose face is
  // exactly that name (letter case included); for a face not installed, the
  // item of the face the system draws instead, if listed, else none. The
  // name is kept either way.
  const QString& FontName() const { return FFontName; }
  void SetFontName(const QString& value);

  // Which kinds of font are listed. The set is shared by all pickers; every
  // new picker resets it to TRUETYPE_FONTS. Writing it rebuilds this list.
  TFontTypes GetFontType() const;
  void SetFontType(TFontTypes value);

  // List in alphabetical order of the item texts.
  bool Sorted() const { return FSorted; }
  void SetSorted(bool value);

  // Fills the list from the font enumeration; the items are measured when
  // the picker is first drawn or its list first opens.
  void CreateWnd();
  // The user chose an item: FontName follows it, then changed() is emitted.
  void Change();
  // Paints item `index` into `rect`.
  void DrawItem(QPainter& canvas, int index, const QRect& rect, QStyle::State state);

  // Item texts are face + "-|" + character-set number.
  static QString ItemFontName(const QString& item);
  static int ItemCharset(const QString& item);
  int IndexOfFont(const QString& name) const;

  // The enumeration callback: appends `font` to the kept faces and its item
  // text to `items` unless it repeats the last kept face (letter case
  // ignored) or its kind is not in the shared set.
  static void EnumFontsProc(const TEnumFont& font, QStringList& kept, QStringList& items);

  // The widest and tallest item, measured the first time they are needed.
  int MaxItemWidth() const {
    EnsureMeasured();
    return FMaxItemWidth;
  }
  int MaxItemHeight() const {
    EnsureMeasured();
    return FMaxItemHeight;
  }
  bool Measured() const { return FMeasured; }
  void showPopup() override;
  const QPixmap& Glyph(int index) const { return FGlyphs.at(static_cast<std::size_t>(index)); }

 signals:
  void changed();

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void MeasureItems();
  void EnsureMeasured() const;
  QRect CenterRect(const QRect& rect, int textHeight) const;
  QFont FaceFont(const QString& face) const;

  int FComboHeight = 21;
  QString FFontName;
  bool FSorted = false;
  int FMaxItemHeight = 0;
  int FMaxItemWidth = 0;
  bool FMeasured = false;
  std::array<QPixmap, 2> FGlyphs;  // "TTFENABLED", "TTFDISABLED"
};
