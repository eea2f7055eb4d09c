#include "VarunelComms.h"

#include <algorithm>
#include <bit>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "codepage.h"

using codepage::Narrow;
using codepage::Widen;

// --- TCharItem --------------------------------------------------------------

TCharItem::TCharItem(TCharCollection* owner) : FCombinations(std::make_unique<TCharCollection>()) {
  (void)owner;  // ownership is taken by TCharCollection::Add
}

TCharItem::~TCharItem() = default;

void TCharItem::Assign(const TCharItem& source) {
  CharInEnglish = source.CharInEnglish;
  CharInFont = source.CharInFont;
}

// --- TCharCollection: the collection ---------------------------------------

TCharCollection::TCharCollection() = default;
TCharCollection::~TCharCollection() = default;

TCharItem& TCharCollection::Add() {
  auto item = std::make_unique<TCharItem>(this);
  item->FCollection = this;
  FItems.push_back(std::move(item));
  return *FItems.back();
}

void TCharCollection::Insert(int index) {
  auto item = std::make_unique<TCharItem>(this);
  item->FCollection = this;
  index = std::clamp(index, 0, Count());
  FItems.insert(FItems.begin() + index, std::move(item));
}

void TCharCollection::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  FItems.erase(FItems.begin() + index);
}

void TCharCollection::Clear() { FItems.clear(); }

const TCharCollection* TCharCollection::LenIndex(int n) const {
  if (n < 1 || n > kMaxKey) return nullptr;
  return FLenIndex[static_cast<std::size_t>(n - 1)].get();
}

// --- names and text helpers -------------------------------------------------

int PosIndexW(std::u16string_view text, std::u16string_view sub) {
  if (text.empty() || sub.empty()) return -1;
  auto pos = text.find(sub);
  return pos == std::u16string_view::npos ? -1 : static_cast<int>(pos);
}

std::u16string ReplaceFirstW(std::u16string_view text, std::u16string_view pattern,
                             std::u16string_view replacement) {
  int i = PosIndexW(text, pattern);
  std::u16string out(text);
  if (i >= 0) out.replace(static_cast<std::size_t>(i), pattern.size(), replacement);
  return out;
}

bool IsValidMapName(std::string_view name) {
  return name.find_first_of("\\/:*?\"<>|`") == std::string_view::npos;
}

std::u16string TCharCollection::GetMapName(std::u16string_view path) {
  std::string name = Narrow(path);
  // Folder separators: backslash and drive colon as in the stored names,
  // and the forward slash, which is this system's own separator.
  auto sep = name.find_last_of("\\:/");
  if (sep != std::string::npos) name.erase(0, sep + 1);
  for (const char* ext : {".fmp", ".lot"}) {
    auto p = name.find(ext);
    if (p != std::string::npos) name.erase(p, 4);
  }
  return Widen(name);
}

// --- file -------------------------------------------------------------------

namespace {

// Decodes a file's bytes by its mark: UTF-16 LE or BE, UTF-8, else 8-bit
// code-page text. Text after a NUL character is dropped.
std::u16string DecodeText(std::string_view b) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(b[i]); };
  std::u16string text;
  if (b.size() >= 2 && ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF))) {
    bool little = byte(0) == 0xFF;
    std::size_t units = (b.size() - 2) / 2;  // a lone last byte is ignored
    text.resize(units);
    for (std::size_t u = 0; u < units; ++u) {
      unsigned lo = byte(2 + 2 * u), hi = byte(3 + 2 * u);
      text[u] = static_cast<char16_t>(little ? (lo | (hi << 8)) : ((lo << 8) | hi));
    }
  } else if (b.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
    text = codepage::Utf8ToUtf16(b.substr(3));
  } else {
    text = Widen(b);
  }
  auto nul = text.find(u'\0');
  if (nul != std::u16string::npos) text.resize(nul);
  return text;
}

