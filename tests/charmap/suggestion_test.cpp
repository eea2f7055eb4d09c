#include <gtest/gtest.h>

#include "map_helpers.h"

using namespace maptest;

namespace {

std::vector<std::u16string> Keys(const TCharCollection& list) {
  std::vector<std::u16string> v;
  for (int i = 0; i < list.Count(); ++i) v.push_back(list.Items(i).CharInEnglish);
  return v;
}

class Suggestions : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadBody(map, {u"k", u"T", u"<!--", u"ka=T", u"-->",  // the template row is never searched
                   u"k", u"K", u"<!--", u"ka=KA", u"Kaa=KAA", u"ki=", u"=X", u"k=K", u"kaaaaaaa=LONG", u"-->",
                   u"Kh", u"KH", u"<!--", u"kha=KHA", u"gka=GKA", u"-->",
                   u"g", u"", u"<!--", u"ga=GA", u"-->",  // no font code: skipped whole
                   u"", u"E", u"<!--", u"ko=KO", u"-->",
                   u"\u00E9", u"e", u"<!--", u"\u00E9a=EA", u"\u00C9b=EB", u"-->"},
            false);
  }
  TCharCollection map;
};

}  // namespace

TEST_F(Suggestions, OrderFirstLetterRuleAndFields) {
  std::unique_ptr<TCharCollection> list;
  map.FindCombinations("K", list, true);
  ASSERT_TRUE(list);
  EXPECT_EQ(Keys(*list), (std::vector<std::u16string>{u"ka", u"Kaa", u"k", u"kaaaaaaa", u"kha"}));
  for (int i = 0; i < list->Count(); ++i) {
    EXPECT_EQ(list->Items(i).Data, u"K");  // as typed, not lower-cased
    EXPECT_TRUE(list->Items(i).IsBiggerChars);
    EXPECT_EQ(list->Items(i).Combinations().Count(), 0);
  }
  EXPECT_EQ(list->Items(1).CharInFont, u"KAA");

  list->Clear();
  map.FindCombinations("kaa", list, false);
  EXPECT_EQ(Keys(*list), (std::vector<std::u16string>{u"Kaa", u"kaaaaaaa"}));
  EXPECT_FALSE(list->Items(0).IsBiggerChars);
  EXPECT_EQ(list->Items(0).Data, u"kaa");

  // "gka" sits under a base starting with k, and "ga" under a base without font codes.
  list->Clear();
  map.FindCombinations("g", list, false);
  EXPECT_EQ(list->Count(), 0);
  // Lower-casing touches only A to Z.
  map.FindCombinations("\xE9", list, false);
  EXPECT_EQ(Keys(*list), std::vector<std::u16string>{u"\u00E9a"});
  list->Clear();
  map.FindCombinations("\xC9", list, false);
  EXPECT_EQ(list->Count(), 0);
}

TEST_F(Suggestions, WhatIsNeverFound) {
  std::unique_ptr<TCharCollection> list;
  map.FindCombinations("kaaaaaaaa", list, false);  // longer than every key
  map.FindCombinations("x", list, false);
  map.FindCombinations("ko", list, false);         // its base has no key
  EXPECT_EQ(list->Count(), 0);
  map.FindCombinations("ki", list, false);         // no font code
  EXPECT_EQ(list->Count(), 0);

  TCharCollection templatesOnly;
  LoadBody(templatesOnly, {u"k", u"T", u"<!--", u"ka=T", u"-->"});
  templatesOnly.FindCombinations("k", list, false);
  EXPECT_EQ(list->Count(), 0);
}

TEST_F(Suggestions, ListIsAppendedNeverCleared) {
  auto list = std::make_unique<TCharCollection>();
  for (const char16_t* k : {u"one", u"two", u"three"}) list->Add().CharInEnglish = k;
  TCharCollection* same = list.get();
  map.FindCombinations("kh", list, false);
  map.FindCombinations("kh", list, true);
  EXPECT_EQ(list.get(), same);
  EXPECT_EQ(Keys(*list), (std::vector<std::u16string>{u"one", u"two", u"three", u"kha", u"kha"}));
  EXPECT_TRUE(list->Items(4).IsBiggerChars);
}

TEST_F(Suggestions, EmptyFragmentFindsNothingButCreatesTheList) {
  std::unique_ptr<TCharCollection> list;
  map.FindCombinations("", list, false);
  ASSERT_TRUE(list);
  EXPECT_EQ(list->Count(), 0);
  TCharCollection* same = list.get();
  map.FindCombinations("", list, false);
  EXPECT_EQ(list.get(), same);

  TCharCollection empty;
  std::unique_ptr<TCharCollection> other;
  empty.FindCombinations("k", other, false);
  ASSERT_TRUE(other);
  EXPECT_EQ(other->Count(), 0);
}
