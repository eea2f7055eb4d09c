#include "initext.h"

// The file is 8-bit text in its own code page: no conversion.
#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include <algorithm>
#include <cstddef>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

// What one line is. A NUL counts as a space, as the reader sees it.
struct TLineKind {
  enum { kOther, kHeader, kKey } kind = kOther;
  std::string name;        // section or key name
  std::size_t equals = 0;  // position of '=' in a key line
};

TLineKind Classify(std::string text) {
  std::replace(text.begin(), text.end(), '\0', ' ');
  TLineKind k;
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i == text.size() || text[i] == ';' || text[i] == '#') return k;
  const std::string_view s(text);
  if (text[i] == '[') {
    const std::size_t close = text.find(']', i + 1);
    if (close == std::string::npos) return k;
    k.kind = TLineKind::kHeader;
    k.name = TrimRight(TrimLeft(s.substr(i + 1, close - i - 1)));
    return k;
  }
  const std::size_t eq = text.find('=', i);
  if (eq == std::string::npos || eq == i) return k;
  k.kind = TLineKind::kKey;
  k.name = TrimRight(s.substr(i, eq - i));
  k.equals = eq;
  return k;
}

std::string OneLine(std::string_view value) {
  std::string v(value);
  for (char& c : v)
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  return v;
}

}  // namespace

// The parsed file: the library's reader over the same text.
struct TIniText::TLookup {
  CSimpleIniA ini{false, true, false};  // 8-bit, several equal keys kept, one-line values
};

TIniText::TIniText() : lookup_(std::make_unique<TLookup>()) {}

TIniText::TIniText(std::string_view bytes) : TIniText() {
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines_.push_back({std::string(bytes.substr(start)), {}});
      break;
    }
    const std::size_t eolLength = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1;
    lines_.push_back({std::string(bytes.substr(start, end - start)), std::string(bytes.substr(end, eolLength))});
    start = end + eolLength;
  }
  Reparse();
}

TIniText::~TIniText() = default;

std::string TIniText::Bytes() const {
  std::string out;
  for (const TLine& line : lines_) out += line.text + line.eol;
  return out;
}

void TIniText::Reparse() {
  // The reader is given every line as this file's lines are classified:
  // headers and keys in plain form, every other line as a comment. So both
  // agree on what each line is, whatever quirks the reader has with broken
  // lines.
  std::string text;
  for (const TLine& line : lines_) {
    const TLineKind k = Classify(line.text);
    switch (k.kind) {
      case TLineKind::kHeader:
        text += "[" + k.name + "]\n";
        break;
      case TLineKind::kKey: {
        std::string value = line.text.substr(k.equals + 1);
        std::replace(value.begin(), value.end(), '\0', ' ');
        text += k.name + "=" + value + "\n";
        break;
      }
      case TLineKind::kOther:
        text += ";\n";
        break;
    }
  }
  lookup_->ini.Reset();
  lookup_->ini.SetQuotes(false);
  lookup_->ini.SetAllowKeyOnly(false);
  lookup_->ini.LoadData(text.data(), text.size());
}

std::string TIniText::Eol() const {
  for (const TLine& line : lines_)
    if (!line.eol.empty()) return line.eol;
  return "\n";
}

bool TIniText::SectionExists(std::string_view section) const {
  return lookup_->ini.GetSectionSize(std::string(section).c_str()) >= 0;
}

std::optional<std::string> TIniText::Value(std::string_view section, std::string_view key) const {
  const char* v = lookup_->ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr);
  if (!v) return std::nullopt;
  return std::string(v);
}

void TIniText::SetValue(std::string_view section, std::string_view key, std::string_view value) {
  const std::string v = OneLine(value);
  // The section's blocks: a key before any header belongs to section "".
  std::string current;
  std::ptrdiff_t firstBlockEnd = -1;  // where a new key of the section goes
  bool inFirstBlock = false, seenBlock = section.empty();
  if (section.empty()) {
    inFirstBlock = true;
    firstBlockEnd = 0;
  }
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const TLineKind k = Classify(lines_[i].text);
    if (k.kind == TLineKind::kHeader) {
      current = k.name;
      inFirstBlock = SameName(current, section) && !seenBlock;
      if (inFirstBlock) {
        seenBlock = true;
        firstBlockEnd = static_cast<std::ptrdiff_t>(i) + 1;
      }
      continue;
    }
    if (k.kind != TLineKind::kKey) continue;
    if (inFirstBlock) firstBlockEnd = static_cast<std::ptrdiff_t>(i) + 1;
    if (SameName(current, section) && SameName(k.name, key)) {
      TLine& line = lines_[i];
      line.text = line.text.substr(0, k.equals + 1) + v;
      Reparse();
      return;
    }
  }
  const std::string eol = Eol();
  std::string keyLine = std::string(key) + "=" + v;
  if (firstBlockEnd >= 0) {
    // The line before the new one ends with a line break.
    if (firstBlockEnd > 0 && lines_[firstBlockEnd - 1].eol.empty()) lines_[firstBlockEnd - 1].eol = eol;
    lines_.insert(lines_.begin() + firstBlockEnd, TLine{std::move(keyLine), eol});
  } else {
    if (!lines_.empty() && lines_.back().eol.empty()) lines_.back().eol = eol;
    lines_.push_back({"[" + std::string(section) + "]", eol});
    lines_.push_back({std::move(keyLine), eol});
  }
  Reparse();
}
