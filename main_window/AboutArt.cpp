#include "AboutArt.h"

#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>

namespace about {
namespace {
const QColor kMaroon(0x6b, 0x10, 0x1c);
const QColor kSaffron(0xf2, 0x9b, 0x1d);
const QColor kGold(0xff, 0xd8, 0x6b);
const QString kSinhalaFace = QStringLiteral("Noto Sans Sinhala");

QFont Face(const QString& family, int pixels, bool bold) {
  QFont f(family);
  f.setPixelSize(pixels);
  f.setBold(bold);
  f.setStyleStrategy(QFont::PreferAntialias);
  return f;
}

// Fills a rounded rectangle with a gradient and returns its outline.
QPainterPath FillRounded(QPainter& p, const QRectF& rect, qreal radius, QLinearGradient gradient,
                         const QColor& from, const QColor& to) {
  gradient.setColorAt(0, from);
  gradient.setColorAt(1, to);
  QPainterPath shape;
  shape.addRoundedRect(rect, radius, radius);
  p.fillPath(shape, gradient);
  return shape;
}
}  // namespace

void Paint(QWidget* widget, const QColor& colour) {
  QPalette pal = widget->palette();
  pal.setColor(QPalette::Window, colour);
  widget->setPalette(pal);
  widget->setAutoFillBackground(true);
}

QPixmap ProductBanner(const QString& name) {
  QPixmap pix(284, 64);
  pix.fill(Qt::white);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient band(0, 0, 284, 0);
  band.setColorAt(0.7, QColor(0xa8, 0x2a, 0x1e));
  FillRounded(p, QRectF(0.5, 0.5, 283, 63), 8, band, kMaroon, kSaffron);
  // A large faint letter behind the name.
  p.setPen(QColor(255, 255, 255, 45));
  p.setFont(Face(kSinhalaFace, 70, true));
  p.drawText(QRect(180, -14, 110, 90), Qt::AlignCenter, QStringLiteral("\u0DC3"));
  p.setPen(Qt::white);
  p.setFont(Face(QStringLiteral("DejaVu Sans"), 28, true));
  p.drawText(QRect(14, 4, 200, 36), Qt::AlignLeft | Qt::AlignVCenter, name);
  p.setPen(kGold);
  p.setFont(Face(QStringLiteral("DejaVu Sans"), 11, false));
  p.drawText(QRect(16, 40, 250, 18), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Phonetic Sinhala typing"));
  return pix;
}

QPixmap ProgramPicture() {
  QPixmap pix(42, 66);
  pix.fill(Qt::white);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  // A key cap with a Sinhala letter on it, above a romanised key.
  const QPainterPath key =
      FillRounded(p, QRectF(2.5, 3.5, 37, 40), 6, QLinearGradient(0, 0, 0, 44), kSaffron, kMaroon);
  p.setPen(QPen(kMaroon.darker(130), 1));
  p.drawPath(key);
  p.setPen(Qt::white);
  p.setFont(Face(kSinhalaFace, 24, true));
  p.drawText(QRect(2, 2, 38, 40), Qt::AlignCenter, QStringLiteral("\u0D85"));
  p.setPen(kMaroon);
  p.setFont(Face(QStringLiteral("DejaVu Sans"), 13, true));
  p.drawText(QRect(0, 44, 42, 20), Qt::AlignCenter, QStringLiteral("a"));
  return pix;
}

QString VersionText() { return QStringLiteral("Version 2.0"); }
QString PlatformText() { return QStringLiteral("32bit Windows Application."); }
QString CopyrightText() { return QStringLiteral("Copyright \u00A9 2026 Orvi Applications. All rights reserved."); }
QString ContactAddress() { return QStringLiteral("comments@tavimo.example.org"); }
QString SecondAddress() { return QStringLiteral("orvi.applications@example.org"); }
QString MailSubject() { return QStringLiteral("Comments on Varunel"); }

QString AboutDescription() {
  return QStringLiteral(
      "Tavimo lets you type Sinhala phonetically: type romanised Sinhala and it is "
      "converted, keystroke by keystroke, into the characters of a Sinhala font and sent "
      "to the program you are working in.\n\n"
      "This program is provided as it is, without warranty of any kind. The full terms "
      "are in the section \"Warranty\" of the user guide (Varunel.htm in the program "
      "folder).\n\n"
      "Credits: design and programming by the Orvi Applications team; font maps by the "
      "map authors named in each map; thanks to everyone who tried the early versions "
      "and sent comments.");
}

QString SplashDescription() {
  return QStringLiteral(
      "Tavimo - phonetic Sinhala typing.\n\n"
      "Type Sinhala as it sounds in English letters (\"ka\", \"kaa\", \"ki\") and Tavimo "
      "writes it in your Sinhala font, straight into Microsoft Word, Excel, PowerPoint "
      "or a Messenger chat.\n\n"
      "Tavimo waits in the notification area: click its icon to open the typing window, "
      "right-click it for the menu.");
}

QString CreditsText() {
  return QStringLiteral(
      "Tavimo 2.1\n\n"
      "Design and programming: the Orvi Applications team.\n"
      "Phonetic scheme and font maps: the map authors.\n"
      "Testing: our early users, whose comments shaped every version.\n\n"
      "Thank you for typing in Sinhala!");
}

void StyleAsLink(QLabel* label, bool underline, bool hand) {
  QPalette pal = label->palette();
  pal.setColor(QPalette::WindowText, Qt::blue);
  label->setPalette(pal);
  QFont f = label->font();
  f.setUnderline(underline);
  label->setFont(f);
  if (hand) label->setCursor(Qt::PointingHandCursor);
}

void AddProgramPicture(QWidget* parent, int x, int y) {
  auto* frame = new QFrame(parent);
  frame->setObjectName(QStringLiteral("Shape2"));
  frame->setFrameShape(QFrame::Box);
  frame->setLineWidth(1);
  frame->setGeometry(x, y, 44, 68);
  auto* icon = new QLabel(parent);
  icon->setObjectName(QStringLiteral("ProgramIcon"));
  icon->setScaledContents(true);
  icon->setPixmap(ProgramPicture());
  icon->setGeometry(x + 1, y + 1, 42, 66);
}

void AddBanner(QWidget* parent, int x, int y, int lineWidth, int lineHeight) {
  auto* banner = new QLabel(parent);
  banner->setObjectName(QStringLiteral("Image1"));
  banner->setPixmap(ProductBanner());
  banner->setGeometry(x, y, 284, 64);
  auto* line = new QFrame(parent);
  line->setObjectName(QStringLiteral("Shape1"));
  line->setFrameShape(QFrame::NoFrame);
  line->setAutoFillBackground(true);
  QPalette pal = line->palette();
  pal.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
  line->setPalette(pal);
  line->setGeometry(x, y + 68, lineWidth, lineHeight);
  auto* version = new QLabel(VersionText(), parent);
  version->setObjectName(QStringLiteral("Version"));
  version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  version->setGeometry(x + lineWidth - 120, y + 68 + lineHeight + 2, 120, 14);
  auto* platform = new QLabel(PlatformText(), parent);
  platform->setObjectName(QStringLiteral("Label1"));
  platform->setGeometry(x, y + 68 + lineHeight + 18, lineWidth, 14);
}

QPlainTextEdit* AddTextBox(QWidget* parent, const QString& text, const QRect& geometry) {
  auto* memo = new QPlainTextEdit(text, parent);
  memo->setObjectName(QStringLiteral("Memo1"));
  memo->setReadOnly(true);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->setGeometry(geometry);
  return memo;
}

QLabel* AddCopyright(QWidget* parent, const QRect& geometry, bool underline) {
  auto* copyright = new QLabel(CopyrightText(), parent);
  copyright->setObjectName(QStringLiteral("Copyright"));
  copyright->setGeometry(geometry);
  StyleAsLink(copyright, underline, underline);
  return copyright;
}

void SetUpDialog(QWidget* window, int width, int height) {
  window->setFixedSize(width, height);
  window->setAttribute(Qt::WA_QuitOnClose, false);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame(QPoint(), window->size());
    frame.moveCenter(screen->geometry().center());
    window->move(frame.topLeft());
  }
}

}  // namespace about
