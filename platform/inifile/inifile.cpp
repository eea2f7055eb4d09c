#include "inifile.h"

#include <algorithm>
#include <chrono>

#include "QtCodepage.h"
#include "QtFiles.h"
#include "log.h"

namespace {

TIniText Load(const QString& fileName, QString& unreadable) {
  std::string bytes;
  std::error_code ec;
  unreadable.clear();
  if (files::ReadWholeQ(fileName, TIniFile::kMaxFileSize, bytes, ec)) return TIniText(bytes);
  // A missing file (or a link to one) is no settings yet; anything else is a
  // file that is there but not read.
  if (ec != std::errc::no_such_file_or_directory) {
    unreadable = files::ErrorTextQ(ec);
    qCWarning(lcFiles) << "settings file" << fileName << "not read:" << unreadable;
  }
  return TIniText();
}

bool Failed(const QString& fileName, const QString& why, QString* error) {
  qCWarning(lcFiles) << "settings file" << fileName << "not written:" << why;
  if (error) *error = QStringLiteral("Cannot write file \"%1\". %2").arg(fileName, why);
  return false;
}

// Far longer than any update takes; should another program hang while it
// holds the lock, this program's write fails after it instead of hanging too.
constexpr std::chrono::seconds kLockWait{5};

}  // namespace

TIniFile::TIniFile(QString fileName) : fileName_(std::move(fileName)), text_(Load(fileName_, unreadable_)) {}

QString TIniFile::FileName() const { return fileName_; }

bool TIniFile::SectionExists(const QString& section) const { return text_.SectionExists(codepage::NarrowQ(section)); }

bool TIniFile::ValueExists(const QString& section, const QString& key) const {
  return text_.Value(codepage::NarrowQ(section), codepage::NarrowQ(key)).has_value();
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
  const auto v = text_.Value(codepage::NarrowQ(section), codepage::NarrowQ(key));
  return v ? codepage::WidenQ(*v) : def;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const {
  bool ok = false;
  const int v = ReadString(section, key, QString()).trimmed().toInt(&ok);
  return ok ? v : def;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def, int lo, int hi) const {
  return std::clamp(ReadInteger(section, key, def), lo, hi);
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
  text_.SetValue(codepage::NarrowQ(section), codepage::NarrowQ(key), codepage::NarrowQ(value));
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value) {
  WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value) {
  WriteInteger(section, key, value ? 1 : 0);
}

bool TIniFile::UpdateFile(QString* error) {
  // Written over, what the file holds would be lost unread.
  if (!unreadable_.isEmpty()) return Failed(fileName_, unreadable_, error);
  QString why;
  if (files::ReplaceWholeQ(fileName_, text_.Bytes(), &why)) return true;
  return Failed(fileName_, why, error);
}

bool TIniFile::Update(const QString& fileName, const std::function<void(TIniFile&)>& change, QString* error) {
  const files::Lock lock(files::PathQ(fileName), kLockWait);
  if (!lock.Held()) {
    return Failed(fileName,
                  lock.Busy() ? QStringLiteral("Another program keeps it locked") : files::ErrorTextQ(lock.Error()),
                  error);
  }
  TIniFile ini(fileName);
  change(ini);
  return ini.UpdateFile(error);
}
