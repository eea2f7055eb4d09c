// Reads arbitrary bytes as the recovery file and checks what the typing pane
// would get: every line break is CR LF, every other byte is kept in order,
// and writing the text back gives the same bytes, or none at all when they
// would be more than the start reads back. The inputs are far below the
// file's limit, so the limit written against is drawn from the input too.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "RecoveryText.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string text = recovery::TextFromBytes(bytes);
  std::size_t in = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 >= text.size() || text[i + 1] != '\n') Fail("a CR without its LF");
      if (in >= bytes.size() || (bytes[in] != '\r' && bytes[in] != '\n')) Fail("a line break from nowhere");
      in += (bytes[in] == '\r' && in + 1 < bytes.size() && bytes[in + 1] == '\n') ? 2 : 1;
      ++i;
    } else if (text[i] == '\n') {
      Fail("an LF without its CR");
    } else {
      if (in >= bytes.size() || bytes[in] != text[i]) Fail("a byte changed");
      ++in;
    }
  }
  if (in != bytes.size()) Fail("bytes lost");
  static_assert(recovery::kMaxFileSize >= std::size_t{16} << 20, "a 16 MB text is kept");
  if (recovery::BytesFromText(text) != text) Fail("written back differently");
  // A limit a few bytes either side of the text's length.
  const std::size_t cut = size > 0 ? std::min<std::size_t>(data[0] % 4, text.size()) : 0;
  const std::size_t limit = text.size() - cut + (size > 0 ? data[size - 1] % 4 : 0);
  const auto written = recovery::BytesFromText(text, limit);
  if (written.has_value() != (text.size() <= limit)) Fail("a text kept beyond the limit, or refused within it");
  if (written && recovery::TextFromBytes(*written) != text) Fail("written back differently");
  return 0;
}
