// A window test's surroundings: a temporary program folder with a registry of
// its own, a dialog script and a record of the addresses handed to the
// desktop, for as long as the object lives.
#pragma once

#include <QList>
#include <QUrl>

#include "ShellOpen.h"
#include "dialogs.h"
#include "registry.h"
#include "window_fixture.h"

struct TProgramSession {
  TProgramFolder folder;
  dialogs::Script script;
  QList<QUrl> opened;

  TProgramSession() {
    registry::SetHiveFile((folder.Folder() + "registry.ini").toStdString());
    shell::SetOpener([this](const QUrl& url) { opened << url; });
  }
  ~TProgramSession() {
    shell::SetOpener({});
    registry::SetHiveFile({});
  }
  TProgramSession(const TProgramSession&) = delete;
  TProgramSession& operator=(const TProgramSession&) = delete;
};
