#include "ShellOpen.h"

#include <QDesktopServices>
#include <QDir>

namespace shell {
namespace {
Opener& Current() {
  static Opener opener;
  return opener;
}
}  // namespace

bool Open(const QUrl& url) {
  if (!Current()) return QDesktopServices::openUrl(url);
  Current()(url);
  return true;
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

bool OpenUserGuide(const QString& appFolder) {
  return Open(QUrl::fromLocalFile(QDir(appFolder).filePath(QStringLiteral("Varunel.htm"))));
}

}  // namespace shell
