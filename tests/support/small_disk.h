// A small, nearly full disk for the tests of file writers: a tmpfs of a few
// kilobytes mounted on a temporary folder while the object lives. Mounting
// needs root (CI runs as root); elsewhere Mounted() is false and the test
// skips.
#pragma once

#include <sys/mount.h>

#include <QDir>
#include <QTemporaryDir>

class TSmallDisk {
 public:
  explicit TSmallDisk(int kilobytes) {
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
    mounted_ = dir_.isValid() &&
               ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, options.constData()) == 0;
  }
  ~TSmallDisk() {
    if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
  }
  TSmallDisk(const TSmallDisk&) = delete;
  TSmallDisk& operator=(const TSmallDisk&) = delete;

  bool Mounted() const { return mounted_; }
  QString Path(const QString& name) const { return dir_.filePath(name); }
  // The names in the folder (to find temporary files left behind).
  QStringList Entries() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot); }

 private:
  QTemporaryDir dir_;
  bool mounted_ = false;
};
