#include "sndkey32.h"

bool ActivateTargetWindow(accessibility::HWND handle) {
  using namespace accessibility;
  try {
    const auto param = static_cast<std::intptr_t>(handle);
    SendMessage(handle, WM_SYSCOMMAND, SC_HOTKEY, param);
    SendMessage(handle, WM_SYSCOMMAND, SC_RESTORE, param);
    return SetForegroundWindow(handle);
  } catch (...) {
    return false;
  }
}
