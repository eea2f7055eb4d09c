// Reads arbitrary bytes as a settings file, checks that the text comes back
// byte for byte, writes keys named by the input and checks that they read
// back and that writing them again changes nothing.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "initext.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TIniText ini(bytes);
  Check(ini.Bytes() == bytes, "text not kept");
  // Names: the program's own, and two taken from the input's first bytes.
  const std::string_view head = bytes.substr(0, 8);
  std::string taken;
  for (char c : head)
    if (c != '=' && c != '[' && c != ']' && c != ';' && c != '#' && c != '\r' && c != '\n' && c != '\0' && c != ' ' && c != '\t')
      taken += c;
  const std::string sections[] = {"params", "Bounds", "", taken};
  const std::string keys[] = {"font_map", "TLEFT", taken.empty() ? std::string("k") : taken};
  int n = 0;
  for (const std::string& section : sections)
    for (const std::string& key : keys) {
      const std::string value = "v" + std::to_string(n++) + std::string(bytes.substr(size > 16 ? size - 16 : 0));
      ini.SetValue(section, key, value);
      std::string expected;
      for (char c : value) expected += c == '\r' || c == '\n' || c == '\0' ? ' ' : c;
      while (!expected.empty() && (expected.back() == ' ' || expected.back() == '\t')) expected.pop_back();
      const auto got = ini.Value(section, key);
      Check(got && *got == expected, "written value does not read back");
      const std::string once = ini.Bytes();
      ini.SetValue(section, key, value);
      Check(ini.Bytes() == once, "writing the same value again changed the text");
    }
  return 0;
}
