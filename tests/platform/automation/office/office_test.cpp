// The Excel and PowerPoint targets, the failures and stalls, the start of
// the office and the Word document export against LibreOffice itself (the
// Word target is typed into through the window, office_window_test.cpp),
// and the check of the office layer's library. A headless office with a
// profile of its own is started once for all tests and stopped at the end;
// without an office to start, every test that needs one is skipped.
#include "Output.h"
#include "dialogs.h"
#include "inprocess.h"
#include "test_office.h"

#include <com/sun/star/accessibility/AccessibleRole.hpp>
#include <com/sun/star/accessibility/XAccessible.hpp>
#include <com/sun/star/accessibility/XAccessibleContext.hpp>
#include <com/sun/star/accessibility/XAccessibleText.hpp>
#include <com/sun/star/awt/Key.hpp>
#include <com/sun/star/awt/KeyEvent.hpp>
#include <com/sun/star/awt/KeyModifier.hpp>
#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/XToolkitRobot.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/drawing/XDrawPage.hpp>
#include <com/sun/star/drawing/XDrawPagesSupplier.hpp>
#include <com/sun/star/frame/DispatchHelper.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/sheet/XCellAddressable.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>
#include <osl/file.hxx>

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <vector>

namespace {

using namespace automation;
using namespace automation::office;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;
using rtl::OUString;

const std::u16string kSinhala = u"\u0d85\u0db8\u0dca\u0db8\u0dcf";  // as the map converts "ammaa"
constexpr char16_t kFace[] = u"Noto Sans Sinhala";

TestOffice* gOffice = nullptr;

int Times(const std::u16string& text, const std::u16string& part) {
  int times = 0;
  for (size_t at = text.find(part); at != std::u16string::npos; at = text.find(part, at + 1)) ++times;
  return times;
}

class OfficeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (TestOffice::Installed()) {
      gOffice = new TestOffice;
      if (!gOffice->failure.empty()) ADD_FAILURE() << gOffice->failure;
    }
  }
  static void TearDownTestSuite() {
    delete gOffice;
    gOffice = nullptr;
  }
  void SetUp() override {
    if (!gOffice || !gOffice->connection) GTEST_SKIP() << "no office to test against";
    ResetServers();
    ASSERT_EQ(UseOffice(gOffice->settings), "");
  }
  void TearDown() override {
    for (auto& d : documents) Call([&] { Reference<css::util::XCloseable>(d, UNO_QUERY_THROW)->close(true); });
    ResetServers();
  }

  template <class F>
  static auto Call(F&& f) -> decltype(f()) {
    return gOffice->Call(std::forward<F>(f));
  }

  // A new document of the factory's kind (hidden, or with a view as the
  // user's), closed after the test.
  Reference<css::uno::XInterface> Open(const char* factory, bool shown = false) {
    return Call([&] {
      auto d = gOffice->Load(OUString::createFromAscii(factory), shown);
      documents.push_back(d);
      return d;
    });
  }

  // The body of a new Writer document (hidden), closed after the test.
  Reference<css::text::XText> NewWriterBody() {
    auto document = Open("private:factory/swriter");
    return Call([&] { return Reference<css::text::XTextDocument>(document, UNO_QUERY_THROW)->getText(); });
  }

  bool Send(output::Target target, std::u16string text, bool paneEmpty = false) {
    return output::Submit(nullptr, target, connections, {std::move(text), kFace, "14"}, true, paneEmpty, false, "");
  }

  // Servers whose calls are given up after `wait`.
  static void Impatient(std::chrono::milliseconds wait) {
    Settings impatient = gOffice->settings;
    impatient.callWait = wait;
    ResetServers();
    ASSERT_EQ(UseOffice(impatient), "");
  }

  // An Enter during which the office stalls just as the typing step sends
  // its text: the Enter is given up, and the text arrives once the office
  // answers again.
  bool SendStalledOnItsWay(output::Target target, std::u16string text) {
    Impatient(std::chrono::milliseconds(1000));
    Layer().setSendingHook([] {
      if (!gOffice->Stop()) ADD_FAILURE() << "the office did not stop";
    });
    const bool sent = Send(target, std::move(text));
    Layer().setSendingHook(nullptr);
    gOffice->Resume();
    ResetServers();
    EXPECT_EQ(UseOffice(gOffice->settings), "");
    return sent;
  }

  dialogs::Script script;
  output::Connections connections;
  std::vector<Reference<css::uno::XInterface>> documents;
};

