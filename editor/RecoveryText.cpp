#include "RecoveryText.h"

namespace recovery {

std::string TextFromBytes(std::string_view bytes, std::string_view lineBreak) {
  std::string text;
  text.reserve(bytes.size() + bytes.size() / 16);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r') {
      text += lineBreak;
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      text += lineBreak;
    } else {
      text += c;
    }
  }
  return text;
}

std::optional<std::string> BytesFromText(std::string_view text, std::size_t limit) {
  // A text with CR LF between lines keeps its length; only lone breaks grow.
  if (text.size() > limit) return std::nullopt;
  std::string bytes = TextFromBytes(text);
  if (bytes.size() > limit) return std::nullopt;
  return bytes;
}

}  // namespace recovery
