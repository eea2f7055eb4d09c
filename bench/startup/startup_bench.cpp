// Start-up time of the typing tool against a bare Qt window with two panes,
// measured in the same run: from the moment the process is started to its
// event loop's first idle turn, in a temporary program folder.
//   startup_bench [rounds]
// The program copies itself into the temporary folder (with the shipped map
// and guide) and starts that copy as "--tavimo" and as "--bare", in turns.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "TavimoMain.h"

namespace {

long long NowNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

// Prints the time since `started` (passed by the parent) and quits.
void ReportAndQuit(long long started) {
  std::printf("%lld\n", NowNs() - started);
  std::fflush(stdout);
  QCoreApplication::quit();
}

int Bare(int argc, char** argv, long long started) {
  QApplication app(argc, argv);
  QSplitter window(Qt::Vertical);
  window.addWidget(new QPlainTextEdit);
  window.addWidget(new QPlainTextEdit);
  window.resize(450, 350);
  window.show();
  QTimer::singleShot(0, &app, [started] { ReportAndQuit(started); });
  return QApplication::exec();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// One start of the copy in `mode`; the milliseconds to its first idle turn,
// or a negative number when it failed.
double StartOnce(const QString& program, const QString& mode, const QString& folder) {
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("VARUNEL_REGISTRY"), folder + QStringLiteral("/registry.ini"));
  child.setProcessEnvironment(env);
  child.setStandardErrorFile(QProcess::nullDevice());
  const long long started = NowNs();
  child.start(program, {mode, QString::number(started)});
  if (!child.waitForFinished(30000) || child.exitCode() != 0) return -1;
  bool ok = false;
  const long long ns = child.readAllStandardOutput().trimmed().toLongLong(&ok);
  return ok ? ns / 1e6 : -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::string(argv[1]) == "--bare") return Bare(argc, argv, std::stoll(argv[2]));
  if (argc >= 3 && std::string(argv[1]) == "--tavimo") {
    const long long started = std::stoll(argv[2]);
    return TavimoMain(argc, argv, [started] { ReportAndQuit(started); });
  }

  const int rounds = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 15;
  QCoreApplication app(argc, argv);
  QTemporaryDir folder;
  const QString program = folder.filePath(QStringLiteral("startup_bench"));
  const QDir shipped(QStringLiteral(VARUNEL_PROGRAM_DIR));
  if (!QFile::copy(QCoreApplication::applicationFilePath(), program)) {
    std::fprintf(stderr, "cannot copy the program into %s\n", qPrintable(folder.path()));
    return 1;
  }
  for (const char* name : {"Sinhala.fmp", "Varunel.htm"})
    QFile::copy(shipped.filePath(QLatin1String(name)), folder.filePath(QLatin1String(name)));

  std::vector<double> tavimo, bare;
  for (int i = 0; i < rounds; ++i) {
    for (const char* mode : {"--tavimo", "--bare"}) {
      const double ms = StartOnce(program, QLatin1String(mode), folder.path());
      if (ms < 0) {
        std::fprintf(stderr, "%s did not reach its first idle turn\n", mode);
        return 1;
      }
      (std::string(mode) == "--tavimo" ? tavimo : bare).push_back(ms);
    }
    QFile::remove(folder.filePath(QStringLiteral("settings.ini")));
  }
  const double t = Median(tavimo), b = Median(bare);
  std::printf("start to first idle, median of %d (QT_QPA_PLATFORM=%s):\n", rounds,
              qgetenv("QT_QPA_PLATFORM").isEmpty() ? "default" : qgetenv("QT_QPA_PLATFORM").constData());
  std::printf("  Tavimo            %7.1f ms\n", t);
  std::printf("  bare Qt window    %7.1f ms\n", b);
  std::printf("  ratio             %7.2f (goal: under 3)\n", b > 0 ? t / b : 0.0);
  return 0;
}
