// Start-up of the shipped programs against a bare Qt window with two panes,
// in turns in the same run, on an X display (run it with scripts/bench.sh):
// from the moment the process is started to its first window mapped, and to
// the first drawing inside that window (the X server's damage report).
//   startup_bench [rounds]
// Tavimo's first window is its tray icon, docked in the notification area
// when a tray host runs (its main window stays hidden until the icon is
// clicked); without a tray host it is the main window. Varunel's is its
// main window. The programs are copied with the program folder's files into
// a temporary folder, so a run leaves the build's program folder as it was;
// each start is ended once its window is drawn.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSplitter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <poll.h>
#include <string>
#include <vector>
#include <xcb/damage.h>
#include <xcb/xcb.h>

namespace {

int Bare(int argc, char** argv) {
  QApplication app(argc, argv);
  QSplitter window(Qt::Vertical);
  window.addWidget(new QPlainTextEdit);
  window.addWidget(new QPlainTextEdit);
  window.resize(450, 350);
  window.show();
  return QApplication::exec();
}

struct TStart {
  double mapped = -1;   // ms to the first window mapped
  double painted = -1;  // ms to the first drawing inside it
  QString window;       // what that window was
};

// Watches the X server for the windows of one process: every top-level
// window gets its own structure events, and the root a damage report of
// every drawing on the screen.
class TScreenWatch {
 public:
  bool Open() {
    c_ = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c_)) return false;
    root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c_, &xcb_damage_id);
    if (!damage || !damage->present) return false;
    damageEvent_ = damage->first_event + XCB_DAMAGE_NOTIFY;
    std::free(xcb_damage_query_version_reply(c_, xcb_damage_query_version(c_, 1, 1), nullptr));
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
    xcb_damage_create(c_, xcb_generate_id(c_), root_, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    pidAtom_ = Atom("_NET_WM_PID");
    nameAtom_ = Atom("_NET_WM_NAME");
    utf8Atom_ = Atom("UTF8_STRING");
    xcb_flush(c_);
    return true;
  }
  ~TScreenWatch() {
    if (c_) xcb_disconnect(c_);
  }

  // Starts `program` and waits for its first window to be mapped and drawn.
  std::optional<TStart> Measure(const QString& program, const QStringList& arguments, const QProcessEnvironment& env) {
    Drain();
    QProcess child;
    child.setProcessEnvironment(env);
    child.setStandardOutputFile(QProcess::nullDevice());
    child.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    child.start(program, arguments);
    if (!child.waitForStarted(10000)) return std::nullopt;
    const auto pid = static_cast<uint32_t>(child.processId());
    TStart start;
    xcb_window_t target = XCB_NONE;
    while (start.painted < 0 && clock.elapsed() < 30000) {
      xcb_generic_event_t* e = Next(100);
      if (!e) continue;
      const uint8_t type = e->response_type & 0x7f;
      const double now = static_cast<double>(clock.nsecsElapsed()) / 1e6;
      if (type == XCB_CREATE_NOTIFY) {
        const xcb_window_t w = reinterpret_cast<xcb_create_notify_event_t*>(e)->window;
        const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(c_, w, XCB_CW_EVENT_MASK, &mask);
        // Mapped before its events were asked for: mapped now.
        if (target == XCB_NONE && Viewable(w) && Pid(w) == pid) {
          target = w;
          start.mapped = now;
        }
      } else if (type == XCB_MAP_NOTIFY) {
        const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(e);
        if (target == XCB_NONE && map->event == map->window && Pid(map->window) == pid) {
          target = map->window;
          start.mapped = now;
        }
      } else if (type == damageEvent_ && target != XCB_NONE) {
        const auto* d = reinterpret_cast<xcb_damage_notify_event_t*>(e);
        if (Intersects(RootRect(target), d->area)) {
          start.painted = now;
          start.window = Describe(target);
        }
      }
      std::free(e);
    }
    child.kill();
    child.waitForFinished(5000);
    if (start.painted < 0) return std::nullopt;
    return start;
  }

 private:
  xcb_atom_t Atom(const char* name) {
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = r ? r->atom : XCB_NONE;
    std::free(r);
    return atom;
  }

  xcb_generic_event_t* Next(int timeoutMs) {
    if (xcb_generic_event_t* e = xcb_poll_for_event(c_)) return e;
    pollfd p{xcb_get_file_descriptor(c_), POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) return nullptr;
    return xcb_poll_for_event(c_);
  }

  void Drain() {
    xcb_flush(c_);
    while (xcb_generic_event_t* e = xcb_poll_for_event(c_)) std::free(e);
  }

  bool Viewable(xcb_window_t w) {
    xcb_get_window_attributes_reply_t* a = xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, w), nullptr);
    const bool viewable = a && a->map_state != XCB_MAP_STATE_UNMAPPED;
    std::free(a);
    return viewable;
  }

  uint32_t Pid(xcb_window_t w) {
    xcb_get_property_reply_t* r =
        xcb_get_property_reply(c_, xcb_get_property(c_, 0, w, pidAtom_, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    uint32_t pid = 0;
    if (r && xcb_get_property_value_length(r) == 4) pid = *static_cast<uint32_t*>(xcb_get_property_value(r));
    std::free(r);
    return pid;
  }

  struct TRect {
    int x, y, w, h;
  };
  TRect RootRect(xcb_window_t w) {
    TRect rect{0, 0, 0, 0};
    if (auto* g = xcb_get_geometry_reply(c_, xcb_get_geometry(c_, w), nullptr)) {
      rect.w = g->width;
      rect.h = g->height;
      std::free(g);
    }
    if (auto* t = xcb_translate_coordinates_reply(c_, xcb_translate_coordinates(c_, w, root_, 0, 0), nullptr)) {
      rect.x = t->dst_x;
      rect.y = t->dst_y;
      std::free(t);
    }
    return rect;
  }

  static bool Intersects(const TRect& a, const xcb_rectangle_t& b) {
    return a.x < b.x + b.width && b.x < a.x + a.w && a.y < b.y + b.height && b.y < a.y + a.h;
  }

  QString Describe(xcb_window_t w) {
    const TRect r = RootRect(w);
    QString name;
    if (auto* p = xcb_get_property_reply(c_, xcb_get_property(c_, 0, w, nameAtom_, utf8Atom_, 0, 64), nullptr)) {
      name = QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(p)), xcb_get_property_value_length(p));
      std::free(p);
    }
    return QStringLiteral("\"%1\" %2x%3").arg(name).arg(r.w).arg(r.h);
  }

  xcb_connection_t* c_ = nullptr;
  xcb_window_t root_ = XCB_NONE;
  uint8_t damageEvent_ = 0;
  xcb_atom_t pidAtom_ = XCB_NONE;
  xcb_atom_t nameAtom_ = XCB_NONE;
  xcb_atom_t utf8Atom_ = XCB_NONE;
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

