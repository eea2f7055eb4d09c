// The font-map editor's commands through its window: the cell menu opened
// on a cell, Auto Update and Auto Locate, Smart Map's button, new and copied
// maps, the chart from the toolbar, and a map built from nothing, saved and
// typed with.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "CharView.h"
#include "NewMap.h"
#include "SmartMap.h"
#include "VarunelComms.h"
#include "dialogs.h"
#include "map_editor_fixture.h"
#include "test_files.h"
#include "uFrmFontMapping.h"
#include "uFrmMainBase.h"

class EditorCommandsTest : public QObject, TMapEditorFixture {
  Q_OBJECT

  QAction* Item(const char* name) const { return w->mnuTools->findChild<QAction*>(name); }
  void Set(int r, int c, const QString& key, const QString& codes) {
    Cell(r, c)->CharInEnglish = key;
    Cell(r, c)->CharInFont = codes;
    Cell(r, c)->SetCaption(codes);
  }
  // Presses the button on the cell; the right one leaves the menu open.
  void Press(int r, int c, Qt::MouseButton button) { QTest::mousePress(Cell(r, c), button, {}, QPoint(10, 10)); }
  QStringList EnabledItems() const {
    QStringList on;
    for (const QAction* a : w->mnuTools->actions())
      if (!a->isSeparator() && a->isEnabled()) on << a->objectName();
    return on;
  }
  // Right-clicks the cell, chooses the menu item and closes the menu.
  void Choose(int r, int c, const char* item) {
    Press(r, c, Qt::RightButton);
    QTRY_VERIFY(w->mnuTools->isVisible());
    QVERIFY2(Item(item)->isEnabled(), item);
    Item(item)->trigger();
    w->mnuTools->close();
  }

 private slots:
  void init() {
    Open();
    WriteGridMap(Folder(), "Small", 6, [](int) { return 2; }, "Small", u"SmallFont");
    w = std::make_unique<TfrmFontMapping>(main.get());
    w->LoadMap("Small");
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    script->asked.clear();
  }
  void cleanup() { Close(); }

  // --- the cell menu ---------------------------------------------------------

  void theRightButtonSelectsTheCellAndOpensTheMenu() {
    Press(3, 1, Qt::LeftButton);
    Press(3, 2, Qt::MiddleButton);
    QCOMPARE(w->CurrentCell(), Cell(3, 2));
    QVERIFY(!w->mnuTools->isVisible());
    Press(2, 1, Qt::RightButton);
    QTRY_VERIFY(w->mnuTools->isVisible());
    QCOMPARE(w->CurrentCell(), Cell(2, 1));
    QCOMPARE(w->Edit1->text(), QString("k2_1"));
    QCOMPARE(EnabledItems(), (QStringList{"CopyContent1", "CopyPattern1", "miClearCell", "ClearColumn1", "ClearRow1",
                                          "ClearContenttoright1", "InsertCell1", "InsertColumnRight1", "InsertRow1",
                                          "DeleteCell1", "DeleteColumn1", "DeleteRow1", "miCancel"}));
    Item("CopyPattern1")->trigger();
    w->mnuTools->close();
    Press(4, 1, Qt::RightButton);
    QTRY_VERIFY(w->mnuTools->isVisible());
    QVERIFY(EnabledItems().contains("PastePattern1") && !EnabledItems().contains("PasteContent1"));
    w->mnuTools->close();
  }

  void pastingFromTheMenuLoadsTheCodeBoxes() {
    Choose(2, 1, "CopyContent1");
    w->Edit1->setText("kx");  // the source edited after the copy
    w->btnUpdate->click();
    Choose(0, 2, "PasteContent1");
    QCOMPARE(Cell(0, 2)->CharInEnglish, QString("kx"));
    QCOMPARE(Cell(0, 2)->Caption(), QString("F2_1"));
    QCOMPARE(w->Edit1->text(), QString("kx"));
    QCOMPARE(w->Edit2->text(), QString("F2_1"));
    Choose(4, 2, "CopyPattern1");
    Choose(5, 2, "PastePattern1");
    QCOMPARE(Cell(5, 2)->CharInEnglish, QString("k5_2"));
    QCOMPARE(w->Edit2->text(), QString("F5_2"));
    Choose(1, 0, "DeleteRow1");  // the menu's commands move cells as the shifting rules say
    QCOMPARE(Cell(1, 0)->CharInEnglish, QString("k2"));
    QCOMPARE(Cell(109, 1)->CharInEnglish, QString());
    QCOMPARE(w->Edit1->text(), QString("k1"));  // the boxes are not reloaded
  }

