// The code page at the windows' boundary: 8-bit text to and from QString.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "codepage.h"

namespace codepage {

inline std::string NarrowQ(const QString& text) { return Narrow(text.toStdU16String()); }
inline QString WidenQ(std::string_view text) { return QString::fromStdU16String(Widen(text)); }

}  // namespace codepage
