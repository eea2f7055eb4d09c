// Varunel's window driven as the program drives it: creation in a temporary
// program folder, its menus and tool buttons, its settings, panes and
// splitters, its map list, and the recovery file.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <climits>
#include <functional>
#include <latch>
#include <memory>
#include <thread>

#include "CharView.h"
#include "EditorArt.h"
#include "EditorSettings.h"
#include "PaneStack.h"
#include "RecoveryText.h"
#include "RunApp.h"
#include "ShellOpen.h"
#include "TypingSettings.h"
#include "WorkingCtrls.h"
#include "bad_files.h"
#include "dialogs.h"
#include "program_session.h"
#include "registry.h"
#include "small_disk.h"
#include "uAboutBox.h"
#include "uFrmMain.h"
#include "uFrmFontMapping.h"
#include "uFrmMainBaseMemo.h"
#include "uOptions.h"
#include "uSplash.h"
#include "when_modal.h"
#include "window_fixture.h"

using varunel::TfrmMain;
using varunel::TSplitter;

namespace {

// The window with a record of searches run before the suggestion list exists.
class TEditorWindow : public TfrmMain {
 public:
  int searchesWithoutList = 0;
  void FindSuggestions(const std::string& text, bool searchMode) override {
    if (!FSuggestBusy && !FSuggestions) ++searchesWithoutList;
    TfrmMain::FindSuggestions(text, searchMode);
  }
};

void Drag(TSplitter* splitter, int dy) {
  const int y = splitter->mapToGlobal(QPoint(0, 0)).y();
  splitter->BeginDrag(y);
  splitter->DragTo(y + dy);
  splitter->EndDrag();
}

}  // namespace

class EditorWindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TProgramSession> session;
  std::unique_ptr<TEditorWindow> w;

  QString Folder() const { return session->folder.Folder(); }
  QString IniPath() const { return Folder() + "settings.ini"; }
  QString TmpPath() const { return Folder() + "varunel.tmp"; }
  void WriteIni(const QByteArray& text) { QVERIFY(WriteFile(IniPath(), text)); }

  // The window created as at program start.
  TEditorWindow& Start() {
    w = std::make_unique<TEditorWindow>();
    w->FormCreate(w.get());
    return *w;
  }
  TEditorWindow& StartShown() {
    Start();
    w->show();
    w->activateWindow();
    w->memEnglish->setFocus();
    if (!QTest::qWaitForWindowExposed(w.get())) qWarning("window not exposed");
    return *w;
  }
  QStringList Errors() const {
    QStringList out;
    for (const auto& a : session->script.asked)
      if (a.kind == "error") out << a.text;
    return out;
  }
  static int Points(const TfrmMain& w) { return w.memSinhala->font().pointSize(); }
  static QStringList Items(const QComboBox* combo) {
    QStringList out;
    for (int i = 0; i < combo->count(); ++i) out << combo->itemText(i);
    return out;
  }

 private slots:
  void initTestCase() { QApplication::setApplicationName("VarunelV1.0"); }

  void init() {
    session = std::make_unique<TProgramSession>();
    FrmOptions = new TFrmOptions;
  }

  void cleanup() {
    w.reset();
    delete FrmOptions;
    FrmOptions = nullptr;
    TfrmMain::SetFontMapEditor({});
    session.reset();
  }

  void startUpLoadsTheStoredMapBeforeAnySearch() {
    WriteIni("[params]\nfont_map=other\n");
    QVERIFY(WriteFile(TmpPath(), "ka\r\nma"));
    TEditorWindow& win = Start();
    QCOMPARE(Items(win.cmbMaps), QStringList({"Other", "Sinhala"}));
    QCOMPARE(win.cmbMaps->currentText(), QString("Other"));  // letter case ignored
    QCOMPARE(win.FFontMapName, std::string("Other"));
    QCOMPARE(win.memSinhala->font().family(), QString("TestOther"));
    QCOMPARE(win.ScrollBox1->font().family(), QString("TestOther"));
    // The restored text, converted whole by the first load.
    QCOMPARE(win.memSinhala->Text(), QString("qa\r\nwa"));
    QCOMPARE(win.cmbFontSize->currentText(), QString("16"));
    QCOMPARE(win.searchesWithoutList, 0);
    QCOMPARE(win.FTempFile, Folder() + "varunel.tmp");
    QCOMPARE(registry::ReadString(registry::kVarunelKey, registry::kInstallPath),
             std::optional<std::u16string>(Folder().toStdU16String()));
    QCOMPARE(win.windowTitle(), QString("Varunel V1.0"));
    QVERIFY(win.tmrAutoSave->isActive());
    QCOMPARE(win.tmrAutoSave->interval(), 5 * 60000);
  }

  void theFirstShowingShowsTheSplashOnce() {
    frmSplash = new TfrmSplash;
    editorart::MakeEditorSplash(*frmSplash);
    QVERIFY(!frmSplash->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    int shown = 0;
    WhenModal([&shown](QWidget* modal) {
      if (modal == frmSplash) ++shown;
      frmSplash->Timer1Timer();  // as its own timer does
    });
    TEditorWindow& win = StartShown();
    QTRY_COMPARE(shown, 1);
    QTRY_VERIFY(!frmSplash->isVisible());
    win.hide();
    win.show();
    QTest::qWait(50);
    QVERIFY(!frmSplash->isVisible());
    delete frmSplash;
    frmSplash = nullptr;
  }

  void aMapThatCannotLoadFallsBackWithoutAWord() {
    // A stored name of no file: the refill selects the first entry.
    WriteIni("[params]\nfont_map=Gone\n");
    TEditorWindow& win = StartShown();
    QCOMPARE(win.cmbMaps->currentText(), QString("Other"));
    QCOMPARE(win.FFontMapName, std::string("Other"));
    // A listed map the loader rejects: back to the map loaded last.
    const QByteArray sinhala = ReadFile(session->folder.Path("Sinhala.fmp"));
    QVERIFY(WriteFile(session->folder.Path("Sinhala.fmp"), "not a map"));
    win.cmbMaps->setCurrentText("Sinhala");
    QCOMPARE(win.cmbMaps->currentText(), QString("Other"));
    QCOMPARE(win.FFontMapName, std::string("Other"));
    QCOMPARE(win.memSinhala->font().family(), QString("TestOther"));
    // A file deleted after the list was filled: the map now at that position.
    QVERIFY(WriteFile(session->folder.Path("Sinhala.fmp"), sinhala));
    win.cmbMaps->setCurrentText("Sinhala");
    QCOMPARE(win.FFontMapName, std::string("Sinhala"));
    QVERIFY(QFile::remove(session->folder.Path("Other.fmp")));
    win.cmbMaps->setCurrentIndex(win.cmbMaps->findText("Other"));
    QCOMPARE(win.cmbMaps->currentText(), QString("Sinhala"));
    QCOMPARE(win.memSinhala->font().family(), QString("TestSinhala"));
    QVERIFY(session->script.asked.empty());
  }

  void noMapFilesGiveAnEmptyListAndNoMessage() {
    QVERIFY(QFile::remove(session->folder.Path("Other.fmp")));
    QVERIFY(QFile::remove(session->folder.Path("Sinhala.fmp")));
    TEditorWindow& win = StartShown();
    QCOMPARE(win.cmbMaps->count(), 0);
    QTest::keyClicks(win.memEnglish, "ka");
    QCOMPARE(win.memEnglish->Text(), QString("ka"));
    QVERIFY(session->script.asked.empty());
  }

  void typingConvertsLineByLineAndEnterStartsALine() {
    TEditorWindow& win = StartShown();
    QTest::keyClicks(win.memEnglish, "ka");
    QTest::keyClick(win.memEnglish, Qt::Key_Return);
    QTest::keyClicks(win.memEnglish, "ma");
    QCOMPARE(win.memEnglish->Text(), QString("ka\r\nma"));
    QCOMPARE(win.memSinhala->Text(), QString("Ka\r\nMa"));
    QCOMPARE(win.FCaretLine, 1);
    // Ctrl+S, Ctrl+E and Tab only type (or do nothing); no mode, no output.
    QTest::keyClick(win.memEnglish, Qt::Key_E, Qt::ControlModifier);
    QTest::keyClick(win.memEnglish, Qt::Key_Tab);
    QCOMPARE(win.memEnglish->Text(), QString("ka\r\nma\t"));
    QVERIFY(!win.FEnglishMode);
    QVERIFY(win.memEnglish->hasFocus());
  }

  void tilesAreSelectedByClickOnlyAndShowTheirCodes() {
    TEditorWindow& win = StartShown();
    QTest::keyClicks(win.memEnglish, "k");
    const auto tiles = win.Tiles();
    QVERIFY(tiles.size() >= 2);
    QTest::mouseMove(tiles[1], QPoint(5, 5));
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(tiles[1], &enter);
    QCOMPARE(win.FSelectedView, static_cast<TTntCharView*>(nullptr));
    QTest::mouseClick(tiles[1], Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(win.FSelectedView, tiles[1]);
    QCOMPARE(win.txtEnglish->text(), tiles[1]->CharInEnglish);
    QCOMPARE(win.txtFontRep->text(), tiles[1]->CharInFont);
    QVERIFY(win.txtFontRep->isHidden());
    win.SelectCharView(nullptr);
    QVERIFY(win.txtFontRep->text().isEmpty());
    QVERIFY(win.txtEnglish->text().isEmpty());
  }

  void everyMenuItemAndToolButtonReachesItsCommand() {
    int editorOpened = 0;
    TfrmMain::SetFontMapEditor([&](TfrmMain&, const QString& name) {
      QCOMPARE(name, QString("Sinhala"));
      ++editorOpened;
    });
    TEditorWindow& win = StartShown();
    // The menus as the user sees them, separators as "-".
    const auto captions = [](QMenu* menu) {
      QStringList out;
      for (QAction* a : menu->actions()) out << (a->isSeparator() ? QString("-") : a->text());
      return out;
    };
    QCOMPARE(captions(win.File1), QStringList({"Clear Content", "-", "Save Content", "-", "Export...", "-",
                                               "Refresh", "-", "Exit"}));
    QCOMPARE(captions(win.Edit1), QStringList({"Copy", "Paste"}));
    QCOMPARE(captions(win.Tools1), QStringList({"Configure Font Character Map...", "-", "Windows Character Map...",
                                                "-", "Options..."}));
    QCOMPARE(captions(win.Help1), QStringList({"About Varunel...", "User Guid..."}));
    QCOMPARE(win.Copy1->shortcut(), QKeySequence("Ctrl+C"));
    QCOMPARE(win.Paste1->shortcut(), QKeySequence("Ctrl+V"));

    // Each command through its menu item, then through its tool button.
    const auto run = [](QAction* item) {
      item->trigger();
      QApplication::processEvents();
    };
    for (int pass = 0; pass < 2; ++pass) {
      const auto viaButton = [&](QToolButton* b, QAction* item) {
        if (pass == 0)
          run(item);
        else
          QTest::mouseClick(b, Qt::LeftButton);
        QApplication::processEvents();
      };
      win.memEnglish->setFocus();
      win.memEnglish->SetText("ka");
      QFile::remove(TmpPath());
      viaButton(win.tbSave, win.SaveAs1);
      QCOMPARE(ReadFile(TmpPath()), QByteArray("ka"));
      win.memEnglish->setFocus();
      viaButton(win.tbCopy, win.Copy1);
      QCOMPARE(QApplication::clipboard()->text(), QString("Ka"));
      QApplication::clipboard()->setText("ma");
      win.memEnglish->setFocus();
      win.memEnglish->moveCursor(QTextCursor::End);
      viaButton(win.tbPaste, win.Paste1);
      QCOMPARE(win.memEnglish->Text(), QString("kama"));
      viaButton(win.tbClear, win.Clear1);
      QCOMPARE(win.memEnglish->Text(), QString());
      QCOMPARE(win.memSinhala->Text(), QString());
      const auto before = session->script.asked.size();
      viaButton(win.tbExport, win.Export1);  // the save dialog, answered "cancel"
      QCOMPARE(session->script.asked.size(), before + 1);
      QCOMPARE(session->script.asked.back().kind, QString("save"));
      win.RunApp1->CommandLine.clear();
      viaButton(win.tbCharMap, win.WindowsCharacterMap1);
      QCOMPARE(win.RunApp1->CommandLine, QString::fromLatin1(kCharacterMapCommand));
      viaButton(win.btnCharMap, win.OpenFontMap1);
      QCOMPARE(editorOpened, pass + 1);
    }
    // Ctrl+C in the typing pane is the menu's Copy: the whole display text
    // when nothing is selected.
    win.memEnglish->SetText("ma");
    win.memEnglish->setFocus();
    QApplication::clipboard()->clear();
    QTest::keyClick(win.memEnglish, Qt::Key_C, Qt::ControlModifier);
    QApplication::processEvents();
    QCOMPARE(QApplication::clipboard()->text(), QString("Ma"));

    QVERIFY(WriteFile(session->folder.Path("Again.fmp"), ReadFile(session->folder.Path("Other.fmp"))));
    run(win.RefreshMappingList1);
    QCOMPARE(Items(win.cmbMaps), QStringList({"Again", "Other", "Sinhala"}));
    QCOMPARE(win.FFontMapName, std::string("Sinhala"));  // listed, not loaded

    run(win.UserGuid1);
    QCOMPARE(session->opened, QList<QUrl>({QUrl::fromLocalFile(Folder() + "Varunel.htm")}));
    WhenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    run(win.Options1);
    QVERIFY(FrmOptions->GroupBox1->isVisibleTo(FrmOptions));
    QVERIFY(!FrmOptions->GroupBox3->isVisibleTo(FrmOptions));
    frmAboutBox = new TfrmAboutBox;
    editorart::MakeEditorAboutBox(*frmAboutBox);
    WhenModal([](QWidget* modal) {
      QCOMPARE(modal, static_cast<QWidget*>(frmAboutBox));
      QCOMPARE(modal->findChild<QLabel*>("Version")->text(), QString("Version 1.0"));
      frmAboutBox->Label5Click();
      static_cast<QDialog*>(modal)->accept();
    });
    run(win.About1);
    QCOMPARE(session->opened.last().scheme(), QString("mailto"));
    QVERIFY(session->opened.last().toString().contains("varunel"));
    delete frmAboutBox;
    frmAboutBox = nullptr;
    QVERIFY(session->script.messages().isEmpty());
    run(win.Exit1);
    QVERIFY(!win.isVisible());
    QVERIFY(QFile::exists(IniPath()));
  }

  // The desktop's opener starts, but finds no program for the guide.
  void aUserGuideNothingCanOpenIsNamedInAMessage() {
    Start();
    shell::SetOpener({});
    const QString opener = Folder() + "xdg-open";
    QVERIFY(WriteFile(opener, "#!/bin/sh\nexit 3\n"));
    QVERIFY(QFile::setPermissions(opener, QFile::permissions(opener) | QFileDevice::ExeOwner));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", Folder().toUtf8());
    w->UserGuid1Click(nullptr);
    qputenv("PATH", path);
    QTRY_COMPARE(session->script.asked.size(), std::size_t{1});
    QCOMPARE(session->script.asked[0].text, "No program on this desktop could open the user guide:\n" +
                                                QDir::toNativeSeparators(Folder() + "Varunel.htm"));
  }

  void theFontMapEditorsMapsAreListedAndTheMapReloaded() {
    TEditorWindow& win = StartShown();
    win.cmbMaps->setCurrentText("Sinhala");
    QTest::keyClicks(win.memEnglish, "ka");
    // The editor makes a map that sorts first: the list keeps its position
    // and so loads the map now there; the panes wait for the next change.
    TfrmMain::SetFontMapEditor([this](TfrmMain&, const QString&) {
      QVERIFY(WriteFile(session->folder.Path("Another.fmp"), ReadFile(session->folder.Path("Other.fmp"))));
    });
    win.OpenFontMap1Click(nullptr);
    QCOMPARE(Items(win.cmbMaps), QStringList({"Another", "Other", "Sinhala"}));
    QCOMPARE(win.cmbMaps->currentText(), QString("Other"));
    QCOMPARE(win.memSinhala->Text(), QString("Ka"));
    QCOMPARE(win.FFontMapName, std::string("Sinhala"));
    QTest::keyClicks(win.memEnglish, "m");
    QCOMPARE(win.memSinhala->Text(), QString("qaw"));
    // A map the loader rejects after the editor: the default error box.
    TfrmMain::SetFontMapEditor([this](TfrmMain&, const QString&) {
      QVERIFY(WriteFile(session->folder.Path("Other.fmp"), "broken"));
    });
    win.OpenFontMap1Click(nullptr);
    QCOMPARE(Errors(), QStringList({"Error Loading."}));
  }

  void storedSettingsAreAppliedWhenRestoring() {
    WriteIni("[bounds]\nleft=70\ntop=80\nwidth=640\nheight=480\n"
             "[params]\nrestore_last_state=1\nauto_suggest=0\nsuggest_panel_height=90\n"
             "english_panel_height=120\nfont_map=Sinhala\nfont_size=22\nauto_save=0\nsave_interval=7\n");
    TEditorWindow& win = Start();
    QCOMPARE(win.pos(), QPoint(70, 80));
    QCOMPARE(win.size(), QSize(640, 480));
    QVERIFY(!win.chkSuggest->isChecked());
    QCOMPARE(win.Panes->PaneHeight(win.pnlSuggest), 90);
    QCOMPARE(win.Panes->PaneHeight(win.memEnglish), 120);
    QCOMPARE(Points(win), 22);
    QCOMPARE(win.cmbFontSize->currentText(), QString("22"));
    QVERIFY(!win.FAutoSave);
    QCOMPARE(win.tmrAutoSave->interval(), 7 * 60000);
  }

  void defaultsWhenNotRestoringButRecoveryKeysStillRead() {
    WriteIni("[bounds]\nleft=70\ntop=80\nwidth=640\nheight=480\n"
             "[params]\nrestore_last_state=0\nauto_suggest=0\nsuggest_panel_height=90\nwindow_state=2\n"
             "font_map=Other\nfont_size=22\nauto_save=0\nsave_interval=0\n");
    TEditorWindow& win = Start();
    QCOMPARE(win.pos(), QPoint(50, 50));
    QCOMPARE(win.size(), QSize(750, 550));
    QVERIFY(win.chkSuggest->isChecked());
    QCOMPARE(win.Panes->PaneHeight(win.pnlSuggest), 100);
    QCOMPARE(win.cmbMaps->currentText(), QString("Sinhala"));
    QCOMPARE(Points(win), 16);
    QVERIFY(!(win.windowState() & Qt::WindowMaximized));
    QVERIFY(!win.FAutoSave);
    QVERIFY(!win.tmrAutoSave->isActive());  // interval 0: no automatic writes
  }

  void windowStateIsRestoredAndSavedWithNormalBounds() {
    for (const int state : {0, 1, 2, 5}) {
      WriteIni(QByteArray("[bounds]\nleft=60\ntop=60\nwidth=600\nheight=400\n[params]\nwindow_state=") +
               QByteArray::number(state) + "\n");
      TEditorWindow& win = Start();
      const Qt::WindowStates s = win.windowState();
      QCOMPARE(s.testFlag(Qt::WindowMinimized), state == 1);
      QCOMPARE(s.testFlag(Qt::WindowMaximized), state == 2);
      win.show();
      win.close();
      const TEditorSettings saved = TEditorSettingsFile(Folder()).Read();
      QCOMPARE(saved.WindowState, state == 5 ? 0 : state);
      QCOMPARE(QSize(saved.Width, saved.Height), QSize(600, 400));
      w.reset();
    }
  }

  void eachProgramKeepsTheOthersKeys() {
    WriteIni("; written by hand\n[bounds]\ntleft=5\nttop=6\ntwidth=450\ntheight=350\n"
             "[params]\ntsubmit_words=1\nenglish_font=Serif\n[other]\nkept=yes\n");
    Start().close();
    const QByteArray afterEditor = ReadFile(IniPath());
    for (const char* kept : {"; written by hand", "tleft=5", "tsubmit_words=1", "english_font=Serif", "kept=yes",
                             "save_interval=5", "english_panel_height=100"})
      QVERIFY2(afterEditor.contains(kept), kept);
    // The typing tool's write keeps the editor's keys.
    TTypingSettings typing;
    QVERIFY(TTypingSettingsFile(Folder()).Write(typing));
    const TEditorSettings editor = TEditorSettingsFile(Folder()).Read();
    QCOMPARE(editor.SaveInterval, 5);
    QCOMPARE(editor.EnglishPanelHeight, 100);
    QCOMPARE(editor.Width, 750);
  }

  void theIntervalStaysWithinTheTimersRange() {
    WriteIni("[params]\nsave_interval=100000\n");
    TEditorWindow& win = Start();
    QVERIFY(win.tmrAutoSave->isActive());
    QVERIFY(win.tmrAutoSave->interval() > 35000 * 60000LL / 60000);
    QCOMPARE(AutoSaveMilliseconds(100000), 35791 * 60000);
    QCOMPARE(AutoSaveMilliseconds(-3), 0);
    QCOMPARE(AutoSaveMilliseconds(45), 45 * 60000);
  }

  void optionsSetAutoRecoveryAndWriteTheSettings() {
    WriteIni("[params]\nsave_interval=45\nauto_save=0\n");
    TEditorWindow& win = Start();
    QCOMPARE(win.tmrAutoSave->interval(), 45 * 60000);  // used as stored
    WhenModal([](QWidget* modal) {
      auto* d = static_cast<TFrmOptions*>(modal);
      QCOMPARE(d->seInterval->value(), 30);  // shown as the nearer bound
      QVERIFY(!d->chkAutoSave->isChecked());
      QVERIFY(!d->seInterval->isEnabled());
      d->rbDefaultSettings->setChecked(true);
      d->reject();
    });
    win.Options1Click(nullptr);
    QVERIFY(win.FRestoreLastState);  // Cancel changes nothing
    QVERIFY(!QFile::exists(IniPath()) || !ReadFile(IniPath()).contains("restore_last_state"));
    WhenModal([](QWidget* modal) {
      auto* d = static_cast<TFrmOptions*>(modal);
      QTest::mouseClick(d->chkAutoSave, Qt::LeftButton, {}, QPoint(4, 8));
      QVERIFY(d->seInterval->isEnabled());
      d->rbDefaultSettings->setChecked(true);
      d->accept();
    });
    win.Options1Click(nullptr);
    QVERIFY(win.FAutoSave);
    QCOMPARE(win.FAutoSaveInterval, 30);
    QCOMPARE(win.tmrAutoSave->interval(), 30 * 60000);
    QVERIFY(win.tmrAutoSave->isActive());
    const TEditorSettings saved = TEditorSettingsFile(Folder()).Read();
    QVERIFY(!saved.RestoreLastState);
    QCOMPARE(saved.SaveInterval, 30);
  }

  void splittersStoreTheHeightsAndTheSearchBarShrink() {
    TEditorWindow& win = StartShown();
    win.resize(750, 550);
    QApplication::processEvents();
    Drag(win.Splitter1, -40);  // up: the typing pane grows
    QCOMPARE(win.FEnglishPanelHeight, 140);
    QCOMPARE(win.memEnglish->height(), 140);
    QVERIFY(win.Splitter1->geometry().bottom() < win.memEnglish->y());
    QVERIFY(win.memEnglish->geometry().bottom() < win.Splitter2->y());
    QVERIFY(win.Splitter2->geometry().bottom() < win.pnlSuggest->y());
    Drag(win.Splitter2, 30);  // down: the suggestion panel shrinks
    QCOMPARE(win.FSuggestPanelHeight, 70);
    // Unticked "Auto suggest": entering the typing pane leaves the search bar.
    win.chkSuggest->setChecked(false);
    win.txtEnglish->setFocus();
    win.memEnglish->setFocus();
    QCOMPARE(win.pnlSuggest->height(), 25);
    win.txtEnglish->setFocus();
    QCOMPARE(win.pnlSuggest->height(), 70);
    win.memEnglish->setFocus();
    Drag(win.Splitter2, 0);  // a drag while shrunk stores the shrunk height
    QCOMPARE(win.FSuggestPanelHeight, 25);
    // A real mouse drag goes the same road.
    const QPoint middle(win.Splitter1->width() / 2, 2);
    QTest::mousePress(win.Splitter1, Qt::LeftButton, {}, middle);
    QMouseEvent move(QEvent::MouseMove, QPointF(middle + QPoint(0, 20)),
                     QPointF(win.Splitter1->mapToGlobal(middle + QPoint(0, 20))), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(win.Splitter1, &move);
    // The bar has followed the mouse: it is released where it now is.
    QTest::mouseRelease(win.Splitter1, Qt::LeftButton, {}, middle);
    QCOMPARE(win.FEnglishPanelHeight, 120);
  }

  void theSizeListSetsTheDisplayPane() {
    WriteIni("[params]\nfont_size=big\n");
    TEditorWindow& win = Start();
    QCOMPARE(Points(win), 14);  // the design size; no message at start
    QCOMPARE(win.cmbFontSize->currentText(), QString("14"));
    QVERIFY(session->script.asked.empty());
    win.cmbFontSize->setCurrentText("36");
    QCOMPARE(Points(win), 36);
    win.cmbFontSize->setCurrentText("x1");
    QCOMPARE(Errors(), QStringList({"'x1' is not a valid integer value."}));
    QCOMPARE(Points(win), 36);
    // What the pane shows is stored, never a text that is no size.
    win.close();
    QCOMPARE(TEditorSettingsFile(Folder()).Read().FontSize, QString("36"));
  }

  // The display pane keeps the caret's line in view, as while typing, when
  // the size changes, another map is picked or text is pasted.
  void theDisplayPaneFollowsTheCaretAfterASizeAMapOrAPaste() {
    TEditorWindow& win = StartShown();
    QString text;
    for (int i = 0; i < 40; ++i) text += "ka ma ka ma ka ma ka ma ka ma ka ma ka ma ka ma ka ma\r\n";
    win.memEnglish->SetText(text);
    win.memEnglish->moveCursor(QTextCursor::End);
    QTest::keyClicks(win.memEnglish, "kamakama kamakama kamakama kamakama kamakama kamakama kamakama");
    const auto caretInView = [&win] {
      return win.memSinhala->viewport()->rect().contains(win.memSinhala->cursorRect());
    };
    QVERIFY(caretInView());
    for (const char* size : {"28", "8", "72", "11", "36"}) {
      win.cmbFontSize->setCurrentText(size);
      QVERIFY2(caretInView(), size);
    }
    win.cmbMaps->setCurrentText("Other");
    QVERIFY(caretInView());
    win.memEnglish->setFocus();
    QApplication::clipboard()->setText(text + text);
    win.Paste1Click(nullptr);
    QVERIFY(caretInView());
  }

  // A size picked from the list gives the keyboard back to the typing pane:
  // the letters typed next are typed, not put into the size box.
  void aSizePickedFromTheListGivesTheKeyboardBack() {
    TEditorWindow& win = StartShown();
    QVERIFY(QTest::qWaitForWindowActive(&win));
    // The arrow at the box's right end opens the list.
    QTest::mouseClick(win.cmbFontSize, Qt::LeftButton, {}, QPoint(win.cmbFontSize->width() - 4, win.cmbFontSize->height() / 2));
    QAbstractItemView* list = win.cmbFontSize->view();
    QTRY_VERIFY(list->isVisible());
    list->setCurrentIndex(list->model()->index(win.cmbFontSize->findText("20"), 0));
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_VERIFY(!list->isVisible());
    QCOMPARE(Points(win), 20);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(win.memEnglish));
    QTest::keyClicks(QApplication::focusWidget(), "k");
    QCOMPARE(win.memEnglish->Text(), QString("k"));
    QCOMPARE(win.cmbFontSize->currentText(), QString("20"));
    QVERIFY(Errors().isEmpty());
  }

  void theRecoveryFileKeepsThePaneAcrossRuns() {
    // LF line ends in, CR LF out.
    QVERIFY(WriteFile(TmpPath(), "ka\nma\n"));
    Start().close();
    QCOMPARE(ReadFile(TmpPath()), QByteArray("ka\r\nma\r\n"));
    w.reset();
    // An empty pane gives a file of 0 bytes.
    TEditorWindow& win = Start();
    win.Clear1Click(nullptr);
    win.close();
    QVERIFY(QFile::exists(TmpPath()));
    QCOMPARE(QFileInfo(TmpPath()).size(), 0);
    w.reset();
    // auto_save 0: written at close, not read back.
    WriteIni("[params]\nauto_save=0\n");
    QVERIFY(WriteFile(TmpPath(), "kaa"));
    TEditorWindow& off = Start();
    QCOMPARE(off.memEnglish->Text(), QString());
    off.memEnglish->SetText("maa");
    off.close();
    QCOMPARE(ReadFile(TmpPath()), QByteArray("maa"));
  }

  void everyWriteStartsTheIntervalAfresh() {
    WriteIni("[params]\nsave_interval=1\n");
    TEditorWindow& win = Start();
    win.tmrAutoSave->setInterval(300);  // a short interval for the test
    win.tmrAutoSave->start();
    win.memEnglish->SetText("ka");
    QTRY_COMPARE_WITH_TIMEOUT(ReadFile(TmpPath()), QByteArray("ka"), 5000);
    QVERIFY(win.tmrAutoSave->isActive());
    QCOMPARE(win.tmrAutoSave->interval(), 60000);  // back to the stored interval
    // "Save Content" while a short interval runs: the timer starts a full
    // interval afresh, so it is due no sooner than a timer of that interval
    // started just before the write (whatever the time the write takes).
    win.tmrAutoSave->start(1000);
    QTimer fresh;
    fresh.start(60000);
    win.SaveAs1Click(nullptr);
    QCOMPARE(win.tmrAutoSave->interval(), 60000);
    QVERIFY(win.tmrAutoSave->isActive());
    const int dueIn = win.tmrAutoSave->remainingTime();
    QVERIFY2(dueIn >= fresh.remainingTime(), qPrintable(QString::number(dueIn)));
  }

  // The user's road through the font-map editor: open it on the listed map,
  // change the codes of "ka", save, close, and type "ka" with the change.
  void anEditSavedInTheFontMapEditorTypesAtOnce() {
    TEditorWindow& win = StartShown();
    TfrmMain::SetFontMapEditor(&TfrmMain::OpenFontMapping);
    bool edited = false;
    WhenModal([&](QWidget* modal) {
      auto* editor = qobject_cast<TfrmFontMapping*>(modal);
      if (!editor) return;
      QCOMPARE(editor->cmbMaps->currentText(), QString("Sinhala"));
      TTntCharView* ka = editor->GetCell(1, 2);
      QCOMPARE(ka->CharInEnglish, QString("ka"));
      QTest::mouseClick(ka, Qt::LeftButton);
      editor->Edit2->setText("Z");
      editor->btnUpdate->click();
      editor->btnSaveClick();
      edited = true;
      editor->reject();
    });
    win.OpenFontMap1->trigger();  // runs once the menu has gone
    QTRY_VERIFY(edited);
    win.memEnglish->setFocus();
    QTest::keyClicks(win.memEnglish, "ka");
    QTRY_COMPARE(win.memSinhala->toPlainText(), QString("Z"));
  }

  // When the text cannot be kept, closing asks once, with what failed;
  // "No" leaves the window open with its text, "Yes" closes it.
  void aTextThatCannotBeKeptLetsTheUserStay() {
    TEditorWindow& win = StartShown();
    win.memEnglish->SetText("ka");
    QVERIFY(QDir(Folder()).mkdir("varunel.tmp"));  // the files' places are taken
    QVERIFY(QDir(Folder()).mkdir("settings.ini"));
    win.SaveAs1Click(nullptr);
    QCOMPARE(Errors().size(), 1);
    QVERIFY(!win.tmrAutoSave->isActive());  // off until a write succeeds
    session->script.asked.clear();
    session->script.answers = {dialogs::No};
    win.close();
    QVERIFY(win.isVisible());
    QCOMPARE(win.memEnglish->Text(), QString("ka"));
    QCOMPARE(session->script.asked.size(), std::size_t(1));
    const dialogs::Asked box = session->script.asked.back();
    QCOMPARE(box.icon, dialogs::Icon::Warning);
    // Each file with the system's reason.
    QVERIFY2(box.text.startsWith("Cannot write file \"" + IniPath() + "\". Is a directory\nCannot create file \"" +
                                 TmpPath() + "\". Is a directory\n"),
             qPrintable(box.text));
    QVERIFY(box.text.endsWith("Close anyway?"));
    session->script.answers = {dialogs::Yes};
    win.close();
    QVERIFY(!win.isVisible());
    QCOMPARE(session->script.asked.size(), std::size_t(2));
  }

  // What closing writes, the next start shows: a text as large as the file
  // keeps comes back whole. One beyond is asked about before anything is
  // written; "Save Content" says why it writes nothing, the auto-save says it
  // once; the file keeps the last text that fitted.
  void aTextAtTheLimitComesBackAndOneBeyondIsNeverWritten() {
    const QByteArray line("ka ma kaa maa ki mi kii mii ku mu kuu muu ke me kee mee koo mo\r\n");
    QCOMPARE(line.size(), 64);
    const QByteArray limit = line.repeated(recovery::kMaxFileSize / line.size());
    Start().memEnglish->SetText(QString::fromLatin1(limit));
    w->close();
    QVERIFY(ReadFile(TmpPath()) == limit);
    w.reset();
    TEditorWindow& win = StartShown();
    QCOMPARE(win.memEnglish->TextLength(), limit.size());
    QVERIFY(win.memEnglish->Text() == QString::fromLatin1(limit));
    QVERIFY(win.memSinhala->Text().startsWith("Ka Ma"));
    QVERIFY(session->script.asked.empty());

    win.memEnglish->moveCursor(QTextCursor::End);
    QTest::keyClicks(win.memEnglish, "k");
    win.chkSuggest->setChecked(false);
    const QByteArray settings = ReadFile(IniPath());
    session->script.answers = {dialogs::No};
    win.close();
    QVERIFY(win.isVisible());
    QCOMPARE(session->script.asked.size(), std::size_t(1));
    QVERIFY(session->script.asked[0].text.contains("The text is 16.1 MB; \"" + TmpPath() + "\" keeps at most 16 MB"));
    QCOMPARE(ReadFile(IniPath()), settings);  // nothing written before the answer
    win.SaveAs1Click(nullptr);
    QCOMPARE(Errors().size(), 1);
    session->script.asked.clear();
    win.tmrAutoSaveTimer(nullptr);
    win.tmrAutoSaveTimer(nullptr);
    QVERIFY(session->script.asked.empty());  // told already
    QVERIFY(win.tmrAutoSave->isActive());
    QVERIFY(ReadFile(TmpPath()) == limit);
    // Cut down to fit, the text is written again.
    QTest::keyClick(win.memEnglish, Qt::Key_Backspace);
    QTest::keyClick(win.memEnglish, Qt::Key_Backspace);
    win.tmrAutoSaveTimer(nullptr);
    QCOMPARE(ReadFile(TmpPath()).size(), limit.size() - 2);  // a line break counts two
    QTest::keyClicks(win.memEnglish, "kkk");
    win.tmrAutoSaveTimer(nullptr);
    QCOMPARE(Errors().size(), 1);  // beyond once more: told again
    session->script.answers = {dialogs::Yes};
    win.close();
    QVERIFY(!win.isVisible());
    QCOMPARE(ReadFile(TmpPath()).size(), limit.size() - 2);
    QVERIFY(!TEditorSettingsFile(Folder()).Read().AutoSuggest);
  }

  // On a full disk even a few bytes of text are not written: the error
  // box, and the recovery file as it was.
  void aFullDiskKeepsTheOldRecoveryFile() {
    TSmallDisk disk(64);
    if (!disk.Mounted()) QSKIP("no small disk can be mounted here (needs root)");
    QVERIFY(QFile::link(disk.Path("varunel.tmp"), TmpPath()));  // written where the link leads
    TEditorWindow& win = Start();
    win.memEnglish->SetText("ka");
    win.SaveAs1Click(nullptr);
    QCOMPARE(ReadFile(disk.Path("varunel.tmp")), QByteArray("ka"));
    QVERIFY(disk.Fill());
    win.memEnglish->SetText("kaa maa");
    win.SaveAs1Click(nullptr);
    QCOMPARE(Errors().size(), 1);
    QVERIFY(Errors().front().startsWith("Cannot create file \"" + TmpPath() + "\"."));
    QCOMPARE(ReadFile(disk.Path("varunel.tmp")), QByteArray("ka"));
    QCOMPARE(disk.Entries(), QStringList{"varunel.tmp"});
  }

  // A FIFO would block the start, a device or a huge file would be read
  // without end: the window starts at once with the defaults, says that its
  // text is not kept, and leaves both files as they are.
  void filesThatCannotBeReadAreLeftAlone() {
    constexpr std::uintmax_t kHuge = 64u << 20;
    for (const testutil::BadFile kind : testutil::EveryBadFile()) {
      QVERIFY(testutil::MakeBadFile(kind, IniPath().toStdString(), kHuge, "[bounds]\nleft=10\n"));
      QVERIFY(testutil::MakeBadFile(kind, TmpPath().toStdString(), kHuge, "kept text"));
      session->script.asked.clear();
      TEditorWindow& win = StartShown();
      QCOMPARE(win.pos(), QPoint(50, 50));
      QVERIFY(win.memEnglish->Text().isEmpty());
      QTRY_COMPARE(session->script.asked.size(), std::size_t(1));
      QVERIFY(session->script.asked.front().text.contains(TmpPath()));
      QVERIFY(!win.tmrAutoSave->isActive());
      win.memEnglish->SetText("ka");
      win.close();
      QVERIFY(!win.isVisible());
      QCOMPARE(session->script.asked.size(), std::size_t(2));  // one box at close
      QVERIFY2(testutil::StillBad(kind, IniPath().toStdString(), kHuge), testutil::NameOf(kind));
      QVERIFY2(testutil::StillBad(kind, TmpPath().toStdString(), kHuge), testutil::NameOf(kind));
      w.reset();
    }
  }

  // The recovery file is the first window's: a second one on the same folder
  // says at start that its text is not kept, never writes the file, and asks
  // before it closes with text in it.
  void aSecondWindowOnTheFolderNeverWritesTheFirstsText() {
    TEditorWindow& first = Start();
    first.memEnglish->SetText("first");
    TEditorWindow second;
    second.FormCreate(&second);
    second.show();
    QTRY_COMPARE(session->script.asked.size(), std::size_t(1));
    QCOMPARE(session->script.asked.front().icon, dialogs::Icon::Information);
    QVERIFY(session->script.asked.front().text.contains(TmpPath()));
    QVERIFY(!second.tmrAutoSave->isActive());
    second.memEnglish->SetText("second");
    second.SaveAs1Click(nullptr);
    QCOMPARE(Errors().size(), 1);
    second.close();
    QCOMPARE(session->script.asked.size(), std::size_t(3));
    QVERIFY(session->script.asked.back().text.endsWith("Close anyway?"));
    QVERIFY(!QFile::exists(TmpPath()));
    first.close();
    QCOMPARE(ReadFile(TmpPath()), QByteArray("first"));
    QCOMPARE(session->script.asked.size(), std::size_t(3));
    // Once the first has closed, the next window has the file again.
    w.reset();
    QCOMPARE(Start().memEnglish->Text(), QString("first"));
  }

  // Tavimo and Varunel closing at the same moment (as at logout): each
  // program's keys survive the other's write.
  void bothProgramsSavingAtOnceKeepEachOthersKeys() {
    int lost = 0;
    for (int round = 1; round <= 100; ++round) {
      QFile::remove(IniPath());
      std::latch start(2);
      std::thread typing([&] {
        TTypingSettings s;
        s.Left = round;
        start.arrive_and_wait();
        QVERIFY(TTypingSettingsFile(Folder()).Write(s));
      });
      TEditorSettings s;
      s.Width = 100 + round;
      start.arrive_and_wait();
      QVERIFY(TEditorSettingsFile(Folder()).Write(s));
      typing.join();
      const QByteArray text = ReadFile(IniPath());
      if (!text.contains("tleft=" + QByteArray::number(round) + "\n") ||
          !text.contains("\nwidth=" + QByteArray::number(100 + round) + "\n"))
        ++lost;
    }
    QCOMPARE(lost, 0);
  }

  // Any number in the settings, down to INT_MIN and up to INT_MAX, gives a
  // window on the screen with panes, sizes and an interval it can use.
  void everyStoredNumberGivesAUsableWindow() {
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    for (const qint64 v : {qint64(INT_MIN), qint64(INT_MIN) + 1, qint64(-5), qint64(0), qint64(1), qint64(40000),
                           qint64(INT_MAX)}) {
      const QByteArray n = QByteArray::number(v);
      WriteIni("[bounds]\nleft=" + n + "\ntop=" + n + "\nwidth=" + n + "\nheight=" + n +
               "\n[params]\nsuggest_panel_height=" + n + "\nenglish_panel_height=" + n + "\nwindow_state=" + n +
               "\nfont_size=" + n + "\nsave_interval=" + n + "\n");
      TEditorWindow& win = StartShown();
      const QString seen = QStringLiteral("%1: %2,%3 %4x%5").arg(v).arg(win.x()).arg(win.y()).arg(win.width())
                               .arg(win.height());
      QVERIFY2(work.contains(QRect(win.pos(), win.size())), qPrintable(seen));
      for (QWidget* pane : {static_cast<QWidget*>(win.memEnglish), static_cast<QWidget*>(win.pnlSuggest)})
        QVERIFY2(win.Panes->PaneHeight(pane) >= 0 && win.Panes->PaneHeight(pane) <= kMaxWindowExtent, qPrintable(seen));
      QVERIFY2(Points(win) >= 1 && Points(win) <= kMaxFontPoints, qPrintable(seen));
      QVERIFY2(win.tmrAutoSave->interval() >= 0, qPrintable(seen));
      QTest::keyClicks(win.memEnglish, "ka");
      win.close();
      w.reset();
    }
  }
};

QTEST_MAIN(EditorWindowTest)
#include "editor_window_test.moc"
