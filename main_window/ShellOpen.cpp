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

void Open(const QUrl& url) {
  if (Current())
    Current()(url);
  else
    QDesktopServices::openUrl(url);
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

void OpenUserGuide(const QString& appFolder) {
  Open(QUrl::fromLocalFile(QDir(appFolder).filePath(QStringLiteral("Varunel.htm"))));
}

}  // namespace shell
