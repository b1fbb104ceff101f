// hook.h - numbered chains of callbacks, run in order of priority.
//
// A hook id names a chain; NewHookId hands ids out in order. AttachHook puts a function on a
// chain, CallHooks runs the chain: each function gets the data the one before it returned, so a
// hook can pass the data on, replace it or swallow it (return null). Higher priorities run first;
// equal priorities run in the order they were attached. The event system's chain is id 0
// (eventEmitHook, event.h), so 255 more ids are there to be had.
//
// Main thread only.
#pragma once

#include "core/object.h"

constexpr int kMaxHookIds = 256;

using THookFunc = TObject* (*)(int id, TObject* data, TObject* context);

class THook : public TObject {
 public:
  Ref<THook> succ;
  int priority = 0;
  THookFunc func;
  Ref<TObject> context;

  THook();
};

// The next free hook id; raises "Too many hook ids" when all 256 are taken.
int NewHookId();

void AttachHook(int id, THookFunc func, TObject* context = nullptr, int priority = 0);

// Removes the first hook of the chain with this function and context; the others stay.
void DetachHook(int id, THookFunc func, TObject* context = nullptr);

// Runs the chain on `data` and gives back what the last hook returned. Hooks may attach and
// detach hooks of the same chain while it runs: a hook attached behind the running one runs in
// this pass, a detached one that has not run yet does not.
Ref<TObject> CallHooks(int id, TObject* data);