TEST_F(OfficeTest, CalcActiveCellTakesTheTextAndEnterOnAnEmptyPaneMovesOn) {
  auto document = Open("private:factory/scalc");
  Reference<css::sheet::XSpreadsheetView> view;
  Reference<css::sheet::XSpreadsheet> sheet;
  Call([&] {
    view.set(Reference<css::frame::XModel>(document, UNO_QUERY_THROW)->getCurrentController(), UNO_QUERY_THROW);
    sheet = view->getActiveSheet();
    sheet->getCellByPosition(1, 1)->setFormula("ab");
    sheet->getCellByPosition(1, 2)->setValue(5);
    Reference<css::view::XSelectionSupplier>(view, UNO_QUERY_THROW)->select(css::uno::Any(sheet->getCellByPosition(1, 1)));
  });
  auto active = [&] {
    return Call([&] {
      Reference<css::sheet::XCellAddressable> cell(
          Reference<css::view::XSelectionSupplier>(view, UNO_QUERY_THROW)->getSelection(), UNO_QUERY_THROW);
      return std::pair(cell->getCellAddress().Column, cell->getCellAddress().Row);
    });
  };
  ASSERT_TRUE(Send(output::Target::Excel, kSinhala));
  Call([&] {
    auto cell = sheet->getCellByPosition(1, 1);
    EXPECT_EQ(ToU16(Reference<css::text::XTextRange>(cell, UNO_QUERY_THROW)->getString()), u"ab" + kSinhala);
    EXPECT_EQ(StyleOf(cell), kMapStyle);
  });
  EXPECT_EQ(active(), std::pair(1, 1));
  ASSERT_TRUE(Send(output::Target::Excel, u"", true));
  EXPECT_EQ(active(), std::pair(2, 1));
  // A size that is not a whole number fails after the face is set, and the
  // active cell stays.
  EXPECT_FALSE(output::Submit(nullptr, output::Target::Excel, connections, {u"", kFace, "12.5"}, true, true, false, ""));
  EXPECT_EQ(active(), std::pair(2, 1));

  // A number cell adds a number and refuses text.
  Call([&] {
    Reference<css::view::XSelectionSupplier>(view, UNO_QUERY_THROW)->select(css::uno::Any(sheet->getCellByPosition(1, 2)));
  });
  ASSERT_TRUE(Send(output::Target::Excel, u"2"));
  EXPECT_DOUBLE_EQ(Call([&] { return sheet->getCellByPosition(1, 2)->getValue(); }), 7);
  EXPECT_FALSE(Send(output::Target::Excel, kSinhala));
  EXPECT_EQ(script.messages(), (QStringList{output::kOfficeFailure, output::kOfficeFailure}));
}

TEST_F(OfficeTest, ImpressSelectedTextBoxTakesTheText) {
  auto document = Open("private:factory/simpress");
  Reference<css::text::XText> box;
  Call([&] {
    auto pages = Reference<css::drawing::XDrawPagesSupplier>(document, UNO_QUERY_THROW)->getDrawPages();
    Reference<css::drawing::XDrawPage> page(pages->getByIndex(0), UNO_QUERY_THROW);
    box.set(page->getByIndex(0), UNO_QUERY_THROW);
    box->setString("abc");
    Reference<css::view::XSelectionSupplier>(Reference<css::frame::XModel>(document, UNO_QUERY_THROW)->getCurrentController(),
                                             UNO_QUERY_THROW)
        ->select(css::uno::Any(box));
  });
  ASSERT_TRUE(Send(output::Target::PowerPoint, kSinhala));
  Call([&] {
    EXPECT_EQ(ToU16(box->getString()), u"abc" + kSinhala);
    auto text = box->createTextCursor();
    text->gotoEnd(false);
    text->goLeft(static_cast<sal_Int16>(kSinhala.size()), true);
    EXPECT_EQ(StyleOf(text), kMapStyle);
  });
}

// The paragraphs of the text box being edited (the one with the caret),
// through the view's accessible objects. Call inside Call.
std::vector<Reference<css::accessibility::XAccessibleText>> EditedParagraphs(
    const Reference<css::frame::XController>& view) {
  namespace a11y = css::accessibility;
  std::vector<Reference<a11y::XAccessibleText>> paragraphs;
  std::function<bool(const Reference<a11y::XAccessibleContext>&, int)> find =
      [&](const Reference<a11y::XAccessibleContext>& c, int depth) {
        if (!c.is() || depth > 8) return false;
        paragraphs.clear();
        bool edited = false;
        for (sal_Int32 i = 0; i < c->getAccessibleChildCount(); ++i) {
          Reference<a11y::XAccessibleContext> child = c->getAccessibleChild(i)->getAccessibleContext();
          Reference<a11y::XAccessibleText> text(child, css::uno::UNO_QUERY);
          if (child->getAccessibleRole() != a11y::AccessibleRole::PARAGRAPH || !text.is()) continue;
          paragraphs.push_back(text);
          edited = edited || text->getCaretPosition() >= 0;
        }
        if (edited) return true;
        for (sal_Int32 i = 0; i < c->getAccessibleChildCount(); ++i)
          if (find(c->getAccessibleChild(i)->getAccessibleContext(), depth + 1)) return true;
        return false;
      };
  Reference<a11y::XAccessible> window(view->getFrame()->getComponentWindow(), UNO_QUERY_THROW);
  if (!find(window->getAccessibleContext(), 0)) paragraphs.clear();
  return paragraphs;
}

