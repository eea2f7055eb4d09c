// The code page at the windows' boundary: 8-bit text to and from QString.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "codepage.h"

namespace codepage {

inline std::string NarrowQ(const QString& text) { return Narrow(text.toStdU16String()); }
inline QString WidenQ(std::string_view text) { return QString::fromStdU16String(Widen(text)); }
// The text as 8-bit text holds it: every character narrowed and widened.
inline QString RoundTripQ(const QString& text) {
  std::u16string s = text.toStdU16String();
  for (char16_t& c : s) c = RoundTrip(c);
  return QString::fromStdU16String(s);
}

}  // namespace codepage
