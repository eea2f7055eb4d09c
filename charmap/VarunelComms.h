// Font maps: the model, the map file, phonetic conversion both ways and the
// suggestion search. No GUI dependency; the tile control lives in CharView.h.
//
// A font map is a TCharCollection of TCharItem: item 0 is the template row,
// items 1.. are base characters, each with its combinations. 16-bit text is
// std::u16string, 8-bit text is std::string in the ANSI code page
// (Windows-1252, see platform/codepage).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
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
  // An empty item with an empty combination list of its own. Items that
  // belong to a collection are made by TCharCollection::Add or Insert, which
  // append them to it.
  TCharItem();
  ~TCharItem();
  TCharItem(const TCharItem&) = delete;
  TCharItem& operator=(const TCharItem&) = delete;

  std::u16string CharInEnglish;  // romanised key
  std::u16string CharInFont;     // font codes that draw the character
  std::u16string Data;           // suggestions: the typed fragment replaced
  bool IsBiggerChars = false;    // suggestions: insert after an "&"

  TCharCollection& Combinations() { return *FCombinations; }
  const TCharCollection& Combinations() const { return *FCombinations; }

  // Copies the key and the font codes only.
  void Assign(const TCharItem& source);

  TCharCollection* Collection() const { return FCollection; }

 private:
  friend class TCharCollection;
  TCharCollection* FCollection = nullptr;
  std::unique_ptr<TCharCollection> FCombinations;
};

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
  // Replaces the content by the file's; with BuildIndex also fills the six
  // lookup lists. Throws EFontMapLoadError ("Error Loading."), also for
  // anything but a regular file and for a file over kMaxFileSize bytes.
  void LoadFromFile(const std::string& path, bool BuildIndex);
  // Writes UTF-16 LE with its mark, CR LF after every line. The file is
  // replaced only by a complete new one (files::ReplaceWhole). Throws
  // EFontMapSaveError when it cannot be written; the old file then stays.
  void SaveToFile(const std::string& path) const;
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
  const TCharCollection* LenIndex(int n) const;
  bool HasLookupLists() const { return FLenIndex[0] != nullptr; }

  // --- suggestions ------------------------------------------------------
  // Appends to `list` (created when null) a suggestion for every combination
  // whose key starts with `fragment`.
  void FindCombinations(std::string_view fragment, std::unique_ptr<TCharCollection>& list,
                        bool IsBiggerChars) const;

  // Map or layout name of a path: the file part without ".fmp" / ".lot".
  static std::u16string GetMapName(std::u16string_view path);

 private:
  void ClearLookupIndex();
  void RebuildLookupIndex();

  std::vector<std::unique_ptr<TCharItem>> FItems;
  std::string FFileName;
  std::array<std::unique_ptr<TCharCollection>, kMaxKey> FLenIndex;

  // Hash indexes over the lookup lists, giving the same first matches as
  // the ordered scan.
  //
  // Forward: a trie over the keys' code-page bytes (keys of 1..6 bytes
  // and their prefixes). Bytes that occur in keys are numbered 1..C by
  // FForwardClass (0: in no key). Every node with children owns a row of
  // C + 1 links in FForwardRows (row 0 is the root); a link names the child
  // node and the child's own row (-1: a leaf). Each node holds the outcome
  // of a walk that stops there: how many characters it consumes and which
  // font codes it gives (a range of FForwardCodes).
  struct ForwardLink {
    std::int32_t row = -1;
    std::int32_t node = -1;
  };
  struct ForwardNode {
    std::uint32_t code = 0;  // offset into FForwardCodes
    std::uint32_t codeLen = 0;
    std::uint32_t consumed = 0;  // 0: no key matches, the character passes
  };
  std::array<std::uint16_t, 256> FForwardClass{};
  std::size_t FForwardWidth = 0;  // C + 1
  std::vector<ForwardLink> FForwardRows;
  std::vector<ForwardNode> FForwardNodes;
  std::u16string FForwardCodes;
  static constexpr std::size_t kCopy = 8;

  // Reverse: a font fragment mapped to the winning entry (longest key
  // first, then file order), or nullptr where the fragment is only a prefix
  // of longer font codes.
  std::unordered_map<std::u16string, const TCharItem*> FReverse;
};

// Forward lookup of one key in one lookup list: a one-character key becomes
// itself; a key found in the list becomes that entry's font codes (even when
// empty); otherwise `result` is left as it is.
void LookupFontCode(std::string_view key, const TCharCollection* list, std::u16string& result);

// 0-based index of the first occurrence of `sub` in `text`; -1 when absent or
// when either is empty.
int PosIndexW(std::u16string_view text, std::u16string_view sub);

// `text` with the first occurrence of `pattern` replaced.
std::u16string ReplaceFirstW(std::u16string_view text, std::u16string_view pattern,
                             std::u16string_view replacement);

// False when the name contains one of \ / : * ? " < > | `
bool IsValidMapName(std::string_view name);
