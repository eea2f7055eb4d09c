// The recovery file's reader: any bytes in, CR LF between lines out.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "RecoveryText.h"

namespace {

// The text with every line break taken out, and the number of breaks.
std::pair<std::string, int> WithoutBreaks(const std::string& s) {
  std::string out;
  int breaks = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' || s[i] == '\n') {
      ++breaks;
      if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
    } else {
      out += s[i];
    }
  }
  return {out, breaks};
}

}  // namespace

TEST(RecoveryText, everyLineBreakBecomesCrLfAndNothingElseChanges) {
  std::mt19937 random(12);
  const char alphabet[] = {'a', 'k', '\r', '\n', '\0', '\xE9', ' ', '&'};
  for (int round = 0; round < 2000; ++round) {
    std::string bytes(random() % 24, 'x');
    for (char& c : bytes) c = alphabet[random() % sizeof alphabet];
    const std::string text = recovery::TextFromBytes(bytes);
    // Same characters and as many lines as the file had.
    EXPECT_EQ(WithoutBreaks(text), WithoutBreaks(bytes));
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r') {
        ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n');
      }
      if (text[i] == '\n') {
        ASSERT_TRUE(i > 0 && text[i - 1] == '\r');
      }
    }
    // Writing the pane back gives the same bytes again, unless they would be
    // more than the start reads back.
    EXPECT_EQ(recovery::BytesFromText(text), text);
    EXPECT_EQ(recovery::BytesFromText(text, text.size()), text);
    if (!text.empty()) {
      EXPECT_EQ(recovery::BytesFromText(text, text.size() - 1), std::nullopt);
    }
    // The pane's document takes the same lines with LF between them.
    std::string lf = text;
    for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
    EXPECT_EQ(recovery::TextFromBytes(bytes, "\n"), lf);
  }
  EXPECT_EQ(recovery::TextFromBytes("ka\nma\n\nkaa"), "ka\r\nma\r\n\r\nkaa");
  EXPECT_EQ(recovery::TextFromBytes(""), "");
}
