#include "LookupIndex.h"

#include <algorithm>
#include <new>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "codepage.h"

// --- TLookupList ---------------------------------------------------------------

TLookupList::Entry TLookupList::Items(int index) const {
  const Span& s = FEntries.at(static_cast<std::size_t>(index));
  return {{FText + s.at, FKeyLen}, {FText + s.at + FKeyLen, s.fontLen}};
}

int TLookupList::FindByEnglish(std::u16string_view key) const {
  if (key.size() != FKeyLen) return -1;
  for (std::size_t i = 0; i < FEntries.size(); ++i)
    if (std::u16string_view(FText + FEntries[i].at, FKeyLen) == key) return static_cast<int>(i);
  return -1;
}

int TLookupList::FindByFont(std::u16string_view key) const {
  for (std::size_t i = 0; i < FEntries.size(); ++i)
    if (std::u16string_view(FText + FEntries[i].at + FKeyLen, FEntries[i].fontLen) == key) return static_cast<int>(i);
  return -1;
}

// --- building ------------------------------------------------------------------

namespace {

constexpr std::size_t kMaxKey = TCharCollection::kMaxKey;

// A key of up to six labels, padded with zeros (no key holds a NUL, the
// reader cuts the text there), so that comparing the arrays orders keys as
// text. `at` is the entry's offset in the index's text: it breaks ties in
// favour of the entry the ordered scan meets first. `extra` is the length of
// the codes (forward) or of the key (reverse).
template <class Label>
struct TrieKey {
  std::array<Label, kMaxKey> s{};
  std::uint32_t len = 0;
  std::uint32_t at = 0;
  std::uint32_t extra = 0;
};

// Lays out a trie over `keys` in `nodes` (node 0 the root) level by level,
// each level in key order, so that every node's children are consecutive
// and ordered by label. `keyAt` gives for each node 1 + the position in the
// sorted keys of the first key ending there (0: none), `parent` its parent.
template <class Label, class Node>
void BuildTrie(std::vector<TrieKey<Label>>& keys, std::vector<Node>& nodes, std::vector<Label>& labels,
               std::vector<std::uint32_t>& keyAt, std::vector<std::uint32_t>& parent) {
  std::sort(keys.begin(), keys.end(), [](const TrieKey<Label>& a, const TrieKey<Label>& b) {
    return a.s != b.s ? a.s < b.s : a.at < b.at;
  });
  auto samePrefix = [](const TrieKey<Label>& a, const TrieKey<Label>& b, std::size_t d) {
    return std::equal(a.s.begin(), a.s.begin() + static_cast<std::ptrdiff_t>(d), b.s.begin());
  };
  // Counted first, so that no vector grows past its need.
  std::size_t total = 1;
  for (std::size_t d = 1; d <= kMaxKey; ++d) {
    const TrieKey<Label>* prev = nullptr;
    for (const TrieKey<Label>& k : keys) {
      if (k.len < d) continue;
      if (!prev || !samePrefix(*prev, k, d)) ++total;
      prev = &k;
    }
  }
  nodes.assign(total, Node{});
  labels.assign(total, Label{});
  keyAt.assign(total, 0);
  parent.assign(total, 0);
  std::vector<std::uint32_t> nodeOf(keys.size(), 0);  // each key's node at the depth in hand
  std::uint32_t next = 1;
  for (std::size_t d = 1; d <= kMaxKey; ++d) {
    const TrieKey<Label>* prev = nullptr;
    std::uint32_t node = 0;
    for (std::size_t i = 0; i < keys.size(); ++i) {
      const TrieKey<Label>& k = keys[i];
      if (k.len < d) continue;
      if (!prev || !samePrefix(*prev, k, d)) {
        node = next++;
        const std::uint32_t up = nodeOf[i];
        labels[node] = k.s[d - 1];
        parent[node] = up;
        if (nodes[up].count == 0) nodes[up].first = node;
        ++nodes[up].count;
      }
      nodeOf[i] = node;
      prev = &k;
      if (k.len == d && keyAt[node] == 0) keyAt[node] = static_cast<std::uint32_t>(i + 1);
    }
  }
}

// The child of `n` reached by `label`, or -1.
template <class Label, class Node>
inline std::int32_t Child(const Node& n, const Label* labels, Label label) {
  const Label* l = labels + n.first;
  const std::uint32_t count = n.count;
  if (count <= 16) {
    for (std::uint32_t i = 0; i < count; ++i)
      if (l[i] == label) return static_cast<std::int32_t>(n.first + i);
    return -1;
  }
  const Label* hit = std::lower_bound(l, l + count, label);
  return hit != l + count && *hit == label ? static_cast<std::int32_t>(n.first + (hit - l)) : -1;
}

// The same for the forward trie, on the hot path: up to 16 labels are
// compared at once (forwardLabels_ has kLabelSlack bytes after the last).
constexpr std::size_t kLabelSlack = 16;

inline std::int32_t ForwardChild(const TLookupIndex::ForwardNode& n, const std::uint8_t* labels, std::uint8_t label) {
#if defined(__SSE2__)
  if (n.count <= 16) {
    const __m128i row = _mm_loadu_si128(reinterpret_cast<const __m128i*>(labels + n.first));
    const unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(row, _mm_set1_epi8(static_cast<char>(label))))) &
                          ((1u << n.count) - 1);
    return hits ? static_cast<std::int32_t>(n.first + static_cast<std::uint32_t>(__builtin_ctz(hits))) : -1;
  }
