#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "bad_files.h"
#include "registry.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

class Registry : public ::testing::Test {
 protected:
  void SetUp() override { registry::SetHiveFile(hive.string()); }
  void TearDown() override { registry::SetHiveFile(""); }
  std::string Hive() const { return testutil::ReadBytes(hive); }
  testutil::TempDir temp;
  const fs::path& dir = temp.path;
  const fs::path hive = dir / "var" / "lib" / "varunel" / "registry.ini";
};

}  // namespace

TEST_F(Registry, WritesTheInstallPathIntoANewHive) {
  EXPECT_TRUE(registry::WriteInstallPath(u"/opt/tavimo/"));
  EXPECT_EQ(Hive(),
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvi Applications\\Varunel\\v1.0]\n"
            "\"install_path\"=\"/opt/tavimo/\"\n");
  EXPECT_EQ(registry::ReadString(registry::kVarunelKey, u"install_path"), u"/opt/tavimo/");
  EXPECT_FALSE(fs::exists(hive.string() + ".tmp"));
}

TEST_F(Registry, RewritesTheValueAndKeepsEverythingElse) {
  fs::create_directories(hive.parent_path());
  std::ofstream(hive, std::ios::binary) << "; kept comment\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\n\"a\"=\"1\"\n\n"
                                           "[hkey_local_machine\\software\\orvi applications\\varunel\\V1.0]\n"
                                           "\"INSTALL_PATH\"=\"/old/\"\n\"other\"=\"2\"\ngarbage \xff line\n";
  EXPECT_TRUE(registry::WriteInstallPath(u"/new/"));
  EXPECT_EQ(Hive(),
            "; kept comment\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\n\"a\"=\"1\"\n\n"
            "[hkey_local_machine\\software\\orvi applications\\varunel\\V1.0]\n"
            "\"install_path\"=\"/new/\"\n\"other\"=\"2\"\ngarbage \xff line\n");
  EXPECT_EQ(registry::ReadString(u"SOFTWARE\\Other\\", u"A"), u"1");
  EXPECT_EQ(registry::ReadString(u"\\SOFTWARE\\Other", u"missing"), std::nullopt);
}

TEST_F(Registry, KeepsAnyCharactersOfAValue) {
  const std::u16string odd = u"/a \"q\" \\b\nline=\u0DC3\u0DD2/";
  EXPECT_TRUE(registry::WriteString(u"\\SOFTWARE\\Test", u"v", odd));
  EXPECT_EQ(registry::ReadString(u"\\SOFTWARE\\Test", u"v"), odd);
  EXPECT_TRUE(registry::WriteInstallPath(u"/p/"));
  EXPECT_EQ(registry::ReadString(u"\\SOFTWARE\\Test", u"v"), odd);
}

TEST_F(Registry, FailuresAreSilent) {
  // A hive below a plain file cannot be written, not even by root.
  std::ofstream(dir / "file") << "x";
  registry::SetHiveFile((dir / "file" / "registry.ini").string());
  EXPECT_NO_THROW(EXPECT_FALSE(registry::WriteInstallPath(u"/opt/tavimo/")));
  EXPECT_EQ(registry::ReadString(registry::kVarunelKey, registry::kInstallPath), std::nullopt);
  // A folder where the hive should be.
  registry::SetHiveFile(dir.string());
  EXPECT_FALSE(registry::WriteInstallPath(u"/opt/tavimo/"));
  EXPECT_TRUE(fs::is_directory(dir));
}

TEST_F(Registry, TheEnvironmentNamesTheHiveWhenNoneIsSet) {
  registry::SetHiveFile("");
  const fs::path envHive = dir / "env.ini";
  ::setenv("VARUNEL_REGISTRY", envHive.c_str(), 1);
  EXPECT_EQ(registry::HiveFile(), envHive.string());
  EXPECT_TRUE(registry::WriteInstallPath(u"/e/"));
  EXPECT_TRUE(fs::exists(envHive));
  registry::SetHiveFile(hive.string());  // the setter wins
  EXPECT_EQ(registry::HiveFile(), hive.string());
  ::unsetenv("VARUNEL_REGISTRY");
}

TEST_F(Registry, DefaultsToTheSystemHive) {
  registry::SetHiveFile("");
  ::unsetenv("VARUNEL_REGISTRY");
  EXPECT_EQ(registry::HiveFile(), "/var/lib/varunel/registry.ini");
}

TEST_F(Registry, KeepsAnEmptyHeaderAndLinesItDoesNotUnderstand) {
  fs::create_directories(hive.parent_path());
  const std::string before =
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\n\"a\"=\"1\"\n[]\n\"b\"=\"2\"\nnot a value\n\"c\"=\"3\" trailing\n";
  std::ofstream(hive, std::ios::binary) << before;
  fs::permissions(hive, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_TRUE(registry::WriteInstallPath(u"/p/"));
  EXPECT_EQ(Hive(), before +
                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvi Applications\\Varunel\\v1.0]\n"
                        "\"install_path\"=\"/p/\"\n");
  EXPECT_EQ(fs::status(hive).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(Registry, AHiveThatCannotBeReadIsNeverReplaced) {
  // A link to itself exists as a name but cannot be opened.
  fs::create_directories(hive.parent_path());
  fs::create_symlink(hive.filename(), hive);
  EXPECT_FALSE(registry::WriteInstallPath(u"/p/"));
  EXPECT_TRUE(fs::is_symlink(hive));
  EXPECT_EQ(registry::ReadString(registry::kVarunelKey, u"install_path"), std::nullopt);
  // Nor is a FIFO, an endless device or a hive past any size it could have:
  // none is read or rewritten.
  constexpr std::uintmax_t kHuge = 64u << 20;
  for (const testutil::BadFile kind : testutil::EveryBadFile()) {
    ASSERT_TRUE(testutil::MakeBadFile(kind, hive, kHuge,
                                      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvi Applications\\Varunel\\v1.0]\n"
                                      "\"install_path\"=\"/old/\"\n"));
    EXPECT_FALSE(registry::WriteInstallPath(u"/p/")) << testutil::NameOf(kind);
    EXPECT_EQ(registry::ReadString(registry::kVarunelKey, u"install_path"), std::nullopt) << testutil::NameOf(kind);
    EXPECT_TRUE(testutil::StillBad(kind, hive, kHuge)) << testutil::NameOf(kind);
  }
}
