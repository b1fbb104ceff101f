// shared_context.h - a scope in which the hidden shared OpenGL context is current.
//
// Textures live in the shared context (platform/gl_window.h), so the OpenGL 2D driver makes and
// deletes them inside a SharedContextScope. The scope's end makes current again whatever context
// was current at its start (a window's, none, or the shared one itself when scopes nest), also
// when an exception leaves the scope. Needs the platform's GL windows.
#pragma once

#include "platform/gl_window.h"

class SharedContextScope {
 public:
  // Makes the shared context current, remembering the current one. Main thread only.
  SharedContextScope();
  // Puts the remembered context back; the shared one must still be current (scopes nest).
  ~SharedContextScope();
  SharedContextScope(const SharedContextScope&) = delete;
  SharedContextScope& operator=(const SharedContextScope&) = delete;

  // Whether the shared context could be made current.
  bool Entered() const { return entered_; }

 private:
  PlatGLCurrent previous_;
  bool entered_ = false;
};