TEST_F(OfficeTest, ImpressBoxBeingEditedTakesTheTextAtItsCaret) {
  auto document = Open("private:factory/simpress", true);
  Reference<css::frame::XController> view;
  Reference<css::text::XText> title, subtitle;
  Call([&] {
    view = Reference<css::frame::XModel>(document, UNO_QUERY_THROW)->getCurrentController();
    auto pages = Reference<css::drawing::XDrawPagesSupplier>(document, UNO_QUERY_THROW)->getDrawPages();
    Reference<css::drawing::XDrawPage> page(pages->getByIndex(0), UNO_QUERY_THROW);
    title.set(page->getByIndex(0), UNO_QUERY_THROW);
    subtitle.set(page->getByIndex(1), UNO_QUERY_THROW);
  });
  auto dispatch = [&](const char* command) {
    Call([&] {
      css::frame::DispatchHelper::create(gOffice->connection->Context())
          ->executeDispatch(Reference<css::frame::XDispatchProvider>(view->getFrame(), UNO_QUERY_THROW),
                            OUString::createFromAscii(command), "", 0, {});
    });
  };
  // As a click into the box, and a click outside it.
  auto edit = [&](const Reference<css::text::XText>& box) {
    Call([&] { Reference<css::view::XSelectionSupplier>(view, UNO_QUERY_THROW)->select(css::uno::Any(box)); });
    dispatch(".uno:Text");
  };
  auto leave = [&] { dispatch(".uno:SelectObject"); };
  auto styleOf = [&](const Reference<css::text::XText>& box, sal_Int16 from, sal_Int16 count) {
    return Call([&] {
      auto c = box->createTextCursor();
      c->gotoStart(false);
      c->goRight(from, false);
      c->goRight(count, true);
      return StyleOf(c);
    });
  };

  // The empty "Click to add Title" box.
  edit(title);
  ASSERT_TRUE(Send(output::Target::PowerPoint, kSinhala));
  leave();
  EXPECT_EQ(Call([&] { return ToU16(title->getString()); }), kSinhala);
  EXPECT_EQ(styleOf(title, 0, static_cast<sal_Int16>(kSinhala.size())), kMapStyle);

  // Text in the box and the caret within it: two lines go in at the caret,
  // which ends after them.
  Call([&] { subtitle->setString("abc def"); });
  edit(subtitle);
  Call([&] { EditedParagraphs(view).at(0)->setCaretPosition(3); });
  ASSERT_TRUE(Send(output::Target::PowerPoint, kSinhala + u"\r\nY"));
  Call([&] {
    auto paragraphs = EditedParagraphs(view);
    ASSERT_EQ(paragraphs.size(), 2u);
    EXPECT_EQ(ToU16(paragraphs[1]->getText()), u"Y def");
    EXPECT_EQ(paragraphs[1]->getCaretPosition(), 1);
  });
  leave();
  EXPECT_EQ(Call([&] { return ToU16(subtitle->getString()); }), u"abc" + kSinhala + u"\nY def");
  EXPECT_EQ(styleOf(subtitle, 3, static_cast<sal_Int16>(kSinhala.size() + 2)), kMapStyle);
  EXPECT_NE(styleOf(subtitle, 0, 3), kMapStyle);
  EXPECT_NE(styleOf(subtitle, static_cast<sal_Int16>(kSinhala.size() + 5), 4), kMapStyle);

  // Text selected in the box: the text goes after it, both in the face and size.
  edit(subtitle);
  Call([&] { EditedParagraphs(view).at(1)->setSelection(2, 5); });
  ASSERT_TRUE(Send(output::Target::PowerPoint, u"gh"));
  leave();
  EXPECT_EQ(Call([&] { return ToU16(subtitle->getString()); }), u"abc" + kSinhala + u"\nY defgh");
  EXPECT_EQ(styleOf(subtitle, static_cast<sal_Int16>(kSinhala.size() + 6), 5), kMapStyle);

  // A selection made backwards, which starts where it ends: "beta" selected
  // with the caret before it. The text still goes after it.
  Call([&] { title->setString("Alpha beta"); });
  edit(title);
  Call([&] { EditedParagraphs(view).at(0)->setSelection(10, 6); });
  ASSERT_TRUE(Send(output::Target::PowerPoint, kSinhala));
  leave();
  EXPECT_EQ(Call([&] { return ToU16(title->getString()); }), u"Alpha beta" + kSinhala);
  EXPECT_EQ(styleOf(title, 6, static_cast<sal_Int16>(4 + kSinhala.size())), kMapStyle);

  // Backwards over two paragraphs, as Shift+Up makes it from within the second.
  Call([&] { subtitle->setString("abc\nY defgh"); });
  edit(subtitle);
  Call([&] {
    EditedParagraphs(view).at(1)->setCaretPosition(3);
    Reference<css::awt::XToolkitRobot> robot(css::awt::Toolkit::create(gOffice->connection->Context()),
                                             UNO_QUERY_THROW);
    css::awt::KeyEvent shiftUp;
    shiftUp.Source = view->getFrame()->getContainerWindow();
    shiftUp.Modifiers = css::awt::KeyModifier::SHIFT;
    shiftUp.KeyCode = css::awt::Key::UP;
    robot->keyPress(shiftUp);
    robot->keyRelease(shiftUp);
  });
  sal_Int32 from = -1;  // where the selection begins in the first paragraph
  ASSERT_TRUE(testutil::WaitUntil(
      [&] {
        return Call([&] {
          auto first = EditedParagraphs(view).at(0);
          from = std::min(first->getSelectionStart(), first->getSelectionEnd());
          return first->getSelectionStart() > first->getSelectionEnd();
        });
      },
      std::chrono::seconds(30)))
      << "Shift+Up made no selection";
  ASSERT_TRUE(Send(output::Target::PowerPoint, u"gh"));
  leave();
  EXPECT_EQ(Call([&] { return ToU16(subtitle->getString()); }), u"abc\nY dghefgh");
  EXPECT_EQ(styleOf(subtitle, static_cast<sal_Int16>(from), static_cast<sal_Int16>(3 - from + 1 + 5)), kMapStyle);
  EXPECT_NE(styleOf(subtitle, static_cast<sal_Int16>(9), 4), kMapStyle);
  EXPECT_TRUE(script.messages().isEmpty());
}