// Splits at CR, LF or U+2028; after a line skips one CR, one LF, one U+2028.
std::vector<std::u16string> SplitLines(const std::u16string& text) {
  std::vector<std::u16string> lines;
  std::size_t i = 0, n = text.size();
  while (i < n) {
    std::size_t start = i;
    while (i < n && text[i] != u'\r' && text[i] != u'\n' && text[i] != u'\u2028') ++i;
    lines.emplace_back(text, start, i - start);
    if (i < n && text[i] == u'\r') ++i;
    if (i < n && text[i] == u'\n') ++i;
    if (i < n && text[i] == u'\u2028') ++i;
  }
  return lines;
}

bool ReadFileBytes(const std::string& path, std::string& out) {
  std::error_code ec;
  std::filesystem::path p(Widen(path));
  if (std::filesystem::is_directory(p, ec)) return false;
  std::ifstream in(p, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

void TCharCollection::LoadFromFile(const std::string& path, bool BuildIndex) {
  Clear();
  FFileName = path;
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) throw EFontMapLoadError();
  LoadFromBytes(bytes, BuildIndex);
}

void TCharCollection::LoadFromBytes(std::string_view bytes, bool BuildIndex) {
  Clear();
  const std::vector<std::u16string> lines = SplitLines(DecodeText(bytes));
  if (lines.size() >= 2) FontName = lines[1];
  if (lines.size() < 5) throw EFontMapLoadError();
  MapLayout = Narrow(lines[4]);

  if (BuildIndex) {
    for (auto& list : FLenIndex) {
      if (list) list->Clear();
      else list = std::make_unique<TCharCollection>();
    }
    ClearLookupIndex();
  }
  bool inBlock = false;
  TCharItem* item = nullptr;
  for (std::size_t i = 6; i < lines.size(); ++i) {
    const std::u16string& line = lines[i];
    if (line == u"<!--") {
      item = &Add();
      item->CharInEnglish = lines[i - 2];
      item->CharInFont = lines[i - 1];
      inBlock = true;
    } else if (line == u"-->") {
      inBlock = false;
    }
    if (!inBlock || !item) continue;
    auto eq = line.find(u'=');
    if (eq == std::u16string::npos) continue;
    TCharItem& comb = item->Combinations().Add();
    comb.CharInEnglish = line.substr(0, eq);
    comb.CharInFont = line.substr(eq + 1);
    std::size_t len = comb.CharInEnglish.size();
    if (BuildIndex && len >= 1 && len <= static_cast<std::size_t>(kMaxKey))
      FLenIndex[len - 1]->Add().Assign(comb);
  }
  if (BuildIndex) RebuildLookupIndex();
}

std::string TCharCollection::SaveToBytes() const {
  std::u16string text;
  auto line = [&](std::u16string_view s) {
    text.append(s);
    text.append(u"\r\n");
  };
  line(u"[font]");
  line(FontName);
  line(u"");
  line(u"[map_layout]");
  line(Widen(MapLayout));
  line(u"");
  for (const auto& item : FItems) {
    line(item->CharInEnglish);
    line(item->CharInFont);
    line(u"<!--");
    const TCharCollection& combs = item->Combinations();
    for (int c = 0; c < combs.Count(); ++c) {
      const TCharItem& comb = combs.Items(c);
      std::u16string l = comb.CharInEnglish;
      l += u'=';
      l += comb.CharInFont;
      line(l);
    }
    line(u"-->");
  }
  std::string bytes;
  bytes.reserve(2 + text.size() * 2);
  bytes.push_back(static_cast<char>(0xFF));
  bytes.push_back(static_cast<char>(0xFE));
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

void TCharCollection::SaveToFile(const std::string& path) const {
  const std::string bytes = SaveToBytes();
  std::ofstream out(std::filesystem::path(Widen(path)), std::ios::binary | std::ios::trunc);
  if (!out) throw EFontMapSaveError("Cannot create file \"" + codepage::AnsiToUtf8(path) + "\".");
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw EFontMapSaveError("Cannot write file \"" + codepage::AnsiToUtf8(path) + "\".");
}

// --- lookup ----------------------------------------------------------------

TCharItem* TCharCollection::FindByEnglish(std::u16string_view key) const {
  for (const auto& item : FItems)
    if (item->CharInEnglish == key) return item.get();
  return nullptr;
}

TCharItem* TCharCollection::FindByFont(std::u16string_view key) const {
  for (const auto& item : FItems)
    if (item->CharInFont == key) return item.get();
  return nullptr;
}

void LookupFontCode(std::string_view key, const TCharCollection* list, std::u16string& result) {
  if (key.size() == 1) result = Widen(key);
  if (!list) return;  // a map without lookup lists matches nothing
  if (const TCharItem* hit = list->FindByEnglish(Widen(key))) result = hit->CharInFont;
}

std::u16string TCharCollection::LookupEnglishCode(std::u16string_view key, int& n) const {
  std::u16string piece;
  if (key.size() == 1) piece = std::u16string(key);
  for (int k = kMaxKey; k >= 1; --k) {
    const TCharCollection* list = LenIndex(k);
    if (!list) continue;
    if (const TCharItem* hit = list->FindByFont(key)) {
      n = static_cast<int>(hit->CharInFont.size());
      return hit->CharInEnglish;
    }
  }
  if (!piece.empty()) n = 1;
  return piece;
}

namespace {

// Up to six code-page bytes and their count packed into one integer.
inline std::uint64_t PackKey(const unsigned char* bytes, int len) {
  std::uint64_t v = static_cast<std::uint64_t>(len) << 56;
  for (int i = 0; i < len; ++i) v |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
  return v;
}

}  // namespace

void TCharCollection::ClearLookupIndex() {
  FForwardOutcomes.clear();
  FForwardShort.clear();
  FForward.clear();
  FForwardMask = 0;
  FForwardShift = 64;
  FForwardCodes.clear();
  FReverse.clear();
}

namespace {
constexpr std::size_t kShortNodes = 256 + 65536;
inline std::size_t ShortIndex(const unsigned char* bytes, int len) {
  return len == 1 ? bytes[0] : 256 + (bytes[0] | (static_cast<std::size_t>(bytes[1]) << 8));
}
inline std::size_t SlotHash(std::uint64_t key, int shift) {
  return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> shift);
}
}  // namespace

void TCharCollection::RebuildLookupIndex() {
  ClearLookupIndex();
  if (!HasLookupLists()) return;
  // Forward. First the first entry of each key in its list, and every
  // proper prefix of a key, so that a walk can stop where no key goes on.
  std::unordered_map<std::uint64_t, const TCharItem*> nodes;  // the key's first entry, or null
  std::vector<std::string> order;                               // every node once
  for (int k = 1; k <= kMaxKey; ++k) {
    const TCharCollection& list = *FLenIndex[static_cast<std::size_t>(k - 1)];
    for (int i = 0; i < list.Count(); ++i) {
      const TCharItem& entry = list.Items(i);
      const std::string bytes = Narrow(entry.CharInEnglish);
      // A key outside the code page never equals a narrowed candidate.
      if (Widen(bytes) != entry.CharInEnglish) continue;
      const auto* u = reinterpret_cast<const unsigned char*>(bytes.data());
      for (int p = 1; p <= k; ++p) {
        auto [it, added] = nodes.try_emplace(PackKey(u, p), nullptr);
        if (added) order.push_back(bytes.substr(0, static_cast<std::size_t>(p)));
        if (p == k && !it->second) it->second = &entry;
      }
    }
  }
  // Then the outcome of a walk that ends at each node: the longest of its
  // prefixes of 2..6 characters that is a key with font codes, else the
  // one-character key (whose codes may be empty), else nothing.
  std::size_t capacity = 16;
  while (capacity < order.size() * 2) capacity *= 2;
  FForward.assign(capacity, ForwardSlot{});
  FForwardMask = capacity - 1;
  FForwardShift = 64 - std::countr_zero(capacity);
  FForwardShort.assign(kShortNodes, -1);
  FForwardOutcomes.reserve(order.size());
  std::unordered_map<std::uint64_t, bool> inner;  // nodes that longer nodes extend
  for (const std::string& bytes : order)
    if (bytes.size() >= 2) inner[PackKey(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()) - 1)] = true;
  for (const std::string& bytes : order) {
    const auto* u = reinterpret_cast<const unsigned char*>(bytes.data());
    const int len = static_cast<int>(bytes.size());
    ForwardOutcome outcome;
    for (int p = len; p >= 1; --p) {
      const TCharItem* e = nodes.at(PackKey(u, p));
      if (e && (p == 1 || !e->CharInFont.empty())) {
        outcome.code = static_cast<std::uint32_t>(FForwardCodes.size());
        outcome.codeLen = static_cast<std::uint32_t>(e->CharInFont.size());
        outcome.consumed = static_cast<std::uint16_t>(p);
        FForwardCodes += e->CharInFont;
        break;
      }
    }
    outcome.more = inner.count(PackKey(u, len)) != 0;
    const auto index = static_cast<std::int32_t>(FForwardOutcomes.size());
    FForwardOutcomes.push_back(outcome);
    if (len <= 2) {
      FForwardShort[ShortIndex(u, len)] = index;
      continue;
    }
    const std::uint64_t key = PackKey(u, len);
    std::size_t i = SlotHash(key, FForwardShift);
    while (FForward[i].key != 0) i = (i + 1) & FForwardMask;
    FForward[i] = ForwardSlot{key, index};
  }
  // Reverse: lists from 6 down to 1, each in file order; the first entry
  // with a font code wins. Font codes are compared as 16-bit text.
  for (int k = kMaxKey; k >= 1; --k) {
    const TCharCollection& list = *FLenIndex[static_cast<std::size_t>(k - 1)];
    for (int i = 0; i < list.Count(); ++i) {
      const TCharItem& entry = list.Items(i);
      const std::u16string& font = entry.CharInFont;
      if (font.empty() || font.size() > static_cast<std::size_t>(kMaxKey)) continue;
      for (std::size_t p = 1; p < font.size(); ++p) FReverse.try_emplace(font.substr(0, p), nullptr);
      auto [it, added] = FReverse.try_emplace(font, &entry);
      if (!added && it->second == nullptr) it->second = &entry;
    }
  }
}

