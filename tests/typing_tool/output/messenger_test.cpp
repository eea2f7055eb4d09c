#include "Output.h"
#include "codepage.h"
#include "dialogs.h"
#include "sndkey32.h"
#include "test_targets.h"

#include <gtest/gtest.h>

using namespace accessibility;
using namespace output;

namespace {

const std::string kFace = "FM Abhaya";

class MessengerTest : public ::testing::Test {
 protected:
  void TearDown() override { WindowTree::Instance().Clear(); }
  bool Send(const std::u16string& text, bool isEnter = true, bool english = false,
            const std::string& face = kFace) {
    return Submit(nullptr, Target::Messenger, c, {text, u"", "14"}, isEnter, false, english, face);
  }
  QStringList Warnings() const {
    QStringList out;
    for (auto& a : script.asked)
      if (a.icon == dialogs::Icon::Warning) out << a.text;
    return out;
  }
  dialogs::Script script;
  Connections c;
};

TEST_F(MessengerTest, SinhalaSendsTheNoticeFirstThenTheText) {
  Chat chat;
  const std::u16string notice = codepage::Widen(Notice(kFace));
  chat.input->value = u"draft";
  EXPECT_FALSE(Send(u"abc"));
  EXPECT_EQ(chat.history->value, notice + u"\n");
  EXPECT_EQ(chat.input->value, u"draft");  // sent alone, the draft kept
  EXPECT_EQ(Warnings(), QStringList{"Please change your chat font to \"FM Abhaya\"."});
  EXPECT_EQ(chat.font->actions, 1);
  EXPECT_EQ(script.messages().size(), 1);  // no error

  EXPECT_TRUE(Send(u"abc"));
  EXPECT_EQ(chat.history->value, notice + u"\ndraftabc\n");
  EXPECT_EQ(chat.font->actions, 1);
  EXPECT_EQ(Warnings().size(), 1);
  EXPECT_EQ(c.messenger.FLastChatWindow, chat.window);
  EXPECT_EQ(c.messenger.FLastChatFont, kFace);
}

TEST_F(MessengerTest, EnglishHasNoNoticeButWarnsOnEveryFaceChange) {
  Chat chat;
  EXPECT_TRUE(Send(u"hi ", false, true, "Arial"));
  EXPECT_EQ(chat.send->actions, 0);
  EXPECT_TRUE(Send(u"there", true, true, "Arial"));
  EXPECT_EQ(chat.history->value, u"hi there\n");
  EXPECT_EQ(Warnings().size(), 1);
  EXPECT_TRUE(Send(u"x", true, true, "Tahoma"));
  EXPECT_EQ(Warnings().size(), 2);
  EXPECT_EQ(chat.font->actions, 2);
}

TEST_F(MessengerTest, TheFontWarningBringsTheChatsTopChildForward) {
  Chat chat;
  auto& tree = WindowTree::Instance();
  Send(u"x", true, true);
  ASSERT_EQ(tree.messages.size(), 2u);
  HWND top = GetTopWindow(chat.window);
  EXPECT_EQ(tree.messages[0].window, top);
  EXPECT_EQ(tree.messages[0].wParam, SC_HOTKEY);
  EXPECT_EQ(tree.messages[1].wParam, SC_RESTORE);
  EXPECT_EQ(GetForegroundWindow(), top);
  tree.RefuseForeground(top);
  EXPECT_FALSE(ActivateTargetWindow(top));
  EXPECT_FALSE(ActivateTargetWindow(0));
}

TEST_F(MessengerTest, OutputGoesToTheFirstChatWindowFound) {
  Chat first;
  Send(u"a", true, true);
  Chat second;  // opened later, so found first
  EXPECT_TRUE(Send(u"b", true, true));
  EXPECT_EQ(second.history->value, u"b\n");
  EXPECT_EQ(first.history->value, u"a\n");
  EXPECT_EQ(Warnings().size(), 2);
}

TEST_F(MessengerTest, SendListedBeforeInputFailsAndKeepsTheState) {
  Chat chat({u"History", u"Send button", u"Input", u"Font"});
  EXPECT_FALSE(Send(u"a", true, true));
  EXPECT_EQ(script.messages().last(), kMessengerFailure);
  EXPECT_EQ(c.messenger.FLastChatWindow, 0u);
  EXPECT_TRUE(chat.input->value.empty());
}

TEST_F(MessengerTest, EveryMissingPieceFailsWithTheMessengerMessage) {
  EXPECT_FALSE(Send(u"a"));  // no chat window at all
  Chat chat;
  chat.history->failing.push_back("get_accValue");
  EXPECT_FALSE(Send(u"a"));
  chat.history->failing.clear();
  chat.root->childrenResult = HResult::S_FALSE;
  EXPECT_FALSE(Send(u"a"));
  EXPECT_EQ(script.messages(), (QStringList{kMessengerFailure, kMessengerFailure, kMessengerFailure}));
  EXPECT_TRUE(chat.history->value.empty());
}

TEST_F(MessengerTest, NumberedChildrenAndTextOutsideTheCodePage) {
  auto& tree = WindowTree::Instance();
  HWND window = tree.Create(0, u"IMWindowClass");
  HWND content = tree.Create(window, u"DirectUIHWND");
  auto root = std::make_shared<Element>(u"content");
  tree.SetClientObject(content, root);
  auto input = std::make_shared<Element>(u"Input");
  root->AddNumberedChild(nullptr);
  root->AddChild(std::make_shared<IUnknown>());
  root->AddNumberedChild(input);
  root->AddChild(std::make_shared<Element>(u"Font"));
  root->AddChild(std::make_shared<Element>(u"Send button"));
  input->value = u"x";
  EXPECT_TRUE(Send(u"\u0d85\u00e9", false, true));
  EXPECT_EQ(input->value, u"x?\u00e9");
}

}  // namespace
