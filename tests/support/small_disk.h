// A small, nearly full disk for the tests of file writers: a tmpfs of a few
// kilobytes mounted on a temporary folder while the object lives. Mounting
// needs root (CI runs as root); elsewhere Mounted() is false and the test
// skips. Fill() takes the rest of it, so that even a write of one byte
// fails.
#pragma once

#include <sys/mount.h>

#include <QDir>
#include <QFile>
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
  // Fills the disk up with a file in a folder of its own (not among
  // Entries()); true when no byte more fits.
  bool Fill() {
    QDir(dir_.path()).mkdir(QStringLiteral("filler"));
    QFile filler(dir_.filePath(QStringLiteral("filler/filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
    while (filler.write("x", 1) == 1) {
    }
    return filler.error() != QFileDevice::NoError;
  }
  QString Path(const QString& name) const { return dir_.filePath(name); }
  // The names in the folder (to find temporary files left behind).
  QStringList Entries() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot); }

 private:
  QTemporaryDir dir_;
  bool mounted_ = false;
};
