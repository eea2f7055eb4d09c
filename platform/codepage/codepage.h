// The system's 8-bit (ANSI) code page, Windows-1252.
//
// 8-bit text in this project is std::string holding Windows-1252 bytes;
// 16-bit text is std::u16string (UTF-16). Every conversion between the two
// goes through these functions. Narrowing maps one UTF-16 code unit to one
// byte, so lengths and positions stay the same in both forms; a code unit the
// code page cannot hold (a lone or paired surrogate included) becomes '?'.
#pragma once

#include <string>
#include <string_view>

namespace codepage {

// The substitute for characters the code page cannot represent.
inline constexpr char kSubstitute = '?';

// One byte to its UTF-16 code unit. The five bytes Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) widen to U+0081, U+008D, U+008F,
// U+0090 and U+009D, as the system's own conversion does.
char16_t WidenChar(unsigned char b);

// One UTF-16 code unit to its byte, or kSubstitute.
char NarrowChar(char16_t c);

std::u16string Widen(std::string_view text);
std::string Narrow(std::u16string_view text);

// The same character after a round trip through the code page.
inline char16_t RoundTrip(char16_t c) { return WidenChar(static_cast<unsigned char>(NarrowChar(c))); }

// UTF-8 (file system names, Qt's local 8-bit on Linux) to and from UTF-16.
// Invalid UTF-8 sequences decode to U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// An 8-bit path as the file system expects it (UTF-8 bytes).
inline std::string AnsiToUtf8(std::string_view text) { return Utf16ToUtf8(Widen(text)); }

}  // namespace codepage
