#include "files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "temp_dir.h"

namespace fs = std::filesystem;
using testutil::ReadBytes;
using testutil::TempDir;

namespace {

// The names in a folder.
std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(ReplaceWhole, ReplacesTheFileTheNameLeadsToAndKeepsItsPermissions) {
  TempDir dir;
  const fs::path real = dir.path / "real.fmp", link = dir.path / "link.fmp";
  dir.Write("real.fmp", "old");
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("real.fmp", link);

  files::ReplaceWhole(link, "new content");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadBytes(real), "new content");
  EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  files::ReplaceWhole(dir.path / "fresh", "");
  EXPECT_EQ(Names(dir.path), (std::vector<std::string>{"fresh", "link.fmp", "real.fmp"}));
}

TEST(ReplaceWhole, AFailureLeavesTheOldFileAndNoTemporaryFile) {
  TempDir dir;
  // A folder in the way: everything is written, the rename fails.
  fs::create_directories(dir.path / "busy" / "inside");
  std::error_code ec;
  EXPECT_FALSE(files::ReplaceWhole(dir.path / "busy", "bytes", ec));
  EXPECT_TRUE(ec);
  EXPECT_THROW(files::ReplaceWhole(dir.path / "missing" / "x", "bytes"), fs::filesystem_error);
  EXPECT_EQ(Names(dir.path), std::vector<std::string>{"busy"});
  EXPECT_EQ(Names(dir.path / "busy"), std::vector<std::string>{"inside"});
}

TEST(ReplaceWhole, AKilledWriterLeavesTheOldOrTheNewFileWhole) {
  TempDir dir;
  const fs::path target = dir.path / "map.fmp";
  const std::string a(300000, 'a'), b(200000, 'b');
  files::ReplaceWhole(target, a);
  for (int round = 0; round < 12; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) files::ReplaceWhole(target, i % 2 ? a : b);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2 + 3 * round));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::string now = ReadBytes(target);
    EXPECT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
  }
}
