// The typing tool's keys in "settings.ini" of the program folder, read into
// and written from a plain struct, so the main window only copies fields to
// and from its controls. Keys of other programs in the same file are kept.
#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

// The font map used when the settings name none.
QString DefaultMapName();

struct TTypingSettings {
  bool RestoreLastState = true;  // "restore_last_state"
  int Left = 0;                  // "tleft"
  int Top = 0;                   // "ttop"
  int Width = 450;               // "twidth", the outer window's
  int Height = 350;              // "theight", the outer window's
  QString FontSize = QStringLiteral("18");               // "font_size", as text
  QString EnglishFont = QStringLiteral("Times New Roman");  // "english_font"
  bool SubmitWords = false;      // "tsubmit_words"
  bool AutoSuggest = true;       // "auto_suggest"
  QString FontMapName = DefaultMapName();  // "font_map"
};

class TTypingSettingsFile {
 public:
  // `appFolder` is the program folder (with or without a trailing separator).
  explicit TTypingSettingsFile(QString appFolder);

  QString FileName() const;

  // Reads the settings. When "restore_last_state" is true every key is read,
  // a missing or unreadable one giving its own default; when it is false only
  // "english_font" is read and everything else takes the start defaults: the
  // window 450 by 350 in the bottom-right corner of `screen`, both check
  // boxes ticked, font size "18", the default map. A missing or broken file
  // reads as all defaults.
  //
  // The caller applies FontSize to the display pane with ApplyFontSize in
  // both branches, so the pane, the size menu and the text sent out agree.
  TTypingSettings Read(QSize screen) const;
  // The same with the defaults in the corner of `workArea`.
  TTypingSettings Read(const QRect& workArea) const;

  // Writes every key (Booleans as 1 and 0) and leaves every other line of
  // the file as it stands. Returns false when the file could not be written
  // (or exists but could not be read; it is then left alone), and `error`
  // then says why, for the user.
  bool Write(const TTypingSettings& s, QString* error = nullptr) const;

 private:
  QString appFolder_;
};

// The largest point size the size handling can draw (the Word path's limit).
inline constexpr int kMaxFontPoints = 1638;

// The display pane's point size for a "font_size" text: the whole number it
// holds, at most kMaxFontPoints, or 18 when it holds none (or no usable size).
int FontSizePoints(const QString& size);

// A "font_size" text as kept: a whole number brought within 1 to
// kMaxFontPoints; any other text as it is.
QString StoredFontSize(const QString& size);

// What a desktop can show: window positions read from the settings are
// brought within -kMaxWindowExtent to kMaxWindowExtent and sizes within 0 to
// kMaxWindowExtent before any arithmetic, so no stored number can overflow.
inline constexpr int kMaxWindowExtent = 32767;

// The work areas of the screens, the primary screen's first.
QList<QRect> WorkAreas();

// Window bounds brought whole onto the work area they are mostly on (the
// first of `workAreas` when on none): no larger than it and inside it. A
// width or height of 0 or less becomes `fallback`'s.
QRect KeptOnScreen(QRect bounds, const QList<QRect>& workAreas, QSize fallback);

// Gives `pane` a client area `height` pixels high: its frame and a
// horizontal scroll bar that is always there come on top.
void SetClientHeight(QWidget* pane, int height);

// Sets `pane`'s font to FontSizePoints(size) points and fits the pane's
// client height to the text "hg" in that font plus 5 pixels. The size text
// itself is not changed. Returns the point size applied.
int ApplyFontSize(QWidget* pane, const QString& size);