TEST_F(OfficeTest, NothingToReachOrNothingOpenGivesTheMessageAndKeepsTheText) {
  // Only a spreadsheet is open: no Writer document, no presentation.
  Open("private:factory/scalc");
  EXPECT_FALSE(Send(output::Target::Word, kSinhala));
  EXPECT_FALSE(Send(output::Target::PowerPoint, kSinhala));
  EXPECT_EQ(script.messages(), (QStringList{output::kWordFailure, output::kOfficeFailure}));

  // An office that is not running and cannot be started.
  ResetServers();
  output::Connections closed;
  Settings gone = gOffice->settings;
  gone.pipeName += "_closed";
  gone.startCommand = "/nonexistent/soffice";
  UseOffice(gone);
  EXPECT_FALSE(output::Submit(nullptr, output::Target::Word, closed, {kSinhala, kFace, "14"}, true, false, false, ""));
  EXPECT_FALSE(output::Submit(nullptr, output::Target::Excel, closed, {kSinhala, kFace, "14"}, true, false, false, ""));
  EXPECT_EQ(script.messages().size(), 4);

  // The Word document export then writes Rich Text, as without the office.
  testutil::TempDir dir;
  const auto file = dir.path / "out.doc";
  TWordDocument doc;
  doc.Connect();
  doc.Content()->InsertAfter(kSinhala);
  doc.SaveAs(ToU16(OUString::fromUtf8(rtl::OString(file.c_str()))));
  EXPECT_EQ(testutil::ReadBytes(file).rfind("{\\rtf1", 0), 0u);
}

TEST_F(OfficeTest, ARunningOfficeNotListeningIsToldToListen) {
  // The start command reaches the office already running on this profile,
  // which then listens on the new pipe too.
  ResetServers();
  Settings other = gOffice->settings;
  other.pipeName += "_second";
  ASSERT_EQ(UseOffice(other), "");
  Open("private:factory/scalc");
  output::Connections c;
  EXPECT_TRUE(output::Submit(nullptr, output::Target::Excel, c, {kSinhala, kFace, "14"}, true, false, false, ""));
  EXPECT_TRUE(script.messages().isEmpty());
}

// An office that is still starting when the start wait is over, working
// all the while (as on its first start with a new profile on a busy
// machine), is waited for and used.
TEST_F(OfficeTest, AnOfficeStillStartingAfterTheStartWaitIsWaitedFor) {
  Settings slow = gOffice->settings;
  slow.pipeName += "_slow";
  slow.startWait = std::chrono::seconds(1);
  // Some seconds of work before the office (running already) is told to
  // listen; none started once the test has ended, and the test runner's
  // output is left alone.
  slow.startCommand = "sh -c 'exec < /dev/null > /dev/null 2>&1; until=$(( $(date +%s) + 3 ));"
                      " while [ $(date +%s) -lt $until ]; do :; done; test -d " + gOffice->profile.path.string() +
                      " && exec " + gOffice->settings.startCommand + " \"$0\"'";
  ResetServers();
  ASSERT_EQ(UseOffice(slow), "");
  Open("private:factory/scalc");
  EXPECT_TRUE(Send(output::Target::Excel, kSinhala));
  EXPECT_TRUE(script.messages().isEmpty());
}

