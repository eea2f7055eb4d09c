// Typing in Tavimo's window with the Word target puts the converted text
// into the Writer document of a real, headless LibreOffice, at its cursor,
// in the map's face and size. Skipped without an office to start.
#include <QTest>
#include <memory>

#include "test_office.h"
#include "uFrmMain.h"
#include "window_fixture.h"

#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextViewCursor.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>
#include <com/sun/star/util/XCloseable.hpp>

using tavimo::TfrmMain;

namespace css = com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

// "Sinhala" in Unicode Sinhala, drawn in the face the office is told.
void WriteUnicodeSinhala(const QString& folder) {
  WriteMap(folder, "Sinhala", u"Noto Sans Sinhala",
           {{u"k", u"\u0d9a\u0dca", {{u"ka", u"\u0d9a"}, {u"kaa", u"\u0d9a\u0dcf"}}},
            {u"m", u"\u0db8\u0dca", {{u"ma", u"\u0db8"}, {u"maa", u"\u0db8\u0dcf"}}},
            {u"a", u"\u0d85", {{u"a", u"\u0d85"}, {u"aa", u"\u0d86"}}}});
}

class OfficeWindowTest : public QObject, TWindowFixture<TfrmMain> {
  Q_OBJECT

  std::unique_ptr<TestOffice> office;

 private slots:
  void initTestCase() {
    if (TestOffice::Installed()) office = std::make_unique<TestOffice>();
    if (office) QVERIFY2(office->failure.empty(), office->failure.c_str());
  }
  void cleanupTestCase() { office.reset(); }

  void init() {
    if (!office) QSKIP("no office to test against");
    automation::ResetServers();
    QCOMPARE(automation::office::UseOffice(office->settings), std::string());
    QVERIFY(Open(WriteUnicodeSinhala));
    w->FFontSize = "14";
  }
  void cleanup() {
    Close();
    automation::ResetServers();
  }

  void enterTypesIntoTheWriterDocumentAtItsCursor() {
    Reference<css::text::XText> body;
    Reference<css::text::XTextViewCursor> cursor;
    auto document = office->Call([&] {
      auto d = office->Load("private:factory/swriter");
      body = Reference<css::text::XTextDocument>(d, UNO_QUERY_THROW)->getText();
      body->setString("xy");
      cursor = Reference<css::text::XTextViewCursorSupplier>(
                   Reference<css::frame::XModel>(d, UNO_QUERY_THROW)->getCurrentController(), UNO_QUERY_THROW)
                   ->getViewCursor();
      cursor->gotoStart(false);
      cursor->goRight(1, false);
      return d;
    });
    // Two lines: they arrive as two paragraphs.
    SetTyped("kaama\r\nmaka");
    QTRY_VERIFY(Display().contains("\r\n"));
    const QString shown = Display();
    QVERIFY(shown.contains(QChar(0x0d9a)));
    QTest::keyClick(w->memEnglish, Qt::Key_Return);
    QCOMPARE(Typed(), QString());
    QVERIFY(script->asked.empty());

    const QString paragraphs = QString(shown).replace("\r\n", "\n");
    office->Call([&] {
      QCOMPARE(QString::fromStdU16String(automation::office::ToU16(body->getString())), "x" + paragraphs + "y");
      auto typed = body->createTextCursor();
      typed->gotoStart(false);
      typed->goRight(1, false);
      typed->goRight(static_cast<sal_Int16>(paragraphs.size()), true);
      QVERIFY(StyleOf(typed) == kMapStyle);
      auto around = body->createTextCursor();
      around->gotoEnd(false);
      around->goLeft(1, true);
      QVERIFY(StyleOf(around).complexFace != kMapStyle.complexFace);
      // The cursor just after the typed text.
      auto head = body->createTextCursor();
      head->gotoStart(false);
      head->gotoRange(cursor->getStart(), true);
      QCOMPARE(QString::fromStdU16String(automation::office::ToU16(head->getString())), "x" + paragraphs);
      QVERIFY(cursor->isCollapsed());
      Reference<css::util::XCloseable>(document, UNO_QUERY_THROW)->close(true);
    });
  }
};

QTEST_MAIN(OfficeWindowTest)
#include "office_window_test.moc"
