// Tavimo's window driven through its real widgets, in a temporary program
// folder holding small maps.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "CharView.h"
#include "WorkingCtrls.h"
#include "uFrmMain.h"
#include "window_fixture.h"

using tavimo::TfrmMain;
using tavimo::TOutputTarget;

int RunMemoTests(int argc, char** argv);

namespace {

// The window with its searches and outputs recorded.
class TTestWindow : public TfrmMain {
 public:
  std::vector<std::string> searched;
  struct Sent {
    TOutputTarget target;
    QString text;
    bool isEnter;
  };
  std::vector<Sent> sent;
  bool sendResult = false;

  void FindSuggestions(const std::string& text, bool searchMode) override {
    if (!FSuggestBusy && !FEnglishMode) searched.push_back(text);
    TfrmMain::FindSuggestions(text, searchMode);
  }
  bool SendToTarget(TOutputTarget target, const QString& text, bool isEnter) override {
    sent.push_back({target, text, isEnter});
    return sendResult;
  }
};

QStringList Captions(const std::vector<TTntCharView*>& tiles) {
  QStringList out;
  for (const TTntCharView* t : tiles) out << t->Caption();
  return out;
}

TTntCharView* TileWithKey(TfrmMainBase& w, const QString& key, bool bigger) {
  for (TTntCharView* t : w.Tiles())
    if (t->CharInEnglish == key && t->IsBiggerChars == bigger) return t;
  return nullptr;
}

}  // namespace

class WindowTest : public QObject, TWindowFixture<TTestWindow> {
  Q_OBJECT

  void Type(const QString& keys) { QTest::keyClicks(w->memEnglish, keys); }
  // Runs the key handler; returns the key as the handler left it.
  quint16 KeyUp(quint16 key, TShiftState shift = {}) {
    w->memEnglishKeyUp(nullptr, key, shift);
    return key;
  }

 private slots:
  void init() {
    QVERIFY(Open());
    w->searched.clear();
  }
  void cleanup() { Close(); }

  void componentsCarryTheirFormNames() {
    for (const char* name : {"memSinhala", "memEnglish", "pnlSuggest", "txtEnglish", "chkSuggest",
                             "chkSubmitWords", "ScrollBox1", "tmrSuggest", "tbMSWord", "tbMSExcel", "tbPP",
                             "tbMSN", "tbLanguage", "tbCharMap", "ToolButton1", "ToolButton2", "Splitter1",
                             "pmMaps", "pmFontSizes", "popLanguage", "CoolBar1", "ToolBar1", "ToolBar2"})
      QVERIFY2(w->findChild<QObject*>(name), name);
    QCOMPARE(w->tbMSExcel->toolTip(), QString("Output to MS Excel"));
    QVERIFY(w->tbMSWord->isChecked());
    QVERIFY(!w->tbMSWord->icon().isNull());
    QCOMPARE(w->memSinhala->font().family(), QString("TestSinhala"));
    QCOMPARE(w->ScrollBox1->font().family(), QString("TestSinhala"));
  }

  void startRefreshLeavesNoStrayLineBreak() {
    // The refresh that runs 10 ms after start finds both panes empty.
    w->tmrSuggestTimer(nullptr);
    QCOMPARE(Display(), QString());
    Type("ka");
    QCOMPARE(Display(), QString("Ka"));
  }

  void oneKeystrokeRoad() {
    Type("ka");
    QCOMPARE(Display(), QString("Ka"));
    // Keys continuing "ka" first, then those continuing "a".
    QCOMPARE(Captions(w->Tiles()), QStringList({"Ka", "Kaa", "A", "AA"}));
    TTntCharView* kaa = TileWithKey(*w, "kaa", false);
    QVERIFY(kaa);
    QCOMPARE(kaa->Data, QString("ka"));
    QTest::mouseDClick(kaa, Qt::LeftButton);
    QCOMPARE(Typed(), QString("kaa"));
    QTRY_COMPARE(Display(), QString("Kaa"));
    QCOMPARE(w->memEnglish->SelStart(), 3);

    // A tile found for a shorter suffix is inserted after "&".
    Type("m");
    QCOMPARE(Display(), QString("KaaM"));
    SetTyped("k");
    Type("a");
    TTntCharView* aa = TileWithKey(*w, "aa", true);
    QVERIFY(aa);
    QTest::mouseDClick(aa, Qt::LeftButton);
    QCOMPARE(Typed(), QString("k&aa"));
    QTRY_COMPARE(Display(), QString("KAA"));

    // Deleting everything empties the display and the strip.
    w->memEnglish->selectAll();
    QTest::keyClick(w->memEnglish, Qt::Key_Backspace);
    QCOMPARE(Display(), QString());
    QVERIFY(w->Tiles().empty());
  }