// --- forward conversion ----------------------------------------------------
//
// Greedy longest match: at each position the longest key (6 down to 1) with
// a non-empty font code wins; a one-character step always ends the pass,
// giving the entry's font code or the character itself. "&" separates
// matches and produces nothing. A key that itself ends in "&" consumes only
// its own characters (the character after it is converted as usual).

std::u16string TCharCollection::EnglishToFont(std::u16string_view text) const {
  std::u16string out;
  out.reserve(text.size() * 2);
  const std::size_t n = text.size();
  const bool indexed = !FForwardShort.empty();
  const std::int32_t* shortNodes = FForwardShort.data();
  const ForwardSlot* slots = FForward.data();
  const char16_t* codes = FForwardCodes.data();
  std::size_t pos = 0;
  while (pos < n) {
    while (pos < n && text[pos] == u'&') ++pos;
    if (pos >= n) break;
    const int avail = static_cast<int>(std::min<std::size_t>(kMaxKey, n - pos));
    auto byteAt = [&](int k) {
      const char16_t c = text[pos + static_cast<std::size_t>(k)];
      return static_cast<unsigned char>(c < 0x80 ? static_cast<char>(c) : codepage::NarrowChar(c));
    };
    const unsigned char first = byteAt(0);
    // Walk the nodes of the characters ahead as far as they go.
    std::int32_t deepest = indexed ? shortNodes[first] : -1;
    if (deepest >= 0 && avail >= 2 && FForwardOutcomes[static_cast<std::size_t>(deepest)].more) {
      std::uint64_t packed = first | (static_cast<std::uint64_t>(byteAt(1)) << 8);
      std::int32_t node = shortNodes[256 + packed];
      for (int k = 2; node >= 0;) {
        deepest = node;
        if (++k > avail || !FForwardOutcomes[static_cast<std::size_t>(node)].more) break;
        packed |= static_cast<std::uint64_t>(byteAt(k - 1)) << (8 * (k - 1));
        const std::uint64_t key = packed | (static_cast<std::uint64_t>(k) << 56);
        node = -1;
        for (std::size_t i = SlotHash(key, FForwardShift); slots[i].key != 0; i = (i + 1) & FForwardMask) {
          if (slots[i].key == key) {
            node = slots[i].outcome;
            break;
          }
        }
      }
    }
    const ForwardOutcome* hit = deepest >= 0 ? &FForwardOutcomes[static_cast<std::size_t>(deepest)] : nullptr;
    if (hit && hit->consumed) {
      out.append(codes + hit->code, hit->codeLen);
      pos += hit->consumed;
    } else {
      out += first < 0x80 ? static_cast<char16_t>(first) : codepage::WidenChar(first);
      ++pos;
    }
  }
  return out;
}

