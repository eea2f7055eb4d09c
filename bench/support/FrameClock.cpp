#include "FrameClock.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#ifdef BENCH_HAVE_XCB
#include <QGuiApplication>
#include <xcb/xcb.h>
#endif

namespace bench {

namespace {

constexpr double kNoFrameMs = 5000;

// One round trip to the X server: every request sent before it (the
// frame's image among them) has been carried out when it returns.
void ServerSync() {
#ifdef BENCH_HAVE_XCB
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
  if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>(); x11 && x11->connection()) {
    xcb_connection_t* c = x11->connection();
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
  }
#endif
}

// Counts the paint events of a widget and of everything inside it (a child
// that covers its parent is painted alone).
class TPaintSeen : public QObject {
 public:
  explicit TPaintSeen(QWidget* pane) : pane_(pane) { qApp->installEventFilter(this); }
  ~TPaintSeen() override { qApp->removeEventFilter(this); }
  int paints = 0;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched->isWidgetType()) {
      auto* w = static_cast<QWidget*>(watched);
      if (w == pane_ || pane_->isAncestorOf(w)) ++paints;
    }
    return false;
  }

 private:
  QWidget* pane_;
};

void Cell(const TStats& s) {
  if (s.runs == 0)
    std::printf(" %8s %8s", "-", "-");
  else
    std::printf(" %8.2f %8.2f", s.median, s.worst);
}

}  // namespace

TStats Summarise(std::vector<double> ms) {
  if (ms.empty()) return {};
  std::sort(ms.begin(), ms.end());
  return {ms[ms.size() / 2], ms.back(), static_cast<int>(ms.size())};
}

void Settle() {
  // Long enough for the program's own 10 ms timers and the server's answers
  // to come and be handled.
  for (int i = 0; i < 2; ++i) {
    QTest::qWait(12);
    ServerSync();
  }
  QCoreApplication::processEvents();
}

void Prepare(QWidget* window, QWidget* focus, QWidget* pointAt) {
  if (!window->isVisible()) window->show();
  const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
  if (!window->isActiveWindow()) {
    if (x11) window->raise();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window, 3000)) std::fprintf(stderr, "the window did not become active\n");
  }
  if (focus && !focus->hasFocus()) focus->setFocus();
  if (pointAt && x11) {
    QCursor::setPos(pointAt->mapToGlobal(pointAt->rect().center()));
    if (!QTest::qWaitFor([pointAt] { return pointAt->underMouse(); }, 2000))
      std::fprintf(stderr, "the pointer did not reach the window\n");
  }
  Settle();
}

double MsToPaint(QWidget* pane, const std::function<void()>& act) {
  TPaintSeen seen(pane);
  QElapsedTimer t;
  t.start();
  act();
  while (seen.paints == 0 && t.elapsed() < kNoFrameMs) QCoreApplication::processEvents();
  ServerSync();
  const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
  return seen.paints > 0 ? ms : kNoFrameMs;
}

void Header(const QString& what, const QString& program) {
  std::printf("\n%s (QT_QPA_PLATFORM=%s), ms from the input to the painted frame\n", qPrintable(what),
              qPrintable(QGuiApplication::platformName()));
  std::printf("%-40s %17s %17s\n", "", qPrintable(program), "bare Qt");
  std::printf("%-40s %8s %8s %8s %8s\n", "case", "median", "worst", "median", "worst");
}

void Row(const QString& name, const TSide& program, const TSide& bare, int rounds, int warmup, const QString& note) {
  std::vector<double> mine, plain;
  for (int round = 0; round < warmup + rounds; ++round) {
    for (const TSide* side : {&program, &bare}) {
      if (!side->run) continue;
      if (side->prepare) side->prepare();
      const std::vector<double> ms = side->run();
      if (round < warmup) continue;
      std::vector<double>& into = side == &program ? mine : plain;
      into.insert(into.end(), ms.begin(), ms.end());
    }
  }
  std::printf("%-40s", qPrintable(name));
  Cell(Summarise(mine));
  Cell(Summarise(plain));
  if (!note.isEmpty()) std::printf("  %s", qPrintable(note));
  std::printf("\n");
  std::fflush(stdout);
}

TBareWindow::TBareWindow(QSize size, QPoint at) {
  setWindowTitle(QStringLiteral("bare Qt"));
  setLineWrapMode(QPlainTextEdit::NoWrap);
  resize(size);
  move(at);
}

void TBareWindow::ShowExposed() {
  show();
  if (!QTest::qWaitForWindowExposed(this, 5000)) std::fprintf(stderr, "the bare window was not shown\n");
}

}  // namespace bench