TEST_F(OfficeTest, AStalledOfficeIsGivenUpAndTheNextEnterTypesTheTextOnce) {
  Impatient(std::chrono::milliseconds(1000));
  const Reference<css::text::XText> body = NewWriterBody();
  auto send = [&](const char* size) {
    return output::Submit(nullptr, output::Target::Word, connections, {kSinhala, kFace, size}, true, false, false, "");
  };
  auto typedTimes = [&] { return Times(Call([&] { return ToU16(body->getString()); }), kSinhala); };

  // A size that is not a number fails after typing, with the text selected,
  // so that sending it again replaces it.
  EXPECT_FALSE(send("x"));
  EXPECT_EQ(typedTimes(), 1);
  EXPECT_TRUE(send("14"));
  EXPECT_EQ(typedTimes(), 1);

  // The office stalls before the Enter: it is given up.
  ASSERT_TRUE(gOffice->Stop());
  EXPECT_FALSE(send("14"));
  gOffice->Resume();

  // The office stalls in the middle of the typing step, while it finds the
  // cursor: the step given up sends nothing once the office answers again,
  // and the next Enter, which waits for it to end, types the text once.
  TWordApplication word;
  word.Connect();
  auto selection = word.Selection();
  ASSERT_TRUE(gOffice->Stop());
  EXPECT_THROW(selection->TypeStyled({kSinhala, kFace, 14.0f}), EOleError);
  gOffice->Resume();
  EXPECT_TRUE(send("14"));
  EXPECT_EQ(typedTimes(), 2);
  EXPECT_EQ(script.messages(), (QStringList{output::kWordFailure, output::kWordFailure}));
}

// The office stalls at a moment anywhere in an Enter (as a loaded machine's
// may): before it, while the cursor is found, while the text is on its way,
// or after it. However the Enter ends, pressing it again until it is sent
// leaves the text in the document once.
TEST_F(OfficeTest, AnEnterStalledAtAnyMomentEndsWithItsTextTypedOnce) {
  Impatient(std::chrono::milliseconds(500));
  const Reference<css::text::XText> body = NewWriterBody();
  auto send = [&] { return Send(output::Target::Word, kSinhala); };
  int trials = 0, givenUp = 0, doubles = 0;
  for (int stallAfter = 0; stallAfter <= 30; stallAfter += 2) {
    Call([&] { body->setString(""); });
    std::atomic<bool> ended = false;
    const auto pressed = std::chrono::steady_clock::now();
    std::thread stall([&] {
      // The moment of the stall is what the trial is about.
      std::this_thread::sleep_until(pressed + std::chrono::milliseconds(stallAfter));
      if (!gOffice->Stop()) ADD_FAILURE() << "the office did not stop";
      if (!testutil::WaitUntil([&] { return ended.load(); }, std::chrono::seconds(60))) ADD_FAILURE() << "the Enter never ended";
      gOffice->Resume();
    });
    bool sent = send();
    ended = true;
    stall.join();
    ++trials;
    givenUp += sent ? 0 : 1;
    for (int again = 0; !sent && again < 5; ++again) sent = send();
    EXPECT_TRUE(sent) << "stalled " << stallAfter << " ms after Enter";
    const int times = Times(Call([&] { return ToU16(body->getString()); }), kSinhala);
    EXPECT_EQ(times, 1) << "stalled " << stallAfter << " ms after Enter";
    doubles += times > 1 ? 1 : 0;
  }
  RecordProperty("trials", trials);
  RecordProperty("givenUp", givenUp);
  RecordProperty("doubles", doubles);
  std::printf("%d trials, %d Enters given up, %d texts typed twice\n", trials, givenUp, doubles);
}

