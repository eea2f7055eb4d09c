// Varunel's window on a desktop with a window manager: what only a real
// window system shows. Run through tests/support/desktop.sh.
#include <QApplication>
#include <QTest>
#include <memory>

#include "EditorSettings.h"
#include "program_session.h"
#include "uFrmMain.h"
#include "uOptions.h"
#include "when_modal.h"

using varunel::TfrmMain;

class EditorDesktopTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TProgramSession> session;

  QRect Stored() const {
    const TEditorSettings s = TEditorSettingsFile(session->folder.Folder()).Read();
    return QRect(s.Left, s.Top, s.Width, s.Height);
  }

 private slots:
  void initTestCase() { QApplication::setApplicationName("VarunelV1.0"); }
  void init() { session = std::make_unique<TProgramSession>(); }
  void cleanup() { session.reset(); }

  // The stored bounds are the outer window's, frame included, both when
  // applied and when saved: a start and a close leave them as they were,
  // also when the window is closed maximized.
  void storedBoundsAreTheOuterWindows() {
    QVERIFY(WriteFile(session->folder.Folder() + "settings.ini",
                      "[bounds]\nleft=60\ntop=70\nwidth=750\nheight=550\n"));
    for (const bool maximized : {false, true}) {
      auto w = std::make_unique<TfrmMain>();
      w->FormCreate(w.get());
      w->show();
      QVERIFY(QTest::qWaitForWindowExposed(w.get()));
      QTRY_VERIFY(w->frameGeometry() != w->geometry());  // the manager's frame is there
      QTRY_COMPARE(w->frameGeometry(), QRect(60, 70, 750, 550));
      if (maximized) {
        w->showMaximized();
        QTRY_VERIFY(w->frameGeometry().width() > 750);
      }
      w->close();
      QCOMPARE(Stored(), QRect(60, 70, 750, 550));
    }
  }

  // Round after round, the stored normal bounds stay exact to the pixel: a
  // window maximised and closed, started again (so maximised) and closed,
  // started maximised and restored before it closes.
  void aMaximisedWindowKeepsItsBoundsExactly() {
    const QRect normal(120, 70, 700, 500);
    const QString ini = session->folder.Folder() + "settings.ini";
    const QByteArray bounds = "[bounds]\nleft=120\ntop=70\nwidth=700\nheight=500\n";
    for (int round = 1; round <= 4; ++round) {
      QVERIFY(WriteFile(ini, bounds + "[params]\nwindow_state=0\n"));
      for (const char* step : {"maximise", "start maximised", "restore"}) {
        const QString seen = QStringLiteral("round %1, %2").arg(round).arg(step);
        auto w = std::make_unique<TfrmMain>();
        w->FormCreate(w.get());
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        if (step == std::string("maximise")) {
          QTRY_COMPARE(w->frameGeometry(), normal);
          w->showMaximized();
        }
        QTRY_VERIFY2(w->isMaximized() && w->frameGeometry().width() > normal.width(), qPrintable(seen));
        if (step == std::string("restore")) {
          w->showNormal();
          QTRY_COMPARE(w->frameGeometry(), normal);
        }
        w->close();
        const QRect stored = Stored();
        QVERIFY2(stored == normal, qPrintable(seen + QStringLiteral(": %1,%2 %3x%4").arg(stored.x()).arg(stored.y())
                                                    .arg(stored.width()).arg(stored.height())));
      }
    }
  }

  // Options confirmed while the window is maximised: the bounds written are
  // the maximised window's, and the state normal.
  void optionsWriteTheWindowAsItIs() {
    FrmOptions = new TFrmOptions;
    auto w = std::make_unique<TfrmMain>();
    w->FormCreate(w.get());
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->showMaximized();
    QTRY_VERIFY(w->isMaximized() && w->frameGeometry().width() > 750);
    WhenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->accept(); });
    w->Options1Click(nullptr);
    QCOMPARE(Stored(), w->frameGeometry());
    QCOMPARE(TEditorSettingsFile(session->folder.Folder()).Read().WindowState, 0);
    w.reset();
    delete FrmOptions;
    FrmOptions = nullptr;
  }
};

QTEST_MAIN(EditorDesktopTest)
#include "desktop_test.moc"
