// list.h - TList, the doubly linked circular list of object references, with TLink and TListEnum.
//
// The game keeps every population of entities in a TList and walks it once per frame while the
// entities add and remove elements, so the behaviour of a walk under change is part of the design:
//  - the enumerator moves on before the caller sees a value, so the caller may remove the element
//    it was just given;
//  - a removed link keeps its old successor, so a walk holding it yields null once and carries on
//    from there (callers skip nulls);
//  - an element appended during a walk is reached, unless the walk already holds the sentinel.
//
//   for (TListEnum e = list.ObjectEnumerator(); e.HasNext();) {
//     auto* bee = dynamic_cast<starbee_tag*>(e.NextObject());
//     if (bee) bee->update();
//   }
//
// Links are objects: a link stays alive while an enumerator holds it, and holds its successor in
// turn, so a chain of removed links stays walkable. Values are compared with their Compare
// operation, which for plain objects means identity.
#pragma once

#include "core/object.h"

class TLink : public TObject {
 public:
  ~TLink() override;

  // The value, or null once the link was removed.
  TObject* Value() const { return _value == this ? nullptr : _value; }
  // The neighbours, or null where the neighbour is the list's sentinel.
  TLink* NextLink() const;
  TLink* PrevLink() const;
  // Unlinks this link and drops its value; it keeps its own successor and predecessor. Removing
  // a removed link does nothing.
  void Remove();
  // Whether Remove has run: a removed link only leads a walk on, it is in no list.
  bool Removed() const { return removed_; }

  // The sentinel's value is the sentinel itself: that is how the end of a list is recognised.
  TObject* _value = nullptr;
  Ref<TLink> _succ;
  TLink* _pred = nullptr;  // not counted while linked: the forward chain keeps links alive

 private:
  // A removed link counts its old predecessor, which no chain may keep alive any more, so that
  // PrevLink on a link an enumerator still holds never reads a freed one.
  Ref<TLink> removedPred_;
  bool removed_ = false;
};

class TListEnum {
 public:
  explicit TListEnum(TLink* link) : _link(link) {}
  bool HasNext() const { return _link->_value != _link.get(); }
  // The value of the held link (null for a removed one); moves on to its successor. The value
  // is kept alive until the next call, so an element may remove itself while it is processed.
  TObject* NextObject();

  Ref<TLink> _link;

 private:
  Ref<TObject> current_;
};

class TList : public TObject {
 public:
  TList();
  ~TList() override;
  TList(const TList&) = delete;
  TList& operator=(const TList&) = delete;

  void Clear();
  bool IsEmpty() const;
  bool Contains(const TObject* value) const { return FindLink(value) != nullptr; }
  TLink* AddFirst(TObject* value);
  TLink* AddLast(TObject* value);
  // For an empty list these give the sentinel's own value, which is not an element.
  TObject* First() const { return _head->_succ->_value; }
  TObject* Last() const { return _head->_pred->_value; }
  TLink* FirstLink() const;
  TLink* LastLink() const;
  // A new element next to `link`, a live link of this list. A null or removed link is no place
  // in any list: null, and the value is not taken.
  TLink* InsertBeforeLink(TObject* value, TLink* link);
  TLink* InsertAfterLink(TObject* value, TLink* link);
  TLink* FindLink(const TObject* value) const;
  int Count() const;
  // Removes the first element equal to `value`: 1 if one was removed, else 0.
  int Remove(const TObject* value);
  TListEnum ObjectEnumerator() const { return TListEnum(_head->_succ.get()); }

  // Range-for over the list with the enumerator's rules; removed elements show up as null.
  class Iterator {
   public:
    explicit Iterator(TLink* link) : e_(link) { Fetch(); }
    TObject* operator*() const { return current_; }
    Iterator& operator++() {
      Fetch();
      return *this;
    }
    bool operator!=(const Iterator&) const { return !done_; }

   private:
    void Fetch() {
      done_ = !e_.HasNext();
      current_ = done_ ? nullptr : e_.NextObject();
    }
    TListEnum e_;
    TObject* current_ = nullptr;
    bool done_ = false;
  };
  Iterator begin() const { return Iterator(_head->_succ.get()); }
  Iterator end() const { return Iterator(_head.get()); }

  Ref<TLink> _head;
};