  void onlyTheCaretLineIsConverted() {
    w->memEnglish->SetText("ka\r\nma");
    QCOMPARE(Display(), QString("Ka\r\nMa"));  // line counts differed: whole text
    w->memSinhala->SetLine(0, "other");
    w->memEnglish->moveCursor(QTextCursor::End);
    Type("a");
    QCOMPARE(Display(), QString("other\r\nMaa"));
    // A break at the very end: the caret sits on a line the display lacks.
    w->memEnglish->SetText("ka\r\n");
    QCOMPARE(Display(), QString("Ka\r\n"));
    w->memEnglish->moveCursor(QTextCursor::End);
    Type("k");
    QCOMPARE(Display(), QString("Ka\r\nK"));
    // A display that lost a line is converted whole again, not patched.
    QTest::keyClick(w->memEnglish, Qt::Key_Backspace);
    w->memSinhala->SetText("X");
    w->tmrSuggestTimer(nullptr);
    QCOMPARE(Display(), QString("Ka\r\n"));
  }

  void fragmentBeforeTheCaret() {
    w->memEnglish->SetText("kamaki\r\nmaka");
    w->memEnglish->SetSelStart(3);
    KeyUp(VK_RIGHT);
    QCOMPARE(w->searched.back(), std::string("kam"));
    w->memEnglish->SetSelStart(8);  // start of line 1
    KeyUp(VK_DOWN);
    QCOMPARE(w->searched.back(), std::string("maki\r\n"));
    QCOMPARE(w->FCaretLine, 1);
    w->memEnglish->SetSelStart(12);
    KeyUp(VK_LEFT);
    QCOMPARE(w->searched.back(), std::string("\r\nmaka"));
    w->memEnglish->SetSelStart(0);
    KeyUp(VK_UP);
    QCOMPARE(w->searched.back(), std::string());
    QCOMPARE(w->FCaretLine, 0);
    // Only the arrows and the refresh code refresh.
    const auto before = w->searched.size();
    KeyUp(36);
    KeyUp(35);
    QCOMPARE(w->searched.size(), before);
    KeyUp(VK_REFRESH);
    QCOMPARE(w->searched.size(), before + 1);
    // A space: only what follows it is searched.
    SetTyped("ka m");
    KeyUp(VK_REFRESH);
    QCOMPARE(Captions(w->Tiles()), QStringList({"M", "Ma", "Maa"}));
  }

