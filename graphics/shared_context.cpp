// shared_context.cpp - entering the shared context and putting the previous one back.
#include "graphics/shared_context.h"

#include "core/main_thread.h"

SharedContextScope::SharedContextScope() : previous_(plat_gl_current()) {
  ZX_CHECK_MAIN_THREAD();
  entered_ = plat_gl_make_shared_current();
}

SharedContextScope::~SharedContextScope() {
  if (entered_) {
    ZX_CHECK(plat_gl_shared_is_current(),
             "a shared-context scope ends with the shared context current");
  }
  plat_gl_restore_current(previous_);
}
