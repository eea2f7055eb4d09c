#include "ShellOpen.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>

#include "dialogs.h"

namespace shell {
namespace {
Opener& Current() {
  static Opener opener;
  return opener;
}
}  // namespace

bool Open(const QUrl& url, const std::function<void()>& failed) {
  if (Current()) {
    Current()(url);
    return true;
  }
  const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (opener.isEmpty() || !failed) return QDesktopServices::openUrl(url);
  // Started by hand, so that its failure (no program for the file, or one
  // that would not start) is heard of. The object lives until it ends.
  auto* process = new QProcess;
  process->setProgram(opener);
  process->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString()});
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(QProcess::nullDevice());
  // Its exit codes 3 (no program for the file) and 4 (the program failed)
  // count; a missing file (2) stays silent like any other opener's.
  QObject::connect(process, &QProcess::finished, process, [process, failed](int code, QProcess::ExitStatus status) {
    if (status == QProcess::NormalExit && (code == 3 || code == 4)) failed();
    process->deleteLater();
  });
  process->start();
  if (process->waitForStarted()) return true;
  delete process;
  return false;
}

Opener SetOpener(Opener opener) {
  Opener previous = std::move(Current());
  Current() = std::move(opener);
  return previous;
}

QUrl MailTo(const QString& address, const QString& subject) {
  QUrl url(QStringLiteral("mailto:") + address);
  url.setQuery(QStringLiteral("subject=") + subject);
  return url;
}

bool OpenUserGuide(const QString& appFolder, const std::function<void()>& failed) {
  return Open(QUrl::fromLocalFile(QDir(appFolder).filePath(QStringLiteral("Varunel.htm"))), failed);
}

void UserGuideCommand(QWidget* owner, const QString& appFolder) {
  const QString guide = QDir::toNativeSeparators(QDir(appFolder).filePath(QStringLiteral("Varunel.htm")));
  // The failure may be heard of after the window has gone.
  const auto cannotOpen = [owner = QPointer<QWidget>(owner), guide] {
    dialogs::MessageBox(owner, QStringLiteral("No program on this desktop could open the user guide:\n") + guide,
                        QApplication::applicationName(), dialogs::Icon::Information);
  };
  if (!OpenUserGuide(appFolder, cannotOpen)) cannotOpen();
}

}  // namespace shell