  void tilesWrapAndSelect() {
    w->ScrollBox1->setFixedWidth(45);
    Type("a");
    std::vector<TTntCharView*> tiles = w->Tiles();
    QCOMPARE(tiles.size(), std::size_t(2));
    // Too narrow for one tile: each tile on a row of its own, from row 1.
    QCOMPARE(tiles[0]->RowIndex, 1);
    QCOMPARE(tiles[1]->RowIndex, 2);
    QCOMPARE(tiles[1]->geometry(), QRect(1, 2 * 27 + 1, 44, 27));

    w->ScrollBox1->setFixedWidth(150);
    QApplication::processEvents();
    Type("a");  // "aa": keys for "aa" then for "a"
    tiles = w->Tiles();
    QCOMPARE(tiles.size(), std::size_t(3));
    QCOMPARE(tiles[0]->geometry(), QRect(1, 1, 44, 27));
    QCOMPARE(tiles[1]->geometry(), QRect(45, 1, 44, 27));
    QCOMPARE(tiles[2]->geometry(), QRect(89, 1, 44, 27));

    w->tntCharViewClick(tiles[1]);
    QCOMPARE(tiles[1]->geometry(), QRect(37, 1, 60, 41));
    QCOMPARE(tiles[1]->font().pointSize(), 24);
    QCOMPARE(w->txtEnglish->text(), tiles[1]->CharInEnglish);
    // The selected tile is drawn on the highlight colour.
    QCOMPARE(tiles[1]->grab().toImage().pixelColor(30, 20), tiles[1]->palette().color(QPalette::Highlight));
    const auto searches = w->searched.size();
    w->tntCharViewClick(tiles[2]);
    QCOMPARE(w->searched.size(), searches);  // the search box was written, not searched
    QCOMPARE(tiles[1]->geometry(), QRect(45, 1, 44, 27));
    QCOMPARE(tiles[1]->font().pointSize(), 16);
    QCOMPARE(tiles[1]->palette().color(QPalette::Window), w->ScrollBox1->palette().color(QPalette::Window));
    QCOMPARE(w->FSelectedView, tiles[2]);
  }

  void searchBoxListsOnlyItsOwnKeys() {
    QTest::keyClicks(w->txtEnglish, "ka");
    QCOMPARE(Captions(w->Tiles()), QStringList({"Ka", "Kaa"}));
    // A tile found there replaces as many characters as the search text has.
    Type("xyma");
    QTest::keyClicks(w->txtEnglish, "a");
    QCOMPARE(Captions(w->Tiles()), QStringList({"Kaa"}));
    QTest::mouseDClick(w->Tiles().front(), Qt::LeftButton);
    QCOMPARE(Typed(), QString("xkaa"));
  }

  void doubleClickOutsideTheTiles() {
    dialogs::Script script;
    QTest::mouseDClick(w->ScrollBox1->Content(), Qt::LeftButton, {}, QPoint(200, 100));
    QCOMPARE(script.messages(), QStringList({"yst"}));
    Type("ka");
    QTest::mouseDClick(w->Tiles().front(), Qt::LeftButton);
    QCOMPARE(script.messages().size(), 1);
  }

  void mapSwitching() {
    Type("ka");
    QMenu menu;
    QVERIFY(WriteFile(Folder() + "Broken.fmp", "[font]\r\nX\r\n"));
    QVERIFY(WriteFile(Folder() + "Caps.FMP", ""));
    w->FillMapMenu(&menu, "", ".fmp");
    QStringList names;
    QString checked;
    for (QAction* a : menu.actions()) {
      names << TfrmMain::Caption(a);
      if (a->isChecked()) checked = TfrmMain::Caption(a);
    }
    QCOMPARE(names, QStringList({"Broken", "Caps.FMP", "Other", "Sinhala"}));
    QCOMPARE(checked, QString("Sinhala"));

    menu.actions()[2]->trigger();  // Other
    QCOMPARE(w->FFontMapName, std::string("Other"));
    QCOMPARE(Display(), QString("qa"));
    QCOMPARE(w->memSinhala->font().family(), QString("TestOther"));
    QCOMPARE(w->ScrollBox1->font().family(), QString("TestOther"));

    // Missing, broken or wrongly named maps: silently nothing changes.
    for (int i : {0, 1}) {
      w->FillMapMenu(&menu, "", ".fmp");
      menu.actions()[i]->trigger();
      QCOMPARE(w->FFontMapName, std::string("Other"));
      QCOMPARE(Display(), QString("qa"));
      QCOMPARE(w->memSinhala->font().family(), QString("TestOther"));
    }
    QFile::remove(Folder() + "Sinhala.fmp");
    // Silent to the user, but the reason is logged.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^map \"Sinhala\" not loaded: "));
    QVERIFY(!w->LoadFontMap("Sinhala"));
    // The check mark follows the file of the last attempt.
    w->FillMapMenu(&menu, "", ".fmp");
    for (QAction* a : menu.actions()) QCOMPARE(a->isChecked(), TfrmMain::Caption(a) == "Sinhala");
    // A name differing only in case finds its file, keeps the name asked
    // for and so gets no check mark.
    QVERIFY(w->LoadFontMap("OTHER"));
    QCOMPARE(w->FFontMapName, std::string("OTHER"));
    w->FillMapMenu(&menu, "", ".fmp");
    for (QAction* a : menu.actions()) QVERIFY(!a->isChecked());
  }

