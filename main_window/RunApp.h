// TRunApp: a small non-visual component that starts another program from a
// command line in a chosen folder, optionally waits for it, and terminates
// the program it started last when it is destroyed.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

#include "process.h"

// The character map program of this platform, and the folder made current
// while it starts.
inline constexpr const char* kCharacterMapCommand = "gucharmap";
inline constexpr const char* kCharacterMapFolder = "/usr/bin/";

class TRunApp : public QObject {
  Q_OBJECT

 public:
  explicit TRunApp(QObject* owner = nullptr);
  // Terminates the process started last, when there is one still running.
  ~TRunApp() override;

  QString ApplicationPath;         // folder made current while starting; searched first
  bool ShowConsole = false;        // the started program decides its own window here
  QString CommandLine;             // command line of the program
  bool WaitForResult = false;      // Run returns only after the program has ended
  bool CanInheritHandle = false;   // the program inherits this program's open files
  bool TerminateAfterRun = false;  // after waiting, terminate (with WaitForResult only)

  // Starts CommandLine at normal priority with ApplicationPath as its folder;
  // a program named without a folder is looked for there first, then along
  // PATH.
  // Returns the process id, or 0 when nothing started; a failed start keeps
  // the process started before. Never throws, never reports. The current
  // folder is the same afterwards as before.
  std::int64_t Run();

  // The process started last (0 when none).
  std::int64_t ProcessHandle() const { return FProcess.Id(); }

 private:
  process::Process FProcess;
};

// Starts the platform's character map program with `runApp` (the main
// windows' and the font-map editor's character-map command). A missing
// program does nothing.
void RunCharacterMap(TRunApp& runApp);
