// The recovery file "varunel.tmp": the typing pane's whole text, byte for
// byte, as 8-bit text with CR LF between lines, nothing before or after.
// Reading takes any bytes: every line break (CR, LF or CR LF) becomes CR LF
// and every other byte is kept, so a file written elsewhere with LF line
// ends keeps its lines. A text is written only when the start would read it
// back: the file is at most kMaxFileSize bytes. Qt-free, so the reader can
// be fuzzed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace recovery {

inline constexpr const char* kFileName = "varunel.tmp";

// The largest file read back at start, and so the largest text kept:
// thousands of pages of typing, shown again within seconds.
inline constexpr std::size_t kMaxFileSize = std::size_t{16} << 20;

// The typing pane's text for the file's bytes, with `lineBreak` between
// lines (the pane's CR LF, or the LF the pane's document keeps).
std::string TextFromBytes(std::string_view bytes, std::string_view lineBreak = "\r\n");

// The bytes to write for the pane's text (CR LF between lines already):
// the same line-break rule, so a lone CR or LF never reaches the file.
// None when they would be more than `limit` bytes, a file the start would
// not read back.
std::optional<std::string> BytesFromText(std::string_view text, std::size_t limit = kMaxFileSize);

}  // namespace recovery