  void searchBoxAndDisplayPaneLimits() {
    // Typing stops at six characters; a longer key chosen from a tile fits.
    QTest::keyClicks(w->txtEnglish, "abcdefgh");
    QCOMPARE(w->txtEnglish->text(), QString("abcdef"));
    TTntCharView tile;
    tile.CharInEnglish = "longerkey";
    w->SelectCharView(&tile);
    QCOMPARE(w->txtEnglish->text(), QString("longerkey"));
    w->SelectCharView(nullptr);
    // The display pane's text can be selected from the keyboard.
    Type("kaka");
    w->memSinhala->setFocus();
    QTest::keyClick(w->memSinhala, Qt::Key_End);
    QTest::keyClick(w->memSinhala, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(w->memSinhala->textCursor().selectedText().size(), 1);
  }

  void fillMapList() {
    QComboBox combo;
    for (int i = 0; i < 6; ++i) combo.addItem("x");
    combo.setCurrentIndex(5);
    w->FillMapList(&combo, "", ".fmp");
    QCOMPARE(combo.count(), 2);
    QCOMPARE(combo.currentIndex(), 0);
    combo.setCurrentIndex(1);
    WriteSinhala(Folder() + "..");  // elsewhere: not listed
    QVERIFY(WriteFile(Folder() + "Aaa.fmp", ""));
    w->FillMapList(&combo, "", ".fmp");
    QCOMPARE(combo.currentText(), QString("Other"));  // same position, other name

    QTemporaryDir empty;
    w->FillMapList(&combo, empty.path(), ".lot");
    QCOMPARE(combo.count(), 0);
    QCOMPARE(combo.currentIndex(), -1);
    combo.addItem("kept");
    QVERIFY_THROWS_EXCEPTION(EFolderNotFound, w->FillMapList(&combo, Folder() + "layouts", ".lot"));
    QCOMPARE(combo.count(), 1);
    QFile::remove(Folder() + "../Sinhala.fmp");
  }

  void englishMode() {
    Type("ka");
    w->sendResult = false;
    QTest::keyClick(w->memEnglish, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(w->FEnglishMode);
    // The pending text was offered with Enter first; it failed, so it stays.
    QCOMPARE(w->sent.size(), std::size_t(1));
    QVERIFY(w->sent[0].isEnter);
    QCOMPARE(w->sent[0].text, QString("Ka"));
    QCOMPARE(Typed(), QString("ka"));
    const auto searches = w->searched.size();
    const auto tiles = Captions(w->Tiles());
    Type("m");
    QCOMPARE(Display(), QString("kam"));  // mirrored, not converted
    QCOMPARE(w->searched.size(), searches);
    QCOMPARE(Captions(w->Tiles()), tiles);
    // Ctrl+E again: nothing, not even a submit.
    QTest::keyClick(w->memEnglish, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(w->sent.size(), std::size_t(1));

    // A map switch while the display pane has the focus changes neither
    // pane: English typing is mirrored, never converted.
    w->memSinhala->setFocus();
    QVERIFY(w->FSinhalaEditing);
    QVERIFY(w->LoadFontMap("Other"));
    QCOMPARE(Typed(), QString("kam"));
    QCOMPARE(Display(), QString("kam"));
    // Text put into the focused display pane (a paste) reaches the typing
    // pane once, and stays there.
    w->memSinhala->SetText("zz");
    QCOMPARE(Typed(), QString("zz"));
    QCOMPARE(Display(), QString("zz"));
    w->memEnglish->setFocus();
    QVERIFY(!w->FSinhalaEditing);
    w->memEnglish->moveCursor(QTextCursor::End);
    Type("m");
    QCOMPARE(Display(), QString("zzm"));

    // Back to Sinhala: a successful submit empties both panes.
    w->sendResult = true;
    KeyUp(0x100 | 'S', {false, false, true});  // only the low 8 bits count
    QVERIFY(!w->FEnglishMode);
    QCOMPARE(Typed(), QString());
    QCOMPARE(Display(), QString());
    QCOMPARE(w->memSinhala->font().family(), QString("TestOther"));
  }

  void reverseConversionWhileTheDisplayHasTheFocus() {
    Type("kam");
    w->memSinhala->setFocus();
    // A change of the typing pane by the program is not converted now.
    w->memEnglish->SetText("ma");
    QCOMPARE(Display(), QString("KaM"));
    w->memEnglish->SetText("kam");
    QVERIFY(w->LoadFontMap("Other"));
    QCOMPARE(Display(), QString("qaw"));
    QCOMPARE(Typed(), QString("kam"));  // converted back with the new map
    w->memSinhala->setFocus();
    KeyUp(VK_RETURN);
    QVERIFY(w->sent.empty());  // no key work while the display has the focus
  }

  void submitKeys() {
    Type("ka");
    w->tbPP->click();
    QCOMPARE(KeyUp(VK_SPACE), quint16(VK_SPACE));
    QVERIFY(w->sent.empty());  // Space without "Submit Words"
    w->chkSubmitWords->setChecked(true);
    QCOMPARE(KeyUp(VK_SPACE), quint16(0));  // consumed, even though the output failed
    QCOMPARE(w->sent.size(), std::size_t(1));
    QCOMPARE(w->sent[0].target, TOutputTarget::PowerPoint);
    QVERIFY(!w->sent[0].isEnter);
    QCOMPARE(Typed(), QString("ka"));

    w->sendResult = true;
    w->tbMSN->click();
    QTest::keyClick(w->memEnglish, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(w->sent.back().target, TOutputTarget::Messenger);
    QVERIFY(w->sent.back().isEnter);
    QCOMPARE(Typed(), QString());
    QCOMPARE(Display(), QString());
    // Ctrl with an arrow refreshes.
    const auto searches = w->searched.size();
    KeyUp(VK_LEFT, {false, false, true});
    QCOMPARE(w->searched.size(), searches + 1);
    // The guards stop everything.
    w->FUpdatingInput = true;
    QCOMPARE(KeyUp(VK_RETURN), quint16(VK_RETURN));
    w->FUpdatingInput = false;
  }

  void fontSizes() {
    QAction* item18 = w->findChild<QAction*>("N18");
    QVERIFY(item18);
    item18->trigger();
    QCOMPARE(w->FFontSize, std::string("18"));
    QCOMPARE(w->memSinhala->font().pointSize(), 18);
    const int height = w->memSinhala->height();
    w->pmFontSizesPopup(nullptr);
    for (QAction* a : w->pmFontSizes->actions()) QCOMPARE(a->isChecked(), a == item18);
    QAction odd;
    TfrmMain::SetCaption(&odd, "big");
    w->N81Click(&odd);
    QCOMPARE(w->FFontSize, std::string("big"));
    QCOMPARE(w->memSinhala->height(), height);
    w->pmFontSizesPopup(nullptr);
    for (QAction* a : w->pmFontSizes->actions()) QVERIFY(!a->isChecked());
  }

  void beforeAMapExists() {
    TTestWindow bare;
    bare.memEnglish->SetText("ka");
    QCOMPARE(bare.memSinhala->Text(), QString());
    bare.EnglishTyping1Click(nullptr);
    bare.memEnglish->SetText("kam");
    QCOMPARE(bare.memSinhala->Text(), QString("kam"));
    bare.FontMap1Click(nullptr);  // no map object: nothing loads, nothing breaks
    QVERIFY(bare.FFontMapName.empty());
  }
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int failed = RunMemoTests(argc, argv);
  WindowTest t;
  failed += QTest::qExec(&t, argc, argv);
  return failed;
}

#include "window_test.moc"
