#include "Output.h"
#include "dialogs.h"
#include "test_targets.h"

#include <gtest/gtest.h>

using namespace automation;
using namespace output;

namespace {

class OfficeOutputTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetServers(); }
  void TearDown() override { ResetServers(); }

  bool Send(Target target, std::u16string text, std::string size = "14", bool isEnter = true,
            bool paneEmpty = false) {
    return Submit(nullptr, target, c, {std::move(text), u"FM Abhaya", std::move(size)}, isEnter, paneEmpty,
                  false, "FM Abhaya");
  }
  QStringList Messages() const { return script.messages(); }

  dialogs::Script script;
  Connections c;
};

inprocess::CharFont Styled(float size = 14) { return {u"FM Abhaya", size}; }

// One letter a character: S styled for the output, . the default, ? other.
std::string Styling(const inprocess::StyledText& body) {
  std::string out;
  for (size_t i = 0; i < body.Text().size(); ++i)
    out += body.FontAt(i) == Styled() ? 'S' : body.FontAt(i) == inprocess::CharFont{} ? '.' : '?';
  return out;
}

TEST_F(OfficeOutputTest, WordTypesSelectsStylesAndPutsTheCaretAfter) {
  auto word = Running<inprocess::Word>();
  auto doc = word->ActiveDocument();
  doc->Edit(0, 0, u"xy");
  doc->Select(1, 1);
  EXPECT_TRUE(Send(Target::Word, u"ab"));
  EXPECT_EQ(doc->Body().Text(), u"xaby");
  EXPECT_EQ(Styling(doc->Body()), ".SS.");
  EXPECT_EQ(doc->SelectionSpan().start, 3);
  EXPECT_EQ(doc->SelectionSpan().end, 3);
  EXPECT_FALSE(c.WordApplication1.Connected());
  EXPECT_TRUE(Messages().isEmpty());

  // Over a selection the typed text replaces it and only it is styled.
  doc->Select(0, 1);
  EXPECT_TRUE(Send(Target::Word, u"\u0d85\r\nb"));
  EXPECT_EQ(doc->Body().Text(), u"\u0d85\r\nbaby");
  EXPECT_EQ(Styling(doc->Body()).substr(3), "SSS.");  // then the earlier output
  EXPECT_EQ(doc->SelectionSpan().start, 4);
}

TEST_F(OfficeOutputTest, WordWithABadSizeTypesButFailsAndTheNextSubmitLinksAnew) {
  auto word = Running<inprocess::Word>();
  EXPECT_FALSE(Send(Target::Word, u"ab", "12a"));
  auto doc = word->ActiveDocument();
  EXPECT_EQ(doc->Body().Text(), u"ab");
  EXPECT_EQ(doc->Body().FontAt(0), inprocess::CharFont(u"FM Abhaya", inprocess::kDefaultSize));
  EXPECT_EQ(Messages(), QStringList{kWordFailure});
  EXPECT_EQ(script.asked.back().icon, dialogs::Icon::Error);
  EXPECT_FALSE(c.WordApplication1.Connected());

  // The fixed submit reaches the running Word anew. The text typed the
  // first time is still selected, so submitting again replaces it.
  EXPECT_TRUE(Send(Target::Word, u"ab"));
  EXPECT_EQ(doc->Body().Text(), u"ab");
  EXPECT_EQ(doc->Body().FontAt(1), Styled());
}

TEST_F(OfficeOutputTest, AnApplicationClosedAndStartedAgainIsReachedByTheNextSubmit) {
  auto word = Running<inprocess::Word>();
  word->CloseDocument();
  EXPECT_FALSE(Send(Target::Word, u"a"));
  word->faults->Quit();
  EXPECT_FALSE(Send(Target::Word, u"a"));
  auto again = Running<inprocess::Word>();
  EXPECT_TRUE(Send(Target::Word, u"a"));
  EXPECT_EQ(again->ActiveDocument()->Body().Text(), u"a");
  EXPECT_EQ(Messages().size(), 2);
}

