// Pictures and texts the About box and the splash window share.
#pragma once

#include <QPixmap>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QRect;
class QColor;
class QWidget;

namespace about {

// The product banner, 284 by 64 pixels, with the program's name.
QPixmap ProductBanner(const QString& name = QStringLiteral("Tavimo"));
// The program's picture, 42 by 66 pixels.
QPixmap ProgramPicture();

QString VersionText();      // "Version 2.0"
QString PlatformText();     // "32bit Windows Application."
QString CopyrightText();    // the one-line copyright notice
QString ContactAddress();   // behind the contact label
QString SecondAddress();    // behind the copyright line
QString MailSubject();      // "Comments on Varunel"
QString AboutDescription(); // the About box's text box
QString SplashDescription();
QString CreditsText();

// Makes a label look like a link: blue, underlined when `underline`, hand
// cursor when `hand`.
void StyleAsLink(QLabel* label, bool underline, bool hand);

// The picture in its 1-pixel frame: the frame `Shape2` and the picture
// `ProgramIcon`, placed at x, y inside `parent`.
void AddProgramPicture(QWidget* parent, int x, int y);

// The banner `Image1` at x, y with the line `Shape1` (lineWidth by
// lineHeight) under it, "Version 2.0" (`Version`) at the right end of the
// line and "32bit Windows Application." (`Label1`) below.
void AddBanner(QWidget* parent, int x, int y, int lineWidth, int lineHeight);

// Gives `widget` a plain background of `colour`.
void Paint(QWidget* widget, const QColor& colour);

// The read-only text box `Memo1` with its vertical scroll bar.
QPlainTextEdit* AddTextBox(QWidget* parent, const QString& text, const QRect& geometry);

// The copyright line `Copyright` in blue; underlined with a hand cursor when
// `underline`.
QLabel* AddCopyright(QWidget* parent, const QRect& geometry, bool underline);

// Fixes a dialog's size, moves it to the centre of the primary screen and
// keeps its closing from ending the program, which may have no other window
// on the screen (the typing tool lives in the notification area).
void SetUpDialog(QWidget* window, int width, int height);

}  // namespace about
