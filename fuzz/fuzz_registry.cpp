// Reads arbitrary bytes as a registry hive, writes a value named by the input
// and checks that it reads back, that writing it again changes nothing, and
// that every line of the old hive but the value's own is still there.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>

#include "codepage.h"
#include "fuzz_check.h"
#include "registry.h"
#include "temp_dir.h"

namespace {

const std::filesystem::path& Hive() {
  static const std::filesystem::path hive =
      std::filesystem::temp_directory_path() / ("fuzz_registry_" + std::to_string(::getpid()) + ".ini");
  return hive;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  {
    std::ofstream out(Hive(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  registry::SetHiveFile(Hive().string());
  // A key and a name from the input's first bytes, as UTF-16 of their bytes.
  const std::u16string key = u"\\SOFTWARE\\" + codepage::Widen(bytes.substr(0, std::min<std::size_t>(size, 6)));
  const std::u16string name = codepage::Widen(bytes.substr(std::min<std::size_t>(size, 6), 4));
  const std::u16string value = codepage::Widen(bytes.substr(size > 12 ? size - 12 : 0));
  (void)registry::ReadString(key, name);
  if (key.find_first_of(u"\r\n") != std::u16string::npos) {
    Check(!registry::WriteString(key, name, value), "a key with a line break was written");
    return 0;
  }
  Check(registry::WriteString(key, name, value), "write failed");
  Check(registry::ReadString(key, name) == value, "written value does not read back");
  const std::string once = testutil::ReadBytes(Hive());
  Check(registry::WriteString(key, name, value), "second write failed");
  Check(testutil::ReadBytes(Hive()) == once, "writing the same value again changed the hive");
  // The old lines are all there, in order, apart from the value's own.
  std::istringstream oldLines{std::string(bytes)}, newLines{once};
  std::string oldLine, newLine;
  std::size_t missing = 0;
  while (std::getline(oldLines, oldLine)) {
    // Only value lines (which hold quotes) may be replaced.
    if (oldLine.find('"') != std::string::npos) continue;
    bool found = false;
    while (!found && std::getline(newLines, newLine)) found = newLine == oldLine;
    if (!found) ++missing;
  }
  Check(missing == 0, "lines of the old hive were lost");
  registry::SetHiveFile("");
  std::error_code ec;
  std::filesystem::remove(Hive(), ec);
  return 0;
}
