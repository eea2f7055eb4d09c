// The lookup lists of an indexed map and the two tries that give the same
// first matches as an ordered scan of them, for the conversions both ways.
// Built whole from a map's items (throwing std::bad_alloc when memory runs
// out, with nothing to undo), then read-only. Used by VarunelComms.cpp only.
//
// Memory grows with the text of the indexed combinations, not with the
// number of distinct characters: one text buffer holds every key and code,
// a list entry takes 8 bytes, a trie node 16 bytes and its label 1 or 2.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "VarunelComms.h"

class TLookupIndex {
 public:
  explicit TLookupIndex(const TCharCollection& map);
  TLookupIndex(const TLookupIndex&) = delete;
  TLookupIndex& operator=(const TLookupIndex&) = delete;

  // The index of a map without lookup lists: every character passes.
  static const TLookupIndex& Empty();

  const TLookupList& List(int n) const { return lists_[static_cast<std::size_t>(n - 1)]; }

  std::u16string EnglishToFont(std::u16string_view text) const;
  std::u16string FontToEnglish(std::u16string_view text) const;

  // A trie node: its children are the nodes first .. first + count - 1, in
  // the order of their labels (the byte or code unit leading to each).
  struct ForwardNode {
    std::uint32_t first = 0;
    std::uint16_t count = 0;
    std::uint16_t consumed = 0;  // characters a walk ending here consumes; 0: none
    std::uint32_t code = 0;      // the font codes it gives, in text_
    std::uint32_t codeLen = 0;
  };
  struct ReverseNode {
    std::uint32_t first = 0;
    std::uint32_t count = 0;
    std::uint32_t english = 0;  // the winning key ending here, in text_
    std::uint32_t englishLen = 0;  // 0: only a prefix of longer font codes
  };

 private:
  static constexpr std::size_t kCopy = 8;  // slack after text_ for block copies

  // Every list's keys and codes, lists 6 down to 1, each entry's key
  // followed by its codes; so text offsets order entries as the reverse
  // scan prefers them.
  std::u16string text_;
  std::array<TLookupList, TCharCollection::kMaxKey> lists_;

  // Forward: a trie over the keys' code-page bytes; the root's children by
  // byte. Each node holds the outcome of a walk that stops there.
  std::array<std::int32_t, 256> forwardRoot_;
  std::vector<ForwardNode> forward_;
  std::vector<std::uint8_t> forwardLabels_;

  // Reverse: a trie over the font codes (16-bit); node 0 is the root.
  std::vector<ReverseNode> reverse_;
  std::vector<char16_t> reverseLabels_;
};
