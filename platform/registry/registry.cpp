#include "registry.h"


#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <system_error>
#include <vector>

#include "codepage.h"
#include "files.h"

namespace registry {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kRoot = "HKEY_LOCAL_MACHINE";
constexpr const char* kSystemHive = "/var/lib/varunel/registry.ini";

std::string gHiveFile;  // set by SetHiveFile

// One line of the hive; `isValue` lines carry a parsed name and value, any
// other line is kept as it stands.
struct Line {
  std::string raw;
  bool isValue = false;
  std::string name;
  std::string value;
};

struct Section {
  std::string key;     // "HKEY_LOCAL_MACHINE\..."
  std::string header;  // the header line as it stands; none for the lines before the first
  std::vector<Line> lines;
};

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// Keys and value names compare without regard to letter case.
bool SameName(std::string_view a, std::string_view b) { return Lower(a) == Lower(b); }

std::string KeyPath(std::u16string_view key) {
  std::string path = codepage::Utf16ToUtf8(key);
  std::size_t start = path.find_first_not_of('\\');
  std::string out(kRoot);
  if (start != std::string::npos) out += '\\' + path.substr(start);
  while (out.back() == '\\') out.pop_back();
  return out;
}

std::string Quote(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out + '"';
}

// Reads a quoted string starting at s[pos] == '"'; moves pos past it.
bool Unquote(std::string_view s, std::size_t& pos, std::string& out) {
  if (pos >= s.size() || s[pos] != '"') return false;
  out.clear();
  for (++pos; pos < s.size(); ++pos) {
    char c = s[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c == '\\' && pos + 1 < s.size()) {
      c = s[++pos];
      out += c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    } else {
      out += c;
    }
  }
  return false;
}

Line ParseLine(const std::string& raw) {
  Line line;
  line.raw = raw;
  std::size_t pos = 0;
  if (Unquote(raw, pos, line.name) && pos < raw.size() && raw[pos] == '=' && Unquote(raw, ++pos, line.value) &&
      pos == raw.size())
    line.isValue = true;
  return line;
}

// A hive holds a few values; a larger file is not read (nor replaced).
constexpr std::uintmax_t kMaxHiveSize = 1u << 20;

// The hive's sections; lines before the first section go into one without
// a header. Nothing when the file exists but cannot be read (no regular
// file, too large): writing it would lose what it holds.
std::optional<std::vector<Section>> Load(const fs::path& file) {
  std::vector<Section> sections(1);
  std::string bytes;
  std::error_code ec;
  if (!files::ReadWhole(file, kMaxHiveSize, bytes, ec)) {
    if (ec == std::errc::no_such_file_or_directory) return sections;
    return std::nullopt;
  }
  std::string_view rest = bytes;
  while (!rest.empty()) {
    // Lines end at "\n"; a last line without one counts all the same. A
    // line break "\r\n" is kept whole and written back as it was.
    const std::size_t end = rest.find('\n');
    const std::string raw(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    std::string line = raw;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      sections.push_back({line.substr(1, line.size() - 2), raw, {}});
    } else {
      sections.back().lines.push_back(ParseLine(line));
      sections.back().lines.back().raw = raw;
    }
  }
  return sections;
}

bool Save(const fs::path& file, const std::vector<Section>& sections) {
  std::ostringstream text;
  for (const Section& section : sections) {
    if (!section.header.empty()) text << section.header << '\n';
    for (const Line& line : section.lines) text << line.raw << '\n';
  }
  std::error_code ec;
  if (file.has_parent_path()) fs::create_directories(file.parent_path(), ec);
  // A complete new hive replaces the old one (keeping its permissions), so
  // a failed write never leaves half a hive.
  return files::ReplaceWhole(file, text.str(), ec);
}

bool WriteTo(const fs::path& file, const std::string& key, const std::string& name, const std::string& value) {
  std::optional<std::vector<Section>> loaded = Load(file);
  if (!loaded) return false;
  std::vector<Section>& sections = *loaded;
  Section* section = nullptr;
  for (Section& s : sections)
    if (!s.header.empty() && SameName(s.key, key)) section = &s;
  if (!section) section = &sections.emplace_back(Section{key, '[' + key + ']', {}});
  Line fresh{Quote(name) + '=' + Quote(value), true, name, value};
  bool replaced = false;
  for (Line& line : section->lines)
    if (line.isValue && SameName(line.name, name)) {
      line = fresh;
      replaced = true;
    }
  if (!replaced) {
    // After the section's last value, ahead of any blank lines closing it.
    auto at = section->lines.end();
    while (at != section->lines.begin() && (std::prev(at)->raw.empty() || std::prev(at)->raw == "\r")) --at;
    section->lines.insert(at, fresh);
  }
  return Save(file, sections);
}

std::optional<std::string> ReadFrom(const fs::path& file, const std::string& key, const std::string& name) {
  std::optional<std::string> found;
  const std::optional<std::vector<Section>> sections = Load(file);
  if (!sections) return found;
  for (const Section& s : *sections)
    if (!s.header.empty() && SameName(s.key, key))
      for (const Line& line : s.lines)
        if (line.isValue && SameName(line.name, name)) found = line.value;
  return found;
}

std::string Override() {
  if (!gHiveFile.empty()) return gHiveFile;
  const char* env = std::getenv("VARUNEL_REGISTRY");
  return env ? env : "";
}

// The user's own hive, empty when there is no home folder to hold it.
std::string UserHive() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state && state[0] == '/') return std::string(state) + "/varunel/registry.ini";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.local/state/varunel/registry.ini";
  return {};
}

// The hives in the order writes try them.
std::vector<std::string> WriteOrder() {
  std::string chosen = Override();
  if (!chosen.empty()) return {chosen};
  std::vector<std::string> order{kSystemHive};
  if (std::string user = UserHive(); !user.empty()) order.push_back(user);
  return order;
}

}  // namespace

bool WriteString(std::u16string_view key, std::u16string_view name, std::u16string_view value) {
  try {
    const std::string k = KeyPath(key), n = codepage::Utf16ToUtf8(name), v = codepage::Utf16ToUtf8(value);
    // A key path is one header line.
    if (k.find_first_of("\r\n") != std::string::npos) return false;
    for (const std::string& file : WriteOrder())
      if (WriteTo(file, k, n, v)) return true;
  } catch (...) {
    // Nothing about the registry is ever reported.
  }
  return false;
}

std::optional<std::u16string> ReadString(std::u16string_view key, std::u16string_view name) {
  try {
    std::vector<std::string> order = WriteOrder();
    // The user's own copy, where there is one, is what the user sees.
    for (auto it = order.rbegin(); it != order.rend(); ++it)
      if (auto value = ReadFrom(*it, KeyPath(key), codepage::Utf16ToUtf8(name)))
        return codepage::Utf8ToUtf16(*value);
  } catch (...) {
  }
  return std::nullopt;
}

void SetHiveFile(const std::string& path) { gHiveFile = path; }

std::string HiveFile() { return WriteOrder().front(); }

}  // namespace registry
