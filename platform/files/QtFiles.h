// The whole-file helpers of files.h for the windows: paths as QString,
// failures as the system's text. Every file a window writes goes through
// ReplaceWholeQ, and every file it reads through ReadWholeQ.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>
#include <string_view>

#include "files.h"

namespace files {

inline std::filesystem::path PathQ(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// The system's text for a failure ("No space left on device").
inline QString ErrorTextQ(const std::error_code& ec) { return QString::fromStdString(ec.message()); }

// ReplaceWhole: false when the file could not be written, the old file then
// being whole; `error` gets the system's text.
inline bool ReplaceWholeQ(const QString& path, std::string_view bytes, QString* error = nullptr) {
  std::error_code ec;
  if (ReplaceWhole(PathQ(path), bytes, ec)) return true;
  if (error) *error = ErrorTextQ(ec);
  return false;
}
inline bool ReplaceWholeQ(const QString& path, const QByteArray& bytes, QString* error = nullptr) {
  return ReplaceWholeQ(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), error);
}

// ReadWhole: regular files of at most `limit` bytes only.
inline bool ReadWholeQ(const QString& path, std::uintmax_t limit, std::string& out, std::error_code& ec) {
  return ReadWhole(PathQ(path), limit, out, ec);
}

}  // namespace files