#endif
  return Child(n, labels, label);
}

}  // namespace

TLookupIndex::TLookupIndex(const TCharCollection& map) {
  // The lists: sizes first, then the text in one piece.
  std::array<std::size_t, kMaxKey> entries{};
  std::size_t textLen = kCopy;
  auto eachCombination = [&map](auto&& visit) {
    for (int i = 0; i < map.Count(); ++i) {
      const TCharCollection& combs = map.Items(i).Combinations();
      for (int c = 0; c < combs.Count(); ++c) {
        const TCharItem& comb = combs.Items(c);
        const std::size_t len = comb.CharInEnglish.size();
        if (len >= 1 && len <= kMaxKey) visit(comb, len);
      }
    }
  };
  eachCombination([&](const TCharItem& comb, std::size_t len) {
    ++entries[len - 1];
    textLen += len + comb.CharInFont.size();
  });
  if (textLen > UINT32_MAX) throw std::bad_alloc();
  text_.reserve(textLen);
  for (std::size_t n = 1; n <= kMaxKey; ++n) {
    lists_[n - 1].FKeyLen = n;
    lists_[n - 1].FEntries.reserve(entries[n - 1]);
  }
  for (std::size_t n = kMaxKey; n >= 1; --n)
    eachCombination([&](const TCharItem& comb, std::size_t len) {
      if (len != n) return;
      lists_[n - 1].FEntries.push_back(
          {static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(comb.CharInFont.size())});
      text_ += comb.CharInEnglish;
      text_ += comb.CharInFont;
    });
  text_.append(kCopy, u'\0');
  for (TLookupList& list : lists_) list.FText = text_.data();

  std::size_t all = 0;
  for (std::size_t e : entries) all += e;
  std::vector<std::uint32_t> keyAt, parent;

  // Forward: the keys that the code page can hold (another key never
  // equals a narrowed candidate), as bytes.
  {
    std::vector<TrieKey<std::uint8_t>> keys;
    keys.reserve(all);
    for (const TLookupList& list : lists_)
      for (const TLookupList::Span& e : list.FEntries) {
        TrieKey<std::uint8_t> k;
        bool holds = true;
        for (std::size_t p = 0; p < list.FKeyLen; ++p) {
          const char16_t c = text_[e.at + p];
          holds = holds && codepage::RoundTrip(c) == c;
          k.s[p] = static_cast<std::uint8_t>(codepage::NarrowChar(c));
        }
        if (!holds) continue;
        k.len = static_cast<std::uint32_t>(list.FKeyLen);
        k.at = e.at;
        k.extra = e.fontLen;
        keys.push_back(k);
      }
    BuildTrie(keys, forward_, forwardLabels_, keyAt, parent);
    forwardLabels_.resize(forwardLabels_.size() + kLabelSlack);
    // The outcome of a walk that ends at each node: the longest key of
    // 2..6 characters on the way with font codes, else the one-character
    // key (whose codes may be empty), else nothing. Parents come first.
    for (std::size_t node = 1; node < forward_.size(); ++node) {
      ForwardNode& out = forward_[node];
      const TrieKey<std::uint8_t>* k = keyAt[node] ? &keys[keyAt[node] - 1] : nullptr;
      if (k && (k->len == 1 || k->extra > 0)) {
        out.consumed = static_cast<std::uint16_t>(k->len);
        out.code = k->at + k->len;
        out.codeLen = k->extra;
      } else {
        const ForwardNode& up = forward_[parent[node]];  // the root's outcome is none
        out.consumed = up.consumed;
        out.code = up.code;
        out.codeLen = up.codeLen;
      }
    }
    forwardRoot_.fill(-1);
    for (std::uint32_t c = 0; c < forward_[0].count; ++c)
      forwardRoot_[forwardLabels_[forward_[0].first + c]] = static_cast<std::int32_t>(forward_[0].first + c);
  }

  // Reverse: font codes of 1..6 units, compared as 16-bit text; for one
  // code the entry of the longest key wins, then the first in file order,
  // which is the one with the lowest text offset.
  {
    std::vector<TrieKey<char16_t>> keys;
    keys.reserve(all);
    for (const TLookupList& list : lists_)
      for (const TLookupList::Span& e : list.FEntries) {
        if (e.fontLen == 0 || e.fontLen > kMaxKey) continue;
        TrieKey<char16_t> k;
        std::copy_n(text_.data() + e.at + list.FKeyLen, e.fontLen, k.s.begin());
        k.len = e.fontLen;
        k.at = e.at;
        k.extra = static_cast<std::uint32_t>(list.FKeyLen);
        keys.push_back(k);
      }
    BuildTrie(keys, reverse_, reverseLabels_, keyAt, parent);
    for (std::size_t node = 1; node < reverse_.size(); ++node)
      if (keyAt[node]) {
        const TrieKey<char16_t>& k = keys[keyAt[node] - 1];
        reverse_[node].english = k.at;
        reverse_[node].englishLen = k.extra;
      }
  }
}

