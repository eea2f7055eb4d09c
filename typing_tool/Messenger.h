// Sending text into the messenger's chat window through its accessible
// controls: the input box, the Font button, the history and Send.
#pragma once

#include "accessibility.h"

#include <memory>
#include <stdexcept>
#include <string>

class QWidget;

namespace output {

class EMessengerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What the main window keeps between outputs: the chat window and the
// display face of the last output (0 and empty at first).
struct MessengerState {
  accessibility::HWND FLastChatWindow = 0;
  std::string FLastChatFont;  // 8-bit
};

// The chat window and its controls for one call; a control not found is null.
struct MessengerControls {
  accessibility::HWND chat = 0;
  std::shared_ptr<accessibility::IAccessible> input, font, history, send;
};

// Raises EMessengerError when there is no chat window, no content area or
// no accessible object; accessibility failures come through as they are.
MessengerControls FindMessengerControls();

std::string FontWarning(const std::string& face);
std::string Notice(const std::string& face);

// Puts `text` (8-bit) into the chat window's input box and presses Send
// when `isEnter`; in Sinhala typing a conversation first gets the notice
// (that call sends only the notice and returns false). `face` is the display
// pane's font face. Every failure is raised.
bool SendToMessenger(QWidget* parent, MessengerState& state, const std::string& text, bool isEnter,
                     bool englishMode, const std::string& face);

}  // namespace output
