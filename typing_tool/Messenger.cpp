#include "Messenger.h"
#include "QtCodepage.h"

#include "codepage.h"
#include "dialogs.h"
#include "sndkey32.h"

namespace output {

using namespace accessibility;

namespace {

IAccessible& Need(const std::shared_ptr<IAccessible>& control, const char* what) {
  if (!control) throw EMessengerError(std::string("The chat window has no ") + what + ".");
  return *control;
}

}  // namespace

MessengerControls FindMessengerControls() {
  MessengerControls found;
  found.chat = FindWindow(u"IMWindowClass");
  if (!found.chat) throw EMessengerError("No chat window.");
  HWND content = FindWindowEx(found.chat, 0, u"DirectUIHWND");
  if (!content) throw EMessengerError("The chat window has no content area.");
  auto root = AccessibleObjectFromWindow(content, OBJID_CLIENT);
  if (!root) throw EMessengerError("The chat window is not accessible.");

  const long count = root->get_accChildCount();
  std::vector<IAccessible::Child> children;
  if (AccessibleChildren(*root, 0, count, children) != HResult::S_OK) return found;
  for (auto& child : children) {
    auto object = child.object ? child.object : root->get_accChild(child.childId);
    auto control = QueryAccessible(object);
    if (!control) continue;
    const std::u16string name = control->get_accName(CHILDID_SELF);
    if (name == u"Input") {
      found.input = control;
    } else if (name == u"Font") {
      found.font = control;
    } else if (name == u"History") {
      found.history = control;
    } else if (name == u"Send button") {
      found.send = control;
      break;
    }
  }
  return found;
}

std::string FontWarning(const std::string& face) {
  return "Please change your chat font to \"" + face + "\".";
}

std::string Notice(const std::string& face) {
  return "You are about to receive text through Tavimo2.0. Please make sure you have font \"" + face +
         "\" installed in your computer.";
}

bool SendToMessenger(QWidget* parent, MessengerState& state, const std::string& text, bool isEnter,
                     bool englishMode, const std::string& face) {
  bool sendText = true;
  const MessengerControls c = FindMessengerControls();
  const std::u16string notice = codepage::Widen(Notice(face));

  if (!englishMode) {
    const std::u16string history = Need(c.history, "history").get_accValue(CHILDID_SELF);
    if (history.find(notice) == std::u16string::npos) {
      // The notice goes out alone; what the user had in the input box is
      // put back afterwards rather than lost.
      IAccessible& input = Need(c.input, "input box");
      const std::u16string draft = input.get_accValue(CHILDID_SELF);
      input.put_accValue(CHILDID_SELF, notice);
      Need(c.send, "Send button").accDoDefaultAction(CHILDID_SELF);
      if (!draft.empty()) input.put_accValue(CHILDID_SELF, draft);
      sendText = false;
    }
  }

  if (c.chat != state.FLastChatWindow || face != state.FLastChatFont) {
    dialogs::MessageBox(parent, codepage::WidenQ(FontWarning(face)),
                        QStringLiteral("Warning"), dialogs::Icon::Warning);
    Need(c.font, "Font button").accDoDefaultAction(CHILDID_SELF);
    ActivateTargetWindow(GetTopWindow(c.chat));
  }
  state.FLastChatWindow = c.chat;
  state.FLastChatFont = face;

  if (!sendText) return false;
  IAccessible& input = Need(c.input, "input box");
  input.put_accValue(CHILDID_SELF, input.get_accValue(CHILDID_SELF) + codepage::Widen(text));
  if (isEnter) Need(c.send, "Send button").accDoDefaultAction(CHILDID_SELF);
  return true;
}

}  // namespace output