// The office stalls just as the typing step sends the text, so that the
// text arrives only after the Enter was given up: the Enter pressed again
// finds it there and types it no second time (or only what was typed into
// the typing pane meanwhile).
TEST_F(OfficeTest, AnEnterGivenUpWhileItsTextWasOnItsWayIsNotTypedAgain) {
  // Writer.
  const Reference<css::text::XText> body = NewWriterBody();
  auto bodyText = [&] { return Call([&] { return ToU16(body->getString()); }); };
  EXPECT_FALSE(SendStalledOnItsWay(output::Target::Word, kSinhala));
  ASSERT_TRUE(testutil::WaitUntil([&] { return bodyText() == kSinhala; }, std::chrono::seconds(30))) << "never arrived";
  ASSERT_TRUE(Send(output::Target::Word, kSinhala));
  EXPECT_EQ(bodyText(), kSinhala);

  // Calc: a text cell, and more typed before Enter was pressed again.
  auto calc = Open("private:factory/scalc");
  Reference<css::table::XCell> cell;
  Call([&] {
    Reference<css::sheet::XSpreadsheetView> view(Reference<css::frame::XModel>(calc, UNO_QUERY_THROW)->getCurrentController(),
                                                 UNO_QUERY_THROW);
    cell = view->getActiveSheet()->getCellByPosition(0, 0);
    cell->setFormula("ab");
    Reference<css::view::XSelectionSupplier>(view, UNO_QUERY_THROW)->select(css::uno::Any(cell));
  });
  auto cellText = [&] { return Call([&] { return ToU16(Reference<css::text::XTextRange>(cell, UNO_QUERY_THROW)->getString()); }); };
  EXPECT_FALSE(SendStalledOnItsWay(output::Target::Excel, kSinhala));
  ASSERT_TRUE(testutil::WaitUntil([&] { return cellText() == u"ab" + kSinhala; }, std::chrono::seconds(30))) << "never arrived";
  ASSERT_TRUE(Send(output::Target::Excel, kSinhala + u"cd"));
  EXPECT_EQ(cellText(), u"ab" + kSinhala + u"cd");
  EXPECT_EQ(Call([&] { return StyleOf(cell); }), kMapStyle);

  // Impress: a selected text box.
  auto impress = Open("private:factory/simpress");
  Reference<css::text::XText> box;
  Call([&] {
    auto pages = Reference<css::drawing::XDrawPagesSupplier>(impress, UNO_QUERY_THROW)->getDrawPages();
    box.set(Reference<css::drawing::XDrawPage>(pages->getByIndex(0), UNO_QUERY_THROW)->getByIndex(0), UNO_QUERY_THROW);
    Reference<css::view::XSelectionSupplier>(Reference<css::frame::XModel>(impress, UNO_QUERY_THROW)->getCurrentController(),
                                             UNO_QUERY_THROW)
        ->select(css::uno::Any(box));
  });
  auto boxText = [&] { return Call([&] { return ToU16(box->getString()); }); };
  EXPECT_FALSE(SendStalledOnItsWay(output::Target::PowerPoint, kSinhala));
  ASSERT_TRUE(testutil::WaitUntil([&] { return boxText() == kSinhala; }, std::chrono::seconds(30))) << "never arrived";
  ASSERT_TRUE(Send(output::Target::PowerPoint, kSinhala));
  EXPECT_EQ(boxText(), kSinhala);
  EXPECT_EQ(script.messages(), (QStringList{output::kWordFailure, output::kOfficeFailure, output::kOfficeFailure}));
}

TEST_F(OfficeTest, WordDocumentExportedThroughTheOfficeOpensWithTheSameText) {
  testutil::TempDir dir, temp;
  const std::string tmpdir = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
  ::setenv("TMPDIR", temp.path.c_str(), 1);
  const auto file = dir.path / "out.doc";
  {
    std::ofstream old(file);
    old << "old";
  }
  const std::u16string text = kSinhala + u"\r\nline 2";
  TWordDocument doc;
  doc.Connect();
  doc.Content()->InsertAfter(text);
  doc.Range()->GetFont()->SetName(kFace);
  doc.Range()->GetFont()->SetSize(14);
  doc.SaveAs(ToU16(OUString::fromUtf8(rtl::OString(file.c_str()))));
  doc.Close();
  doc.Disconnect();
  // A Word 97 file (a compound file), and nothing left beside it or in the
  // temporary folder, also after a failed save.
  EXPECT_EQ(testutil::ReadBytes(file).substr(0, 4), std::string("\xD0\xCF\x11\xE0", 4));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 1);
  TWordDocument failing;
  failing.Connect();
  failing.Content()->InsertAfter(text);
  EXPECT_THROW(failing.SaveAs((dir.path / "missing" / "out.doc").u16string()), EOleError);
  failing.Disconnect();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path), {}), 0);
  tmpdir.empty() ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", tmpdir.c_str(), 1);

  Call([&] {
    OUString url;
    osl::FileBase::getFileURLFromSystemPath(OUString::fromUtf8(rtl::OString(file.c_str())), url);
    auto loaded = gOffice->Load(url);
    documents.push_back(loaded);
    auto body = Reference<css::text::XTextDocument>(loaded, UNO_QUERY_THROW)->getText();
    EXPECT_EQ(ToU16(body->getString()), kSinhala + u"\nline 2");
    // Each line in the face and size.
    auto first = body->createTextCursor();
    first->gotoStart(false);
    first->goRight(static_cast<sal_Int16>(kSinhala.size()), true);
    EXPECT_EQ(StyleOf(first), kMapStyle);
    auto last = body->createTextCursor();
    last->gotoEnd(false);
    last->goLeft(6, true);
    EXPECT_EQ(StyleOf(last), kMapStyle);
  });
}

