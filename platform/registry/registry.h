// The few registry values the programs write, kept in a small hive file of
// our own. Keys and values live under HKEY_LOCAL_MACHINE; the hive is
//   1. the file named by SetHiveFile() or, when that is not set, by the
//      environment variable VARUNEL_REGISTRY (exactly that file, no other);
//   2. otherwise the system hive /var/lib/varunel/registry.ini, and when that
//      cannot be written, the user's own copy
//      $XDG_STATE_HOME/varunel/registry.ini (~/.local/state/... when the
//      variable is not set), the way a system redirects a program without
//      the right to write the machine's keys.
// The file is UTF-8 text in the form of an exported registry: a line
// "[HKEY_LOCAL_MACHINE\key path]" and under it lines "name"="value", in
// which a backslash, a double quote and a line break are escaped.
// Every failure is silent: a value that cannot be written is skipped.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace registry {

// The programs' key under HKEY_LOCAL_MACHINE and the value they write.
inline constexpr std::u16string_view kVarunelKey = u"\\SOFTWARE\\Orvi Applications\\Varunel\\v1.0";
inline constexpr std::u16string_view kInstallPath = u"install_path";

// Opens `key` under HKEY_LOCAL_MACHINE, creating it when missing, and only
// when it opens writes the string `name` = `value`. Returns whether the value
// was written; raises nothing.
bool WriteString(std::u16string_view key, std::u16string_view name, std::u16string_view value);

// The value as the programs would see it; nothing when missing or unreadable.
std::optional<std::u16string> ReadString(std::u16string_view key, std::u16string_view name);

// Writes "install_path" = `programFolder` under the programs' key.
inline bool WriteInstallPath(std::u16string_view programFolder) {
  return WriteString(kVarunelKey, kInstallPath, programFolder);
}

// Puts the hive in `path` (UTF-8); an empty path goes back to the default.
void SetHiveFile(const std::string& path);

// The file the next write goes to first.
std::string HiveFile();

}  // namespace registry
