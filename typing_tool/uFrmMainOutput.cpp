// Output of the display text into the target chosen on the toolbar.
#include "uFrmMain.h"

bool TfrmMain::SendToTarget(TOutputTarget, const QString&, bool) {
  // No target is connected yet: nothing is sent and the typing pane keeps
  // its text.
  return false;
}

void TfrmMain::DisconnectOfficeServers() {}
