// The shell's "open" of a document or a mail link. The default hands the
// target to the desktop; a test installs its own opener so nothing opens.
// A missing file or no mail program gives no message; only whether anything
// could take the target at all is told.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace shell {

using Opener = std::function<void(const QUrl&)>;

// Opens `url` with the current opener. False when the desktop has no program
// to hand it to (a test's opener always takes it). The desktop's opener
// ("xdg-open") may still find no program, or one that fails, once started;
// `failed`, when given, then runs (later, from the event loop). A missing
// file gives no call.
bool Open(const QUrl& url, const std::function<void()>& failed = {});

// Replaces the opener; an empty one restores the desktop's. Returns the
// previous one.
Opener SetOpener(Opener opener);

// A mail message to `address` with the given subject.
QUrl MailTo(const QString& address, const QString& subject);

// The user guide "Varunel.htm" of the program folder; false and `failed`
// as Open.
bool OpenUserGuide(const QString& appFolder, const std::function<void()>& failed = {});

// The "User Guide" command of both main windows: opens the guide of the
// program folder; where no program of the desktop can open it, a message
// owned by `owner` says so and names the file. A missing guide gives no
// message.
void UserGuideCommand(QWidget* owner, const QString& appFolder);

}  // namespace shell
