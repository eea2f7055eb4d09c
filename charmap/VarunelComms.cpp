#include "VarunelComms.h"

#include <algorithm>
#include <filesystem>

#include "codepage.h"
#include "files.h"

using codepage::Narrow;
using codepage::Widen;

// --- TCharItem --------------------------------------------------------------

TCharItem::TCharItem() : FCombinations(std::make_unique<TCharCollection>()) {}

TCharItem::~TCharItem() = default;

void TCharItem::Assign(const TCharItem& source) {
  CharInEnglish = source.CharInEnglish;
  CharInFont = source.CharInFont;
}

// --- TCharCollection: the collection ---------------------------------------

TCharCollection::TCharCollection() = default;
TCharCollection::~TCharCollection() = default;

TCharItem& TCharCollection::Add() {
  auto item = std::make_unique<TCharItem>();
  item->FCollection = this;
  FItems.push_back(std::move(item));
  return *FItems.back();
}

void TCharCollection::Insert(int index) {
  auto item = std::make_unique<TCharItem>();
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

std::u16string LowerAscii(std::u16string s) {
  for (char16_t& c : s)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return s;
}

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

// Map names are compared without regard to case, as stored names and
// settings expect: a missing file is looked for among the files of its
// folder whose names differ only in the case of ASCII letters.
std::filesystem::path FindFileIgnoringCase(const std::filesystem::path& p) {
  std::error_code ec;
  if (std::filesystem::exists(p, ec)) return p;
  const std::u16string wanted = LowerAscii(p.filename().u16string());
  const std::filesystem::path folder = p.has_parent_path() ? p.parent_path() : std::filesystem::path(".");
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (LowerAscii(it->path().filename().u16string()) == wanted) return it->path();
  return p;
}

bool ReadFileBytes(const std::string& path, std::string& out) {
  std::error_code ec;
  const std::filesystem::path p = FindFileIgnoringCase(std::filesystem::path(Widen(path)));
  return files::ReadWhole(p, TCharCollection::kMaxFileSize, out, ec);
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
    ClearLookupIndex();  // it points into the lists
    for (auto& list : FLenIndex) {
      if (list) list->Clear();
      else list = std::make_unique<TCharCollection>();
    }
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
  std::error_code ec;
  if (!files::ReplaceWhole(std::filesystem::path(Widen(path)), SaveToBytes(), ec))
    throw EFontMapSaveError("Cannot write file \"" + codepage::AnsiToUtf8(path) + "\": " + ec.message() + ".");
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

void TCharCollection::ClearLookupIndex() {
  FForwardClass.fill(0);
  FForwardWidth = 0;
  FForwardRows.clear();
  FForwardNodes.clear();
  FForwardCodes.clear();
  FReverse.clear();
}

void TCharCollection::RebuildLookupIndex() {
  ClearLookupIndex();
  if (!HasLookupLists()) return;
  // Forward. The keys that the code page can hold (another key never
  // equals a narrowed candidate), as bytes.
  std::vector<std::pair<std::string, const TCharItem*>> keys;
  for (int k = 1; k <= kMaxKey; ++k) {
    const TCharCollection& list = *FLenIndex[static_cast<std::size_t>(k - 1)];
    for (int i = 0; i < list.Count(); ++i) {
      const TCharItem& entry = list.Items(i);
      std::string bytes = Narrow(entry.CharInEnglish);
      if (Widen(bytes) == entry.CharInEnglish) keys.emplace_back(std::move(bytes), &entry);
    }
  }
  std::size_t classes = 0;
  for (const auto& key : keys)
    for (char ch : key.first) {
      std::uint16_t& c = FForwardClass[static_cast<unsigned char>(ch)];
      if (c == 0) c = static_cast<std::uint16_t>(++classes);
    }
  FForwardWidth = classes + 1;
  // The trie; each key node remembers the key's first entry in its list.
  // Nodes are numbered after their parents.
  std::vector<const TCharItem*> keyEntry;
  std::vector<std::int32_t> parent, depth;
  std::vector<std::size_t> linkAt;  // where each node's link lies
  FForwardRows.assign(FForwardWidth, ForwardLink{});
  for (const auto& [bytes, entry] : keys) {
    std::int32_t row = 0, node = -1;
    for (std::size_t p = 0; p < bytes.size(); ++p) {
      if (row < 0) {  // the node becomes inner: give it a row
        row = static_cast<std::int32_t>(FForwardRows.size() / FForwardWidth);
        FForwardRows.resize(FForwardRows.size() + FForwardWidth);
        FForwardRows[linkAt[static_cast<std::size_t>(node)]].row = row;
      }
      const std::size_t at = static_cast<std::size_t>(row) * FForwardWidth +
                             FForwardClass[static_cast<unsigned char>(bytes[p])];
      ForwardLink& link = FForwardRows[at];
      if (link.node < 0) {
        link.node = static_cast<std::int32_t>(keyEntry.size());
        keyEntry.push_back(nullptr);
        parent.push_back(node);
        depth.push_back(static_cast<std::int32_t>(p + 1));
        linkAt.push_back(at);
      }
      node = link.node;
      row = link.row;
    }
    if (!keyEntry[static_cast<std::size_t>(node)]) keyEntry[static_cast<std::size_t>(node)] = entry;
  }
  // The outcome of a walk that ends at each node: the longest key of 2..6
  // characters on the way with font codes, else the one-character key
  // (whose codes may be empty), else nothing.
  FForwardNodes.assign(keyEntry.size(), ForwardNode{});
  for (std::size_t node = 0; node < keyEntry.size(); ++node) {
    const TCharItem* e = keyEntry[node];
    const std::int32_t d = depth[node];
    ForwardNode& out = FForwardNodes[node];
    if (e && (d == 1 || !e->CharInFont.empty())) {
      out.consumed = static_cast<std::uint32_t>(d);
      out.code = static_cast<std::uint32_t>(FForwardCodes.size());
      out.codeLen = static_cast<std::uint32_t>(e->CharInFont.size());
      FForwardCodes += e->CharInFont;
    } else if (parent[node] >= 0) {
      out = FForwardNodes[static_cast<std::size_t>(parent[node])];  // shares the parent's codes
    }
  }
  FForwardCodes.append(kCopy, u'\0');  // slack for the block copy
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
  const std::size_t n = text.size();
  // The output is written through `used`; short codes are copied as one
  // block of kCopy units (FForwardCodes has that much slack at its end).
  std::u16string out(n + kCopy, u'\0');
  std::size_t used = 0;
  const ForwardNode* nodes = FForwardNodes.data();
  const ForwardLink* rows = FForwardRows.data();
  const std::size_t width = FForwardWidth;
  const char16_t* codes = FForwardCodes.data();
  auto byteOf = [](char16_t c) {
    return static_cast<unsigned char>(c < 0x80 ? static_cast<char>(c) : codepage::NarrowChar(c));
  };
  std::size_t pos = 0;
  while (pos < n) {
    while (pos < n && text[pos] == u'&') ++pos;
    if (pos >= n) break;
    const std::size_t avail = std::min<std::size_t>(kMaxKey, n - pos);
    const unsigned char first = byteOf(text[pos]);
    // Walk the trie along the characters ahead as far as it goes.
    const ForwardNode* at = nullptr;
    if (rows) {
      const ForwardLink* link = rows + FForwardClass[first];
      for (std::size_t k = 1; link->node >= 0;) {
        at = nodes + link->node;
        if (link->row < 0 || k == avail) break;
        link = rows + static_cast<std::size_t>(link->row) * width + FForwardClass[byteOf(text[pos + k++])];
      }
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
