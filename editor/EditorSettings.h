// The editor's keys in "settings.ini" of the program folder, read into and
// written from a plain struct, so the window only copies fields to and from
// its controls. The file is shared with the typing tool: its keys, comments
// and unknown lines stay as they are.
#pragma once

#include <QString>
#include <limits>

struct TEditorSettings {
  bool RestoreLastState = true;  // "restore_last_state"
  int Left = 50;                 // "left"
  int Top = 50;                  // "top"
  int Width = 750;               // "width"
  int Height = 550;              // "height"
  bool AutoSuggest = true;       // "auto_suggest"
  int SuggestPanelHeight = 100;  // "suggest_panel_height"
  int EnglishPanelHeight = 100;  // "english_panel_height"
  int WindowState = 0;           // "window_state": 0 normal, 1 minimised, 2 maximised
  QString FontMapName;           // "font_map"; the default map when not read
  QString FontSize = QStringLiteral("16");  // "font_size", points as text
  bool AutoSave = true;          // "auto_save"
  int SaveInterval = 5;          // "save_interval", minutes

  TEditorSettings();
};

class TEditorSettingsFile {
 public:
  // `appFolder` is the program folder (with or without a trailing separator).
  explicit TEditorSettingsFile(QString appFolder);

  QString FileName() const;

  // When "restore_last_state" is true every key is read, a missing one or
  // one that is no integer giving its default; when it is false the window
  // keys take their defaults. "auto_save" and "save_interval" are read in
  // both cases. A missing or unreadable file reads as all defaults. Bounds
  // and heights come within kMaxWindowExtent (TypingSettings.h), the
  // interval within 0 to kMostAutoSaveMinutes.
  TEditorSettings Read() const;

  // Writes every key of the editor, other keys of the file untouched, under
  // the file's lock (TIniFile::Update). False when the file could not be
  // written (the old one then stays); `error` then says why, for the user.
  bool Write(const TEditorSettings& s, QString* error = nullptr) const;

 private:
  QString appFolder_;
};

// The auto-save timer's interval in milliseconds for `minutes`: 0 (no
// automatic writes) for 0 or less, and never beyond what the timer holds.
inline constexpr int kAutoSaveMinute = 60000;
inline constexpr int kMostAutoSaveMinutes = std::numeric_limits<int>::max() / kAutoSaveMinute;
int AutoSaveMilliseconds(int minutes);
