// Keys per letter: how many keys the shortest typing of each text takes with
// a map, over the sample texts (sinhala_samples.h) and the example words of
// the README's section on the default map.
//
//   keys_per_letter README.md MAP.fmp [MAP.fmp ...]
//
// Prints the shortest key sequence of every text for each map and, per map,
// keys per code point over all texts. To compare with an earlier map:
//   git show REV:data/Sinhala.fmp > /tmp/before.fmp
//   build/tests/data/keys_per_letter README.md /tmp/before.fmp data/Sinhala.fmp
// Exits 1 when a text cannot be typed with a map, or when a sequence found
// does not convert back to its text.
#include <cstdio>
#include <exception>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "VarunelComms.h"
#include "codepage.h"
#include "sinhala_samples.h"
#include "temp_dir.h"

namespace {

constexpr std::size_t kMaxKey = TCharCollection::kMaxKey;

// The keys the forward conversion can match: plain ASCII, 1 to 6 characters,
// the first of equal keys in file order.
struct Keys {
  std::unordered_map<std::u16string, std::u16string> font;
  std::unordered_map<std::u16string, std::vector<std::u16string>> byFont;
  std::size_t longestFont = 1;

  explicit Keys(const TCharCollection& map) {
    for (int i = 0; i < map.Count(); ++i) {
      const TCharCollection& combs = map.Items(i).Combinations();
      for (int c = 0; c < combs.Count(); ++c) {
        const TCharItem& comb = combs.Items(c);
        const std::u16string& key = comb.CharInEnglish;
        bool ascii = !key.empty() && key.size() <= kMaxKey;
        for (char16_t ch : key) ascii = ascii && ch > u' ' && ch < 0x7F;
        if (!ascii || font.count(key)) continue;
        font.emplace(key, comb.CharInFont);
        if (comb.CharInFont.empty()) continue;
        byFont[comb.CharInFont].push_back(key);
        longestFont = std::max(longestFont, comb.CharInFont.size());
      }
    }
  }

  // Whether the conversion, at the start of `typed`, matches exactly the
  // first `length` characters: no longer key matches there.
  bool MatchesFirst(const std::u16string& typed, std::size_t length) const {
    for (std::size_t l = length + 1; l <= std::min(kMaxKey, typed.size()); ++l) {
      auto it = font.find(typed.substr(0, l));
      if (it != font.end() && !it->second.empty()) return false;
    }
    return true;
  }
};

std::size_t Capitals(const std::u16string& keys) {
  std::size_t n = 0;
  for (char16_t ch : keys) n += ch >= u'A' && ch <= u'Z';
  return n;
}

// The shortest key sequence that types `text`, empty when there is none. The
// search runs from the end of the text: a state is a position in the text
// and the first keys typed after it (as many as can still lengthen a match),
// and a step puts one key, or "&" and a key, in front.
std::u16string Shortest(const Keys& keys, const std::u16string& text) {
  // Keys from here to the end; of equally short sequences the one with the
  // fewest capitals, which reads most like the usual spelling.
  using Cost = std::pair<std::size_t, std::size_t>;
  struct Step {
    Cost cost;
    std::u16string typed;  // the keys of this step
    std::size_t length;    // the code points of the text they type
    std::u16string next;   // the state at the end of that text
  };
  const std::size_t n = text.size();
  std::vector<std::map<std::u16string, Step>> best(n + 1);
  best[n][u""] = {{0, 0}, u"", 0, u""};
  for (std::size_t i = n; i-- > 0;) {
    for (std::size_t len = 1; len <= std::min(keys.longestFont, n - i); ++len) {
      const std::u16string piece = text.substr(i, len);
      std::vector<std::u16string> typings;
      if (auto it = keys.byFont.find(piece); it != keys.byFont.end()) typings = it->second;
      // A character no key covers passes through as itself.
      if (len == 1 && piece[0] < 0x7F && !keys.font.count(piece)) typings.push_back(piece);
      for (const std::u16string& key : typings) {
        for (const auto& [head, step] : best[i + len]) {
          for (const std::u16string separator : {u"", u"&"}) {
            const std::u16string typed = key + separator + head;
            if (separator.empty() && !keys.MatchesFirst(typed, key.size())) continue;
            const Cost cost{step.cost.first + key.size() + separator.size(),
                            step.cost.second + Capitals(key)};
            const Step candidate{cost, key + separator, len, head};
            auto [at, added] = best[i].try_emplace(typed.substr(0, kMaxKey - 1), candidate);
            if (!added && cost < at->second.cost) at->second = candidate;
          }
        }
      }
    }
  }
  if (best[0].empty()) return {};
  const auto* first = &*best[0].begin();
  for (const auto& entry : best[0])
    if (entry.second.cost < first->second.cost) first = &entry;
  std::u16string typed;
  std::u16string head = first->first;
  for (std::size_t at = 0; at < n;) {
    const Step& step = best[at].at(head);
    typed += step.typed;
    at += step.length;
    head = step.next;
  }
  return typed;
}

// The README's example words: Sinhala runs of two or more code points in
// its section on the default map (the single letters of its tables left out).
std::vector<std::u16string> ReadmeWords(const std::string& path) {
  const std::u16string text = codepage::Utf8ToUtf16(testutil::ReadBytes(path));
  const std::size_t begin = text.find(u"## Typing Sinhala with the default map");
  const std::size_t end = text.find(u"\n## ", begin + 1);
  std::vector<std::u16string> words;
  std::u16string word;
  for (std::size_t i = begin; begin != std::u16string::npos && i <= std::min(end, text.size()); ++i) {
    const char16_t ch = i < text.size() ? text[i] : u' ';
    if ((ch >= u'\u0D80' && ch <= u'\u0DFF') || ch == u'\u200D') {
      word += ch;
      continue;
    }
    if (word.size() >= 2) words.push_back(word);
    word.clear();
  }
  return words;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s README.md MAP.fmp [MAP.fmp ...]\n", argv[0]);
    return 2;
  }
  std::vector<std::u16string> texts;
  std::set<std::u16string> seen;
  for (const SinhalaSample& s : kSinhalaSamples)
    if (seen.insert(s.expected).second) texts.emplace_back(s.expected);
  const std::vector<std::u16string> readme = ReadmeWords(argv[1]);
  if (readme.empty()) {
    std::fprintf(stderr, "%s: no example words found\n", argv[1]);
    return 2;
  }
  for (const std::u16string& w : readme)
    if (seen.insert(w).second) texts.push_back(w);

  int status = 0;
  for (int m = 2; m < argc; ++m) {
    TCharCollection map;
    try {
      map.LoadFromFile(argv[m], true);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s: %s\n", argv[m], e.what());
      return 2;
    }
    const Keys keys(map);
    std::size_t letters = 0, typed = 0;
    std::printf("%s\n", argv[m]);
    for (const std::u16string& text : texts) {
      const std::u16string sequence = Shortest(keys, text);
      const bool ok = !sequence.empty() && map.EnglishToFont(sequence) == text;
      std::string shown = codepage::Narrow(sequence);
      for (char& ch : shown) ch = (ch == '\r' || ch == '\n') ? ' ' : ch;
      std::printf("  %3zu/%-3zu %s%s\n", sequence.size(), text.size(), shown.c_str(),
                  ok ? "" : "   <- does not type the text");
      if (!ok) status = 1;
      letters += text.size();
      typed += sequence.size();
    }
    std::printf("%s: %zu texts, %zu code points, %zu keys, %.3f keys per code point\n", argv[m], texts.size(),
                letters, typed, static_cast<double>(typed) / static_cast<double>(letters));
  }
  return status;
}
