#include "sndkey32.h"

#include "log.h"

bool ActivateTargetWindow(accessibility::HWND handle) {
  using namespace accessibility;
  try {
    const auto param = static_cast<std::intptr_t>(handle);
    SendMessage(handle, WM_SYSCOMMAND, SC_HOTKEY, param);
    SendMessage(handle, WM_SYSCOMMAND, SC_RESTORE, param);
    return SetForegroundWindow(handle);
  } catch (const std::exception& e) {
    qCWarning(lcOutput) << "the target window could not be brought to the front:" << e.what();
    return false;
  }
}
