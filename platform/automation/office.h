// The office suite of a Linux desktop, LibreOffice, behind the Office
// object model: Writer plays Word, Calc plays Excel and Impress plays
// PowerPoint. The office is reached over UNO through a named pipe; when
// nothing answers on the pipe, the office is started (or, when it runs
// already, told to listen) and waited for a bounded time. The office is
// never closed from here.
//
// Every call into the office is bounded in time: it runs on a thread of its
// own and the caller waits for it a bounded time; a call not back by then
// fails (EOleError) and is left behind with its bridge, so that a hung
// office never blocks the caller, and the next call links to the office
// anew. An office that has closed stays unreachable over that connection,
// as a closed application does.
#pragma once

#include <chrono>
#include <string>

namespace automation::office {

struct Settings {
  // The pipe the office listens on (per user: the office names it after the user).
  std::string pipeName = "tavimo";
  // The command that starts the office, or makes a running one listen; the
  // pipe's --accept argument is added to it.
  std::string startCommand = "soffice --invisible --nologo";
  // How long a started office is waited for.
  std::chrono::milliseconds startWait{20000};
  // How long one call into the office may take.
  std::chrono::milliseconds callWait{5000};
};

// Whether this build can reach the office at all (it was built with the
// LibreOffice SDK).
bool Built();

// Makes the Word, Excel and PowerPoint servers reach the office, and the
// Word document server write through it when it can be reached (else the
// in-process document, which writes Rich Text, as before). Does nothing in
// a build without the SDK. ResetServers() undoes it.
void UseOffice(const Settings& settings = {});

}  // namespace automation::office