std::u16string TCharCollection::EnglishToFontScan(std::u16string_view text) const {
  std::u16string out;
  const std::size_t n = text.size();
  std::size_t pos = 0;
  while (pos < n) {
    while (pos < n && text[pos] == u'&') ++pos;
    if (pos >= n) break;
    std::u16string piece;
    std::size_t m = 0;
    for (std::size_t k = kMaxKey; k >= 1 && piece.empty(); --k) {
      if (k > n - pos) continue;
      LookupFontCode(Narrow(text.substr(pos, k)), LenIndex(static_cast<int>(k)), piece);
      m = k;
    }
    pos += m;
    out += piece;
  }
  return out;
}

// --- reverse conversion ----------------------------------------------------
//
// The longest font fragment (6 down to 1) that is the font code of an
// indexed combination wins; for one font code the longest key wins, then the
// first in file order. Unmapped characters pass through unchanged.

std::u16string TCharCollection::FontToEnglish(std::u16string_view text) const {
  std::u16string out;
  out.reserve(text.size() * 2);
  const std::size_t n = text.size();
  std::size_t pos = 0;
  std::u16string frag;
  while (pos < n) {
    const std::size_t avail = std::min<std::size_t>(kMaxKey, n - pos);
    const TCharItem* best = nullptr;
    std::size_t bestLen = 0;
    frag.clear();
    for (std::size_t k = 1; k <= avail; ++k) {
      frag.push_back(text[pos + k - 1]);
      auto it = FReverse.find(frag);
      if (it == FReverse.end()) break;
      if (it->second) {
        best = it->second;
        bestLen = k;
      }
    }
    if (best) {
      out += best->CharInEnglish;
      pos += bestLen;
    } else {
      out += text[pos];
      ++pos;
    }
  }
  return out;
}

