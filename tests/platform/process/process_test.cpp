#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "process.h"
#include "temp_dir.h"
#include "wait_until.h"

namespace fs = std::filesystem;
using process::Process;
using process::SplitCommandLine;
using Args = std::vector<std::string>;
using testutil::ReadBytes;
using testutil::TempDir;
using testutil::WaitUntil;

namespace {

// Whether `pid` is a live process (not gone, not a zombie).
bool Alive(std::int64_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return false;
  std::size_t close = line.rfind(')');
  return close != std::string::npos && close + 2 < line.size() && line[close + 2] != 'Z';
}

// Waits for `p` to end; one that runs past the deadline is ended and fails
// the test.
void RunToEnd(Process& p) {
  ASSERT_TRUE(p.Valid());
  const bool ended = WaitUntil([&p] { return !p.Running(); });
  if (!ended) p.Terminate();
  EXPECT_TRUE(ended) << "process " << p.Id() << " did not end";
}

}  // namespace

TEST(SplitCommandLine, SplitsLikeAShellForSimpleQuoting) {
  EXPECT_EQ(SplitCommandLine("gucharmap"), Args{"gucharmap"});
  EXPECT_EQ(SplitCommandLine("  a\tb  c "), (Args{"a", "b", "c"}));
  EXPECT_EQ(SplitCommandLine(""), Args{});
  EXPECT_EQ(SplitCommandLine("   "), Args{});
  EXPECT_EQ(SplitCommandLine("/bin/sh -c 'sleep 5; echo \"x\"'"), (Args{"/bin/sh", "-c", "sleep 5; echo \"x\""}));
  EXPECT_EQ(SplitCommandLine("\"a b\"c 'd'\"e\""), (Args{"a bc", "de"}));
  EXPECT_EQ(SplitCommandLine("'' \"\""), (Args{"", ""}));
  EXPECT_EQ(SplitCommandLine("a\\ b \\'c"), (Args{"a b", "'c"}));
  // In double quotes only $ ` " \ are escaped; in single quotes nothing is.
  EXPECT_EQ(SplitCommandLine("\"\\$\\a\\\\\" '\\n'"), (Args{"$\\a\\", "\\n"}));
  EXPECT_EQ(SplitCommandLine("a 'open quote"), (Args{"a", "open quote"}));
}

TEST(Process, StartsInTheFolderGivenAndLeavesOursAlone) {
  TempDir work;
  const fs::path ours = fs::current_path();
  Process p = Process::Start("/bin/sh -c 'pwd > here.txt'", work.path.string(), false);
  RunToEnd(p);
  EXPECT_EQ(ReadBytes(work.path / "here.txt"), fs::canonical(work.path).string() + "\n");
  EXPECT_EQ(fs::current_path(), ours);

  // A missing folder: the program still starts, in our folder, looked up
  // along PATH.
  TempDir other;
  fs::current_path(other.path);
  Process q = Process::Start("sh -c 'pwd > here.txt'", (work.path / "missing").string(), false);
  RunToEnd(q);
  EXPECT_EQ(ReadBytes(other.path / "here.txt"), fs::canonical(other.path).string() + "\n");
  fs::current_path(ours);
}

TEST(Process, AProgramThatCannotStartGivesNoProcess) {
  EXPECT_FALSE(Process::Start("/nonexistent/program", "", false).Valid());
  EXPECT_FALSE(Process::Start("no-such-program-anywhere --x", "", false).Valid());
  EXPECT_FALSE(Process::Start("   ", "", false).Valid());
  EXPECT_EQ(Process().Id(), 0);
}

TEST(Process, TerminateEndsTheProgramAndWhatItStarted) {
  TempDir work;
  Process p = Process::Start("/bin/sh -c 'sleep 30 & echo $! > child; wait'", work.path.string(), false);
  ASSERT_TRUE(p.Valid());
  const std::int64_t pid = p.Id();
  ASSERT_TRUE(WaitUntil([&] { return !ReadBytes(work.path / "child").empty() || !p.Running(); }))
      << "the shell never wrote its child's id";
  const std::int64_t child = std::atoll(ReadBytes(work.path / "child").c_str());
  ASSERT_GT(child, 0);
  EXPECT_TRUE(p.Running());
  p.Terminate();
  EXPECT_FALSE(p.Running());
  EXPECT_FALSE(Alive(pid));
  // Killed; its new parent reaps it.
  EXPECT_TRUE(WaitUntil([child] { return !Alive(child); })) << "the child " << child << " outlived Terminate";
  p.Terminate();                         // an ended process is left alone
}

TEST(Process, WaitPumpsUntilTheProgramEnds) {
  Process p = Process::Start("/bin/sh -c 'sleep 0.2'", "", false);
  ASSERT_TRUE(p.Valid());
  int pumps = 0;
  const testutil::Deadline deadline;
  bool late = false;
  p.Wait([&] {
    ++pumps;
    if (!deadline.Passed()) return;
    late = true;
    p.Terminate();  // so that Wait returns and the test fails instead of hanging
  });
  EXPECT_FALSE(late) << "Wait still waited at the deadline for a program of 0.2 seconds";
  EXPECT_GT(pumps, 0);
  EXPECT_FALSE(p.Running());
  EXPECT_FALSE(Alive(p.Id()));
}

TEST(Process, OpenFilesAreInheritedOnlyWhenAsked) {
  TempDir work;
  const int fd = ::open("/dev/null", O_RDONLY);  // inheritable: no close-on-exec
  ASSERT_GE(fd, 3);
  const std::string probe = "/bin/sh -c 'if [ -e /proc/self/fd/" + std::to_string(fd) +
                            " ]; then echo yes > r; else echo no > r; fi'";
  Process kept = Process::Start(probe, work.path.string(), true);
  RunToEnd(kept);
  EXPECT_EQ(ReadBytes(work.path / "r"), "yes\n");
  Process closed = Process::Start(probe, work.path.string(), false);
  RunToEnd(closed);
  EXPECT_EQ(ReadBytes(work.path / "r"), "no\n");
  ::close(fd);
}

TEST(Process, ADroppedProcessRunsOnAndIsReapedOnceEnded) {
  std::int64_t pid = 0;
  {
    Process p = Process::Start("sleep 30", "", false);
    ASSERT_TRUE(p.Valid());
    pid = p.Id();
  }
  EXPECT_TRUE(Alive(pid));
  ::kill(static_cast<pid_t>(pid), SIGKILL);
  // Gone altogether, not left as a zombie, without anyone asking.
  EXPECT_TRUE(WaitUntil([pid] { return ::kill(static_cast<pid_t>(pid), 0) != 0; }))
      << "process " << pid << " was not reaped";
}
