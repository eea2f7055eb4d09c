// The typing pane's keys driving the real outputs: the in-process Office
// applications registered as running, and a chat window in the window tree.
#include <QCheckBox>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "codepage.h"
#include "test_targets.h"
#include "uFrmMain.h"
#include "window_fixture.h"

using tavimo::TfrmMain;
using tavimo::TOutputTarget;

using namespace automation;
using accessibility::WindowTree;

const QString kWordMessage = output::kWordFailure;
const QString kOfficeMessage = output::kOfficeFailure;
const QString kMessengerMessage = output::kMessengerFailure;

class KeysTest : public QObject, TWindowFixture<TfrmMain> {
  Q_OBJECT

  void Type(const QString& keys) { QTest::keyClicks(w->memEnglish, keys); }
  void Enter(Qt::KeyboardModifiers shift = Qt::NoModifier) { QTest::keyClick(w->memEnglish, Qt::Key_Return, shift); }
  QStringList Errors() const { return Shown(dialogs::Icon::Error); }
  QStringList Warnings() const { return Shown(dialogs::Icon::Warning); }

 private slots:
  void init() {
    ResetServers();
    QVERIFY(Open());
    w->FFontSize = "14";
    w->FEnglishFont = "Arial";
  }

  void cleanup() {
    Close();
    WindowTree::Instance().Clear();
    ResetServers();
  }

  void targetButtonsFormOneGroup() {
    QVERIFY(w->tbMSWord->isChecked());
    QCOMPARE(w->OutputTarget(), TOutputTarget::Word);
    w->tbPP->click();
    QCOMPARE(w->OutputTarget(), TOutputTarget::PowerPoint);
    QVERIFY(!w->tbMSWord->isChecked());
    w->tbPP->click();  // pressing the down button keeps it down
    QVERIFY(w->tbPP->isChecked());
    w->tbMSN->click();
    QCOMPARE(w->OutputTarget(), TOutputTarget::Messenger);
    QVERIFY(!w->tbPP->isChecked());
  }

  void enterTypesIntoWord() {
    auto word = Running<inprocess::Word>();
    auto doc = word->ActiveDocument();
    Type("kam");
    QCOMPARE(Display(), QString("KaM"));
    Enter();
    QCOMPARE(doc->Body().Text(), u"KaM");
    for (size_t i = 0; i < 3; ++i) QCOMPARE(doc->Body().FontAt(i), (inprocess::CharFont{u"TestSinhala", 14}));
    QCOMPARE(doc->SelectionSpan().start, 3);
    QCOMPARE(doc->SelectionSpan().end, 3);
    QCOMPARE(Typed(), QString());
    QCOMPARE(Display(), QString());
    QVERIFY(!w->FOutput.WordApplication1.Connected());
    QVERIFY(script->asked.empty());

    // Lines go out joined by CR LF, with no break added at the end.
    w->memEnglish->SetText("ka\r\nma");
    QTRY_VERIFY(Display().contains("\r\n"));
    const QString shown = Display();
    Enter();
    QCOMPARE(QString::fromStdU16String(doc->Body().Text()), "KaM" + shown);
    QVERIFY(!shown.endsWith('\n'));
    QCOMPARE(Typed(), QString());
  }

  void excelFillsTheCellThenMovesOn() {
    auto book = Running<inprocess::Workbook>();
    w->tbMSExcel->click();
    Type("ka");
    Enter();
    QCOMPARE(book->At(1, 1).value.text, u"Ka");
    QCOMPARE(book->At(1, 1).fontName, u"TestSinhala");
    QCOMPARE(book->At(1, 1).fontSize.number, 14.0);
    QCOMPARE(book->Active(), (inprocess::Workbook::Address{1, 1}));
    QCOMPARE(Typed(), QString());
    Enter();  // on the emptied pane: the next cell
    QCOMPARE(book->Active(), (inprocess::Workbook::Address{1, 2}));
    QCOMPARE(book->At(1, 1).value.text, u"Ka");
    QVERIFY(script->asked.empty());
  }

  void powerPointAppendsToTheSelection() {
    auto show = Running<inprocess::Presentation>();
    show->Body().Replace(0, 0, u"abc");
    show->Select(0, 3);
    w->tbPP->click();
    Type("ma");
    Enter();
    QCOMPARE(show->Body().Text(), u"abcMa");
    QCOMPARE(show->Body().FontAt(4), (inprocess::CharFont{u"TestSinhala", 14}));
    QCOMPARE(Typed(), QString());
  }