std::u16string TCharCollection::FontToEnglishScan(std::u16string_view text) const {
  std::u16string out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::u16string piece;
    int len = kMaxKey;
    while (piece.empty() && len > 0) {
      piece = LookupEnglishCode(text.substr(pos, static_cast<std::size_t>(len)), len);
      if (piece.empty()) --len;
    }
    pos += static_cast<std::size_t>(len);
    out += piece;
  }
  return out;
}

// --- suggestions -----------------------------------------------------------

namespace {
inline char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
std::string LowerAscii(std::string s) {
  for (char& c : s) c = LowerAscii(c);
  return s;
}
}  // namespace

void TCharCollection::FindCombinations(std::string_view fragment, std::unique_ptr<TCharCollection>& list,
                                       bool IsBiggerChars) const {
  if (!list) list = std::make_unique<TCharCollection>();
  if (Count() < 2 || fragment.empty()) return;  // an empty fragment finds nothing
  const std::string frag = LowerAscii(std::string(fragment));
  const std::u16string data = Widen(fragment);
  for (int i = 1; i < Count(); ++i) {
    const TCharItem& item = Items(i);
    if (item.CharInEnglish.empty() || item.CharInFont.empty()) continue;
    if (LowerAscii(codepage::NarrowChar(item.CharInEnglish[0])) != frag[0]) continue;
    const TCharCollection& combs = item.Combinations();
    for (int c = 0; c < combs.Count(); ++c) {
      const TCharItem& comb = combs.Items(c);
      if (comb.CharInEnglish.empty() || comb.CharInFont.empty()) continue;
      std::string head = Narrow(std::u16string_view(comb.CharInEnglish).substr(0, frag.size()));
      if (LowerAscii(std::move(head)) != frag) continue;
      TCharItem& s = list->Add();
      s.CharInEnglish = comb.CharInEnglish;
      s.CharInFont = comb.CharInFont;
      s.IsBiggerChars = IsBiggerChars;
      s.Data = data;
    }
  }
}
