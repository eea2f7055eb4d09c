#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <memory>

#include "RunApp.h"
#include "process.h"
#include "test_files.h"
#include "wait_until.h"

namespace {

// Whether a process with this id exists at all (reaped ones do not).
bool Exists(std::int64_t pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH; }

// Bounds a waiting Run: a program still running at the deadline is killed
// with its group, so that Run returns and the test fails instead of hanging.
class TRunDeadline {
 public:
  explicit TRunDeadline(const TRunApp& run) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this, &run] {
      expired_ = true;
      if (run.ProcessHandle() != 0) ::kill(-static_cast<pid_t>(run.ProcessHandle()), SIGKILL);
    });
    timer_.start(testutil::kWaitLimit);
  }
  // Whether the program had to be killed.
  bool Expired() const { return expired_; }

 private:
  QTimer timer_;
  bool expired_ = false;
};

}  // namespace

TEST(RunApp, StartsInItsFolderAndRestoresOursWhetherOrNotItStarted) {
  QTemporaryDir work;
  const QString ours = QDir::currentPath();
  {
    TRunApp run;
    run.ApplicationPath = work.path();
    run.CommandLine = "/bin/sh -c 'pwd > here.txt'";
    run.WaitForResult = true;
    const TRunDeadline deadline(run);
    EXPECT_NE(run.Run(), 0);
    EXPECT_FALSE(deadline.Expired()) << "Run still waited at the deadline";
    EXPECT_EQ(QDir::currentPath(), ours);
    EXPECT_EQ(ReadFile(work.filePath("here.txt")).trimmed(), QDir(work.path()).canonicalPath().toUtf8());

    run.CommandLine = "/no/such/program";
    EXPECT_EQ(run.Run(), 0);
    EXPECT_EQ(QDir::currentPath(), ours);
    run.ApplicationPath = "/no/such/folder/";
    EXPECT_EQ(run.Run(), 0);
    EXPECT_EQ(QDir::currentPath(), ours);
  }
  EXPECT_EQ(QDir::currentPath(), ours);
}

TEST(RunApp, OnlyTheLastStartedProcessIsTerminatedOnDestruction) {
  auto run = std::make_unique<TRunApp>();
  run->CommandLine = "/bin/sh -c 'sleep 5'";
  const std::int64_t first = run->Run();
  const std::int64_t second = run->Run();
  ASSERT_NE(first, 0);
  ASSERT_NE(second, 0);
  EXPECT_EQ(run->ProcessHandle(), second);

  // A failed start keeps the handle it had.
  run->CommandLine = "no-such-program-anywhere";
  EXPECT_EQ(run->Run(), 0);
  EXPECT_EQ(run->ProcessHandle(), second);

  run.reset();
  EXPECT_FALSE(Exists(second));
  EXPECT_TRUE(Exists(first));
  ::kill(-static_cast<pid_t>(first), SIGKILL);
  EXPECT_TRUE(testutil::WaitUntil([first] { return !Exists(first); })) << "process " << first << " was not reaped";
}

TEST(RunApp, WaitingProcessesEventsAndReturnsOnceTheProgramEnded) {
  TRunApp run;
  run.CommandLine = "/bin/sh -c 'sleep 0.3'";
  run.WaitForResult = true;
  bool fired = false;
  QTimer::singleShot(0, [&fired] { fired = true; });
  const TRunDeadline deadline(run);
  const std::int64_t pid = run.Run();
  ASSERT_NE(pid, 0);
  EXPECT_FALSE(deadline.Expired()) << "Run still waited at the deadline for a program of 0.3 seconds";
  EXPECT_TRUE(fired);
  EXPECT_FALSE(Exists(pid));

  // Without waiting, terminating after the run has no effect.
  run.WaitForResult = false;
  run.TerminateAfterRun = true;
  run.CommandLine = "sleep 5";
  const std::int64_t running = run.Run();
  EXPECT_TRUE(Exists(running));
}

TEST(RunApp, AMissingCharacterMapDoesNothing) {
  QTemporaryDir empty;
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", empty.path().toUtf8());
  TRunApp run;
  EXPECT_NO_THROW(RunCharacterMap(run));
  EXPECT_EQ(run.CommandLine, QStringLiteral("gucharmap"));
  EXPECT_EQ(run.ApplicationPath, QStringLiteral("/usr/bin/"));
  qputenv("PATH", path);
  EXPECT_EQ(run.ProcessHandle(), 0);
}

TEST(RunApp, LooksInItsFolderFirstThenAlongThePath) {
  // A folder outside the 8-bit code page, with a space.
  QTemporaryDir root;
  const QString folder = root.filePath(QStringLiteral("\u0dc3\u0dd2\u0d82\u0dc4\u0dbd \u0414\u043e\u043a"));
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString tool = folder + QStringLiteral("/echo");  // shadows the echo along PATH
  ASSERT_TRUE(WriteFile(tool, "#!/bin/sh\npwd > mine.txt\n"));
  QFile::setPermissions(tool, QFile::permissions(tool) | QFileDevice::ExeOwner);
  TRunApp run;
  run.ApplicationPath = folder;
  run.CommandLine = QStringLiteral("echo");
  run.WaitForResult = true;
  const TRunDeadline deadline(run);
  EXPECT_NE(run.Run(), 0);
  EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/mine.txt")));
  // Not in the folder: found along PATH.
  run.CommandLine = QStringLiteral("true");
  EXPECT_NE(run.Run(), 0);
  EXPECT_FALSE(deadline.Expired()) << "Run still waited at the deadline";
}
