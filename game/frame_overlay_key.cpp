// frame_overlay_key.cpp - the F11 flip hook.
#include "game/frame_overlay_key.h"

#include "graphics/frame_overlay.h"
#include "graphics/graphics.h"
#include "system/hook.h"
#include "system/polled_input.h"

namespace {

constexpr int kF11 = 122;

TObject* SwitchOnF11(int, TObject* data, TObject*) {
  if (KeyHits(kF11)) ShowFrameOverlay(!FrameOverlayShown());
  return data;
}

}  // namespace

void WatchFrameOverlayKey() {
  static bool watching = false;
  if (watching) return;
  watching = true;
  AttachHook(FlipHookId(), SwitchOnF11);
}
