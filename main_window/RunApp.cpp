#include "RunApp.h"

#include <QCoreApplication>
#include <QDir>


TRunApp::TRunApp(QObject* owner) : QObject(owner) {}

TRunApp::~TRunApp() { FProcess.Terminate(); }

std::int64_t TRunApp::Run() {
  // The folder is handed to the new program alone, so this program's own
  // current folder does not change; it is put back all the same in case a
  // command run while waiting moved it.
  const QString previous = QDir::currentPath();
  std::int64_t result = 0;
  process::Process started = process::Process::Start(CommandLine.toStdString(),
                                                     ApplicationPath.toStdString(), CanInheritHandle);
  if (started.Valid()) {
    FProcess = std::move(started);
    result = FProcess.Id();
    if (WaitForResult) {
      FProcess.Wait([] { QCoreApplication::processEvents(); });
      if (TerminateAfterRun) FProcess.Terminate();
    }
  }
  if (QDir::currentPath() != previous) QDir::setCurrent(previous);
  return result;
}

void RunCharacterMap(TRunApp& runApp) {
  runApp.CommandLine = QString::fromLatin1(kCharacterMapCommand);
  runApp.ApplicationPath = QString::fromLatin1(kCharacterMapFolder);
  runApp.Run();
}