  // --- Auto Update and Auto Locate -------------------------------------------

  void autoUpdateFollowsEveryKeyAndExcludesAutoLocate() {
    w->chkAutoLocate->click();
    w->chkAutoUpdate->click();
    QVERIFY(w->chkAutoUpdate->isChecked() && !w->chkAutoLocate->isChecked());
    w->chkAutoLocate->click();
    QVERIFY(!w->chkAutoUpdate->isChecked() && w->chkAutoLocate->isChecked());
    w->chkAutoLocate->click();
    QVERIFY(!w->chkAutoUpdate->isChecked() && !w->chkAutoLocate->isChecked());
    w->chkAutoUpdate->click();

    QTest::mouseClick(Cell(3, 2), Qt::LeftButton);
    w->Edit2->setFocus();
    w->Edit2->selectAll();
    QTest::keyClick(w->Edit2, Qt::Key_Q);
    QCOMPARE(Cell(3, 2)->CharInFont, QString("q"));
    QCOMPARE(Cell(3, 2)->Caption(), QString("q"));
    QTest::keyClick(w->Edit2, Qt::Key_R);
    QCOMPARE(Cell(3, 2)->Caption(), QString("qr"));
    QTest::mouseClick(Cell(3, 0), Qt::LeftButton);  // a header: codes only
    const QString legend = Cell(3, 0)->Caption();
    w->Edit2->setFocus();
    QTest::keyClick(w->Edit2, Qt::Key_Z);
    QCOMPARE(Cell(3, 0)->CharInFont, QString("F3z"));
    QCOMPARE(Cell(3, 0)->Caption(), legend);
  }

  // --- Smart Map ---------------------------------------------------------------

  void smartMapRunsOverTheChosenRangeAfterYes() {
    Set(0, 0, "k0", "F0");
    Set(0, 3, "k0i", "F0I");
    QTest::mouseClick(Cell(2, 3), Qt::LeftButton);
    script->answers = {dialogs::No};
    w->btnSmartMap->click();
    QCOMPARE(Cell(2, 3)->CharInEnglish, QString());
    QCOMPARE(script->messages(), QStringList{smartmap::kConfirmText});
    script->answers = {dialogs::Yes};
    w->btnSmartMap->click();  // "Selected Row" is ticked at start
    QCOMPARE(Cell(2, 3)->CharInEnglish, QString("k2i"));
    QCOMPARE(Cell(3, 3)->CharInEnglish, QString());
    w->rdbAutoSelectedColumn->click();
    script->answers = {dialogs::Yes};
    w->btnSmartMap->click();
    QCOMPARE(Cell(5, 3)->CharInFont, QString("F5I"));
    QCOMPARE(Cell(5, 4)->CharInFont, QString());
    w->rdbAutoAllRows->click();
    Set(0, 4, "k0u", "F0U");
    script->answers = {dialogs::Yes};
    w->btnSmartMap->click();
    QCOMPARE(Cell(5, 4)->Caption(), QString("F5U"));
    QCOMPARE(Cell(7, 4)->Caption(), QString());  // no base character there
  }

  // --- new and copied maps -----------------------------------------------------

  void newMapOpensAnEmptyMapUnderItsName() {
    const QByteArray small = ReadFile(Folder() + "Small.fmp");
    script->inputs = {QString(), "small", "Fresh"};
    w->ToolButton4->click();  // Cancel
    w->ToolButton4->click();  // taken, whatever the case
    QCOMPARE(script->messages(), QStringList{newmap::kExistsMessage});
    QCOMPARE(Cell(1, 1)->CharInEnglish, QString("k1_1"));
    script->asked.clear();
    Set(1, 1, "edited", "E");  // unsaved edits go without a question
    w->ToolButton4->click();
    QCOMPARE(script->asked.front().caption, QString("Create Character Map"));
    QCOMPARE(script->messages(), QStringList{kLayoutError});
    QCOMPARE(Lines(Folder() + "Fresh.fmp"), (QStringList{"[font]", "Noto Sans Sinhala", "", "[map_layout]", "", ""}));
    QCOMPARE(ReadFile(Folder() + "Small.fmp"), small);
    QCOMPARE(w->cmbMaps->currentText(), QString("Fresh"));
    QCOMPARE(w->txtFontName->text(), QString("Noto Sans Sinhala"));
    for (int r = 0; r < TCellGrid::RowCount; ++r)
      for (int c = 0; c < TCellGrid::ColCount; ++c)
        QVERIFY(Cell(r, c)->CharInEnglish.isEmpty() && Cell(r, c)->CharInFont.isEmpty());
  }

