#include "inifile.h"

#include <QFile>
#include <QSaveFile>

#include "QtCodepage.h"

namespace {

TIniText Load(const QString& fileName, bool& unreadable) {
  QFile file(fileName);
  unreadable = false;
  if (!file.exists()) return TIniText();
  if (!file.open(QIODevice::ReadOnly)) {
    unreadable = true;
    return TIniText();
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    unreadable = true;
    return TIniText();
  }
  return TIniText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

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
  QSaveFile file(fileName_);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const std::string bytes = text_.Bytes();
  if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}
