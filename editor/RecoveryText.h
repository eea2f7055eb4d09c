// The recovery file "varunel.tmp": the typing pane's whole text, byte for
// byte, as 8-bit text with CR LF between lines, nothing before or after.
// Reading takes any bytes: every line break (CR, LF or CR LF) becomes CR LF
// and every other byte is kept, so a file written elsewhere with LF line
// ends keeps its lines. Qt-free, so the reader can be fuzzed.
#pragma once

#include <string>
#include <string_view>

namespace recovery {

inline constexpr const char* kFileName = "varunel.tmp";

// The largest file read back at start: hundreds of pages of typing, and
// still shown within moments.
inline constexpr std::size_t kMaxFileSize = 1u << 20;

// The typing pane's text for the file's bytes.
std::string TextFromBytes(std::string_view bytes);

// The bytes to write for the pane's text (CR LF between lines already):
// the same line-break rule, so a lone CR or LF never reaches the file.
inline std::string BytesFromText(std::string_view text) { return TextFromBytes(text); }

}  // namespace recovery
