#include "VarunelComms.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "LookupIndex.h"
#include "codepage.h"
#include "files.h"

using codepage::Narrow;
using codepage::Widen;

// --- TCharItem --------------------------------------------------------------

TCharItem::TCharItem() = default;
TCharItem::~TCharItem() = default;

TCharCollection& TCharItem::Combinations() {
  if (!FCombinations) FCombinations = std::make_unique<TCharCollection>();
  return *FCombinations;
}

const TCharCollection& TCharItem::Combinations() const {
  static const TCharCollection none;
  return FCombinations ? *FCombinations : none;
}

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

const TLookupList* TCharCollection::LenIndex(int n) const {
  if (n < 1 || n > kMaxKey || !FIndex) return nullptr;
  return &FIndex->List(n);
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

// Hands out the lines of a text one by one. A line ends at CR, LF or
// U+2028; after a line one CR, one LF, one U+2028 are skipped.
class LineReader {
 public:
  explicit LineReader(std::u16string_view text) : text_(text) {}
  bool Next(std::u16string_view& line) {
    const std::size_t n = text_.size();
    if (i_ >= n) return false;
    const std::size_t start = i_;
    while (i_ < n && text_[i_] != u'\r' && text_[i_] != u'\n' && text_[i_] != u'\u2028') ++i_;
    line = text_.substr(start, i_ - start);
    if (i_ < n && text_[i_] == u'\r') ++i_;
    if (i_ < n && text_[i_] == u'\n') ++i_;
    if (i_ < n && text_[i_] == u'\u2028') ++i_;
    return true;
  }

 private:
  std::u16string_view text_;
  std::size_t i_ = 0;
};

// Fills an empty map from the lines of a map file (the steps past reading).
void ParseMap(TCharCollection& map, std::u16string_view text) {
  LineReader lines(text);
  std::array<std::u16string_view, 6> head;
  std::size_t got = 0;
  while (got < head.size() && lines.Next(head[got])) ++got;
  if (got >= 2) map.FontName = head[1];
  if (got < 5) throw EFontMapLoadError();
  map.MapLayout = Narrow(head[4]);
  if (got < 6) return;
  // Items from line 6 on; "<!--" takes the two lines above it as its key pair.
  std::u16string_view above2 = head[4], above1 = head[5], line;
  bool inBlock = false;
  TCharItem* item = nullptr;
  while (lines.Next(line)) {
    if (line == u"<!--") {
      item = &map.Add();
      item->CharInEnglish = above2;
      item->CharInFont = above1;
      inBlock = true;
    } else if (line == u"-->") {
      inBlock = false;
    }
    above2 = above1;
    above1 = line;
    if (!inBlock || !item) continue;
    auto eq = line.find(u'=');
    if (eq == std::u16string_view::npos) continue;
    TCharItem& comb = item->Combinations().Add();
    comb.CharInEnglish = line.substr(0, eq);
    comb.CharInFont = line.substr(eq + 1);
  }
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

bool ReadFileBytes(const std::filesystem::path& path, std::string& out) {
  std::error_code ec;
  const std::filesystem::path p = FindFileIgnoringCase(path);
  return files::ReadWhole(p, TCharCollection::kMaxFileSize, out, ec);
}

}  // namespace

// Runs a load; any failure, running out of memory included, leaves the map
// without items and raises "Error Loading.". The lookup lists are replaced
// only by a load that completes.
template <class Load>
void TCharCollection::LoadGuarded(Load&& load) {
  try {
    load();
  } catch (const EFontMapLoadError&) {
    Clear();
    throw;
  } catch (const std::exception&) {
    Clear();
    throw EFontMapLoadError();
  }
}

void TCharCollection::LoadText(std::u16string text, bool BuildIndex) {
  ParseMap(*this, text);
  std::u16string().swap(text);  // not needed by the index
  if (BuildIndex) FIndex = std::make_unique<const TLookupIndex>(*this);
}

void TCharCollection::LoadFromFile(const std::filesystem::path& path, bool BuildIndex) {
  Clear();
  LoadGuarded([&] {
    FFileName = Narrow(path.u16string());
    std::u16string text;
    {
      std::string bytes;
      if (!ReadFileBytes(path, bytes)) throw EFontMapLoadError();
      text = DecodeText(bytes);
    }
    LoadText(std::move(text), BuildIndex);
  });
}

void TCharCollection::LoadFromBytes(std::string_view bytes, bool BuildIndex) {
  Clear();
  LoadGuarded([&] {
    if (bytes.size() > kMaxFileSize) throw EFontMapLoadError();
    LoadText(DecodeText(bytes), BuildIndex);
  });
}

std::string TCharCollection::SaveToBytes() const {
  std::vector<std::u16string> lines = {u"[font]", FontName, u"", u"[map_layout]", Widen(MapLayout), u""};
  for (const auto& item : FItems) {
    lines.push_back(item->CharInEnglish);
    lines.push_back(item->CharInFont);
    lines.emplace_back(u"<!--");
    const TCharCollection& combs = item->Combinations();
    for (int c = 0; c < combs.Count(); ++c) {
      const TCharItem& comb = combs.Items(c);
      lines.push_back(comb.CharInEnglish + u'=' + comb.CharInFont);
    }
    lines.emplace_back(u"-->");
  }
  return EncodeTextLines(lines);
}

std::vector<std::u16string> ReadTextLines(std::string_view bytes) {
  const std::u16string text = DecodeText(bytes);
  LineReader reader(text);
  std::vector<std::u16string> lines;
  for (std::u16string_view line; reader.Next(line);) lines.emplace_back(line);
  return lines;
}

std::string EncodeTextLines(const std::vector<std::u16string>& lines) {
  std::size_t units = 0;
  for (const auto& l : lines) units += l.size() + 2;
  std::string bytes;
  bytes.reserve(2 + units * 2);
  bytes.push_back(static_cast<char>(0xFF));
  bytes.push_back(static_cast<char>(0xFE));
  auto put = [&](char16_t c) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  };
  for (const auto& l : lines) {
    for (char16_t c : l) put(c);
    put(u'\r');
    put(u'\n');
  }
  return bytes;
}

