#include "TypingSettings.h"

#include <QAbstractScrollArea>
#include <QList>
#include <QRect>
#include <algorithm>
#include <QScrollBar>
#include <QDir>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "inifile.h"

namespace {
const QString kParams = QStringLiteral("params");
const QString kBounds = QStringLiteral("bounds");
}  // namespace

QString DefaultMapName() { return QStringLiteral("Sinhala"); }

TTypingSettingsFile::TTypingSettingsFile(QString appFolder) : appFolder_(std::move(appFolder)) {}

QString TTypingSettingsFile::FileName() const {
  return QDir(appFolder_).filePath(QStringLiteral("settings.ini"));
}

TTypingSettings TTypingSettingsFile::Read(QSize screen) const { return Read(QRect(QPoint(0, 0), screen)); }

TTypingSettings TTypingSettingsFile::Read(const QRect& workArea) const {
  const TIniFile ini(FileName());
  TTypingSettings s;
  const TTypingSettings def;
  // The default window sits in the bottom-right corner of the work area,
  // its bottom edge 25 pixels above the work area's.
  const int defLeft = workArea.right() + 1 - 450;
  const int defTop = workArea.bottom() + 1 - 375;

  s.RestoreLastState = ini.ReadBool(kParams, QStringLiteral("restore_last_state"), true);
  if (s.RestoreLastState) {
    s.Width = ini.ReadInteger(kBounds, QStringLiteral("twidth"), 450, 0, kMaxWindowExtent);
    s.Height = ini.ReadInteger(kBounds, QStringLiteral("theight"), 350, 0, kMaxWindowExtent);
    s.Top = ini.ReadInteger(kBounds, QStringLiteral("ttop"), defTop, -kMaxWindowExtent, kMaxWindowExtent);
    s.Left = ini.ReadInteger(kBounds, QStringLiteral("tleft"), defLeft, -kMaxWindowExtent, kMaxWindowExtent);
    s.FontSize = ini.ReadString(kParams, QStringLiteral("font_size"), def.FontSize);
    s.EnglishFont = ini.ReadString(kParams, QStringLiteral("english_font"), def.EnglishFont);
    s.SubmitWords = ini.ReadBool(kParams, QStringLiteral("tsubmit_words"), false);
    s.AutoSuggest = ini.ReadBool(kParams, QStringLiteral("auto_suggest"), true);
    s.FontMapName = ini.ReadString(kParams, QStringLiteral("font_map"), def.FontMapName);
  } else {
    s.Left = defLeft;
    s.Top = defTop;
    s.Width = 450;
    s.Height = 350;
    s.SubmitWords = true;
    s.AutoSuggest = true;
    s.FontMapName = DefaultMapName();
    s.FontSize = QStringLiteral("18");
    s.EnglishFont = ini.ReadString(kParams, QStringLiteral("english_font"), def.EnglishFont);
  }
  return s;
}

bool TTypingSettingsFile::Write(const TTypingSettings& s, QString* error) const {
  return TIniFile::Update(FileName(), [&s](TIniFile& ini) {
    ini.WriteBool(kParams, QStringLiteral("restore_last_state"), s.RestoreLastState);
    ini.WriteInteger(kBounds, QStringLiteral("tleft"), s.Left);
    ini.WriteInteger(kBounds, QStringLiteral("ttop"), s.Top);
    ini.WriteInteger(kBounds, QStringLiteral("twidth"), s.Width);
    ini.WriteInteger(kBounds, QStringLiteral("theight"), s.Height);
    ini.WriteBool(kParams, QStringLiteral("tsubmit_words"), s.SubmitWords);
    ini.WriteString(kParams, QStringLiteral("font_map"), s.FontMapName);
    ini.WriteString(kParams, QStringLiteral("font_size"), s.FontSize);
    ini.WriteBool(kParams, QStringLiteral("auto_suggest"), s.AutoSuggest);
    ini.WriteString(kParams, QStringLiteral("english_font"), s.EnglishFont);
  }, error);
}

int FontSizePoints(const QString& size) {
  bool ok = false;
  const qlonglong points = size.trimmed().toLongLong(&ok);
  // Qt cannot draw a font of no size; such a size counts as no number. A
  // size past what the size handling can draw is the largest it can.
  if (!ok || points <= 0) return 18;
  return static_cast<int>(std::min<qlonglong>(points, kMaxFontPoints));
}

QString StoredFontSize(const QString& size) {
  bool ok = false;
  const qlonglong points = size.trimmed().toLongLong(&ok);
  if (!ok) return size;
  return QString::number(std::clamp<qlonglong>(points, 1, kMaxFontPoints));
}

QList<QRect> WorkAreas() {
  QList<QRect> areas;
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary) areas << primary->availableGeometry();
  for (const QScreen* screen : QGuiApplication::screens())
    if (screen != primary) areas << screen->availableGeometry();
  return areas;
}

QRect KeptOnScreen(QRect bounds, const QList<QRect>& workAreas, QSize fallback) {
  if (workAreas.isEmpty()) return bounds;
  if (bounds.width() <= 0) bounds.setWidth(fallback.width());
  if (bounds.height() <= 0) bounds.setHeight(fallback.height());
  // The work area the window is mostly on; none: the first (primary) one.
  QRect area = workAreas.front();
  qint64 best = 0;
  for (const QRect& a : workAreas) {
    const QRect common = a.intersected(bounds);
    const qint64 size = qint64(common.width()) * common.height();
    if (size > best) {
      best = size;
      area = a;
    }
  }
  bounds.setWidth(std::min(bounds.width(), area.width()));
  bounds.setHeight(std::min(bounds.height(), area.height()));
  bounds.moveLeft(std::clamp(bounds.left(), area.left(), area.right() + 1 - bounds.width()));
  bounds.moveTop(std::clamp(bounds.top(), area.top(), area.bottom() + 1 - bounds.height()));
  return bounds;
}

void SetClientHeight(QWidget* pane, int height) {
  // The frame and the scroll bar are taken from the widget's settings, not
  // its geometry, which is not laid out before the pane is first shown.
  int chrome = 0;
  if (auto* frame = qobject_cast<QFrame*>(pane)) chrome = 2 * frame->frameWidth();
  if (auto* area = qobject_cast<QAbstractScrollArea*>(pane);
      area && area->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
    chrome += area->horizontalScrollBar()->sizeHint().height();
  pane->setFixedHeight(height + chrome);
}

int ApplyFontSize(QWidget* pane, const QString& size) {
  const int points = FontSizePoints(size);
  QFont font = pane->font();
  font.setPointSize(points);
  pane->setFont(font);
  SetClientHeight(pane, QFontMetrics(font).size(Qt::TextSingleLine, QStringLiteral("hg")).height() + 5);
  return points;
}
