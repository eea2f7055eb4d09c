// The font-map editor through its window: the grid, selection and the code
// boxes, loading and saving maps, layouts and their legends, the failure
// states, and the shipped default map with its layout. Maps and layouts are
// written by the tests into a temporary program folder.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "CharView.h"
#include "RunApp.h"
#include "VarunelComms.h"
#include "WorkingCtrls.h"
#include "dialogs.h"
#include "bad_files.h"
#include "map_editor_fixture.h"
#include "small_disk.h"
#include "test_files.h"
#include "uFrmFontMapping.h"
#include "uFrmMainBase.h"

namespace {

// Lines as the system writes text files: UTF-16 LE, its mark, CR LF.
QByteArray Utf16File(const QStringList& lines) {
  QByteArray bytes("\xFF\xFE", 2);
  for (const QString& l : lines) {
    const QString line = l + "\r\n";
    bytes.append(reinterpret_cast<const char*>(line.utf16()), line.size() * 2);
  }
  return bytes;
}

QStringList Entries(int from, int count, const QString& prefix) {
  QStringList out;
  for (int i = from; i < from + count; ++i) out << QString("%1%2=L%1%2").arg(prefix).arg(i);
  return out;
}

}  // namespace

class MapEditorTest : public QObject, TMapEditorFixture {
  Q_OBJECT

  void WriteLayout(const QString& name, const QByteArray& bytes) {
    QVERIFY(WriteFile(Folder() + "layouts/" + name + ".lot", bytes));
  }
  // Opens a new editor on `map`.
  void Open(const QString& map) {
    w = std::make_unique<TfrmFontMapping>(main.get());
    w->LoadMap(map);
  }
  void Click(int r, int c) { QTest::mouseClick(Cell(r, c), Qt::LeftButton); }
  QStringList SavedLines(const QString& name) const { return Lines(Folder() + name + ".fmp"); }

 private slots:
  void init() {
    TMapEditorFixture::Open();
    WriteGridMap(Folder(), "Grid", 60, [](int r) { return r % 40; });
    WriteGridMap(Folder(), "Small", 3, [](int) { return 2; }, "Grid", u"SmallFont");
  }
  void cleanup() { Close(); }

  // What the screen shows, not only what the cells hold: after a switch to
  // a smaller map the cells it leaves empty are drawn empty.
  void aMapSwitchRedrawsTheCellsOnScreen() {
    Open("Grid");
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    TTntCharView* cell = Cell(5, 3);
    QVERIFY(!cell->Caption().isEmpty());
    const auto onScreen = [&] {
      QApplication::processEvents();
      const QPoint at = cell->mapTo(w.get(), QPoint(0, 0));
      return w->screen()->grabWindow(w->winId(), at.x() + 2, at.y() + 2, cell->width() - 4, cell->height() - 4).toImage();
    };
    const QImage before = onScreen();
    w->LoadMap("Small");
    QVERIFY(cell->Caption().isEmpty());
    QImage blank(before.size(), before.format());
    blank.fill(cell->palette().color(QPalette::Window));
    QTRY_COMPARE(onScreen(), blank);
  }

