#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QFontInfo>
#include <QtTest>

#include "ShellOpen.h"
#include "dialogs.h"
#include "uAboutBox.h"
#include "uOptions.h"
#include "uSplash.h"

namespace {
// Records what would have been opened.
struct OpenRecorder {
  OpenRecorder() {
    previous = shell::SetOpener([this](const QUrl& url) { opened << url; });
  }
  ~OpenRecorder() { shell::SetOpener(previous); }
  QList<QUrl> opened;
  shell::Opener previous;
};

QString LabelText(const QWidget& w, const char* name) {
  auto* label = w.findChild<QLabel*>(QLatin1String(name));
  return label ? label->text() : QStringLiteral("<missing>");
}

// Runs `action` once the dialog's modal loop has started.
void WhenModal(const std::function<void()>& action) { QTimer::singleShot(0, action); }
}  // namespace

class WindowsTest : public QObject {
  Q_OBJECT
 private slots:
  // The real save dialog: a name typed without an ending gets the ending of
  // the filter chosen in it (so the name it asks about before overwriting is
  // the name written), and the default ending under a filter of any ending.
  void saveDialogAddsTheChosenFiltersEnding() {
    QTemporaryDir dir;
    const QString filters = "Word Document (*.doc);;Windows Bitmap (*.bmp);;All Files (*.*)";
    struct Case {
      int opensOn, steps;
      const char* typed;
      const char* written;
      int chosen;
    };
    for (const Case& c : {Case{0, 1, "x", "x.bmp", 1}, Case{1, 1, "y", "y.jpg", 2}, Case{0, 0, "z.txt", "z.txt", 0}}) {
      WhenModal([&] {
        auto* box = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(box);
        auto* types = box->findChild<QComboBox*>("fileTypeCombo");
        auto* name = box->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(types && name);
        QCOMPARE(types->currentIndex(), c.opensOn);
        for (int i = 0; i < c.steps; ++i) QTest::keyClick(types, Qt::Key_Down);
        name->setText(c.typed);
        QTest::keyClick(name, Qt::Key_Return);
      });
      int filter = c.opensOn;
      QCOMPARE(dialogs::SaveFileName(nullptr, "Export As", filters, "jpg", dir.filePath("start"), &filter),
               dir.filePath(c.written));
      QCOMPARE(filter, c.chosen);
    }
  }

