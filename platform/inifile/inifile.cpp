#include "inifile.h"

#include <algorithm>
#include <chrono>

#include "QtCodepage.h"
#include "QtFiles.h"
#include "log.h"

namespace {

TIniText Load(const QString& fileName, bool& unreadable) {
  std::string bytes;
  std::error_code ec;
  unreadable = false;
  if (files::ReadWholeQ(fileName, TIniFile::kMaxFileSize, bytes, ec)) return TIniText(bytes);
  // A missing file (or a link to one) is no settings yet; anything else is a
  // file that is there but not read.
  unreadable = ec != std::errc::no_such_file_or_directory;
  if (unreadable) qCWarning(lcFiles) << "settings file" << fileName << "not read:" << files::ErrorTextQ(ec);
  return TIniText();
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

bool TIniFile::UpdateFile() {
  if (unreadable_) return false;
  QString why;
  if (files::ReplaceWholeQ(fileName_, text_.Bytes(), &why)) return true;
  qCWarning(lcFiles) << "settings file" << fileName_ << "not written:" << why;
  return false;
}

bool TIniFile::Update(const QString& fileName, const std::function<void(TIniFile&)>& change) {
  const files::Lock lock(files::PathQ(fileName), kLockWait);
  if (!lock.Held()) {
    qCWarning(lcFiles) << "settings file" << fileName << "not locked:" << files::ErrorTextQ(lock.Error());
    return false;
  }
  TIniFile ini(fileName);
  change(ini);
  return ini.UpdateFile();
}
