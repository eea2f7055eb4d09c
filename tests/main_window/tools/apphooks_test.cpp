#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QWheelEvent>
#include <stdexcept>
#include <vector>

#include "AppHooks.h"
#include "dialogs.h"

namespace {

// A typing pane that records the keys and wheel events it is given.
class RecordingEdit : public QPlainTextEdit {
 public:
  std::vector<int> pressed, released;
  int wheels = 0;

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    pressed.push_back(e->key());
    QPlainTextEdit::keyPressEvent(e);
  }
  void keyReleaseEvent(QKeyEvent* e) override {
    released.push_back(e->key());
    QPlainTextEdit::keyReleaseEvent(e);
  }
  void wheelEvent(QWheelEvent* e) override {
    ++wheels;
    QPlainTextEdit::wheelEvent(e);
  }
};

void Wheel(QWidget* target, QPoint distance) {
  QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), distance, Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(target, &wheel);
}

class Thrower : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw std::runtime_error("Error Loading.");
    return QObject::event(e);
  }
};

}  // namespace

TEST(WheelHook, OneWheelStepIsOneArrowKeyPressAndNoRelease) {
  RecordingEdit edit;
  edit.setPlainText(QStringLiteral("one\ntwo\nthree\nfour"));
  edit.moveCursor(QTextCursor::End);
  TWheelHook hook;
  hook.Install();
  ASSERT_TRUE(hook.Installed());

  Wheel(edit.viewport(), {0, 120});  // away from the user
  EXPECT_EQ(edit.pressed, std::vector<int>{Qt::Key_Up});
  EXPECT_EQ(edit.textCursor().block().text(), QStringLiteral("three"));
  Wheel(edit.viewport(), {0, 360});  // one step, whatever the distance
  Wheel(&edit, {0, -120});           // towards the user
  Wheel(edit.viewport(), {0, 0});    // no distance counts as Down
  EXPECT_EQ(edit.pressed, (std::vector<int>{Qt::Key_Up, Qt::Key_Up, Qt::Key_Down, Qt::Key_Down}));
  EXPECT_EQ(edit.textCursor().block().text(), QStringLiteral("four"));
  EXPECT_TRUE(edit.released.empty());
  EXPECT_EQ(edit.wheels, 0);

  // A sideways wheel is left alone.
  Wheel(edit.viewport(), {120, 0});
  EXPECT_EQ(edit.pressed.size(), 4u);
  EXPECT_EQ(edit.wheels, 1);

  hook.Remove();
  EXPECT_FALSE(hook.Installed());
  Wheel(edit.viewport(), {0, 120});
  EXPECT_EQ(edit.pressed.size(), 4u);
  EXPECT_EQ(edit.wheels, 2);
}

TEST(Application, AnExceptionNoHandlerCaughtIsShownAndTheProgramGoesOn) {
  ASSERT_NE(qobject_cast<TVarunelApplication*>(QCoreApplication::instance()), nullptr);
  dialogs::Script script;
  Thrower thrower;
  QEvent user(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &user));
  ASSERT_EQ(script.asked.size(), 1u);
  EXPECT_EQ(script.asked[0].kind, QStringLiteral("error"));
  EXPECT_EQ(script.asked[0].text, QStringLiteral("Error Loading."));
  EXPECT_EQ(script.asked[0].caption, QStringLiteral("Tavimo 2.1"));
  EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &user));
  EXPECT_EQ(script.asked.size(), 2u);
}

