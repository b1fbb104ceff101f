// The object lists: adding, walking, removing, and links removed or removing themselves while a
// walk is on them.
#include "core/list.h"

#include <gtest/gtest.h>

#include <functional>
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

// A removed link that an enumerator still holds: its neighbours stay valid, removing it a
// second time changes nothing, and it is no place to insert at.

namespace {

struct Named : TObject {
  explicit Named(std::string n) : name(std::move(n)) {}
  std::string name;
};

std::vector<std::string> Names(const TList& list) {
  std::vector<std::string> names;
  for (TObject* o : list) names.push_back(o ? static_cast<Named*>(o)->name : "null");
  return names;
}

// The list a, b, c with an enumerator that returned a and so holds b's link.
struct HeldWalk {
  HeldWalk() : walk(list.ObjectEnumerator()) {
    for (const char* n : {"a", "b", "c"}) list.AddLast(new Named(n));
    walk = list.ObjectEnumerator();
    a = walk.NextObject();
    held = walk._link.get();
  }
  TList list;
  TListEnum walk;
  TObject* a = nullptr;
  TLink* held = nullptr;
};

TEST(RemovedLink, KeepsItsPredecessorAliveAfterThePredecessorIsRemovedToo) {
  HeldWalk h;
  ASSERT_EQ(h.list.Remove(h.held->Value()), 1);  // b, held by the walk
  ASSERT_EQ(h.list.Remove(h.a), 1);              // a: nothing but b refers to its link now
  // New links may take the memory a's link had.
  for (int i = 0; i < 8; ++i) h.list.AddLast(new Named("new"));
  TLink* pred = h.held->PrevLink();
  ASSERT_NE(pred, nullptr);
  EXPECT_EQ(pred->Value(), nullptr) << "b's predecessor is a's removed link, not a live element";
  EXPECT_EQ(pred->PrevLink(), nullptr);  // and a's predecessor was the sentinel
  // The walk goes on from b's old successor.
  EXPECT_TRUE(h.walk.HasNext());
  EXPECT_EQ(h.walk.NextObject(), nullptr);
  EXPECT_EQ(static_cast<Named*>(h.walk.NextObject())->name, "c");
}

TEST(RemovedLink, RemovingItAgainLeavesTheLiveListAlone) {
  HeldWalk h;
  h.held->Remove();
  // x goes where b was, between a and c.
  h.list.InsertAfterLink(new Named("x"), h.list.FirstLink());
  h.held->Remove();
  EXPECT_EQ(Names(h.list), (std::vector<std::string>{"a", "x", "c"}));
  EXPECT_EQ(h.list.Count(), 3);
  EXPECT_EQ(static_cast<Named*>(h.list.LastLink()->PrevLink()->Value())->name, "x");
  EXPECT_EQ(static_cast<Named*>(h.list.FirstLink()->NextLink()->Value())->name, "x");

  // Also once its predecessor has gone: nothing is read or written through it.
  ASSERT_EQ(h.list.Remove(h.a), 1);
  h.held->Remove();
  EXPECT_EQ(Names(h.list), (std::vector<std::string>{"x", "c"}));
  EXPECT_EQ(h.list.LastLink()->PrevLink()->Value(), h.list.First());
}

// The removed link's old neighbours have other neighbours now: splicing next to it would link
// the new element from a live one while the list never reaches it, or cut live links out.
TEST(RemovedLink, IsNoPlaceToInsertAndTheListStaysWhole) {
  HeldWalk h;
  h.held->Remove();  // b
  Ref<TObject> x = New<Named>("x");
  Ref<TObject> y = New<Named>("y");
  EXPECT_EQ(h.list.InsertBeforeLink(x.get(), h.held), nullptr);
  EXPECT_EQ(h.list.InsertAfterLink(y.get(), h.held), nullptr);
  EXPECT_EQ(x->RefCount(), 1) << "a refused value is not kept";
  EXPECT_EQ(y->RefCount(), 1);
  EXPECT_EQ(Names(h.list), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(h.list.Count(), 2);
  EXPECT_EQ(h.list.FirstLink()->NextLink(), h.list.LastLink());
  EXPECT_EQ(h.list.LastLink()->PrevLink(), h.list.FirstLink());
  EXPECT_FALSE(h.list.Contains(x.get()));
  // The walk that holds the removed link goes on as before: null once, then c.
  EXPECT_EQ(h.walk.NextObject(), nullptr);
  EXPECT_EQ(static_cast<Named*>(h.walk.NextObject())->name, "c");
  EXPECT_FALSE(h.walk.HasNext());
  // Live links still take inserts on either side.
  ASSERT_NE(h.list.InsertAfterLink(x.get(), h.list.FirstLink()), nullptr);
  ASSERT_NE(h.list.InsertBeforeLink(y.get(), h.list.LastLink()), nullptr);
  EXPECT_EQ(Names(h.list), (std::vector<std::string>{"a", "x", "y", "c"}));
}

}  // namespace

// Elements that free themselves during a walk: the enumerator keeps the element it returned alive
// until its next step, whichever walk rule the removal falls under, in both forms of walk.

namespace {

// An element the list alone owns; `alive` counts the ones not yet destroyed.
struct Owned : TObject {
  Owned(std::string n, int* alive) : name(std::move(n)), alive(alive) { ++*alive; }
  ~Owned() override {
    --*alive;
    name = "destroyed";
  }
  std::string name;
  int* alive;
};

struct Rule {
  const char* what;
  std::vector<std::string> elements;
  // What the element `self` does while it is processed, besides removing itself.
  std::function<void(TList&, Owned& self, int* alive)> also;
  std::vector<std::string> walk;  // names seen, "null" for removed links
  std::vector<std::string> left;  // the list afterwards
};

std::vector<std::string> OwnedNames(const TList& list) {
  std::vector<std::string> names;
  for (TListEnum e = list.ObjectEnumerator(); e.HasNext();) {
    TObject* o = e.NextObject();
    names.push_back(o ? static_cast<Owned*>(o)->name : "null");
  }
  return names;
}

TObject* Find(const TList& list, const std::string& name) {
  for (TObject* o : list) {
    if (o && static_cast<Owned*>(o)->name == name) return o;
  }
  return nullptr;
}

const std::vector<Rule>& Rules() {
  static const std::vector<Rule> rules = {
      {"each element removes only itself",
       {"a", "b", "c"},
       [](TList&, Owned&, int*) {},
       {"a", "b", "c"},
       {}},
      {"a removes itself and b, which the walk holds next",
       {"a", "b", "c"},
       [](TList& list, Owned& self, int*) {
         if (self.name == "a") list.Remove(Find(list, "b"));
       },
       {"a", "null", "c"},
       {}},
      {"a removes itself, b and c: a chain of removed links",
       {"a", "b", "c", "d"},
       [](TList& list, Owned& self, int*) {
         if (self.name == "a") {
           list.Remove(Find(list, "b"));
           list.Remove(Find(list, "c"));
         }
       },
       {"a", "null", "null", "d"},
       {}},
      {"a removes itself and appends e, which the walk reaches",
       {"a", "b"},
       [](TList& list, Owned& self, int* alive) {
         if (self.name == "a") list.AddLast(new Owned("e", alive));
         if (self.name == "e") list.AddLast(new Owned("f", alive));
       },
       {"a", "b", "e"},
       {"f"}},
      {"the last element removes itself and appends: the walk holds the sentinel already",
       {"a"},
       [](TList& list, Owned&, int* alive) { list.AddLast(new Owned("e", alive)); },
       {"a"},
       {"e"}},
      {"a removes itself and b, whose old successor is the sentinel, then appends",
       {"a", "b"},
       [](TList& list, Owned& self, int* alive) {
         if (self.name == "a") {
           list.Remove(Find(list, "b"));
           list.AddLast(new Owned("e", alive));
         }
       },
       {"a", "null"},
       {"e"}},
      {"a clears the list",
       {"a", "b", "c"},
       [](TList& list, Owned& self, int*) {
         if (self.name == "a") list.Clear();
       },
       {"a", "null", "null"},
       {}},
  };
  return rules;
}

// Runs one rule with `walk` doing the walking; `step` is called with each value.
void Check(const Rule& rule,
           const std::function<void(TList&, const std::function<void(TObject*)>&)>& walk) {
  SCOPED_TRACE(rule.what);
  int alive = 0;
  {
    TList list;
    for (const std::string& n : rule.elements) list.AddLast(new Owned(n, &alive));
    std::vector<std::string> seen;
    TObject* previous = nullptr;
    int previousAliveAfter = 0;
    walk(list, [&](TObject* o) {
      if (previous) {
        // Moving on lets the previous element go: it was the last reference.
        EXPECT_EQ(alive, previousAliveAfter - 1) << "the element before was not let go";
      }
      previous = nullptr;
      if (!o) {
        seen.push_back("null");
        return;
      }
      auto* self = static_cast<Owned*>(o);
      seen.push_back(self->name);
      const int before = alive;
      ASSERT_EQ(list.Remove(self), 1);
      EXPECT_EQ(alive, before) << self->name << " died while it was being processed";
      EXPECT_NE(self->name, "destroyed");
      rule.also(list, *self, &alive);
      EXPECT_NE(self->name, "destroyed");
      previous = o;
      previousAliveAfter = alive;
    });
    EXPECT_EQ(seen, rule.walk);
    EXPECT_EQ(OwnedNames(list), rule.left);
    EXPECT_EQ(alive, static_cast<int>(rule.left.size())) << "the walk let go of what it took";
  }
  EXPECT_EQ(alive, 0);
}

TEST(ListSelfRemovalWalk, EnumeratorKeepsTheReturnedElementAliveUnderEveryWalkRule) {
  for (const Rule& rule : Rules()) {
    Check(rule, [](TList& list, const std::function<void(TObject*)>& step) {
      for (TListEnum e = list.ObjectEnumerator(); e.HasNext();) step(e.NextObject());
    });
  }
}

TEST(ListSelfRemovalWalk, RangeForKeepsTheReturnedElementAliveUnderEveryWalkRule) {
  for (const Rule& rule : Rules()) {
    Check(rule, [](TList& list, const std::function<void(TObject*)>& step) {
      for (TObject* o : list) step(o);
    });
  }
}

}  // namespace
