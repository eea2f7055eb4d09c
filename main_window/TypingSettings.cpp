#include "TypingSettings.h"

#include <QAbstractScrollArea>
#include <QScrollBar>
#include <QDir>
#include <QFontMetrics>
#include <QSettings>
#include <QStringList>
#include <QVariant>
#include <QWidget>

namespace {

const QString kParams = QStringLiteral("params/");
const QString kBounds = QStringLiteral("bounds/");

// An integer key: a missing value or one that is no integer gives `def`.
int ReadInt(const QSettings& ini, const QString& key, int def) {
  bool ok = false;
  const int v = ini.value(key).toString().trimmed().toInt(&ok);
  return ok ? v : def;
}

// A Boolean key: any integer but 0 is true.
bool ReadBool(const QSettings& ini, const QString& key, bool def) {
  return ReadInt(ini, key, def ? 1 : 0) != 0;
}

// A string key. The INI reader splits an unquoted value with commas into a
// list; such a value is put back together.
QString ReadString(const QSettings& ini, const QString& key, const QString& def) {
  const QVariant v = ini.value(key);
  if (!v.isValid()) return def;
  if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QStringLiteral(", "));
  return v.toString();
}

}  // namespace

QString DefaultMapName() { return QStringLiteral("Sinhala"); }

TTypingSettingsFile::TTypingSettingsFile(QString appFolder) : appFolder_(std::move(appFolder)) {}

QString TTypingSettingsFile::FileName() const {
  return QDir(appFolder_).filePath(QStringLiteral("settings.ini"));
}

TTypingSettings TTypingSettingsFile::Read(QSize screen) const {
  const QSettings ini(FileName(), QSettings::IniFormat);
  TTypingSettings s;
  const TTypingSettings def;
  // The default window sits in the bottom-right corner of the screen.
  const int defLeft = screen.width() - 450;
  const int defTop = screen.height() - 375;

  s.RestoreLastState = ReadBool(ini, kParams + "restore_last_state", true);
  if (s.RestoreLastState) {
    s.Width = ReadInt(ini, kBounds + "twidth", 450);
    s.Height = ReadInt(ini, kBounds + "theight", 350);
    s.Top = ReadInt(ini, kBounds + "ttop", defTop);
    s.Left = ReadInt(ini, kBounds + "tleft", defLeft);
    s.FontSize = ReadString(ini, kParams + "font_size", def.FontSize);
    s.EnglishFont = ReadString(ini, kParams + "english_font", def.EnglishFont);
    s.SubmitWords = ReadBool(ini, kParams + "tsubmit_words", false);
    s.AutoSuggest = ReadBool(ini, kParams + "auto_suggest", true);
    s.FontMapName = ReadString(ini, kParams + "font_map", def.FontMapName);
  } else {
    s.Left = defLeft;
    s.Top = defTop;
    s.Width = 450;
    s.Height = 350;
    s.SubmitWords = true;
    s.AutoSuggest = true;
    s.FontMapName = DefaultMapName();
    s.FontSize = QStringLiteral("18");
    s.EnglishFont = ReadString(ini, kParams + "english_font", def.EnglishFont);
  }
  return s;
}

bool TTypingSettingsFile::Write(const TTypingSettings& s) const {
  QSettings ini(FileName(), QSettings::IniFormat);
  ini.setValue(kParams + "restore_last_state", s.RestoreLastState ? 1 : 0);
  ini.setValue(kBounds + "tleft", s.Left);
  ini.setValue(kBounds + "ttop", s.Top);
  ini.setValue(kBounds + "twidth", s.Width);
  ini.setValue(kBounds + "theight", s.Height);
  ini.setValue(kParams + "tsubmit_words", s.SubmitWords ? 1 : 0);
  ini.setValue(kParams + "font_map", s.FontMapName);
  ini.setValue(kParams + "font_size", s.FontSize);
  ini.setValue(kParams + "auto_suggest", s.AutoSuggest ? 1 : 0);
  ini.setValue(kParams + "english_font", s.EnglishFont);
  ini.sync();
  // A format error belongs to reading the old file; the new one is written.
  return ini.status() != QSettings::AccessError;
}

int FontSizePoints(const QString& size) {
  bool ok = false;
  const int points = size.trimmed().toInt(&ok);
  // Qt cannot draw a font of no size; such a size counts as no number.
  return ok && points > 0 ? points : 18;
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