const TLookupIndex& TLookupIndex::Empty() {
  static const TCharCollection none;
  static const TLookupIndex empty(none);
  return empty;
}

// --- conversions (the rules are with the scans in VarunelComms.cpp) ------------

std::u16string TLookupIndex::EnglishToFont(std::u16string_view text) const {
  const std::size_t n = text.size();
  // The output is written through `used`; short codes are copied as one
  // block of kCopy units (text_ has that much slack at its end).
  std::u16string out(n + kCopy, u'\0');
  std::size_t used = 0;
  const ForwardNode* nodes = forward_.data();
  const std::uint8_t* labels = forwardLabels_.data();
  const char16_t* codes = text_.data();
  auto byteOf = [](char16_t c) {
    return static_cast<std::uint8_t>(c < 0x80 ? static_cast<char>(c) : codepage::NarrowChar(c));
  };
  std::size_t pos = 0;
  while (pos < n) {
    while (pos < n && text[pos] == u'&') ++pos;
    if (pos >= n) break;
    const std::size_t avail = std::min<std::size_t>(kMaxKey, n - pos);
    const std::uint8_t first = byteOf(text[pos]);
    // Walk the trie along the characters ahead as far as it goes.
    const ForwardNode* at = nullptr;
    for (std::int32_t node = forwardRoot_[first], k = 1; node >= 0;) {
      at = nodes + node;
      if (static_cast<std::size_t>(k) == avail) break;
      node = ForwardChild(*at, labels, byteOf(text[pos + static_cast<std::size_t>(k++)]));
    }
    if (at && at->consumed) {
      const std::size_t len = at->codeLen;
      if (used + std::max<std::size_t>(len, kCopy) > out.size())
        out.resize(std::max(out.size() * 2, used + len + kCopy));
      if (len <= kCopy) std::copy_n(codes + at->code, kCopy, out.data() + used);
      else std::copy_n(codes + at->code, len, out.data() + used);
      used += len;
      pos += at->consumed;
    } else {
      if (used + kCopy > out.size()) out.resize(out.size() * 2 + kCopy);
      out[used++] = first < 0x80 ? static_cast<char16_t>(first) : codepage::WidenChar(first);
      ++pos;
    }
  }
  out.resize(used);
  return out;
}

std::u16string TLookupIndex::FontToEnglish(std::u16string_view text) const {
  std::u16string out;
  out.reserve(text.size() * 2);
  const ReverseNode* nodes = reverse_.data();
  const char16_t* labels = reverseLabels_.data();
  const std::size_t n = text.size();
  std::size_t pos = 0;
  while (pos < n) {
    const std::size_t avail = std::min<std::size_t>(kMaxKey, n - pos);
    const ReverseNode* best = nullptr;
    std::size_t bestLen = 0;
    const ReverseNode* at = nodes;
    for (std::size_t k = 1; k <= avail; ++k) {
      const std::int32_t child = Child(*at, labels, text[pos + k - 1]);
      if (child < 0) break;
      at = nodes + child;
      if (at->englishLen) {
        best = at;
        bestLen = k;
      }
    }
    if (best) {
      out.append(text_.data() + best->english, best->englishLen);
      pos += bestLen;
    } else {
      out += text[pos];
      ++pos;
    }
  }
  return out;
}
