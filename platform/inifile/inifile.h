// "settings.ini" as a Windows INI file, with Qt types at the boundary.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "initext.h"

// Sections and keys are matched without regard to case. Comments, blank
// lines, the order of everything and lines that are neither a section header
// nor a key are kept byte for byte; only the lines of keys written change,
// and new keys go to the end of their section. Values are the file's own
// 8-bit text (Windows-1252), not UTF-8.
class TIniFile {
 public:
  // A settings file is a few hundred bytes; a larger one is not read.
  static constexpr std::uintmax_t kMaxFileSize = 1u << 20;

  // Reads the file; a missing or unreadable file reads as empty. Only a
  // regular file of at most kMaxFileSize bytes is read (never a FIFO or a
  // device, which could block or never end).
  explicit TIniFile(QString fileName);

  // The update two programs may run at the same moment: under a lock beside
  // the file, reads it afresh, lets `change` write its keys and writes the
  // whole file, so that no program's keys are lost to the other's write.
  // False as UpdateFile, or when the lock could not be had.
  static bool Update(const QString& fileName, const std::function<void(TIniFile&)>& change,
                     QString* error = nullptr);

  QString FileName() const;
  bool SectionExists(const QString& section) const;
  bool ValueExists(const QString& section, const QString& key) const;
  QString ReadString(const QString& section, const QString& key, const QString& def) const;
  // A value that is no whole number gives `def`.
  int ReadInteger(const QString& section, const QString& key, int def) const;
  // The same brought within `lo` to `hi`: the nearer bound for a number
  // outside them.
  int ReadInteger(const QString& section, const QString& key, int def, int lo, int hi) const;
  // Any whole number but 0 is true.
  bool ReadBool(const QString& section, const QString& key, bool def) const;
  // Line breaks in a value become spaces: a value is one line.
  void WriteString(const QString& section, const QString& key, const QString& value);
  void WriteInteger(const QString& section, const QString& key, int value);
  void WriteBool(const QString& section, const QString& key, bool value);  // 1 / 0
  // Writes the whole file: a complete new file replaces the old one, every
  // step checked. False when it could not be written, or when the file
  // exists but could not be read (writing it would lose what it holds); the
  // old file is then untouched, and `error` gets the message for the user:
  // the file's name and the system's reason ("No space left on device").
  bool UpdateFile(QString* error = nullptr);

 private:
  QString fileName_;
  QString unreadable_;  // why a file that is there was not read
  TIniText text_;
};