  // The real Yes/No box: Enter and Escape both answer No, the answer that
  // keeps the typist's text; a click on Yes still answers Yes.
  void yesNoBoxesKeepTheTextOnEnterAndEscape() {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Y}) {
      WhenModal([key] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        if (key == Qt::Key_Y)
          box->button(QMessageBox::Yes)->click();
        else
          QTest::keyClick(box, key);
      });
      const int answer = dialogs::MessageBox(nullptr, "Close anyway?", "VarunelV1.0", dialogs::Icon::Warning,
                                             dialogs::Buttons::YesNo);
      QCOMPARE(answer, key == Qt::Key_Y ? int(dialogs::Yes) : int(dialogs::No));
    }
  }

  void optionsDialogLayout() {
    TFrmOptions dlg;
    QCOMPARE(dlg.size(), QSize(282, 164));
    QVERIFY(dlg.rbLastSettings->isChecked());
    QVERIFY(dlg.GroupBox1->isHidden());
    QVERIFY(dlg.fcFonts->count() > 1);

    // The interval and its labels follow the check box.
    dlg.chkAutoSave->setChecked(false);
    dlg.chkAutoSaveClick();
    QVERIFY(!dlg.seInterval->isEnabled() && !dlg.Label1->isEnabled() && !dlg.Label2->isEnabled());
    QTest::mouseClick(dlg.chkAutoSave, Qt::LeftButton);
    QVERIFY(dlg.seInterval->isEnabled() && dlg.Label1->isEnabled() && dlg.Label2->isEnabled());
  }

  void optionsOkTakesChoicesCancelKeepsThem() {
    TFrmOptions dlg;
    const QString face = TFontCombo::ItemFontName(dlg.fcFonts->itemText(1));
    TTypingSettings s;
    s.EnglishFont = TFontCombo::ItemFontName(dlg.fcFonts->itemText(0));
    // The user picks the second face.
    const auto pickSecond = [&] {
      dlg.fcFonts->setCurrentIndex(1);
      emit dlg.fcFonts->activated(1);
    };

    // Cancel: nothing changes, whatever was chosen in the dialog.
    WhenModal([&] {
      QVERIFY(dlg.rbLastSettings->isChecked());
      QCOMPARE(dlg.fcFonts->FontName(), s.EnglishFont);
      QCOMPARE(dlg.fcFonts->currentIndex(), 0);
      dlg.rbDefaultSettings->setChecked(true);
      pickSecond();
      dlg.btnCancel->click();
    });
    QVERIFY(!dlg.Execute(s));
    QVERIFY(s.RestoreLastState);
    QCOMPARE(s.EnglishFont, TFontCombo::ItemFontName(dlg.fcFonts->itemText(0)));

    // OK: the next start applies the defaults, English typing uses the face.
    WhenModal([&] {
      QVERIFY(dlg.rbLastSettings->isChecked());  // filled again from the settings
      dlg.rbDefaultSettings->setChecked(true);
      pickSecond();
      dlg.btnOk->click();
    });
    QVERIFY(dlg.Execute(s));
    QVERIFY(!s.RestoreLastState);
    QCOMPARE(s.EnglishFont, face);

    // The stored face is shown; a face the system lacks shows as the face
    // drawn in its place, and is kept on OK.
    s.EnglishFont = QStringLiteral("No Such Face 123");
    int shown = -2;
    WhenModal([&] {
      shown = dlg.fcFonts->currentIndex();
      dlg.btnOk->click();
    });
    QVERIFY(dlg.Execute(s));
    QCOMPARE(s.EnglishFont, QStringLiteral("No Such Face 123"));
    QVERIFY(shown >= 0);
    QCOMPARE(shown, dlg.fcFonts->IndexOfFont(QFontInfo(QFont(s.EnglishFont)).family()));

    // Written out, the choice makes the next start take the defaults.
    QTemporaryDir dir;
    const TTypingSettingsFile file(dir.path());
    s.Width = 999;
    QVERIFY(file.Write(s));
    const TTypingSettings next = file.Read(QSize(1024, 768));
    QVERIFY(!next.RestoreLastState);
    QCOMPARE(next.Width, 450);
    QCOMPARE(next.EnglishFont, s.EnglishFont);
  }

  void aboutBoxContents() {
    TfrmAboutBox box;
    QCOMPARE(box.size(), QSize(371, 288));
    QVERIFY(!box.testAttribute(Qt::WA_QuitOnClose));
    QCOMPARE(LabelText(box, "Version"), QStringLiteral("Version 2.0"));
    QCOMPARE(LabelText(box, "Label1"), QStringLiteral("32bit Windows Application."));
    QCOMPARE(LabelText(box, "Label3"), QStringLiteral("Contact :"));
    QVERIFY(LabelText(box, "Label5").contains('@'));
    QCOMPARE(box.findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().size(), QSize(284, 64));
    auto* ok = box.findChild<QPushButton*>(QStringLiteral("OKButton"));
    // Escape leaves the box open; only OK closes it.
    WhenModal([&] {
      QTest::keyClick(&box, Qt::Key_Escape);
      QVERIFY(box.isVisible());
      ok->click();
    });
    QCOMPARE(box.exec(), int(QDialog::Accepted));
  }

  void creditsNeedCtrlCREDIT() {
    dialogs::Script script;
    TfrmAboutBox box;
    const auto release = [&](const char* keys, Qt::KeyboardModifiers mods) {
      for (const char* k = keys; *k; ++k) box.FormKeyUp(*k, mods);
    };
    release("CREDI", Qt::ControlModifier);
    QVERIFY(script.asked.empty());
    release("T", Qt::ControlModifier);
    QCOMPARE(script.asked.size(), size_t(1));
    QCOMPARE(script.asked[0].icon, dialogs::Icon::Information);
    release("T", Qt::ControlModifier);  // longer than CREDIT now
    QCOMPARE(script.asked.size(), size_t(1));

    box.FormKeyUp(Qt::Key_Control, Qt::ControlModifier);  // Ctrl let go
    QVERIFY(box.CtrlKeys().isEmpty());
    release("CREDIT", Qt::NoModifier);
    release("CRE", Qt::ControlModifier);
    box.FormKeyUp(Qt::Key_Control, Qt::NoModifier);
    release("DIT", Qt::ControlModifier);
    release("XCREDIT", Qt::ControlModifier);
    QCOMPARE(script.asked.size(), size_t(1));

    // Released on the focused button, each key counts once.
    box.FormKeyUp(Qt::Key_Control, Qt::NoModifier);
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    auto* ok = box.findChild<QPushButton*>(QStringLiteral("OKButton"));
    ok->setFocus();
    QCOMPARE(box.focusWidget(), ok);
    for (char k : QByteArray("CREDIT")) {
      QKeyEvent up(QEvent::KeyRelease, k, Qt::ControlModifier, QString(QChar(k)));
      QApplication::sendEvent(ok, &up);
    }
    QCOMPARE(box.CtrlKeys(), QStringLiteral("CREDIT"));
    QCOMPARE(script.asked.size(), size_t(2));
  }

  void linksOpenMailAndGuide() {
    OpenRecorder rec;
    TfrmAboutBox box;
    QTest::mouseClick(box.findChild<QLabel*>(QStringLiteral("Label5")), Qt::LeftButton);
    box.CopyrightClick();
    QCOMPARE(rec.opened.size(), 2);
    QCOMPARE(rec.opened[0].scheme(), QStringLiteral("mailto"));
    QCOMPARE(rec.opened[0].path(), LabelText(box, "Label5"));
    QCOMPARE(QUrlQuery(rec.opened[0]).queryItemValue(QStringLiteral("subject")),
             QStringLiteral("Comments on Varunel"));
    QVERIFY(rec.opened[1].path() != rec.opened[0].path());

    shell::OpenUserGuide(QStringLiteral("/opt/tavimo/"));
    QCOMPARE(rec.opened[2], QUrl::fromLocalFile(QStringLiteral("/opt/tavimo/Varunel.htm")));
  }

  void splashLooksAndTimesItself() {
    TfrmSplash splash;
    QCOMPARE(splash.size(), QSize(408, 283));
    QVERIFY(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!splash.testAttribute(Qt::WA_QuitOnClose));
    QCOMPARE(splash.findChild<QWidget*>(QStringLiteral("Memo1"))->size(), QSize(389, 141));
    QVERIFY(splash.Timer1->isActive());
    QCOMPARE(splash.Timer1->interval(), 3000);

    // Escape does not end it; its timer ends the modal display.
    WhenModal([&] {
      QTest::keyClick(&splash, Qt::Key_Escape);
      QVERIFY(splash.isVisible());
      splash.Timer1Timer();
    });
    splash.exec();
    QVERIFY(!splash.Timer1->isActive());
    QVERIFY(!splash.isVisible());
  }

  void splashTimerWiredAndLateShowStillCloses() {
    {
      TfrmSplash splash;
      splash.Timer1->start(1);
      splash.show();
      QTRY_VERIFY_WITH_TIMEOUT(!splash.isVisible(), 10000);
    }
    // The timer fired before the splash was shown: shown later, it goes.
    TfrmSplash splash;
    splash.Timer1Timer();
    bool rescued = false;
    QTimer::singleShot(10000, &splash, [&] { rescued = true; splash.reject(); });
    splash.exec();
    QVERIFY(!rescued);
  }
};

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
