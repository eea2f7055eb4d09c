// Map loads that run out of memory. This test program replaces the global
// operator new, so that any one allocation can be made to fail.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "map_helpers.h"

namespace {

long gFailIn = -1;  // allocations until the one that fails; -1: none fails

}  // namespace

void* operator new(std::size_t size) {
  if (gFailIn >= 0 && gFailIn-- == 0) throw std::bad_alloc();
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

using namespace maptest;

TEST(MapLoadOutOfMemory, EveryFailedAllocationLeavesTheFailedLoadState) {
  TempDir dir;
  const std::string before = dir.Write("before.fmp", Utf16Le(MapLines(
      {u"k", u"K", u"<!--", u"k=K", u"ka=KA", u"kaa=KB", u"-->", u"g", u"G", u"<!--", u"ga=GA", u"-->"})));
  const std::filesystem::path after = dir.Write("after.fmp", Utf16Le(MapLines(
      {u"k", u"X", u"<!--", u"k=X", u"ki=XI", u"kii=XJ", u"kaa=", u"-->", u"m", u"M", u"<!--", u"ma=MA", u"-->"},
      u"Other font", u"Other layout")));
  const std::u16string english = u"kaa ka k gaki kii ma&k", font = u"KBKAK XIXJMA";
  TCharCollection reference;
  reference.LoadFromFile(before, true);
  const std::u16string toFont = reference.EnglishToFont(english), toEnglish = reference.FontToEnglish(font);
  reference.LoadFromFile(after, true);
  const std::u16string newFont = reference.EnglishToFont(english);
  ASSERT_NE(newFont, toFont);

  // Loads `path` into `map` with the n-th allocation failing; true when it failed.
  auto failingLoad = [&](TCharCollection& map, long n) {
    gFailIn = n;
    bool failed = false;
    try {
      map.LoadFromFile(after, true);
    } catch (const EFontMapLoadError&) {
      failed = true;
    }
    gFailIn = -1;
    return failed;
  };
  for (long n = 0;; ++n) {
    TCharCollection loaded, fresh;
    loaded.LoadFromFile(before, true);
    const bool failed = failingLoad(loaded, n);
    if (failed) {
      // The old lists and index stay, complete and in agreement; no items.
      EXPECT_EQ(loaded.Count(), 0) << n;
      // The name is taken first, unless that very step ran out of memory.
      EXPECT_TRUE(loaded.FileName() == after.string() || loaded.FileName() == before) << n;
      EXPECT_EQ(loaded.EnglishToFont(english), toFont) << n;
      EXPECT_EQ(loaded.EnglishToFontScan(english), toFont) << n;
      EXPECT_EQ(loaded.FontToEnglish(font), toEnglish) << n;
      EXPECT_EQ(loaded.FontToEnglishScan(font), toEnglish) << n;
    } else {
      EXPECT_EQ(loaded.EnglishToFont(english), newFont) << n;
    }
    // A map that had none keeps none, and passes every character but "&".
    if (failingLoad(fresh, n)) {
      EXPECT_EQ(fresh.Count(), 0) << n;
      EXPECT_FALSE(fresh.HasLookupLists()) << n;
      EXPECT_EQ(fresh.EnglishToFont(english), u"kaa ka k gaki kii mak") << n;
    } else if (!failed) {
      break;  // past the last allocation of a load
    }
    if (HasFailure()) break;
  }
}