  void freshWindowShowsEmptyCellsWithHeadersAndHints() {
    w = std::make_unique<TfrmFontMapping>(main.get());
    QCOMPARE(w->windowTitle(), QString("Configure Font Character Map "));
    QCOMPARE(w->size(), QSize(809, 590));
    for (const char* name : {"CoolBar1", "ToolBar1", "ToolButton4", "ToolButton2", "ToolButton6", "ToolButton1",
                             "ToolButton5", "ToolButton3", "Label3", "cmbMaps", "GroupBox1", "Edit1", "Edit2",
                             "txtFontChar", "chkAutoLocate", "chkAutoUpdate", "btnUpdate", "txtFontName", "btnFont",
                             "ScrollBox1", "lblCharacters", "lblCharCombinations", "GroupBox3", "rdbAutoAllRows",
                             "rdbAutoSelectedRow", "rdbAutoSelectedColumn", "btnSmartMap", "GroupBox2",
                             "cmbMapLayout", "txtLayoutFont", "Button3", "lblLegend", "txtLegend",
                             "chkAutoSaveLayout", "mnuTools"})
      QVERIFY2(w->findChild<QObject*>(name), name);
    QVERIFY(w->rdbAutoSelectedRow->isChecked());
    QVERIFY(!w->txtLegend->isEnabled() && !w->lblLegend->isEnabled());
    QCOMPARE(w->FClipMode, 2);
    QCOMPARE(w->CurrentCell(), nullptr);
    QCOMPARE(w->Map(), nullptr);

    // 4,400 cells after the two margin labels, row by row, empty, silver and
    // hinted in row 0 and column 0.
    const QObjectList children = w->ScrollBox1->Content()->children();
    QCOMPARE(children.size(), 2 + 4400);
    QCOMPARE(children[0]->objectName(), QString("lblCharacters"));
    const QColor silver(0xC0, 0xC0, 0xC0);
    for (int i = 0; i < 4400; ++i) {
      auto* cell = qobject_cast<TTntCharView*>(children[2 + i]);
      QVERIFY(cell);
      const int r = i / 40, c = i % 40;
      QCOMPARE(cell->RowIndex, r);
      QCOMPARE(cell->ColumnIndex, c);
      QCOMPARE(cell->geometry(), QRect(33 + 44 * c, 28 + 27 * r, 44, 27));
      QVERIFY(cell->CharInEnglish.isEmpty() && cell->CharInFont.isEmpty() && cell->Caption().isEmpty());
      const bool header = r == 0 || c == 0;
      QCOMPARE(cell->palette().color(QPalette::Window) == silver, header);
      if (r == 0) QVERIFY(cell->toolTip().startsWith("This row holds character combination template data"));
      else if (c == 0) QCOMPARE(cell->toolTip(), QString("This column holds base character information only."));
      else QVERIFY(cell->toolTip().isEmpty());
    }
    QCOMPARE(w->ScrollBox1->Content()->size(), QSize(1793, 2998));

    // The character-map button starts the desktop's character map through
    // the main window's process starter.
    w->ToolButton3->click();
    QCOMPARE(main->RunApp1->CommandLine, QString::fromLatin1(kCharacterMapCommand));
  }

  void getCellFindsTheCellWhereverTheGridIsScrolled() {
    w = std::make_unique<TfrmFontMapping>(main.get());
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    for (const QPoint scroll : {QPoint(0, 0), QPoint(500, 1200), QPoint(100000, 100000)}) {
      w->ScrollBox1->horizontalScrollBar()->setValue(scroll.x());
      w->ScrollBox1->verticalScrollBar()->setValue(scroll.y());
      for (const QPoint rc : {QPoint(0, 0), QPoint(109, 39), QPoint(57, 3), QPoint(0, 39), QPoint(109, 0)}) {
        TTntCharView* cell = w->GetCell(rc.x(), rc.y());
        QVERIFY(cell);
        QCOMPARE(QPoint(cell->RowIndex, cell->ColumnIndex), rc);
      }
      QCOMPARE(w->GetCell(110, 0), nullptr);
      QCOMPARE(w->GetCell(0, 40), nullptr);
      QCOMPARE(w->GetCell(-1, 0), nullptr);
    }
  }

  // A map larger than the grid shows items 0..109 and 39 combinations each;
  // Save warns before it drops the rest, and writes 4,736 lines when told to.
  void aLargerMapIsCutOnlyAfterAWarning() {
    WriteGridMap(Folder(), "Big", 115, [](int r) { return r == 1 ? 45 : 2; });
    const QByteArray before = ReadFile(Folder() + "Big.fmp");
    Open("Big");
    QCOMPARE(Cell(109, 0)->CharInEnglish, Key(109, 0));
    QCOMPARE(Cell(1, 39)->CharInFont, Code(1, 39));
    QCOMPARE(Cell(1, 39)->Caption(), Code(1, 39));

    script->answers = {dialogs::No};
    w->ToolButton2->click();
    QCOMPARE(script->asked.back().icon, dialogs::Icon::Warning);
    QCOMPARE(ReadFile(Folder() + "Big.fmp"), before);

    script->answers = {dialogs::Yes};
    w->ToolButton2->click();
    QCOMPARE(SavedLines("Big").size(), 4736);
    // Once agreed, the next save does not ask again.
    const auto asked = script->asked.size();
    w->ToolButton2->click();
    QCOMPARE(script->asked.size(), asked);

    // A map within the grid saves without a question.
    Open("Grid");
    w->ToolButton2->click();
    QCOMPARE(script->asked.size(), asked + 1);  // only the layout message of the load
  }

