#include "EditorSettings.h"

#include <QDir>
#include <algorithm>
#include <limits>

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
    s.Width = ini.ReadInteger(kBounds, "width", s.Width);
    s.Height = ini.ReadInteger(kBounds, "height", s.Height);
    s.Top = ini.ReadInteger(kBounds, "top", s.Top);
    s.Left = ini.ReadInteger(kBounds, "left", s.Left);
    s.AutoSuggest = ini.ReadBool(kParams, "auto_suggest", s.AutoSuggest);
    s.SuggestPanelHeight = ini.ReadInteger(kParams, "suggest_panel_height", s.SuggestPanelHeight);
    s.EnglishPanelHeight = ini.ReadInteger(kParams, "english_panel_height", s.EnglishPanelHeight);
    s.WindowState = ini.ReadInteger(kParams, "window_state", s.WindowState);
    s.FontMapName = ini.ReadString(kParams, "font_map", s.FontMapName);
    s.FontSize = ini.ReadString(kParams, "font_size", s.FontSize);
  }
  s.AutoSave = ini.ReadBool(kParams, "auto_save", s.AutoSave);
  s.SaveInterval = ini.ReadInteger(kParams, "save_interval", s.SaveInterval);
  return s;
}

bool TEditorSettingsFile::Write(const TEditorSettings& s) const {
  TIniFile ini(FileName());
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
  return ini.UpdateFile();
}

int AutoSaveMilliseconds(int minutes) {
  constexpr int kMinute = 60000;
  constexpr int kMostMinutes = std::numeric_limits<int>::max() / kMinute;
  if (minutes <= 0) return 0;
  return std::min(minutes, kMostMinutes) * kMinute;
}
