// The office suite of a Linux desktop, LibreOffice, behind the Office
// object model: Writer plays Word, Calc plays Excel and Impress plays
// PowerPoint. The office is reached over UNO through a named pipe; when
// nothing answers on the pipe, the office is started (or, when it runs
// already, told to listen) and waited for a bounded time. The office is
// never closed from here.
//
// The layer that talks UNO is a library loaded at run time, so that the
// programs start where LibreOffice is not installed; the office targets
// then fail with their messages, as they do when the library found is one
// of another build.
//
// Every call into the office is bounded in time: it runs on a thread of its
// own and the caller waits for it the call wait at most; a call not back by
// then fails (EOleError), and once the office answers again it makes no
// change it had not sent yet. The one change that types an Enter's text may
// already be on its way when the call is given up, and then lands once the
// office answers again: the typing step then runs to its end, as if it had
// not been given up, and the next Enter into the office first waits for it
// (the call wait at most; failing again while the office still stalls) and
// types only what of its text is not there yet. So a text reported as not
// sent is either never typed, or typed once and not again.
#pragma once

#include <chrono>
#include <string>

namespace automation::office {

struct Settings {
  // The pipe the office listens on (per user: the office names it after the user).
  std::string pipeName = "tavimo";
  // The command that starts the office, or makes a running one listen; the
  // pipe's --accept argument is added to it. No --invisible: an office
  // started that way opens nothing for the user's own later launches.
  std::string startCommand = "soffice --nodefault --nologo";
  // How long a started office is waited for. While the office started
  // here still runs and works (its processes use processor time), as on
  // its first start with a new profile on a busy machine, the wait goes on,
  // up to the start limit.
  std::chrono::milliseconds startWait{20000};
  // However long it works, a starting office is not waited for longer.
  std::chrono::milliseconds startLimit{120000};
  // How long one call into the office may take.
  std::chrono::milliseconds callWait{5000};
  // The office layer's library; empty: the one in the program's own folder.
  std::string layer;
};

// Makes the Word, Excel and PowerPoint servers reach the office, and the
// Word document server write through it when it can be reached (else the
// in-process document, which writes Rich Text, as before). Returns an empty
// text when the office layer is in use; otherwise why it is not (a build
// without the LibreOffice SDK, a layer or LibreOffice that cannot be
// loaded, or a layer of another build), and the servers are left as they
// were. ResetServers() undoes it.
std::string UseOffice(const Settings& settings = {});

}  // namespace automation::office
