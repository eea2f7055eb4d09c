// The text of a Windows INI file, kept line by line: sections and keys are
// matched without regard to (ASCII) case, the first of several equal keys
// counts, and comments, blank lines, the order of everything and lines that
// are neither a section header nor a key stay byte for byte. Names and
// values are 8-bit text; a value is read without the spaces around it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TIniText {
 public:
  TIniText();
  explicit TIniText(std::string_view bytes);
  ~TIniText();
  TIniText(const TIniText&) = delete;
  TIniText& operator=(const TIniText&) = delete;

  bool SectionExists(std::string_view section) const;
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;
  // Changes the key's first line in place, or adds "key=value" at the end of
  // the section (the section at the end of the file when it is new). Line
  // breaks and NULs in the value become spaces, so the value stays one line.
  void SetValue(std::string_view section, std::string_view key, std::string_view value);

  // The text with every change made.
  std::string Bytes() const;

 private:
  struct TLine {
    std::string text;  // without the line break
    std::string eol;   // "\r\n", "\n", "\r", or "" for a last line without one
  };
  struct TLookup;

  void Reparse();
  std::string Eol() const;

  std::vector<TLine> lines_;
  std::unique_ptr<TLookup> lookup_;
};
