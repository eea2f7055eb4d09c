// Font maps: the model, the map file, phonetic conversion both ways and the
// suggestion search. No GUI dependency; the tile control lives in CharView.h.
//
// A font map is a TCharCollection of TCharItem: item 0 is the template row,
// items 1.. are base characters, each with its combinations. 16-bit text is
// std::u16string, 8-bit text is std::string in the ANSI code page
// (Windows-1252, see platform/codepage).
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class TCharCollection;

// The exception a failed map load raises; its message is "Error Loading.".
class EFontMapLoadError : public std::runtime_error {
 public:
  EFontMapLoadError() : std::runtime_error("Error Loading.") {}
};

// A map file could not be created or written.
class EFontMapSaveError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TCharItem {
 public:
  // An empty item without combinations. Items that belong to a collection
  // are made by TCharCollection::Add or Insert, which append them to it.
  TCharItem();
  ~TCharItem();
  TCharItem(const TCharItem&) = delete;
  TCharItem& operator=(const TCharItem&) = delete;

  std::u16string CharInEnglish;  // romanised key
  std::u16string CharInFont;     // font codes that draw the character
  std::u16string Data;           // suggestions: the typed fragment replaced
  bool IsBiggerChars = false;    // suggestions: insert after an "&"

  // The item's combinations. The collection is made on the first call of
  // the non-const form; until then the const form gives an empty one.
  TCharCollection& Combinations();
  const TCharCollection& Combinations() const;

  // Copies the key and the font codes only.
  void Assign(const TCharItem& source);

  TCharCollection* Collection() const { return FCollection; }

 private:
  friend class TCharCollection;
  TCharCollection* FCollection = nullptr;
  std::unique_ptr<TCharCollection> FCombinations;
};

// One of a map's six lookup lists: a copy of the key and the font codes of
// every combination whose key has the list's length, in file order. Made
// only by an indexed load, read-only.
class TLookupList {
 public:
  struct Entry {
    std::u16string_view CharInEnglish;
    std::u16string_view CharInFont;
  };
  int Count() const { return static_cast<int>(FEntries.size()); }
  Entry Items(int index) const;
  // Position of the first entry whose key (font codes) equals `key`
  // exactly; -1 when there is none.
  int FindByEnglish(std::u16string_view key) const;
  int FindByFont(std::u16string_view key) const;

 private:
  friend class TLookupIndex;
  struct Span {
    std::uint32_t at;       // the key's offset in the text; the codes follow it
    std::uint32_t fontLen;
  };
  const char16_t* FText = nullptr;  // owned by the index
  std::size_t FKeyLen = 0;
  std::vector<Span> FEntries;
};

class TLookupIndex;

class TCharCollection {
 public:
  static constexpr int kMaxKey = 6;  // longest key the conversion matches
  static constexpr std::size_t kMaxFileSize = 64u << 20;  // larger map files are refused

  TCharCollection();
  ~TCharCollection();
  TCharCollection(const TCharCollection&) = delete;
  TCharCollection& operator=(const TCharCollection&) = delete;

  // --- the collection ---------------------------------------------------
  int Count() const { return static_cast<int>(FItems.size()); }
  TCharItem& Items(int index) { return *FItems.at(static_cast<std::size_t>(index)); }
  const TCharItem& Items(int index) const { return *FItems.at(static_cast<std::size_t>(index)); }
  TCharItem& Add();                 // a new empty item at the end
  void Insert(int index);           // a new empty item at `index`
  void Delete(int index);
  void Clear();

  // --- published fields -------------------------------------------------
  const std::string& FileName() const { return FFileName; }
  std::u16string FontName;
  std::string MapLayout;

  // --- file -------------------------------------------------------------
  // Replaces the content by the file's; with BuildIndex also replaces the
  // six lookup lists. Throws EFontMapLoadError ("Error Loading."), also for
  // anything but a regular file, for a file over kMaxFileSize bytes and when
  // memory runs out. A failed load leaves no items and the lookup lists as
  // they were. The path is the system's (any script); FileName() keeps
  // its 8-bit form.
  void LoadFromFile(const std::filesystem::path& path, bool BuildIndex);
  // Writes UTF-16 LE with its mark, CR LF after every line. The file is
  // replaced only by a complete new one (files::ReplaceWhole). Throws
  // EFontMapSaveError when it cannot be written; the old file then stays.
  void SaveToFile(const std::filesystem::path& path) const;
  // The same, on bytes in memory (used by the file routines and the tests).
  void LoadFromBytes(std::string_view bytes, bool BuildIndex);
  std::string SaveToBytes() const;

  // --- conversion -------------------------------------------------------
  std::u16string EnglishToFont(std::u16string_view text) const;
  std::u16string FontToEnglish(std::u16string_view text) const;
  // The same conversions by the plain ordered scan of the lookup lists; they
  // give the same results as the indexed ones and serve as their reference.
  std::u16string EnglishToFontScan(std::u16string_view text) const;
  std::u16string FontToEnglishScan(std::u16string_view text) const;

  // First item, from index 0, whose key (font codes) equals `key` exactly.
  TCharItem* FindByEnglish(std::u16string_view key) const;
  TCharItem* FindByFont(std::u16string_view key) const;

  // Reverse lookup of one font fragment (plain scan): the romanised piece,
  // and in `n` the length consumed where a piece is found.
  std::u16string LookupEnglishCode(std::u16string_view key, int& n) const;

  // Lookup list n (1..6), or nullptr before the first indexed load.
  const TLookupList* LenIndex(int n) const;
  bool HasLookupLists() const { return FIndex != nullptr; }

  // --- suggestions ------------------------------------------------------
  // Appends to `list` (created when null) a suggestion for every combination
  // whose key starts with `fragment`.
  void FindCombinations(std::string_view fragment, std::unique_ptr<TCharCollection>& list,
                        bool IsBiggerChars) const;

  // Map or layout name of a path: the file part without ".fmp" / ".lot".
  static std::u16string GetMapName(std::u16string_view path);

 private:
  template <class Load>
  void LoadGuarded(Load&& load);
  void LoadText(std::u16string text, bool BuildIndex);

  std::vector<std::unique_ptr<TCharItem>> FItems;
  std::string FFileName;
  // The lookup lists and the indexes over them, made whole by an indexed
  // load and only then put in place; null before the first one.
  std::unique_ptr<const TLookupIndex> FIndex;
};

// Forward lookup of one key in one lookup list: a one-character key becomes
// itself; a key found in the list becomes that entry's font codes (even when
// empty); otherwise `result` is left as it is.
void LookupFontCode(std::string_view key, const TLookupList* list, std::u16string& result);

// 0-based index of the first occurrence of `sub` in `text`; -1 when absent or
// when either is empty.
int PosIndexW(std::u16string_view text, std::u16string_view sub);

// `text` with the first occurrence of `pattern` replaced.
std::u16string ReplaceFirstW(std::u16string_view text, std::u16string_view pattern,
                             std::u16string_view replacement);

// False when the name contains one of \ / : * ? " < > | `
bool IsValidMapName(std::string_view name);

// The text files the system writes itself (maps, layouts): the lines of a
// file's bytes, decoded by its mark (UTF-16 either order, UTF-8, else 8-bit
// code-page text) and split at CR, LF or U+2028; and lines encoded as
// UTF-16 LE with its mark and CR LF after every line.
std::vector<std::u16string> ReadTextLines(std::string_view bytes);
std::string EncodeTextLines(const std::vector<std::u16string>& lines);
