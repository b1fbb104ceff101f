// frame_overlay_key.h - F11 shows and hides the frame-time overlay (graphics/frame_overlay.h).
//
// The key is read at every flip, so it works on every screen (splash, title, play, pause). Needs
// polled input and the graphics layer's flip hooks. Main thread only.
#pragma once

// From now on, F11 switches the overlay at the next flip. Once is enough; later calls change
// nothing.
void WatchFrameOverlayKey();
