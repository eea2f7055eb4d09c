// Tavimo and Varunel where LibreOffice is not installed, run through
// tests/support/without_office.sh, which hides the office's folder: both
// programs start, and the office targets give their messages, as in a build
// without the office.
#include "Output.h"
#include "dialogs.h"
#include "office.h"
#include "process.h"
#include "temp_dir.h"
#include "wait_until.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace {

using namespace automation;

TEST(WithoutTheOffice, BothProgramsStartAndTheOfficeTargetsGiveTheirMessages) {
  ASSERT_FALSE(std::filesystem::exists(VARUNEL_OFFICE_FOLDER "/program")) << "the office is not hidden";
  testutil::TempDir home;
  ::setenv("HOME", home.path.c_str(), 1);

  // A program that needed the office's libraries would end at once; one
  // that starts says, before its window, that it has no office.
  const std::pair<const char*, const char*> programs[] = {{VARUNEL_TAVIMO, "no office targets"},
                                                          {VARUNEL_VARUNEL, "the Word document export writes Rich Text"}};
  for (const auto& [program, says] : programs) {
    const auto log = home.path / "log";
    process::Process started =
        process::Process::Start(std::string("/bin/sh -c 'exec \"$0\" 2> \"$1\"' '") + program + "' '" + log.string() + "'",
                                "", false);
    ASSERT_TRUE(started.Valid());
    testutil::WaitUntil(
        [&] { return testutil::ReadBytes(log).find(says) != std::string::npos || !started.Running(); },
        std::chrono::seconds(60));
    EXPECT_NE(testutil::ReadBytes(log).find(says), std::string::npos) << program << " did not start:\n"
                                                                       << testutil::ReadBytes(log);
    EXPECT_TRUE(started.Running()) << program << " ended";
    started.Terminate();
  }

  office::Settings settings;
  settings.layer = VARUNEL_OFFICE_LAYER_FILE;
  ResetServers();
  EXPECT_NE(office::UseOffice(settings), "");
  dialogs::Script script;
  output::Connections connections;
  for (auto target : {output::Target::Word, output::Target::Excel, output::Target::PowerPoint})
    EXPECT_FALSE(output::Submit(nullptr, target, connections, {u"\u0d85", u"Noto Sans Sinhala", "14"}, true, false,
                                false, ""));
  EXPECT_EQ(script.messages(), (QStringList{output::kWordFailure, output::kOfficeFailure, output::kOfficeFailure}));

  // The Word document export writes Rich Text.
  const auto file = home.path / "out.doc";
  TWordDocument document;
  document.Connect();
  document.Content()->InsertAfter(u"\u0d85");
  document.SaveAs(file.u16string());
  EXPECT_EQ(testutil::ReadBytes(file).rfind("{\\rtf1", 0), 0u);

  // So it is without the layer's own library.
  settings.layer = (home.path / "missing.so").string();
  EXPECT_NE(office::UseOffice(settings), "");
  ResetServers();
}

}  // namespace
