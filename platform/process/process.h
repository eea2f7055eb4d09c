// Starting, waiting for and terminating other programs on POSIX process
// calls. A command line is split into arguments the way a shell splits a
// simple command (blanks, single and double quotes, backslash escapes); no
// shell runs, so there is no globbing, no variables and no redirection.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace process {

// The arguments of a command line: blanks separate them; text in single
// quotes is taken as it stands; in double quotes a backslash escapes only
// $ ` " \ and a line break; elsewhere a backslash escapes the next character.
// An unfinished quote runs to the end of the line.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// A started child process. Destroying the object leaves the process running
// (it is reaped the moment it ends, so it never lingers as a zombie);
// Terminate() ends it.
class Process {
 public:
  Process() = default;
  ~Process();
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // Starts `commandLine` (UTF-8) with this program's environment in its own
  // process group. `folder` becomes the new program's current folder when it
  // is an existing folder; otherwise the program inherits this program's
  // folder. A program named without a slash is looked for in `folder` first,
  // then along PATH; a name with a slash is taken relative to that folder. With `inheritHandles` false the new program
  // gets only standard input, output and error. This program's own current
  // folder is never changed. Returns an invalid object when nothing started.
  static Process Start(std::string_view commandLine, const std::string& folder, bool inheritHandles);

  bool Valid() const { return pid_ > 0; }
  // The process id, 0 when invalid.
  std::int64_t Id() const { return pid_ > 0 ? pid_ : 0; }

  // False once the process has ended (it is reaped on the spot).
  bool Running();

  // Ends the process and the processes of its group at once (a kill signal)
  // and reaps it; a process that has ended already is left alone.
  void Terminate();

  // Returns once the process has ended, calling `pump` over and over while it
  // runs (pausing a few milliseconds between calls).
  void Wait(const std::function<void()>& pump);

 private:
  explicit Process(int pid) : pid_(pid) {}
  void Release();

  int pid_ = 0;
  bool ended_ = false;
};

}  // namespace process
