#include "TypingSettings.h"

#include <QAbstractScrollArea>
#include <QScrollBar>
#include <QDir>
#include <QFontMetrics>
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

TTypingSettings TTypingSettingsFile::Read(QSize screen) const {
  const TIniFile ini(FileName());
  TTypingSettings s;
  const TTypingSettings def;
  // The default window sits in the bottom-right corner of the screen.
  const int defLeft = screen.width() - 450;
  const int defTop = screen.height() - 375;

  s.RestoreLastState = ini.ReadBool(kParams, QStringLiteral("restore_last_state"), true);
  if (s.RestoreLastState) {
    s.Width = ini.ReadInteger(kBounds, QStringLiteral("twidth"), 450);
    s.Height = ini.ReadInteger(kBounds, QStringLiteral("theight"), 350);
    s.Top = ini.ReadInteger(kBounds, QStringLiteral("ttop"), defTop);
    s.Left = ini.ReadInteger(kBounds, QStringLiteral("tleft"), defLeft);
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

bool TTypingSettingsFile::Write(const TTypingSettings& s) const {
  TIniFile ini(FileName());
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
  return ini.UpdateFile();
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