  void messengerGetsTheNoticeThenTheText() {
    Chat chat;
    w->tbMSN->click();
    Type("ka");
    Enter();
    // The first submit only tells the other party which font is needed.
    const std::u16string notice = codepage::Widen(output::Notice("TestSinhala"));
    QCOMPARE(chat.history->value, notice + u"\n");
    QCOMPARE(Warnings(), QStringList{"Please change your chat font to \"TestSinhala\"."});
    QCOMPARE(chat.font->actions, 1);
    QCOMPARE(Typed(), QString("ka"));
    Enter();
    QCOMPARE(chat.history->value, notice + u"\nKa\n");
    QCOMPARE(Typed(), QString());

    // Space with "Submit Words" appends word by word; Enter sends.
    w->chkSubmitWords->setChecked(true);
    Type("ma ");
    QCOMPARE(chat.input->value, u"Ma ");
    QCOMPARE(Typed(), QString());
    Type("ka ");
    QCOMPARE(chat.input->value, u"Ma Ka ");
    Enter();
    QCOMPARE(chat.input->value, u"");
    QVERIFY(chat.history->value.ends_with(u"Ma Ka \n"));
    QCOMPARE(Warnings().size(), 1);
    QVERIFY(Errors().isEmpty());
  }

  void aFailureKeepsTheTextAndTheNextSubmitLinksAnew() {
    auto word = Running<inprocess::Word>();
    word->faults->Fail("Selection.Font");
    Type("ka");
    Enter();
    QCOMPARE(Errors(), QStringList{kWordMessage});
    QCOMPARE(Typed(), QString("ka"));
    QCOMPARE(Display(), QString("Ka"));
    QVERIFY(!w->FOutput.WordApplication1.Connected());
    QCOMPARE(word->ActiveDocument()->Body().Text(), u"Ka");  // typed before the failing step

    // The next submit reaches the instance that runs now.
    auto other = Running<inprocess::Word>();
    Enter();
    QCOMPARE(word->ActiveDocument()->Body().Text(), u"Ka");
    QCOMPARE(other->ActiveDocument()->Body().Text(), u"Ka");
    QCOMPARE(other->ActiveDocument()->Body().FontAt(1), (inprocess::CharFont{u"TestSinhala", 14}));
    QVERIFY(!w->FOutput.WordApplication1.Connected());
    QCOMPARE(Typed(), QString());

    // An application closed after a failure and started again is reached.
    auto book = Running<inprocess::Workbook>();
    w->tbMSExcel->click();
    book->faults->Fail("Font");
    Type("m");
    Enter();
    book->faults->Quit();
    Running<inprocess::Workbook>();
    Enter();
    QCOMPARE(Errors(), QStringList({kWordMessage, kOfficeMessage}));
    QCOMPARE(Typed(), QString());
    QVERIFY(!w->FOutput.ExcelApplication1.Connected());
  }

  void nothingToReach() {
    // No Office suite and no chat window: every target fails, nothing is lost.
    Type("ka");
    for (QToolButton* target : {w->tbMSWord, w->tbMSExcel, w->tbPP, w->tbMSN}) {
      target->click();
      quint16 key = VK_RETURN;
      w->memEnglishKeyUp(nullptr, key, {});
      QCOMPARE(key, quint16(0));
      QCOMPARE(Typed(), QString("ka"));
    }
    QCOMPARE(Errors(), QStringList({kWordMessage, kOfficeMessage, kOfficeMessage, kMessengerMessage}));
    QVERIFY(!w->FOutput.WordApplication1.Connected());
  }

  void modeSwitchesSubmitFirst() {
    auto book = Running<inprocess::Workbook>();
    w->tbMSExcel->click();
    Type("ka");
    QTest::keyClick(w->memEnglish, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(w->FEnglishMode);
    // Sent in the mode and face it was typed in; the cell stays active.
    QCOMPARE(book->At(1, 1).value.text, u"Ka");
    QCOMPARE(book->At(1, 1).fontName, u"TestSinhala");
    QCOMPARE(book->Active(), (inprocess::Workbook::Address{1, 1}));
    QCOMPARE(Typed(), QString());
    QCOMPARE(w->memSinhala->font().family(), QString("Arial"));

    Type("hi");
    QTest::keyClick(w->memEnglish, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(!w->FEnglishMode);
    QCOMPARE(book->At(1, 1).value.text, u"Kahi");
    QCOMPARE(book->At(1, 1).fontName, u"Arial");
    QCOMPARE(w->memSinhala->font().family(), QString("TestSinhala"));

    // Already in Sinhala typing: nothing is sent.
    QTest::keyClick(w->memEnglish, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(book->Active(), (inprocess::Workbook::Address{1, 1}));
    // A switch on the empty pane moves to the next cell as Enter does.
    w->EnglishTyping1Click(nullptr);
    QCOMPARE(book->Active(), (inprocess::Workbook::Address{1, 2}));

    // From the menu while the display pane has the focus: no submit.
    w->tbMSWord->click();
    Type("ma");
    w->memSinhala->setFocus();
    w->SinhalaTyping1->trigger();
    QVERIFY(!w->FEnglishMode);
    QCOMPARE(Errors(), QStringList());  // Word was not asked
    QCOMPARE(Typed(), QString("ma"));
  }
};

QTEST_MAIN(KeysTest)
#include "keys_test.moc"