  void rightArrowMovesAlongTheRowAndStopsAtTheLastColumn() {
    Open("Grid");
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QTest::keyClick(w->ScrollBox1, Qt::Key_Right);  // no current cell: nothing
    QCOMPARE(w->CurrentCell(), nullptr);
    Click(3, 38);
    w->Edit1->setText("typed");
    QTest::keyClick(w->ScrollBox1, Qt::Key_Right);
    QCOMPARE(w->CurrentCell(), Cell(3, 39));
    QCOMPARE(Cell(3, 39)->palette().color(QPalette::Window), w->palette().color(QPalette::Highlight));
    QCOMPARE(Cell(3, 38)->palette().color(QPalette::Window), w->ScrollBox1->Content()->palette().color(QPalette::Window));
    QCOMPARE(w->Edit1->text(), QString("typed"));
    QTest::keyClick(w->ScrollBox1, Qt::Key_Right);
    QCOMPARE(w->CurrentCell(), Cell(3, 39));
  }

  // The Auto Update way of working, through the window system: a click on a
  // cell selects it and leaves the keyboard in the code box; a double-click
  // takes the keyboard to the font code, wholly selected, so that typing
  // replaces it.
  void aClickKeepsTheKeyboardADoubleClickSelectsTheCode() {
    Open("Grid");
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    const auto at = [this](int r, int c) { return Cell(r, c)->mapTo(w.get(), Cell(r, c)->rect().center()); };
    w->chkAutoUpdate->click();
    w->Edit2->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), w->Edit2);
    QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, at(5, 3));
    QCOMPARE(w->CurrentCell(), Cell(5, 3));
    QCOMPARE(QApplication::focusWidget(), w->Edit2);
    QTest::keyClicks(QApplication::focusWidget(), "Q");
    QCOMPARE(Cell(5, 3)->CharInFont, Code(5, 3) + "Q");

    QTest::mouseDClick(w->windowHandle(), Qt::LeftButton, {}, at(7, 6));
    QCOMPARE(w->CurrentCell(), Cell(7, 6));
    QCOMPARE(QApplication::focusWidget(), w->Edit2);
    QCOMPARE(w->Edit2->selectedText(), Code(7, 6));
    QTest::keyClicks(QApplication::focusWidget(), "Z");
    QCOMPARE(w->Edit2->text(), QString("Z"));
    QCOMPARE(Cell(7, 6)->CharInFont, QString("Z"));
    QCOMPARE(Cell(7, 6)->Caption(), QString("Z"));
  }

  void updateChangesCodesAndOnlyACombinationsCaption() {
    Open("Grid");
    Click(2, 0);
    QVERIFY(w->txtLegend->isEnabled() && w->lblLegend->isEnabled());
    const QString legend = Cell(2, 0)->Caption();
    w->Edit1->setText("x");
    w->Edit2->setText("X");
    QCOMPARE(w->txtFontChar->text(), QString("X"));
    w->btnUpdate->click();
    QCOMPARE(Cell(2, 0)->CharInEnglish, QString("x"));
    QCOMPARE(Cell(2, 0)->CharInFont, QString("X"));
    QCOMPARE(Cell(2, 0)->Caption(), legend);

    Click(2, 1);
    QVERIFY(!w->txtLegend->isEnabled() && w->txtLegend->text().isEmpty());
    QCOMPARE(w->Edit1->text(), Key(2, 1));
    w->Edit2->setText("Y");
    w->btnUpdate->click();
    QCOMPARE(Cell(2, 1)->Caption(), QString("Y"));
  }

  void autoLocateFindsTheFirstCellRowByRowCaseSensitively() {
    WriteGridMap(Folder(), "Case", 4, [](int) { return 3; });
    Open("Case");
    Cell(0, 2)->CharInEnglish = "qa";  // a template comes before any base
    Cell(3, 1)->CharInEnglish = "qb";
    Cell(1, 3)->CharInEnglish = "Qc";
    w->chkAutoLocate->setChecked(true);
    w->Edit1->setText("q");
    QCOMPARE(w->CurrentCell(), Cell(0, 2));
    QCOMPARE(w->Edit1->text(), QString("q"));  // the box keeps what was typed
    w->Edit1->setText("qb");
    QCOMPARE(w->CurrentCell(), Cell(3, 1));
    w->Edit1->setText("Q");
    QCOMPARE(w->CurrentCell(), Cell(1, 3));
    w->Edit1->setText("qbb");  // longer than every code: no match, no change
    QCOMPARE(w->CurrentCell(), Cell(1, 3));

    // A click unticks Auto Locate; Enter locates all the same, by font code
    // in the font box; an empty box does nothing.
    Click(2, 2);
    QVERIFY(!w->chkAutoLocate->isChecked());
    w->Edit1->setText("qa");
    QCOMPARE(w->CurrentCell(), Cell(2, 2));
    QTest::keyClick(w->Edit1, Qt::Key_Return);
    QCOMPARE(w->CurrentCell(), Cell(0, 2));
    w->Edit2->setText(Code(3, 2));
    QTest::keyClick(w->Edit2, Qt::Key_Return);
    QCOMPARE(w->CurrentCell(), Cell(3, 2));
    w->Edit1->clear();
    QTest::keyClick(w->Edit1, Qt::Key_Return);
    QCOMPARE(w->CurrentCell(), Cell(3, 2));
  }

  void loadingThenSavingWritesAllLinesInTheFileFormat() {
    Open("Small");
    Cell(5, 0)->CharInEnglish = "e5";  // then emptied again below: row 5 empty
    Cell(5, 0)->CharInEnglish.clear();
    w->ToolButton2->click();
    const QStringList lines = SavedLines("Small");
    QCOMPARE(lines.size(), 4736);
    QStringList expected = {"[font]", "SmallFont", "", "[map_layout]", "Grid", ""};
    for (int r = 0; r < 110; ++r) {
      expected << (r < 3 ? Key(r, 0) : "") << (r < 3 ? Code(r, 0) : "") << "<!--";
      for (int c = 1; c < 40; ++c) expected << (r < 3 && c <= 2 ? Key(r, c) + "=" + Code(r, c) : "=");
      expected << "-->";
    }
    QCOMPARE(lines, expected);
    QCOMPARE(ReadFile(Folder() + "Small.fmp").left(2), QByteArray("\xFF\xFE", 2));

    // Text typed into the layout combo is saved as the layout name, whether
    // or not such a layout exists.
    w->cmbMapLayout->setCurrentText("Nowhere");
    w->ToolButton2->click();
    QCOMPARE(SavedLines("Small")[4], QString("Nowhere"));
  }

  void aMapPickedWithTheMouseLoadsOneSteppedToWithKeysDoesNot() {
    Open("Grid");
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QCOMPARE(w->cmbMaps->currentText(), QString("Grid"));
    QVERIFY(!w->MapPicked());

    // Keyboard: the combo names "Small", the grid still shows "Grid", and
    // Save writes the grid under "Small".
    w->cmbMaps->setFocus();
    QTest::keyClick(w->cmbMaps, Qt::Key_Down);
    QCOMPARE(w->cmbMaps->currentText(), QString("Small"));
    QCOMPARE(w->txtFontName->text(), QString("GridFont"));
    w->ToolButton2->click();
    QCOMPARE(SavedLines("Small")[1], QString("GridFont"));
    QCOMPARE(SavedLines("Small")[6 + 43 * 59], Key(59, 0));

    // Mouse: picking "Grid" from the opened list loads it.
    WriteGridMap(Folder(), "Grid", 3, [](int) { return 2; }, "Grid", u"GridFont2");
    w->cmbMaps->showPopup();
    QAbstractItemView* view = w->cmbMaps->view();
    QTRY_VERIFY(view->isVisible());
    QTest::qWait(QApplication::doubleClickInterval() + 100);  // a release this early is not taken
    const QRect item = view->visualRect(view->model()->index(0, 0));  // "Grid"
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    QTRY_COMPARE(w->txtFontName->text(), QString("GridFont2"));
    QVERIFY(w->MapPicked());
    QCOMPARE(w->cmbMaps->currentText(), QString("Grid"));
    QCOMPARE(Cell(1, 0)->CharInEnglish, Key(1, 0));
    QVERIFY(Cell(59, 0)->CharInEnglish.isEmpty());
  }

  void fontButtonsChangeTheMapFaceAndTheLegendFace() {
    Open("Small");
    QCOMPARE(w->ScrollBox1->font().pointSize(), 16);
    QCOMPARE(w->ScrollBox1->font().family(), QString("SmallFont"));
    QCOMPARE(Cell(1, 1)->font().family(), QString("SmallFont"));
    QCOMPARE(w->txtFontChar->font().family(), QString("SmallFont"));

    // Cancel changes nothing.
    w->btnFont->click();
    QCOMPARE(script->asked.back().kind, QString("font"));
    QCOMPARE(script->asked.back().text, QString("SmallFont"));
    QCOMPARE(w->txtFontName->text(), QString("SmallFont"));
    QCOMPARE(w->ScrollBox1->font().pointSize(), 16);

    script->fonts = {QFont("Other Face", 30)};
    w->btnFont->click();
    QCOMPARE(w->txtFontName->text(), QString("Other Face"));
    QVERIFY(w->Map()->FontName == u"Other Face");
    QCOMPARE(w->txtFontChar->font().family(), QString("Other Face"));
    QCOMPARE(w->ScrollBox1->font(), QFont("Other Face", 18));
    QCOMPARE(Cell(1, 1)->font().family(), QString("SmallFont"));  // filled: keeps its copy
    QCOMPARE(Cell(50, 30)->font().family(), QString("Other Face"));  // never filled: follows
    w->ToolButton2->click();
    QCOMPARE(SavedLines("Small")[1], QString("Other Face"));

    // The layout font goes to every header cell, and nowhere else.
    script->fonts = {QFont("Legend Face", 9)};
    w->Button3->click();
    QCOMPARE(w->LayoutFont(), QString("Legend Face"));
    QCOMPARE(w->txtLayoutFont->text(), QString("Legend Face"));
    for (const QPoint rc : {QPoint(0, 0), QPoint(0, 39), QPoint(109, 0), QPoint(2, 0)})
      QCOMPARE(Cell(rc.x(), rc.y())->font().family(), QString("Legend Face"));
    QCOMPARE(Cell(1, 1)->font().family(), QString("SmallFont"));
    QCOMPARE(Cell(1, 0)->font().pointSize(), 16);
  }

  void aSavedLayoutLoadsBackIntoTheHeaders() {
    Open("Small");
    QCOMPARE(script->messages(), QStringList{kLayoutError});  // "Grid.lot" does not exist yet
    script->fonts = {QFont("Legend Face")};
    w->Button3->click();
    Click(0, 3);
    w->txtLegend->setText("a=b");
    QTest::keyClick(w->txtLegend, Qt::Key_B);  // each key release sets the caption
    QCOMPARE(Cell(0, 3)->Caption(), QString("a=bb"));
    Cell(2, 0)->CharInEnglish = "k=2";
    Cell(109, 0)->SetCaption("last");
    w->chkAutoSaveLayout->setChecked(true);
    w->ToolButton2->click();
    QCOMPARE(ReadFile(Folder() + "layouts/Grid.lot").count(QByteArray("\r\0\n\0", 4)), 157);

    Open("Small");
    QCOMPARE(script->messages().size(), 1);  // no new message
    QCOMPARE(w->txtLayoutFont->text(), QString("Legend Face"));
    QCOMPARE(Cell(0, 3)->Caption(), QString("a=bb"));
    QCOMPARE(Cell(0, 3)->font().family(), QString("Legend Face"));
    QCOMPARE(Cell(109, 0)->Caption(), QString("last"));
    QCOMPARE(Cell(1, 0)->Caption(), Code(1, 0));  // a header without a legend shows its code
    // The key is cut at its first "=", the rest joins the legend.
    QCOMPARE(Cell(2, 0)->CharInEnglish, QString("k"));
    QCOMPARE(Cell(2, 0)->Caption(), QString("2=") + Code(2, 0));
  }

  void layoutBodiesAreReadByTheSectionRules() {
    const QStringList head = {"[layout-font]", "Face", ""};
    WriteGridMap(Folder(), "Lay", 2, [](int) { return 1; }, "L");
    auto load = [&](const QStringList& body) {
      WriteLayout("L", Utf16File(head + body));
      Open("Lay");
    };
    // (0,0) ends with the first horizontal entry; 20 vertical entries change rows 0..19.
    load(QStringList{"VLayout{"} + Entries(0, 20, "v") + QStringList{"}", "HLayout{"} + Entries(0, 3, "h") +
         QStringList{"}"});
    QCOMPARE(Cell(0, 0)->CharInEnglish, QString("h0"));
    QCOMPARE(Cell(19, 0)->Caption(), QString("Lv19"));
    QCOMPARE(Cell(19, 0)->font().family(), QString("Face"));
    QVERIFY(Cell(20, 0)->Caption().isEmpty());
    QCOMPARE(Cell(1, 0)->CharInFont, Code(1, 0));  // font codes are never touched
    QCOMPARE(Cell(0, 2)->Caption(), QString("Lh2"));

    load(QStringList{"VLayout{"} + Entries(0, 150, "v") + QStringList{"}"});
    QCOMPARE(Cell(109, 0)->Caption(), QString("Lv109"));

    // A section without its "}" takes the horizontal entries too.
    load(QStringList{"VLayout{"} + Entries(0, 2, "v") + QStringList{"HLayout{"} + Entries(0, 2, "h") +
         QStringList{"}"});
    QCOMPARE(Cell(3, 0)->Caption(), QString("Lh1"));
    QCOMPARE(Cell(0, 1)->Caption(), Code(0, 1));

    // Two vertical sections fill column 0 one after the other; stray lines,
    // a "}" outside any section and entries outside them change nothing.
    load(QStringList{"x=y", "}", "VLayout{"} + Entries(0, 2, "a") + QStringList{"}", "junk", "VLayout{"} +
         Entries(0, 2, "b") + QStringList{"} "});
    QCOMPARE(Cell(0, 0)->Caption(), QString("La0"));
    QCOMPARE(Cell(2, 0)->Caption(), QString("Lb0"));
    QCOMPARE(Cell(3, 0)->Caption(), QString("Lb1"));
    QCOMPARE(script->messages(), QStringList());

    // Two lines set the face and nothing else; one line fails with the
    // message and leaves the face as it was.
    WriteLayout("L", Utf16File({"[layout-font]", "Only Face"}));
    Open("Lay");
    QCOMPARE(w->txtLayoutFont->text(), QString("Only Face"));
    QCOMPARE(Cell(1, 0)->Caption(), Code(1, 0));
    WriteLayout("L", Utf16File({"[layout-font]"}));
    Open("Lay");
    QCOMPARE(script->messages(), QStringList{kLayoutError});
    QCOMPARE(script->asked.back().icon, dialogs::Icon::Error);
    QVERIFY(w->txtLayoutFont->text().isEmpty());

    // UTF-8 with its mark and LF line ends read like the written form.
    WriteLayout("L", "\xEF\xBB\xBF[layout-font]\nFace8\n\nVLayout{\n=\xE0\xB6\x9A\n}\n");
    Open("Lay");
    QCOMPARE(w->txtLayoutFont->text(), QString("Face8"));
    QCOMPARE(Cell(0, 0)->Caption(), QString(QChar(0x0D9A)));
    QCOMPARE(Cell(0, 0)->CharInEnglish, QString());
  }

  // A layout that is a FIFO, an endless device or too large is not read:
  // the layout message, the headers as they were, the file left alone.
  void layoutsThatCannotBeReadAreReportedAndLeftAlone() {
    constexpr std::uintmax_t kHuge = 64u << 20;
    const std::string path = (Folder() + "layouts/Grid.lot").toStdString();
    for (const testutil::BadFile kind : testutil::EveryBadFile()) {
      QVERIFY(testutil::MakeBadFile(kind, path, kHuge, "[layout-font]\nBad Face\n"));
      script->asked.clear();
      Open("Small");
      QCOMPARE(script->messages(), QStringList{kLayoutError});
      QVERIFY(w->txtLayoutFont->text().isEmpty());
      QVERIFY2(testutil::StillBad(kind, path, kHuge), testutil::NameOf(kind));
    }
  }

  // On a full disk a layout of a few kilobytes is not written: the error
  // box, and the layout as it was.
  void aFullDiskKeepsTheOldLayout() {
    TSmallDisk disk(64);
    if (!disk.Mounted()) QSKIP("no small disk can be mounted here (needs root)");
    QVERIFY(QDir(Folder() + "layouts").removeRecursively());
    QVERIFY(QFile::link(disk.Path(QString()), Folder() + "layouts"));
    Open("Small");
    w->chkAutoSaveLayout->setChecked(true);
    w->ToolButton2->click();
    const QByteArray before = ReadFile(disk.Path("Grid.lot"));
    QVERIFY(!before.isEmpty());
    QVERIFY(disk.Fill());
    Cell(0, 3)->SetCaption("changed");
    script->asked.clear();
    w->ToolButton2->click();
    QCOMPARE(script->asked.size(), std::size_t(1));
    QCOMPARE(script->asked.back().kind, QString("error"));
    QVERIFY(script->asked.back().text.contains(Folder() + "layouts/Grid.lot"));
    QCOMPARE(ReadFile(disk.Path("Grid.lot")), before);
    QCOMPARE(disk.Entries(), QStringList{"Grid.lot"});
  }

  void failedLoadsAndSavesLeaveTheShownMap() {
    // A map without a layout name loads and reports the missing layout.
    WriteGridMap(Folder(), "NoLayout", 2, [](int) { return 1; }, "", u"NoLayoutFont");
    Open("NoLayout");
    QCOMPARE(script->messages(), QStringList{kLayoutError});
    QCOMPARE(w->Map()->Count(), 2);

    // A listed map that cannot be read: the error box, and the grid still
    // shows the map before it.
    Click(1, 1);
    QVERIFY(WriteFile(Folder() + "Grid.fmp", "[font]"));
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->cmbMapsCloseUp();
    w->cmbMaps->setCurrentIndex(w->cmbMaps->findText("Grid"));
    QCOMPARE(script->asked.back().kind, QString("error"));
    QCOMPARE(script->asked.back().text, QString("Error Loading."));
    QCOMPARE(w->cmbMaps->currentText(), QString("Grid"));
    QCOMPARE(w->txtFontName->text(), QString("NoLayoutFont"));
    QVERIFY(Cell(5, 0)->CharInEnglish.isEmpty());
    QVERIFY(w->Edit1->text().isEmpty() && w->Edit2->text().isEmpty());
    QCOMPARE(Cell(1, 1)->palette().color(QPalette::Window), w->ScrollBox1->Content()->palette().color(QPalette::Window));
    // Save then would write the map shown over the one that failed: it
    // writes nothing until a map has loaded.
    w->ToolButton2->click();
    QCOMPARE(script->asked.back().kind, QString("error"));
    QCOMPARE(ReadFile(Folder() + "Grid.fmp"), QByteArray("[font]"));
    w->cmbMapsCloseUp();
    w->cmbMaps->setCurrentIndex(w->cmbMaps->findText("NoLayout"));
    w->ToolButton2->click();
    QCOMPARE(SavedLines("NoLayout").size(), 4736);
    // Loading before the window shows throws to the caller.
    QVERIFY_THROWS_EXCEPTION(EFontMapLoadError, w->LoadMap("Missing"));

    // No "layouts" folder: the map loads, no layout is offered, the layout
    // message is shown.
    QVERIFY(QDir(Folder() + "layouts").removeRecursively());
    script->asked.clear();
    Open("Small");
    QCOMPARE(w->cmbMaps->currentText(), QString("Small"));
    QCOMPARE(w->cmbMapLayout->count(), 0);
    QCOMPARE(w->cmbMapLayout->currentText(), QString("Grid"));
    QCOMPARE(script->messages(), QStringList{kLayoutError});

    // With Auto Save the layout cannot be written (no folder): reported, and
    // the map, written first, is written.
    w->chkAutoSaveLayout->setChecked(true);
    Cell(1, 1)->CharInFont = "new";
    w->ToolButton2->click();
    QCOMPARE(script->asked.back().kind, QString("error"));
    QVERIFY(SavedLines("Small").contains("k1_1=new"));

    // A map that cannot be replaced keeps its old content.
    QVERIFY(QDir(Folder()).mkdir("Blocked.fmp"));
    w->cmbMaps->addItem("Blocked");
    w->cmbMaps->setCurrentText("Blocked");
    script->asked.clear();
    w->chkAutoSaveLayout->setChecked(false);
    w->ToolButton2->click();
    QCOMPARE(script->asked.size(), std::size_t(1));
    QCOMPARE(script->asked.back().kind, QString("error"));
    QVERIFY(QFileInfo(Folder() + "Blocked.fmp").isDir());
  }

  // The shipped default map names the shipped layout: the editor shows its
  // legends without a message, and saving it changes none of its content.
  void theDefaultMapOpensLabelledAndSavesUnchanged() {
    for (const QString f : {"Sinhala.fmp", "layouts/Sinhala.lot"}) {
      QFile::remove(Folder() + f);
      QVERIFY(QFile::copy(VARUNEL_DATA_DIR "/" + f, Folder() + f));
    }
    TCharCollection shipped;
    shipped.LoadFromFile((Folder() + "Sinhala.fmp").toStdU16String(), false);
    QVERIFY(shipped.Count() <= 110);
    Open("Sinhala");
    QCOMPARE(script->messages(), QStringList());
    QCOMPARE(w->cmbMapLayout->currentText(), QString("Sinhala"));
    QVERIFY(!w->LayoutFont().isEmpty());
    QVERIFY(QFontInfo(Cell(1, 0)->font()).family().contains("Sinhala"));
    QVERIFY(Cell(0, 2)->Caption() != Cell(0, 2)->CharInFont);  // a legend, not the code

    w->ToolButton2->click();
    QCOMPARE(script->asked.size(), std::size_t(0));
    TCharCollection saved;
    saved.LoadFromFile((Folder() + "Sinhala.fmp").toStdU16String(), false);
    QCOMPARE(saved.MapLayout, shipped.MapLayout);
    QCOMPARE(saved.FontName, shipped.FontName);
    QCOMPARE(saved.Count(), 110);
    for (int r = 0; r < 110; ++r) {
      const TCharItem& s = saved.Items(r);
      const bool has = r < shipped.Count();
      QVERIFY(s.CharInEnglish == (has ? shipped.Items(r).CharInEnglish : std::u16string()));
      QVERIFY(s.CharInFont == (has ? shipped.Items(r).CharInFont : std::u16string()));
      QVERIFY(!has || shipped.Items(r).Combinations().Count() <= 39);
      for (int c = 0; c < 39; ++c) {
        const bool comb = has && c < shipped.Items(r).Combinations().Count();
        const TCharItem* source = comb ? &shipped.Items(r).Combinations().Items(c) : nullptr;
        QVERIFY(s.Combinations().Items(c).CharInEnglish == (source ? source->CharInEnglish : std::u16string()));
        QVERIFY(s.Combinations().Items(c).CharInFont == (source ? source->CharInFont : std::u16string()));
      }
    }
  }

  void showFontMappingOpensTheEditorModally() {
    bool shown = false;
    QTimer::singleShot(0, [&] {
      auto* editor = main->findChild<TfrmFontMapping*>();
      shown = editor && editor->isModal() && editor->isVisible() && editor->cmbMaps->currentText() == "Small";
      if (editor) editor->reject();
    });
    QCOMPARE(ShowFontMapping(main.get(), "Small"), int(QDialog::Rejected));
    QVERIFY(shown);
    QCOMPARE(main->findChild<TfrmFontMapping*>(), nullptr);
    QVERIFY_THROWS_EXCEPTION(EFontMapLoadError, ShowFontMapping(main.get(), "Missing"));
  }
};

QTEST_MAIN(MapEditorTest)
#include "map_editor_test.moc"
