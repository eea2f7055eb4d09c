#include "EditorSettings.h"

#include <QDir>
#include <algorithm>

#include "TypingSettings.h"
#include "inifile.h"

namespace {
const QString kParams = QStringLiteral("params");
const QString kBounds = QStringLiteral("bounds");
}  // namespace

TEditorSettings::TEditorSettings() : FontMapName(DefaultMapName()) {}

TEditorSettingsFile::TEditorSettingsFile(QString appFolder) : appFolder_(std::move(appFolder)) {}

QString TEditorSettingsFile::FileName() const { return QDir(appFolder_).filePath(QStringLiteral("settings.ini")); }

TEditorSettings TEditorSettingsFile::Read() const {
  const TIniFile ini(FileName());
  TEditorSettings s;  // the defaults, for the keys that are missing
  s.RestoreLastState = ini.ReadBool(kParams, "restore_last_state", true);
  if (s.RestoreLastState) {
    // Every number within what the window can use, before any arithmetic.
    s.Width = ini.ReadInteger(kBounds, "width", s.Width, 0, kMaxWindowExtent);
    s.Height = ini.ReadInteger(kBounds, "height", s.Height, 0, kMaxWindowExtent);
    s.Top = ini.ReadInteger(kBounds, "top", s.Top, -kMaxWindowExtent, kMaxWindowExtent);
    s.Left = ini.ReadInteger(kBounds, "left", s.Left, -kMaxWindowExtent, kMaxWindowExtent);
    s.AutoSuggest = ini.ReadBool(kParams, "auto_suggest", s.AutoSuggest);
    s.SuggestPanelHeight = ini.ReadInteger(kParams, "suggest_panel_height", s.SuggestPanelHeight, 0, kMaxWindowExtent);
    s.EnglishPanelHeight = ini.ReadInteger(kParams, "english_panel_height", s.EnglishPanelHeight, 0, kMaxWindowExtent);
    s.WindowState = ini.ReadInteger(kParams, "window_state", s.WindowState);
    s.FontMapName = ini.ReadString(kParams, "font_map", s.FontMapName);
    s.FontSize = ini.ReadString(kParams, "font_size", s.FontSize);
  }
  s.AutoSave = ini.ReadBool(kParams, "auto_save", s.AutoSave);
  s.SaveInterval = ini.ReadInteger(kParams, "save_interval", s.SaveInterval, 0, kMostAutoSaveMinutes);
  return s;
}

bool TEditorSettingsFile::Write(const TEditorSettings& s, QString* error) const {
  return TIniFile::Update(FileName(), [&s](TIniFile& ini) {
    ini.WriteBool(kParams, "restore_last_state", s.RestoreLastState);
    ini.WriteBool(kParams, "auto_save", s.AutoSave);
    ini.WriteInteger(kParams, "save_interval", s.SaveInterval);
    ini.WriteInteger(kBounds, "left", s.Left);
    ini.WriteInteger(kBounds, "top", s.Top);
    ini.WriteInteger(kBounds, "width", s.Width);
    ini.WriteInteger(kBounds, "height", s.Height);
    ini.WriteBool(kParams, "auto_suggest", s.AutoSuggest);
    ini.WriteInteger(kParams, "suggest_panel_height", s.SuggestPanelHeight);
    ini.WriteInteger(kParams, "english_panel_height", s.EnglishPanelHeight);
    ini.WriteString(kParams, "font_map", s.FontMapName);
    ini.WriteString(kParams, "font_size", s.FontSize);
    ini.WriteInteger(kParams, "window_state", s.WindowState);
  }, error);
}

int AutoSaveMilliseconds(int minutes) {
  if (minutes <= 0) return 0;
  return std::min(minutes, kMostAutoSaveMinutes) * kAutoSaveMinute;
}