double Worst(const std::vector<double>& v) { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }

// The program folder's files, programs included, into `to`.
bool CopyProgramFolder(const QString& from, const QString& to) {
  QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString file = it.next();
    const QString target = to + "/" + QDir(from).relativeFilePath(file);
    QDir().mkpath(QFileInfo(target).path());
    if (!QFile::copy(file, target)) return false;
    QFile(target).setPermissions(QFile(file).permissions());
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::string(argv[1]) == "--bare") return Bare(argc, argv);

  const int rounds = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 9;
  QCoreApplication app(argc, argv);
  TScreenWatch screen;
  if (!screen.Open()) {
    std::fprintf(stderr, "startup_bench needs an X display with the DAMAGE extension (run it with scripts/bench.sh)\n");
    return 1;
  }
  QTemporaryDir folder;
  if (!CopyProgramFolder(QStringLiteral(VARUNEL_PROGRAM_DIR), folder.path())) {
    std::fprintf(stderr, "cannot copy the program folder %s\n", VARUNEL_PROGRAM_DIR);
    return 1;
  }
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("VARUNEL_REGISTRY"), folder.filePath(QStringLiteral("registry.ini")));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));

  struct TProgram {
    const char* name;
    QString path;
    QStringList arguments;
    std::vector<double> mapped, painted;
    QString window;
  };
  std::vector<TProgram> programs = {
      {"Tavimo", folder.filePath(QStringLiteral("Tavimo")), {}, {}, {}, {}},
      {"Varunel", folder.filePath(QStringLiteral("Varunel")), {}, {}, {}, {}},
      {"bare Qt window", QCoreApplication::applicationFilePath(), {QStringLiteral("--bare")}, {}, {}, {}},
  };
  // One start of each not counted: the files are read once before timing.
  for (int round = -1; round < rounds; ++round) {
    for (TProgram& p : programs) {
      const std::optional<TStart> s = screen.Measure(p.path, p.arguments, env);
      if (!s) {
        std::fprintf(stderr, "%s showed no window\n", p.name);
        return 1;
      }
      if (round < 0) continue;
      p.mapped.push_back(s->mapped);
      p.painted.push_back(s->painted);
      p.window = s->window;
    }
  }
  std::printf("start to first window, %d starts each after one not counted, ms\n", rounds);
  std::printf("%-16s %8s %8s %8s %8s  %s\n", "", "mapped", "worst", "drawn", "worst", "window");
  for (const TProgram& p : programs)
    std::printf("%-16s %8.1f %8.1f %8.1f %8.1f  %s\n", p.name, Median(p.mapped), Worst(p.mapped), Median(p.painted),
                Worst(p.painted), qPrintable(p.window));
  return 0;
}