TEST_F(OfficeOutputTest, NoRunningInstanceFailsWithTheTargetsMessage) {
  EXPECT_FALSE(Send(Target::Word, u"a"));
  EXPECT_FALSE(Send(Target::Excel, u"a"));
  EXPECT_FALSE(Send(Target::PowerPoint, u"a"));
  EXPECT_EQ(Messages(), (QStringList{kWordFailure, kOfficeFailure, kOfficeFailure}));
  EXPECT_NE(QString(kWordFailure), QString(kOfficeFailure));
  EXPECT_FALSE(c.WordApplication1.Connected());
}

TEST_F(OfficeOutputTest, ExcelAppendsToTextAndMovesOnEnterOnAnEmptyPane) {
  auto book = Running<inprocess::Workbook>();
  book->At(1, 1).value = Variant::FromText(u"ab");
  EXPECT_TRUE(Send(Target::Excel, u"cd"));
  EXPECT_EQ(book->At(1, 1).value.text, u"abcd");
  EXPECT_EQ(book->At(1, 1).fontName, u"FM Abhaya");
  EXPECT_EQ(book->At(1, 1).fontSize.kind, Variant::Kind::Int32);
  EXPECT_EQ(book->At(1, 1).fontSize.number, 14);
  EXPECT_EQ(book->Active(), inprocess::Workbook::Address(1, 1));

  // The second Enter, on the emptied pane, moves to the next cell; Space does not.
  EXPECT_TRUE(Send(Target::Excel, u"", "14", false, true));
  EXPECT_EQ(book->Active(), inprocess::Workbook::Address(1, 1));
  EXPECT_TRUE(Send(Target::Excel, u"", "14", true, true));
  EXPECT_EQ(book->At(1, 1).value.text, u"abcd");
  EXPECT_EQ(book->Active(), inprocess::Workbook::Address(1, 2));

  // An empty cell takes the text.
  EXPECT_TRUE(Send(Target::Excel, u"x"));
  EXPECT_EQ(book->At(1, 2).value.kind, Variant::Kind::Text);
  EXPECT_EQ(book->At(1, 2).value.text, u"x");
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(OfficeOutputTest, ExcelNumberCellsAddAndFailOnText) {
  auto book = Running<inprocess::Workbook>();
  book->At(1, 1).value = Variant::FromDouble(5);
  EXPECT_TRUE(Send(Target::Excel, u"3"));
  EXPECT_EQ(book->At(1, 1).value.number, 8);

  EXPECT_FALSE(Send(Target::Excel, u"", "14", true, true));
  EXPECT_EQ(book->Active(), inprocess::Workbook::Address(1, 1));
  EXPECT_EQ(Messages(), QStringList{kOfficeFailure});
  EXPECT_FALSE(c.ExcelApplication1.Connected());

  // A failing step leaves the earlier ones done.
  book->At(1, 1).value = Variant::FromText(u"");
  book->faults->Fail("Font.Size");
  EXPECT_FALSE(Send(Target::Excel, u"t", "20", true, true));
  EXPECT_EQ(book->At(1, 1).value.text, u"t");
  EXPECT_EQ(book->Active(), inprocess::Workbook::Address(1, 1));
}

TEST_F(OfficeOutputTest, PowerPointAppendsToTheSelectedText) {
  auto show = Running<inprocess::Presentation>();
  show->Body().Replace(0, 0, u"x abc y");
  show->Select(2, 5);
  EXPECT_TRUE(Send(Target::PowerPoint, u"de"));
  EXPECT_EQ(show->Body().Text(), u"x abcde y");
  EXPECT_EQ(Styling(show->Body()).substr(2, 6), "SSSSS.");

  show->SelectNothing();
  EXPECT_FALSE(Send(Target::PowerPoint, u"de"));
  EXPECT_EQ(Messages(), QStringList{kOfficeFailure});
}

TEST(StrToIntTest, OnlyWholeNumbers) {
  EXPECT_EQ(StrToInt("14"), 14);
  EXPECT_EQ(StrToInt(" -3"), -3);
  for (const char* bad : {"", "12.5", "12 ", "x", "99999999999"}) EXPECT_THROW(StrToInt(bad), std::invalid_argument) << bad;
}

}  // namespace
