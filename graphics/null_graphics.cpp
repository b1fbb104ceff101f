// null_graphics.cpp - null contexts over virtual windows.
#include "graphics/null_graphics.h"

#include "platform/virtual_window.h"
#include "platform/window.h"
#include "system/translator.h"

namespace {

TNullGraphics* current_context = nullptr;

Ref<TNullGraphics> MakeContext(int width, int height, int depth, int hertz, int flags) {
  Ref<TNullGraphics> g = New<TNullGraphics>();
  g->width = width;
  g->height = height;
  g->depth = depth;
  g->hertz = hertz;
  g->flags = flags;
  g->window_id = plat_virtual_window_create(width, height);
  // Its messages become events like any window's; a close request only becomes an event.
  plat_window_set_procedure(g->window_id, TranslatingWindowProcedure, nullptr);
  return g;
}

}  // namespace

TNullGraphicsDriver* NullGraphicsDriver() {
  static TNullGraphicsDriver* d = [] {
    auto* driver = new TNullGraphicsDriver;
    driver->Retain();  // lives for the whole program
    return driver;
  }();
  return d;
}

std::uint32_t CurrentNullWindow() { return current_context ? current_context->window_id : 0; }

TNullGraphics::~TNullGraphics() { Close(); }

TGraphicsDriver* TNullGraphics::Driver() { return NullGraphicsDriver(); }

void TNullGraphics::GetSettings(int& w, int& h, int& d, int& hz, int& f) {
  w = width;
  h = height;
  d = depth;
  hz = hertz;
  f = flags;
}

void TNullGraphics::Close() {
  if (current_context == this) current_context = nullptr;
  if (window_id != 0) plat_window_destroy(window_id);
  window_id = 0;
  width = height = depth = hertz = flags = 0;
}

std::vector<TGraphicsMode> TNullGraphicsDriver::GraphicsModes() {
  return {{640, 480, 16, 60}, {640, 480, 32, 60}};
}

Ref<TGraphics> TNullGraphicsDriver::AttachGraphics(unsigned widget, int flags) {
  int width = 640, height = 480;
  if (!plat_window_size(widget, &width, &height) || width <= 0 || height <= 0) {
    width = 640;
    height = 480;
  }
  return MakeContext(width, height, 0, 0, flags);
}

Ref<TGraphics> TNullGraphicsDriver::CreateGraphics(int width, int height, int depth, int hertz,
                                                   int flags) {
  return MakeContext(width, height, depth, hertz, flags);
}

void TNullGraphicsDriver::SetGraphics(TGraphics* g) {
  current_context = dynamic_cast<TNullGraphics*>(g);
}

void TNullGraphicsDriver::Flip(int) {}
