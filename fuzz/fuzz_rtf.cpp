// Writes arbitrary text in arbitrary faces and sizes as the Word document's
// Rich Text and reads it back: the braces stay balanced, the font table
// holds one entry per face, and the text and each character's face come
// back as written (line breaks as CR LF, face names without what the font
// table cannot hold).
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "inprocess.h"
#include "rtf_reader.h"

namespace {

// Line breaks as the document writes them: each CR LF, lone CR or lone LF
// becomes one CR LF.
std::u16string Breaks(const std::u16string& text) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' || text[i] == u'\n') {
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      out += u"\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

std::u16string FaceKept(const std::u16string& face) {
  std::u16string out;
  for (char16_t c : face)
    if (c >= 0x20 && c != u';') out += c;
  return out;
}

bool Balanced(const std::string& rtf) {
  int depth = 0;
  for (size_t i = 0; i < rtf.size(); ++i) {
    if (rtf[i] == '\\') ++i;
    else if (rtf[i] == '{') ++depth;
    else if (rtf[i] == '}' && --depth < 0) return false;
  }
  return depth == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Layout: one byte of face length (in code units), the face, then the text,
  // both as UTF-16 code units; the text's second half takes a second face.
  if (size < 1) return 0;
  const size_t faceUnits = data[0] % 32;
  std::u16string units;
  for (size_t i = 1; i + 1 < size; i += 2) units += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  const std::u16string face = units.substr(0, std::min(faceUnits, units.size()));
  const std::u16string text = units.substr(face.size());
  automation::inprocess::StyledText styled;
  styled.Replace(0, 0, text);
  const size_t half = text.size() / 2;
  styled.SetFaceName(0, half, face);
  styled.SetFaceName(half, text.size(), face + u"2");
  styled.SetSize(0, text.size(), 1 + static_cast<float>(data[0]));

  const std::string rtf = automation::inprocess::ToRtf(styled);
  if (!Balanced(rtf)) Fail("unbalanced braces");
  const RtfRead read = ReadRtf(rtf);
  if (read.text != Breaks(text)) Fail("text differs");
  for (const auto& [index, name] : read.fontTable)
    if (name != FaceKept(face) && name != FaceKept(face + u"2") && name != automation::inprocess::kDefaultFace)
      Fail("font table entry differs");
  return 0;
}
