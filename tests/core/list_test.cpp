#include "core/list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Item : TObject {
  explicit Item(std::string n, int* alive = nullptr) : name(std::move(n)), alive_(alive) {
    if (alive_) ++*alive_;
  }
  ~Item() override {
    if (alive_) --*alive_;
  }
  std::string name;
  int* alive_;
};

// Walks the list as the game does, calling `during` with each value (null for removed links).
template <class F>
std::vector<std::string> Walk(TList& list, F during) {
  std::vector<std::string> seen;
  for (TListEnum e = list.ObjectEnumerator(); e.HasNext();) {
    TObject* o = e.NextObject();
    seen.push_back(o ? static_cast<Item*>(o)->name : "null");
    during(o);
  }
  return seen;
}

TEST(List, AddCountFindAndRemove) {
  TList list;
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.FirstLink(), nullptr);
  EXPECT_EQ(list.First(), list._head.get());  // the sentinel's own value: not an element

  Ref<Item> a = New<Item>("a"), b = New<Item>("b"), c = New<Item>("c");
  list.AddLast(b.get());
  list.AddLast(c.get());
  list.AddFirst(a.get());
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.First(), a.get());
  EXPECT_EQ(list.Last(), c.get());
  EXPECT_TRUE(list.Contains(b.get()));
  EXPECT_EQ(list.FirstLink()->NextLink()->Value(), b.get());
  EXPECT_EQ(list.FirstLink()->PrevLink(), nullptr);
  EXPECT_EQ(list.LastLink()->NextLink(), nullptr);

  Ref<Item> stranger = New<Item>("x");
  EXPECT_EQ(list.Remove(stranger.get()), 0);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Remove(b.get()), 1);
  EXPECT_EQ(list.Remove(b.get()), 0);
  EXPECT_EQ(Walk(list, [](TObject*) {}), (std::vector<std::string>{"a", "c"}));
}

TEST(List, RemoveTakesOnlyTheFirstEqualElement) {
  TList list;
  Ref<Item> a = New<Item>("a");
  list.AddLast(a.get());
  list.AddLast(a.get());
  EXPECT_EQ(list.Remove(a.get()), 1);
  EXPECT_EQ(list.Count(), 1);
}

TEST(List, ListOwnsItsValuesAndDropsThemOnRemoval) {
  int alive = 0;
  {
    TList list;
    list.AddLast(new Item("a", &alive));
    TObject* b = new Item("b", &alive);
    list.AddLast(b);
    EXPECT_EQ(alive, 2);
    list.Remove(b);
    EXPECT_EQ(alive, 1);
  }
  EXPECT_EQ(alive, 0);
}

TEST(List, WalkSurvivesTheCurrentElementRemovingItself) {
  int alive = 0;
  TList list;
  for (const char* n : {"a", "b", "c"}) list.AddLast(new Item(n, &alive));
  auto seen = Walk(list, [&](TObject* o) {
    list.Remove(o);
    // Still alive while it is being processed: the walk holds it until the next step.
    EXPECT_EQ(static_cast<Item*>(o)->name.size(), 1u);
  });
  EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(alive, 0);
}

TEST(List, RemovingTheNextElementYieldsNullThenGoesOn) {
  TList list;
  Ref<Item> a = New<Item>("a"), b = New<Item>("b"), c = New<Item>("c");
  for (auto& i : {a, b, c}) list.AddLast(i.get());
  auto seen = Walk(list, [&](TObject* o) {
    if (o == a.get()) list.Remove(b.get());
  });
  EXPECT_EQ(seen, (std::vector<std::string>{"a", "null", "c"}));
}

TEST(List, ChainOfRemovedLinksIsFollowed) {
  TList list;
  Ref<Item> a = New<Item>("a"), b = New<Item>("b"), c = New<Item>("c"), d = New<Item>("d");
  for (auto& i : {a, b, c, d}) list.AddLast(i.get());
  TListEnum e = list.ObjectEnumerator();
  EXPECT_EQ(e.NextObject(), a.get());  // now holds b
  list.Remove(b.get());
  list.Remove(c.get());  // b's old successor, removed after b
  std::vector<TObject*> rest;
  while (e.HasNext()) rest.push_back(e.NextObject());
  EXPECT_EQ(rest, (std::vector<TObject*>{nullptr, nullptr, d.get()}));
}

TEST(List, AppendDuringWalk) {
  TList list;
  Ref<Item> a = New<Item>("a"), b = New<Item>("b"), d = New<Item>("d");
  list.AddLast(a.get());
  list.AddLast(b.get());
  auto seen = Walk(list, [&](TObject* o) {
    if (o == a.get()) list.AddLast(d.get());
  });
  EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "d"}));

  // With one element the walk already holds the sentinel when the append happens.
  TList single;
  single.AddLast(a.get());
  seen = Walk(single, [&](TObject* o) {
    if (o == a.get()) single.AddLast(d.get());
  });
  EXPECT_EQ(seen, (std::vector<std::string>{"a"}));
  EXPECT_EQ(single.Count(), 2);
}

TEST(List, AppendAfterRemovedChainThatLeadsToTheSentinelIsMissed) {
  TList list;
  Ref<Item> a = New<Item>("a"), b = New<Item>("b"), d = New<Item>("d");
  list.AddLast(a.get());
  list.AddLast(b.get());
  auto seen = Walk(list, [&](TObject* o) {
    if (o == a.get()) {
      list.Remove(b.get());  // the walk holds b, whose old successor is the sentinel
      list.AddLast(d.get());
    }
  });
  EXPECT_EQ(seen, (std::vector<std::string>{"a", "null"}));
}

TEST(List, ClearDuringWalkEndsIt) {
  TList list;
  for (const char* n : {"a", "b", "c", "d"}) list.AddLast(new Item(n));
  auto seen = Walk(list, [&](TObject* o) {
    if (o && static_cast<Item*>(o)->name == "a") list.Clear();
  });
  // The held link b still leads through the removed c and d to the sentinel.
  EXPECT_EQ(seen, (std::vector<std::string>{"a", "null", "null", "null"}));
  EXPECT_EQ(list.Count(), 0);
}

TEST(List, RangeForFollowsTheSameRules) {
  TList list;
  Ref<Item> a = New<Item>("a"), b = New<Item>("b"), c = New<Item>("c");
  for (auto& i : {a, b, c}) list.AddLast(i.get());
  std::vector<TObject*> seen;
  for (TObject* o : list) {
    seen.push_back(o);
    if (o == a.get()) list.Remove(b.get());
  }
  EXPECT_EQ(seen, (std::vector<TObject*>{a.get(), nullptr, c.get()}));
}

TEST(List, EnumeratorOutlivesItsList) {
  Ref<Item> a = New<Item>("a");
  auto list = std::make_unique<TList>();
  list->AddLast(a.get());
  list->AddLast(New<Item>("b").get());
  TListEnum e = list->ObjectEnumerator();
  list.reset();
  // The links were removed with the list: the walk sees nulls and then ends.
  int steps = 0;
  while (e.HasNext() && steps < 10) {
    EXPECT_EQ(e.NextObject(), nullptr);
    ++steps;
  }
  EXPECT_LT(steps, 10);
  EXPECT_EQ(a->RefCount(), 1);
}

}  // namespace
