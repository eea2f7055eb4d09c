// The office suite of a Linux desktop, LibreOffice, behind the Office
// object model: Writer plays Word, Calc plays Excel and Impress plays
// PowerPoint. The office is reached over UNO through a named pipe; when
// nothing answers on the pipe, the office is started (or, when it runs
// already, told to listen) and waited for a bounded time. The office is
// never closed from here.
//
// Every call into the office is bounded in time: a watchdog disposes the
// connection when a call has not returned by then, which makes the pending
// call fail (EOleError) instead of blocking the caller; the connection is
// then dead, as one to a closed application is.
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
