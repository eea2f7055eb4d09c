// The Excel and PowerPoint targets, the failures and the Word document
// export against LibreOffice itself (the Word target is typed into through
// the window, office_window_test.cpp). A headless office with a profile of
// its own is started once for all tests and stopped at the end; without an
// office to start, every test is skipped.
#include "Output.h"
#include "test_office.h"
#include "dialogs.h"

#include <com/sun/star/drawing/XDrawPage.hpp>
#include <com/sun/star/drawing/XDrawPagesSupplier.hpp>
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

#include <chrono>
#include <filesystem>

namespace {

using namespace automation;
using namespace automation::office;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;
using rtl::OUString;

const std::u16string kSinhala = u"\u0d85\u0db8\u0dca\u0db8\u0dcf";  // as the map converts "ammaa"
constexpr char16_t kFace[] = u"Noto Sans Sinhala";

TestOffice* gOffice = nullptr;

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
    UseOffice(gOffice->settings);
  }
  void TearDown() override {
    for (auto& d : documents) Call([&] { Reference<css::util::XCloseable>(d, UNO_QUERY_THROW)->close(true); });
    ResetServers();
  }

  template <class F>
  static auto Call(F&& f) -> decltype(f()) {
    return gOffice->Call(std::forward<F>(f));
  }

  // A new hidden document of the factory's kind, closed after the test.
  Reference<css::uno::XInterface> Open(const char* factory) {
    return Call([&] {
      auto d = gOffice->Load(OUString::createFromAscii(factory));
      documents.push_back(d);
      return d;
    });
  }

  bool Send(output::Target target, std::u16string text, bool paneEmpty = false) {
    return output::Submit(nullptr, target, connections, {std::move(text), kFace, "14"}, true, paneEmpty, false, "");
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

  // A number cell adds a number and refuses text.
  Call([&] {
    Reference<css::view::XSelectionSupplier>(view, UNO_QUERY_THROW)->select(css::uno::Any(sheet->getCellByPosition(1, 2)));
  });
  ASSERT_TRUE(Send(output::Target::Excel, u"2"));
  EXPECT_DOUBLE_EQ(Call([&] { return sheet->getCellByPosition(1, 2)->getValue(); }), 7);
  EXPECT_FALSE(Send(output::Target::Excel, kSinhala));
  EXPECT_EQ(script.messages(), QStringList{output::kOfficeFailure});
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
  UseOffice(other);
  Open("private:factory/scalc");
  output::Connections c;
  EXPECT_TRUE(output::Submit(nullptr, output::Target::Excel, c, {kSinhala, kFace, "14"}, true, false, false, ""));
  EXPECT_TRUE(script.messages().isEmpty());
}

TEST_F(OfficeTest, AHungOfficeIsGivenUpAfterTheCallWaitAndReachedAgainLater) {
  ResetServers();
  Settings impatient = gOffice->settings;
  impatient.callWait = std::chrono::milliseconds(1000);
  UseOffice(impatient);
  Open("private:factory/swriter");
  output::Connections c;
  auto send = [&](const char* size) {
    return output::Submit(nullptr, output::Target::Word, c, {kSinhala, kFace, size}, true, false, false, "");
  };
  const pid_t group = -static_cast<pid_t>(gOffice->office.Id());
  // A size that is not a number fails after typing: the connection stays open.
  EXPECT_FALSE(send("x"));
  ASSERT_TRUE(c.WordApplication1.Connected());

  ASSERT_EQ(::kill(group, SIGSTOP), 0);
  const auto start = std::chrono::steady_clock::now();
  const bool sent = send("14");
  const auto took = std::chrono::steady_clock::now() - start;
  ::kill(group, SIGCONT);
  EXPECT_FALSE(sent);
  EXPECT_LT(took, std::chrono::seconds(5));
  EXPECT_EQ(script.messages(), (QStringList{output::kWordFailure, output::kWordFailure}));

  // Once the office answers again, so does the connection kept open.
  EXPECT_TRUE(send("14"));
}

TEST_F(OfficeTest, WordDocumentExportedThroughTheOfficeOpensWithTheSameText) {
  testutil::TempDir dir;
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
  // A Word 97 file (a compound file), and nothing left beside it.
  EXPECT_EQ(testutil::ReadBytes(file).substr(0, 4), std::string("\xD0\xCF\x11\xE0", 4));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 1);

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

}  // namespace
