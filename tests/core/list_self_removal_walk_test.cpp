// Elements that free themselves during a walk: the enumerator keeps the element it returned alive
// until its next step, whichever walk rule the removal falls under, in both forms of walk.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/list.h"

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

std::vector<std::string> Names(const TList& list) {
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
    EXPECT_EQ(Names(list), rule.left);
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
