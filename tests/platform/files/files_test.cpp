#include "files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <algorithm>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "bad_files.h"
#include "temp_dir.h"

namespace fs = std::filesystem;
using testutil::BadFile;
using testutil::MakeBadFile;
using testutil::StillBad;
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

TEST(ReplaceWhole, ADanglingLinkGetsItsFileWhileLoopsAndDevicesAreRefused) {
  TempDir dir;
  fs::create_directory(dir.path / "real");
  fs::create_symlink("real/settings.ini", dir.path / "settings.ini");
  files::ReplaceWhole(dir.path / "settings.ini", "new");
  EXPECT_TRUE(fs::is_symlink(dir.path / "settings.ini"));
  EXPECT_EQ(ReadBytes(dir.path / "real" / "settings.ini"), "new");

  fs::create_symlink("b", dir.path / "a");
  fs::create_symlink("a", dir.path / "b");
  ASSERT_TRUE(MakeBadFile(BadFile::Fifo, dir.path / "pipe", 0));
  ASSERT_TRUE(MakeBadFile(BadFile::EndlessDevice, dir.path / "zero", 0));
  for (const char* name : {"a", "pipe", "zero"}) {
    std::error_code ec;
    EXPECT_FALSE(files::ReplaceWhole(dir.path / name, "bytes", ec)) << name;
    EXPECT_TRUE(ec) << name;
  }
  EXPECT_TRUE(fs::is_symlink(dir.path / "a") && fs::is_symlink(dir.path / "b"));
  EXPECT_TRUE(StillBad(BadFile::Fifo, dir.path / "pipe", 0));
  EXPECT_TRUE(StillBad(BadFile::EndlessDevice, dir.path / "zero", 0));
  EXPECT_EQ(std::count_if(fs::directory_iterator(dir.path), fs::directory_iterator(),
                          [](const fs::directory_entry& e) { return e.path().filename().string()[0] == '.'; }),
            0);
}

// A writer killed mid-way leaves ".<name>.<pid>.<8 letters>"; the next write
// of the same file removes it once it is a minute old and its writer gone,
// and touches nothing else.
TEST(ReplaceWhole, RemovesOnlyItsOwnStaleTemporaries) {
  TempDir dir;
  const pid_t gone = ::fork();
  ASSERT_GE(gone, 0);
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  const std::string dead = std::to_string(gone), alive = std::to_string(::getpid());
  const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(2);
  const std::vector<std::string> stale = {".map.fmp." + dead + ".abcdefgh", ".map.fmp.k2m4p6r8"};
  const std::vector<std::string> kept = {".map.fmp." + alive + ".abcdefgh", ".map.fmp.lock", ".map.fmp.12.abc",
                                         ".other.fmp." + dead + ".abcdefgh", "map.fmp.x"};
  for (const std::string& name : stale) dir.Write(name, "part"), fs::last_write_time(dir.path / name, old);
  for (const std::string& name : kept) dir.Write(name, "part"), fs::last_write_time(dir.path / name, old);
  const std::string fresh = ".map.fmp." + dead + ".zyxwvuts";
  dir.Write(fresh, "part");

  files::ReplaceWhole(dir.path / "map.fmp", "map");
  std::vector<std::string> expected = kept;
  expected.push_back(fresh);
  expected.push_back("map.fmp");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Names(dir.path), expected);
}
