// Tavimo's life driven through the real window: creation in a temporary
// program folder, the start-up timers, the tray icon and menu, the settings
// file, the About box, the Options dialog and Exit.
#include <QAction>
#include <QDir>
#include <QContextMenuEvent>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QAbstractScrollArea>
#include <QWheelEvent>
#include <climits>
#include <functional>
#include <memory>

#include "AppHooks.h"
#include "ShellOpen.h"
#include "TrayMenu.h"
#include "TypingSettings.h"
#include "dialogs.h"
#include "registry.h"
#include "uAboutBox.h"
#include "uFrmMain.h"
#include "uFrmMainBaseMemo.h"
#include "uOptions.h"
#include "uSplash.h"
#include "program_session.h"
#include "when_modal.h"

using tavimo::TfrmMain;
using tavimo::TTrayMenu;

namespace {

// The window with a record of suggestion searches run before the list exists.
class TStartWindow : public TfrmMain {
 public:
  int searchesWithoutList = 0;
  int searches = 0;
  void FindSuggestions(const std::string& text, bool searchMode) override {
    if (!FSuggestBusy && !FEnglishMode) {
      ++searches;
      if (!FSuggestions) ++searchesWithoutList;
    }
    TfrmMain::FindSuggestions(text, searchMode);
  }
};

// Counts the key events that reach one widget.
class TKeyCounter : public QObject {
 public:
  QList<int> presses;
  int releases = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) presses << static_cast<QKeyEvent*>(event)->key();
    if (event->type() == QEvent::KeyRelease) ++releases;
    return false;
  }
};

QColor Pixel(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

}  // namespace

class StartupTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TProgramSession> session;

  QString Folder() const { return session->folder.Folder(); }
  QString IniPath() const { return Folder() + "settings.ini"; }
  void WriteIni(const QByteArray& text) { QVERIFY(WriteFile(IniPath(), text)); }
  QSize Screen() const { return QGuiApplication::primaryScreen()->size(); }

  // The window created as at program start; without `splash` its splash
  // timer is stopped.
  std::unique_ptr<TStartWindow> Start(bool splash = true) {
    auto w = std::make_unique<TStartWindow>();
    w->FormCreate(w.get());
    if (!splash) w->tmrSplash->stop();
    return w;
  }
  static int PanePoints(const TfrmMain& w) { return w.memSinhala->font().pointSize(); }

 private slots:
  void initTestCase() { QApplication::setApplicationName("Tavimo 2.1"); }

  void init() {
    session = std::make_unique<TProgramSession>();
  }

  void cleanup() {
    delete frmSplash;
    frmSplash = nullptr;
    delete frmAboutBox;
    frmAboutBox = nullptr;
    delete FrmOptions;
    FrmOptions = nullptr;
    session.reset();
  }

  void creationPreparesAHiddenTrayWindow() {
    auto w = Start();
    QVERIFY(!w->isVisible());
    QVERIFY(w->windowFlags().testFlag(Qt::Tool));
    QVERIFY(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(w->windowTitle(), QStringLiteral("Tavimo 2.1"));
    QVERIFY(w->AppMessage && w->AppMessage->Installed());
    QCOMPARE(QApplication::font().family(), QStringLiteral("Tahoma"));

    // The map of the settings is loaded, with no search before the list exists.
    QVERIFY(w->FCharMap && w->FCharMap->Count() > 0);
    QCOMPARE(w->memSinhala->font().family(), QStringLiteral("TestSinhala"));
    QVERIFY(w->FSuggestions);
    QVERIFY(!w->FSuggestBusy);
    QCOMPARE(w->searchesWithoutList, 0);
    QVERIFY(w->memEnglish->Text().isEmpty() && w->memSinhala->Text().isEmpty());

    // The program folder, with its separator, in the registry.
    const auto installPath = registry::ReadString(registry::kVarunelKey, registry::kInstallPath);
    QVERIFY(installPath.has_value());
    QCOMPARE(QString::fromStdU16String(*installPath), Folder());

    QVERIFY(w->FTrayIconData && w->FTrayIconData->isVisible());
    QCOMPARE(w->FTrayIconData->toolTip(), QStringLiteral("Tavimo 2.1"));
    QVERIFY(w->FTrayIconData->contextMenu() == nullptr);
    for (QTimer* t : {w->tmrSplash, w->tmrLoadSettings}) {
      QVERIFY(t->isActive());
      QCOMPARE(t->interval(), 1000);
    }
  }

  void startUpTimersRunOnceShowingTheSplash() {
    // As at program start: the splash first, its 3000 ms running from here.
    frmSplash = new TfrmSplash;
    int splashShown = 0;
    struct TShowCounter : QObject {
      int* count;
      explicit TShowCounter(int* c) : count(c) {}
      bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Show) ++*count;
        return false;
      }
    } counter(&splashShown);
    frmSplash->installEventFilter(&counter);
    auto w = Start();
    WriteMap(session->folder.dir.path(), "Sinhala", u"Reloaded", {{u"k", u"K", {{u"k", u"K"}}}});

    // The splash is shown modally by tmrSplash and closes itself; the map
    // is loaded again by tmrLoadSettings, now with suggestions allowed.
    QTRY_VERIFY_WITH_TIMEOUT(splashShown == 1 && !frmSplash->isVisible(), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(!w->tmrLoadSettings->isActive(), 20000);
    QVERIFY(!w->tmrSplash->isActive());
    QCOMPARE(w->memSinhala->font().family(), QStringLiteral("Reloaded"));
    QVERIFY(!w->isVisible());
    frmSplash->removeEventFilter(&counter);
  }

  void splashExpiredBeforeItsTimeStillGoes() {
    frmSplash = new TfrmSplash;
    frmSplash->Timer1Timer();  // start-up took longer than the splash's time
    auto w = Start();
    w->tmrSplashTimer(nullptr);  // returns once the splash has closed
    QVERIFY(!frmSplash->isVisible());
    QVERIFY(!w->tmrSplash->isActive());
    // No splash at all: nothing happens.
    delete frmSplash;
    frmSplash = nullptr;
    w->tmrSplashTimer(nullptr);
  }

  void secondMapLoadIgnoresFailures() {
    auto w = Start(false);
    QFile::remove(Folder() + "Sinhala.fmp");
    w->tmrLoadSettingsTimer(nullptr);
    QVERIFY(!w->tmrLoadSettings->isActive());
    QCOMPARE(w->FFontMapName, std::string("Sinhala"));
    QVERIFY(w->FCharMap);
  }

  void exitWritesEveryKeyKeepsOthersAndRemovesTheIcon() {
    WriteIni("[bounds]\nleft=5\ntleft=40\nttop=30\ntwidth=500\ntheight=400\n"
             "[params]\nrestore_last_state=1\nfont_size=abc\nremember=yes\n");
    auto w = Start(false);
    QCOMPARE(PanePoints(*w), 18);  // letters only: an 18-point pane
    w->chkSubmitWords->setChecked(true);
    w->FEnglishFont = "Arial";

    w->Exit1Click(nullptr);
    QVERIFY(w->FExitRequested);
    QVERIFY(!w->FCharMap && !w->FSuggestions);
    QVERIFY(!w->isVisible());

    const QSettings ini(IniPath(), QSettings::IniFormat);
    QCOMPARE(ini.value("params/restore_last_state").toString(), QStringLiteral("1"));
    QCOMPARE(ini.value("bounds/tleft").toInt(), w->pos().x());
    QCOMPARE(ini.value("bounds/ttop").toInt(), w->pos().y());
    QCOMPARE(ini.value("bounds/twidth").toInt(), 500);
    QCOMPARE(ini.value("bounds/theight").toInt(), 400);
    QCOMPARE(ini.value("params/tsubmit_words").toString(), QStringLiteral("1"));
    QCOMPARE(ini.value("params/font_map").toString(), QStringLiteral("Sinhala"));
    QCOMPARE(ini.value("params/font_size").toString(), QStringLiteral("abc"));
    QCOMPARE(ini.value("params/auto_suggest").toString(), QStringLiteral("1"));
    QCOMPARE(ini.value("params/english_font").toString(), QStringLiteral("Arial"));
    // Keys of the other program stay.
    QCOMPARE(ini.value("bounds/left").toString(), QStringLiteral("5"));
    QCOMPARE(ini.value("params/remember").toString(), QStringLiteral("yes"));

    QPointer<QSystemTrayIcon> icon = w->FTrayIconData;
    QVERIFY(icon);
    w.reset();
    QVERIFY(!icon);
  }

  void closeBoxHidesAndSavesNothing() {
    auto w = Start(false);
    w->WMTrayNotify(0x0201);
    QVERIFY(w->isVisible());
    w->memEnglish->SetText("kaa");
    QVERIFY(!w->close());
    QVERIFY(!w->isVisible());
    QVERIFY(!w->FExitRequested && w->FCharMap);
    QVERIFY(!QFile::exists(IniPath()));
    QVERIFY(w->FTrayIconData->isVisible());
    w->WMTrayNotify(0x0201);
    QVERIFY(w->isVisible());
    QCOMPARE(w->memEnglish->Text(), QStringLiteral("kaa"));
  }

  void withoutNotificationAreaTheWindowShowsAndCloseEnds() {
    auto hidden = Start();
    hidden->StartVisible(true);
    QVERIFY(!hidden->isVisible());

    auto w = Start(false);
    w->StartVisible(false);
    QVERIFY(w->isVisible());
    QVERIFY(w->close());
    QVERIFY(w->FExitRequested);
    QVERIFY(QFile::exists(IniPath()));
  }

  // The settings the window took, in one line.
  static QString Applied(const TfrmMain& w) {
    return QStringLiteral("last=%1 at=%2,%3 %4x%5 size=%6/%7pt english=%8 submit=%9 suggest=%10 map=%11")
        .arg(w.FRestoreLastState)
        .arg(w.pos().x())
        .arg(w.pos().y())
        .arg(w.width())
        .arg(w.height())
        .arg(QString::fromStdString(w.FFontSize))
        .arg(PanePoints(w))
        .arg(QString::fromStdString(w.FEnglishFont))
        .arg(w.chkSubmitWords->isChecked())
        .arg(w.chkSuggest->isChecked())
        .arg(QString::fromStdString(w.FFontMapName));
  }
  // The start defaults: 450 by 350 in the bottom-right corner, 18 points.
  QString Defaults(bool last, const QString& english, bool submit) const {
    return QStringLiteral("last=%1 at=%2,%3 450x350 size=18/18pt english=%4 submit=%5 suggest=1 map=Sinhala")
        .arg(last)
        .arg(Screen().width() - 450)
        .arg(Screen().height() - 375)
        .arg(english)
        .arg(submit);
  }

  void settingsBothBranches() {
    QCOMPARE(Applied(*Start()), Defaults(true, "Times New Roman", false));  // no file

    const QByteArray stored = "[bounds]\ntleft=11\nttop=12\ntwidth=513\ntheight=414\n"
                              "[params]\nfont_size=36\nenglish_font=Arial\n"
                              "tsubmit_words=0\nauto_suggest=0\nfont_map=Other\n";
    WriteIni(stored + "restore_last_state=7\n");
    {
      auto w = Start();
      QCOMPARE(Applied(*w), QStringLiteral("last=1 at=11,12 513x414 size=36/36pt english=Arial submit=0 "
                                           "suggest=0 map=Other"));
      QCOMPARE(w->memSinhala->font().family(), QStringLiteral("TestOther"));
    }
    // The defaults, but the English font still comes from the file.
    WriteIni(stored + "restore_last_state=0\n");
    QCOMPARE(Applied(*Start()), Defaults(false, "Arial", true));
  }

  void brokenSettingsOrMissingMapStillStart() {
    // Bytes of no INI form: every default.
    static const char kJunk[] = "\xff\xfe[bo\0unds]\ntwidth=\x01\x02\n=\n[[[\n";
    WriteIni(QByteArray(kJunk, sizeof kJunk - 1));
    {
      auto w = Start();
      QCOMPARE(Applied(*w), Defaults(true, "Times New Roman", false));
      QVERIFY(w->FTrayIconData->isVisible());
    }
    // A map that is not there: the program runs and keeps the name.
    WriteIni("[params]\nfont_map=Nowhere\ntwidth=abc\n");
    auto w = Start();
    QCOMPARE(w->FFontMapName, std::string("Nowhere"));
    QVERIFY(w->FTrayIconData->isVisible());
    w->tmrLoadSettingsTimer(nullptr);
    w->tmrSplash->stop();
    w->Exit1Click(nullptr);
    QCOMPARE(QSettings(IniPath(), QSettings::IniFormat).value("params/font_map").toString(),
             QStringLiteral("Nowhere"));
  }

  void wheelStepIsOneArrowPress() {
    auto w = Start(false);
    w->WMTrayNotify(0x0201);
    TKeyCounter keys;
    w->memEnglish->installEventFilter(&keys);
    const auto turn = [&](int delta, QAbstractScrollArea* over = nullptr) {
      QWidget* viewport = (over ? over : static_cast<QAbstractScrollArea*>(w->memEnglish))->viewport();
      const QPointF at(5, 5);
      QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
      QApplication::sendEvent(viewport, &wheel);
    };
    turn(240);  // away from the user, however far
    turn(-120);
    turn(0);
    // Over the display pane, while the typing pane has the focus: the keys
    // still go to the typing pane.
    w->activateWindow();
    w->memEnglish->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w->memEnglish));
    {
      turn(120, w->memSinhala);
      QCOMPARE(keys.presses, (QList<int>{Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}));
    }
    QCOMPARE(keys.presses.mid(0, 3), (QList<int>{Qt::Key_Up, Qt::Key_Down, Qt::Key_Down}));
    QCOMPARE(keys.releases, 0);
    w->memEnglish->removeEventFilter(&keys);
  }

  void trayMouseMessages() {
    QCOMPARE(TfrmMain::TrayMouseMessage(QSystemTrayIcon::Trigger), 0x0201);
    QCOMPARE(TfrmMain::TrayMouseMessage(QSystemTrayIcon::Context), 0x0204);
    QCOMPARE(TfrmMain::TrayMouseMessage(QSystemTrayIcon::DoubleClick), 0x0203);
    QCOMPARE(TfrmMain::TrayMouseMessage(QSystemTrayIcon::MiddleClick), 0x0207);

    auto w = Start(false);
    // Moves, left release, double clicks, right release, middle button: nothing.
    for (int code : {0x0200, 0x0202, 0x0203, 0x0205, 0x0206, 0x0207, 0x0208, 0x0209}) {
      w->WMTrayNotify(code);
      QVERIFY2(!w->isVisible() && !w->pmTray->isVisible(), qPrintable(QString::number(code, 16)));
    }
    // Right press: the menu, with the window left hidden.
    w->WMTrayNotify(0x0204);
    QVERIFY(w->pmTray->isVisible());
    QVERIFY(!w->isVisible());
    w->pmTray->close();
    // Left press through the icon's own signal: the window, again when shown.
    emit w->FTrayIconData->activated(QSystemTrayIcon::Trigger);
    QVERIFY(w->isVisible());
    w->WMTrayNotify(0x0201);
    QVERIFY(w->isVisible());
    w->WMTrayNotify(0x0204);
    QVERIFY(w->pmTray->isVisible());
    w->pmTray->close();
  }

  void trayMenuItemsAndBand() {
    auto w = Start(false);
    auto* menu = qobject_cast<TTrayMenu*>(w->pmTray);
    QVERIFY(menu);
    QStringList items;
    for (QAction* a : menu->actions()) items << a->objectName() + "=" + (a->isSeparator() ? "-" : a->text());
    QCOMPARE(items, (QStringList{"Cancel1=&Cancel", "N3=-", "About1=&About" + QString(17, ' '),
                                 "UserGuide1=&User Guide", "Options1=&Options...", "N2=-", "Exit1=&Exit"}));

    menu->popup(QPoint(0, 0));
    QVERIFY(menu->isVisible());
    menu->setActiveAction(w->About1);
    const QImage image = menu->grab().toImage();
    const int h = image.height();
    QVERIFY(h > 105);
    const QColor grey(128, 128, 128);
    // The band: 20 pixels wide, top to bottom, with the title in white.
    for (int y : {0, h / 2, h - 1})
      for (int x : {0, 19}) QCOMPARE(Pixel(image, x, y), grey);
    QVERIFY(Pixel(image, 20, h - 1) != grey);
    bool white = false;
    for (int y = 20; y <= 105 && !white; ++y)
      for (int x = 2; x < 20 && !white; ++x) white = Pixel(image, x, y) == QColor(Qt::white);
    QVERIFY(white);
    // The highlighted item from x = 21; the band stays grey beside it.
    const QRect about = menu->actionGeometry(w->About1);
    const QColor highlight = menu->palette().color(QPalette::Highlight);
    QCOMPARE(Pixel(image, 21, about.bottom() - 1), highlight);
    QCOMPARE(Pixel(image, about.right() - 1, about.bottom() - 1), highlight);
    QVERIFY(Pixel(image, 20, about.bottom() - 1) != highlight);
    const QRect cancel = menu->actionGeometry(w->Cancel1);
    QVERIFY(Pixel(image, 21, cancel.bottom() - 1) != highlight);
    menu->close();

    // Cancel does nothing; the user guide opens the program folder's file.
    w->Cancel1->trigger();
    w->UserGuide1->trigger();
    QTRY_COMPARE(session->opened.size(), 1);
    w->UserGuid1Click(nullptr);
    QCOMPARE(session->opened, (QList<QUrl>{QUrl::fromLocalFile(Folder() + "Varunel.htm"),
                                           QUrl::fromLocalFile(Folder() + "Varunel.htm")}));
    QVERIFY(!w->isVisible());
  }

  void aboutBoxShowsTheCredits() {
    frmAboutBox = new TfrmAboutBox;
    auto w = Start(false);
    bool modal = false;
    WhenModal([&](QWidget* box) {
      modal = box == frmAboutBox;
      QWidget* focused = box->focusWidget() ? box->focusWidget() : box;
      // Ctrl held throughout; the last letter makes it longer than the word.
      for (char k : QByteArray("CREDITX")) {
        QKeyEvent up(QEvent::KeyRelease, k, Qt::ControlModifier, QString(QChar(k)));
        QApplication::sendEvent(focused, &up);
      }
      box->close();
    });
    w->About1->trigger();  // runs once the menu's handling is over
    QTRY_VERIFY_WITH_TIMEOUT(modal && !frmAboutBox->isVisible(), 20000);
    QCOMPARE(session->script.asked.size(), std::size_t{1});
    QCOMPARE(session->script.asked[0].kind, QStringLiteral("message"));
  }

  void optionsOkSavesCancelKeeps() {
    FrmOptions = new TFrmOptions;
    auto w = Start(false);
    QVERIFY(FrmOptions->fcFonts->count() > 1);
    QVERIFY(FrmOptions->fcFonts->Sorted());
    QCOMPARE(FrmOptions->fcFonts->ComboHeight(), 21);
    QVERIFY(FrmOptions->fcFonts->GetFontType() == TFontTypes{TRUETYPE_FONTS});
    const QString face = TFontCombo::ItemFontName(FrmOptions->fcFonts->itemText(1));

    // Cancel, whatever was chosen: nothing changes, nothing is written.
    WhenModal([&](QWidget*) {
      QVERIFY(FrmOptions->rbLastSettings->isChecked());
      QCOMPARE(FrmOptions->fcFonts->FontName(), QStringLiteral("Times New Roman"));
      FrmOptions->rbDefaultSettings->setChecked(true);
      FrmOptions->fcFonts->setCurrentIndex(1);
      emit FrmOptions->fcFonts->activated(1);
      FrmOptions->btnCancel->click();
    });
    w->Options1Click(nullptr);
    QVERIFY(w->FRestoreLastState);
    QCOMPARE(w->FEnglishFont, std::string("Times New Roman"));
    QVERIFY(!QFile::exists(IniPath()));

    // OK: the choices are kept and the whole file is written.
    WhenModal([&](QWidget*) {
      FrmOptions->rbDefaultSettings->setChecked(true);
      FrmOptions->fcFonts->setCurrentIndex(1);
      emit FrmOptions->fcFonts->activated(1);
      FrmOptions->btnOk->click();
    });
    w->Options1Click(nullptr);
    QVERIFY(!w->FRestoreLastState);
    QCOMPARE(QString::fromStdString(w->FEnglishFont), face);
    const QSettings ini(IniPath(), QSettings::IniFormat);
    QCOMPARE(ini.value("params/restore_last_state").toString(), QStringLiteral("0"));
    QCOMPARE(ini.value("params/english_font").toString(), face);
    QCOMPARE(ini.value("bounds/twidth").toInt(), 450);
    QCOMPARE(ini.value("params/font_size").toString(), QStringLiteral("18"));
  }

  void programFolderNamedInAnyScript_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("Sinhala") << QStringLiteral("\u0dc3\u0dd2\u0d82\u0dc4\u0dbd");
    QTest::newRow("Cyrillic") << QStringLiteral("\u0414\u043e\u043a\u0443\u043c\u0435\u043d\u0442\u044b");
    QTest::newRow("spaces") << QStringLiteral("My Programs/Tavimo 2");
  }

  void programFolderNamedInAnyScript() {
    QFETCH(QString, name);
    const QString program = session->folder.Path(name) + "/";
    QVERIFY(QDir().mkpath(program));
    WriteSinhala(program);
    TfrmMainBase::SetAppFolder(program);
    registry::SetHiveFile((program + "registry.ini").toStdString());
    auto w = Start(false);
    // The map is found and converts.
    QVERIFY(w->FCharMap && w->FCharMap->Count() > 0);
    w->memEnglish->SetText("ka");
    QCOMPARE(w->memSinhala->Text(), QStringLiteral("Ka"));
    // The registry holds the folder; the settings go into it.
    const auto installPath = registry::ReadString(registry::kVarunelKey, registry::kInstallPath);
    QVERIFY(installPath.has_value());
    QCOMPARE(QString::fromStdU16String(*installPath), program);
    w->Exit1Click(nullptr);
    QVERIFY(QFile::exists(program + "settings.ini"));
    // Nothing beside it: the outer folder keeps its two maps and the folder.
    QStringList outer = QDir(session->folder.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    outer.sort();
    QStringList expected{QStringLiteral("Other.fmp"), QStringLiteral("Sinhala.fmp"), name.section('/', 0, 0)};
    expected.sort();
    QCOMPARE(outer, expected);
  }

  void storedBoundsAndSizeComeBackUsable() {
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    // Any stored number, down to INT_MIN and up to INT_MAX, gives a window
    // whole on the work area and a size the pane can draw.
    for (const qint64 v : {qint64(INT_MIN), qint64(-5), qint64(0), qint64(40000), qint64(INT_MAX)}) {
      const QByteArray n = QByteArray::number(v);
      WriteIni("[bounds]\ntleft=" + n + "\nttop=" + n + "\ntwidth=" + n + "\ntheight=" + n +
               "\n[params]\nfont_size=" + n + "\n");
      auto w = Start(false);
      const QRect outer = w->OuterBounds();
      QVERIFY2(work.contains(outer) && !outer.isEmpty(), qPrintable(QString::number(v)));
      QVERIFY2(PanePoints(*w) >= 1 && PanePoints(*w) <= kMaxFontPoints, qPrintable(QString::number(v)));
    }
    // A window on a monitor no longer there, with sizes past any screen.
    WriteIni("[bounds]\ntleft=-99999\nttop=99999\ntwidth=99999\ntheight=-5\n"
             "[params]\nfont_size=2147483647\n");
    auto w = Start(false);
    const QRect outer = w->OuterBounds();
    QVERIFY2(work.contains(outer), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(outer.x()).arg(outer.y())
                                                  .arg(outer.width()).arg(outer.height())));
    QCOMPARE(outer.width(), work.width());
    QCOMPARE(outer.height(), 350);
    QCOMPARE(PanePoints(*w), 1638);
    QCOMPARE(w->FFontSize, std::string("1638"));

    // The defaults sit 25 pixels above the work area's bottom edge.
    QFile::remove(IniPath());
    auto fresh = Start(false);
    QCOMPARE(fresh->OuterBounds(), QRect(work.right() + 1 - 450, work.bottom() + 1 - 375, 450, 350));

    // Exit while maximized stores the normal bounds.
    WriteIni("[bounds]\ntleft=30\nttop=40\ntwidth=400\ntheight=300\n");
    auto shown = Start(false);
    shown->WMTrayNotify(0x0201);
    QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
    QTRY_COMPARE(shown->size(), QSize(400, 300));
    shown->showMaximized();
    QTRY_VERIFY(shown->isMaximized());
    shown->Exit1Click(nullptr);
    const TTypingSettings stored = TTypingSettingsFile(Folder()).Read(Screen());
    QCOMPARE(QRect(stored.Left, stored.Top, stored.Width, stored.Height), QRect(30, 40, 400, 300));
  }

  void userGuideWithNothingToOpenItSaysSo() {
    // The desktop's opener, with no program along PATH to take the guide.
    shell::SetOpener({});
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", Folder().toUtf8());
    auto w = Start(false);
    w->UserGuide1Click(nullptr);
    qputenv("PATH", path);
    QTRY_COMPARE(session->script.asked.size(), std::size_t{1});
    QVERIFY(session->script.asked[0].text.contains(QStringLiteral("Varunel.htm")));

    // An opener that starts but finds nothing to open the file with.
    const QString opener = Folder() + "xdg-open";
    QVERIFY(WriteFile(opener, "#!/bin/sh\nexit 3\n"));
    QFile::setPermissions(opener, QFile::permissions(opener) | QFileDevice::ExeOwner);
    qputenv("PATH", Folder().toUtf8());
    w->UserGuide1Click(nullptr);
    qputenv("PATH", path);
    QTRY_COMPARE(session->script.asked.size(), std::size_t{2});
    QVERIFY(session->script.asked[1].text.contains(QStringLiteral("Varunel.htm")));
  }

  void toolBandOffersTheTrayMenuAndFacesWaitUntilShown() {
    FrmOptions = new TFrmOptions;
    auto w = Start(false);
    // Starting measures no face of the Options' picker.
    QVERIFY(!FrmOptions->fcFonts->Measured());
    w->StartVisible(false);
    QVERIFY(w->isVisible());
    QVERIFY(w->tmrTrayWatch->isActive());
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), w->CoolBar1->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(w->CoolBar1, &click);
    QVERIFY(w->pmTray->isVisible());
    w->pmTray->close();
  }

  // Last: it runs the application's own loop, which Exit ends.
  void exitEndsTheMessageLoop() {
    QApplication::setQuitOnLastWindowClosed(false);
    auto w = Start(false);
    w->tmrLoadSettings->stop();
    QTimer::singleShot(0, w.get(), [&] { w->close(); });  // the close box: the loop goes on
    QTimer::singleShot(20, w.get(), [&] { w->Exit1->trigger(); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(w->FExitRequested);
    QVERIFY(QFile::exists(IniPath()));
  }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