  // The copy holds the grid as shown; the list offers it but keeps showing
  // the edited map, so that Save still writes the edited map's own file.
  void copyMapWritesTheGridAndKeepsEditingTheSameMap() {
    const QByteArray small = ReadFile(Folder() + "Small.fmp");
    Set(2, 1, "edited", "E");
    script->inputs = {"A copy"};
    w->ToolButton5->click();
    QCOMPARE(script->asked.front().caption, QString("Copy Current Character Map"));
    QCOMPARE(script->messages(), QStringList{});
    const QStringList copy = Lines(Folder() + "A copy.fmp");
    QCOMPARE(copy.size(), 4736);
    QVERIFY(copy.contains("edited=E"));
    QCOMPARE(copy[1], QString("SmallFont"));
    QCOMPARE(copy[4], QString("Small"));
    QCOMPARE(ReadFile(Folder() + "Small.fmp"), small);
    QCOMPARE(Cell(2, 1)->CharInEnglish, QString("edited"));
    QCOMPARE(w->cmbMaps->count(), 2);
    QCOMPARE(w->cmbMaps->currentText(), QString("Small"));
    script->inputs = {"a?b", "A COPY"};
    w->ToolButton5->click();
    w->ToolButton5->click();
    QCOMPARE(script->messages(), (QStringList{"Invalid Character Map Name.", newmap::kExistsMessage}));
    w->ToolButton2->click();  // Save: the edited map's own file
    QVERIFY(Lines(Folder() + "Small.fmp").contains("edited=E"));
  }

  // --- the HTML chart ------------------------------------------------------------

  void theChartComesFromTheToolbar() {
    w->ToolButton6->click();  // cancelled: nothing written
    QCOMPARE(w->SaveDialog1.FileName, QString("SmallFontCharacterMap.htm"));
    Set(3, 0, "", "");  // not exported
    script->saveNames = {Folder() + "chart.xls"};
    w->ToolButton6->click();
    const QStringList lines = Lines(Folder() + "chart.xls");
    QCOMPARE(lines.size(), 16 + 4 * 4);
    QCOMPARE(lines[2], QString("<title>SmallFont Character Map</title>"));
    QVERIFY(lines[13].startsWith("<tr><td class=\"sinFont\">F1_1</td><td class=\"sinFont\">F1_2</td><td"));
    script->saveNames = {"/nonexistent-folder/chart.htm"};
    w->ToolButton6->click();
    QCOMPARE(script->asked.back().kind, QString("error"));
  }

  // A map built from nothing: templates, base characters, Smart Map, Save;
  // then typed with and charted.
  void aMapBuiltFromNothingTypes() {
    script->inputs = {"Mine"};
    w->ToolButton4->click();
    Set(0, 0, "#", "#");
    Set(0, 1, "#", QString::fromUtf16(u"#\u0DCA"));
    Set(0, 2, "#a", "#");
    Set(0, 3, "#aa", QString::fromUtf16(u"#\u0DCF"));
    Set(1, 0, "k", QString::fromUtf16(u"\u0D9A"));
    Set(2, 0, "m", QString::fromUtf16(u"\u0DB8"));
    w->rdbAutoAllRows->click();
    script->answers = {dialogs::Yes};
    w->btnSmartMap->click();
    w->ToolButton2->click();
    TCharCollection map;
    map.LoadFromFile((Folder() + "Mine.fmp").toStdU16String(), true);
    QVERIFY(map.EnglishToFont(u"kaamak") == u"\u0D9A\u0DCF\u0DB8\u0D9A\u0DCA");
    script->saveNames = {Folder() + "Mine.htm"};
    w->ToolButton6->click();
    QCOMPARE(Lines(Folder() + "Mine.htm").size(), 16 + 2 * 4);
  }
};

QTEST_MAIN(EditorCommandsTest)
#include "editor_commands_test.moc"
