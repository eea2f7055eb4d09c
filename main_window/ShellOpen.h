// The shell's "open" of a document or a mail link. The default hands the
// target to the desktop; a test installs its own opener so nothing opens.
// The result is never looked at, so a missing file or no mail program gives
// no message.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

namespace shell {

using Opener = std::function<void(const QUrl&)>;

// Opens `url` with the current opener.
void Open(const QUrl& url);

// Replaces the opener; an empty one restores the desktop's. Returns the
// previous one.
Opener SetOpener(Opener opener);

// A mail message to `address` with the given subject.
QUrl MailTo(const QString& address, const QString& subject);

// The user guide "Varunel.htm" of the program folder.
void OpenUserGuide(const QString& appFolder);

}  // namespace shell
