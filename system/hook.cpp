// hook.cpp - the 256 chain heads and the id counter.
#include "system/hook.h"

#include "core/error.h"
#include "core/main_thread.h"

namespace {

TObject* PassOn(int, TObject* data, TObject*) { return data; }

Ref<THook> chains[kMaxHookIds];
int next_id = 1;  // id 0 belongs to the event system from the start

bool ValidId(int id) { return id >= 0 && id < kMaxHookIds; }

}  // namespace

THook::THook() : func(PassOn) {}

int NewHookId() {
  if (next_id >= kMaxHookIds) RuntimeError("Too many hook ids");
  return next_id++;
}

void AttachHook(int id, THookFunc func, TObject* context, int priority) {
  ZX_CHECK_MAIN_THREAD();
  if (!ValidId(id) || !func) return;
  Ref<THook> hook = New<THook>();
  hook->priority = priority;
  hook->func = func;
  hook->context = context;
  Ref<THook>* place = &chains[id];
  while (*place && (*place)->priority >= priority) place = &(*place)->succ;
  hook->succ = *place;
  *place = hook;
}

void DetachHook(int id, THookFunc func, TObject* context) {
  ZX_CHECK_MAIN_THREAD();
  if (!ValidId(id)) return;
  for (Ref<THook>* place = &chains[id]; *place; place = &(*place)->succ) {
    THook* hook = place->get();
    if (hook->func == func && hook->context.get() == context) {
      // The detached hook keeps its successor, so a pass standing on it carries on.
      hook->func = PassOn;
      *place = hook->succ;
      return;
    }
  }
}

Ref<TObject> CallHooks(int id, TObject* data) {
  ZX_CHECK_MAIN_THREAD();
  Ref<TObject> current(data);
  if (!ValidId(id)) return current;
  for (Ref<THook> hook = chains[id]; hook; hook = hook->succ) {
    Ref<TObject> context = hook->context;
    current = hook->func(id, current.get(), context.get());
  }
  return current;
}