void TCharCollection::SaveToFile(const std::filesystem::path& path) const {
  std::error_code ec;
  if (!files::ReplaceWhole(path, SaveToBytes(), ec))
    throw EFontMapSaveError("Cannot write file \"" + path.string() + "\": " + ec.message() + ".");
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

void LookupFontCode(std::string_view key, const TLookupList* list, std::u16string& result) {
  if (key.size() == 1) result = Widen(key);
  if (!list) return;  // a map without lookup lists matches nothing
  const int hit = list->FindByEnglish(Widen(key));
  if (hit >= 0) result = list->Items(hit).CharInFont;
}

std::u16string TCharCollection::LookupEnglishCode(std::u16string_view key, int& n) const {
  std::u16string piece;
  if (key.size() == 1) piece = std::u16string(key);
  for (int k = kMaxKey; k >= 1; --k) {
    const TLookupList* list = LenIndex(k);
    if (!list) continue;
    const int hit = list->FindByFont(key);
    if (hit >= 0) {
      n = static_cast<int>(list->Items(hit).CharInFont.size());
      return std::u16string(list->Items(hit).CharInEnglish);
    }
  }
  if (!piece.empty()) n = 1;
  return piece;
}

// --- forward conversion ----------------------------------------------------
//
// Greedy longest match: at each position the longest key (6 down to 1) with
// a non-empty font code wins; a one-character step always ends the pass,
// giving the entry's font code or the character itself. "&" separates
// matches and produces nothing. A key that itself ends in "&" consumes only
// its own characters (the character after it is converted as usual).

std::u16string TCharCollection::EnglishToFont(std::u16string_view text) const {
  return (FIndex ? *FIndex : TLookupIndex::Empty()).EnglishToFont(text);
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
  return (FIndex ? *FIndex : TLookupIndex::Empty()).FontToEnglish(text);
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
