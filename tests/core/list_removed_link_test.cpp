// A removed link that an enumerator still holds: its neighbours stay valid, removing it a
// second time changes nothing, and it is no place to insert at.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/list.h"

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