// A library left from another build beside the program: refused, saying
// why, as a missing one is; the servers stay as they were.
TEST(OfficeLayer, ALayerOfAnotherBuildIsRefusedAndTheServersStayAsTheyWere) {
  ResetServers();
  auto word = std::make_shared<inprocess::Word>();
  SetStarter<WordApplication>([word] { return word; });
  for (const auto& [layer, why] : {std::pair(OTHER_VERSION_LAYER, "version 999"),
                                   std::pair(OTHER_SIZE_LAYER, "its table has")}) {
    Settings settings;
    settings.layer = layer;
    const std::string refused = UseOffice(settings);
    EXPECT_NE(refused.find("of another build"), std::string::npos) << refused;
    EXPECT_NE(refused.find(why), std::string::npos) << refused;
    TWordApplication reached;
    reached.Connect();
    EXPECT_NO_THROW(reached.Selection());
    dialogs::Script script;
    output::Connections c;
    EXPECT_FALSE(output::Submit(nullptr, output::Target::Excel, c, {kSinhala, kFace, "14"}, true, false, false, ""));
  }
  EXPECT_EQ(word->ActiveDocument()->Body().Text(), u"");
  ResetServers();
}

// The office's pipe for a pipe name: a socket in the shared temporary folder.
std::string PipePath(const std::string& pipeName) {
  const std::string folder = ::access("/tmp", W_OK) == 0 ? "/tmp" : "/var/tmp";
  return folder + "/OSL_PIPE_" + std::to_string(::getuid()) + "_" + pipeName;
}

// A socket listening at the office's pipe, made by the test in the office's
// place; closed and removed at the end.
class PipeSocket {
 public:
  PipeSocket(const std::string& pipeName, int type) : path(PipePath(pipeName)), fd(::socket(AF_UNIX, type, 0)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    listening_ = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                 ::listen(fd, 4) == 0;
  }
  ~PipeSocket() {
    Close();
    ::unlink(path.c_str());
  }
  bool Listening() const { return listening_; }
  // Ends a wait in accept() on another thread.
  void Close() {
    if (fd < 0) return;
    ::shutdown(fd, SHUT_RDWR);
    ::close(fd);
    fd = -1;
  }

  const std::string path;
  int fd;

 private:
  bool listening_ = false;
};

// A socket at the office's pipe that another user made first (as a relay
// that passes everything on would): nothing is sent to it and no office is
// started for it; the target gives its message.
TEST(OfficePipe, ASocketOfAnotherUserIsNotLinkedTo) {
  if (::geteuid() != 0) GTEST_SKIP() << "making a socket another user's needs root";
  testutil::TempDir dir;
  Settings settings;
  settings.pipeName = "varunel_foreign_" + std::to_string(::getpid());
  settings.startCommand = "touch " + (dir.path / "started").string();
  settings.layer = VARUNEL_OFFICE_LAYER_FILE;
  PipeSocket relay(settings.pipeName, SOCK_STREAM | SOCK_NONBLOCK);
  ASSERT_TRUE(relay.Listening());
  ASSERT_EQ(::chown(relay.path.c_str(), 65534, 65534), 0);

  ResetServers();
  ASSERT_EQ(UseOffice(settings), "");
  dialogs::Script script;
  output::Connections c;
  EXPECT_FALSE(output::Submit(nullptr, output::Target::Word, c, {kSinhala, kFace, "14"}, true, false, false, ""));
  EXPECT_EQ(script.messages(), QStringList{output::kWordFailure});
  EXPECT_LT(::accept(relay.fd, nullptr, nullptr), 0);
  EXPECT_FALSE(std::filesystem::exists(dir.path / "started"));
  ResetServers();
}

// An office that stops reading while its pipe stays open (one that is
// quitting): the write to it fails, the Enter gives its message, and the
// program goes on, not ended by the write.
TEST(OfficePipe, AnOfficeThatStopsReadingGivesTheMessageAndTheProgramGoesOn) {
  testutil::TempDir dir;
  Settings settings;
  settings.pipeName = "varunel_deaf_" + std::to_string(::getpid());
  settings.startCommand = "touch " + (dir.path / "started").string();
  settings.callWait = std::chrono::seconds(2);
  settings.layer = VARUNEL_OFFICE_LAYER_FILE;
  PipeSocket office(settings.pipeName, SOCK_STREAM);
  ASSERT_TRUE(office.Listening());
  std::vector<int> accepted;
  std::thread deaf([&, fd = office.fd] {
    for (int link; (link = ::accept(fd, nullptr, nullptr)) >= 0;) {
      ::shutdown(link, SHUT_RD);
      accepted.push_back(link);
    }
  });

  ResetServers();
  ASSERT_EQ(UseOffice(settings), "");
  dialogs::Script script;
  output::Connections c;
  EXPECT_FALSE(output::Submit(nullptr, output::Target::Word, c, {kSinhala, kFace, "14"}, true, false, false, ""));
  EXPECT_EQ(script.messages(), QStringList{output::kWordFailure});
  ResetServers();
  office.Close();
  deaf.join();
  for (int link : accepted) ::close(link);
}

