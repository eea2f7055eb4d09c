// Bringing another program's window to the front.
#pragma once

#include "accessibility.h"

// Restores the window and makes it the foreground window. True when it
// became the foreground window; false when that failed. Never raises.
bool ActivateTargetWindow(accessibility::HWND handle);
