// list.cpp - list operations. The list owns a counted reference to each value through its link;
// removing the link drops it.
#include "core/list.h"

TLink::~TLink() {
  if (_value && _value != this) _value->Release();
}

TLink* TLink::NextLink() const {
  TLink* next = _succ.get();
  return next && next->_value != next ? next : nullptr;
}

TLink* TLink::PrevLink() const { return _pred && _pred->_value != _pred ? _pred : nullptr; }

void TLink::Remove() {
  // Its neighbours may have changed since the first time: relinking them would cut live links
  // out of the list.
  if (removed_) return;
  removed_ = true;
  Ref<TLink> keep(this);  // the predecessor may hold the last reference to this link
  removedPred_ = Ref<TLink>(_pred);
  if (_value && _value != this) {
    TObject* value = _value;
    _value = nullptr;
    value->Release();
  } else {
    _value = nullptr;
  }
  _succ->_pred = _pred;
  _pred->_succ = _succ;
}

TObject* TListEnum::NextObject() {
  TObject* value = _link->_value;
  current_ = value;
  _link = _link->_succ;
  return value;
}

TList::TList() : _head(New<TLink>()) {
  _head->_value = _head.get();
  _head->_succ = _head;
  _head->_pred = _head.get();
}

TList::~TList() {
  Clear();
  _head->_succ.reset();  // the empty sentinel refers to itself; break that before letting go
}

void TList::Clear() {
  while (_head->_succ != _head) _head->_succ->Remove();
}

bool TList::IsEmpty() const { return _head->_succ == _head; }

TLink* TList::AddFirst(TObject* value) { return InsertAfterLink(value, _head.get()); }

TLink* TList::AddLast(TObject* value) { return InsertBeforeLink(value, _head.get()); }

TLink* TList::FirstLink() const { return IsEmpty() ? nullptr : _head->_succ.get(); }

TLink* TList::LastLink() const { return IsEmpty() ? nullptr : _head->_pred; }

TLink* TList::InsertBeforeLink(TObject* value, TLink* link) {
  // A removed link keeps its old neighbours, which may be linked elsewhere by now.
  if (!link || link->Removed()) return nullptr;
  Ref<TLink> n = New<TLink>();
  n->_value = value;
  if (value) value->Retain();
  n->_succ = link;
  n->_pred = link->_pred;
  link->_pred->_succ = n;
  link->_pred = n.get();
  return n.get();
}

TLink* TList::InsertAfterLink(TObject* value, TLink* link) {
  if (!link || link->Removed()) return nullptr;
  Ref<TLink> n = New<TLink>();
  n->_value = value;
  if (value) value->Retain();
  n->_pred = link;
  n->_succ = link->_succ;
  link->_succ->_pred = n.get();
  link->_succ = n;
  return n.get();
}

TLink* TList::FindLink(const TObject* value) const {
  for (TLink* l = _head->_succ.get(); l != _head.get(); l = l->_succ.get()) {
    if (l->_value == value || (l->_value && value && l->_value->Compare(value) == 0)) return l;
  }
  return nullptr;
}

int TList::Count() const {
  int n = 0;
  for (TLink* l = _head->_succ.get(); l != _head.get(); l = l->_succ.get()) ++n;
  return n;
}

int TList::Remove(const TObject* value) {
  TLink* link = FindLink(value);
  if (!link) return 0;
  link->Remove();
  return 1;
}