// The user closes the office and opens it again: after an Enter that failed
// meanwhile, the next one reaches the office opened again.
TEST(OfficeRestart, TheNextEnterReachesTheOfficeOpenedAgain) {
  if (!TestOffice::Installed()) GTEST_SKIP() << "no office to test against";
  testutil::TempDir profile;
  Settings settings;
  settings.pipeName = "varunel_office_restart_" + std::to_string(::getpid());
  settings.startCommand = "soffice --headless --norestore --nodefault --nologo -env:UserInstallation=file://" +
                          profile.path.string();
  settings.startWait = std::chrono::seconds(60);
  settings.callWait = std::chrono::seconds(10);
  settings.layer = VARUNEL_OFFICE_LAYER_FILE;
  ResetServers();
  ASSERT_EQ(UseOffice(settings), "");
  dialogs::Script script;
  output::Connections c;
  auto enter = [&] {
    return output::Submit(nullptr, output::Target::Word, c, {kSinhala, kFace, "14"}, true, false, false, "");
  };
  auto openDocument = [&](const std::shared_ptr<Connection>& office) {
    return office->Call([&] {
      Reference<css::frame::XComponentLoader> loader(office->Desktop(), UNO_QUERY_THROW);
      return Reference<css::util::XCloseable>(loader->loadComponentFromURL("private:factory/swriter", "_blank", 0, {}),
                                             UNO_QUERY_THROW);
    });
  };
  auto quit = [&](const std::shared_ptr<Connection>& office, const Reference<css::util::XCloseable>& document) {
    office->Call([&] {
      document->close(true);
      office->Desktop()->terminate();
    });
  };

  auto office = Layer().connect(settings);
  auto document = openDocument(office);
  EXPECT_TRUE(enter());
  quit(office, document);
  const std::string pipe = PipePath(settings.pipeName);
  ASSERT_TRUE(testutil::WaitUntil([&] { return !std::filesystem::exists(pipe); }, std::chrono::seconds(60)))
      << "the office that was told to quit keeps its pipe " << pipe;

  // Enter starts the office again, which has no document open yet.
  EXPECT_FALSE(enter());
  office = Layer().connect(settings);
  document = openDocument(office);
  EXPECT_TRUE(enter());
  EXPECT_EQ(script.messages(), QStringList{output::kWordFailure});
  quit(office, document);
  ResetServers();
}

// An office started here leaves the user's own launches working: a later
// "soffice --writer" opens a Writer document in it. Only an office with
// windows opens one (the -nogui packages open nothing either way), on a
// display.
TEST(OfficeStart, TheUsersOwnLaunchOpensAWriterDocumentInTheOfficeStartedHere) {
  const char* display = std::getenv("DISPLAY");
  if (!TestOffice::Installed() || !display || !*display) GTEST_SKIP() << "no office or no display";
  std::error_code ec;
  std::filesystem::path soffice;
  for (const auto& folder : QString::fromLocal8Bit(std::getenv("PATH")).split(':'))
    if (soffice.empty() && std::filesystem::exists(folder.toStdString() + "/soffice")) soffice = folder.toStdString() + "/soffice";
  const auto program = std::filesystem::canonical(soffice, ec).parent_path();
  bool windows = false;
  for (const auto& entry : std::filesystem::directory_iterator(program, ec)) {
    const std::string name = entry.path().filename().string();
    windows = windows || (name.rfind("libvclplug_", 0) == 0 && name.find("svp") == std::string::npos);
  }
  if (!windows) GTEST_SKIP() << "the office is installed without windows";

  testutil::TempDir profile;
  Settings settings;
  settings.pipeName = "varunel_office_start_" + std::to_string(::getpid());
  const std::string user = " -env:UserInstallation=file://" + profile.path.string();
  settings.startCommand += user;
  settings.startWait = std::chrono::seconds(60);
  auto office = Layer().connect(settings);
  auto writerDocuments = [&] {
    return office->Call([office] {
      int count = 0;
      auto all = office->Desktop()->getComponents()->createEnumeration();
      while (all->hasMoreElements())
        if (Reference<css::text::XTextDocument>(all->nextElement(), css::uno::UNO_QUERY).is()) ++count;
      return count;
    });
  };
  EXPECT_EQ(writerDocuments(), 0);
  process::Process launch = process::Process::Start("soffice --writer" + user, "", false);
  ASSERT_TRUE(launch.Valid());
  launch.Wait({});
  EXPECT_TRUE(testutil::WaitUntil([&] { return writerDocuments() > 0; }, std::chrono::seconds(60)))
      << "the user's own launch opened no Writer document in the office started here";
  EXPECT_EQ(writerDocuments(), 1);
  try {
    office->Call([office] { office->Desktop()->terminate(); });
  } catch (const EOleError&) {
  }
}

}  // namespace
