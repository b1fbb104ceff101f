// frame_overlay.cpp - the overlay's flip hook and its drawing.
#include "graphics/frame_overlay.h"

#include <algorithm>
#include <cstdio>

#include "graphics/draw2d.h"
#include "graphics/font.h"
#include "graphics/frame_timing.h"
#include "graphics/graphics.h"
#include "graphics/transform.h"
#include "system/hook.h"

namespace {

// After the program's own flip hooks (the screenshot keeps the picture without the overlay),
// before those that close a frame's record.
constexpr int kOverlayHookPriority = -500;

constexpr int kFramesPerColumn = 3;
constexpr int kGraphLeft = 2, kGraphWidth = kFrameOverlayWidth - 4;
constexpr int kGraphBottom = kFrameOverlayHeight - 2, kGraphHeight = 72;
constexpr float kGraphMillis = 50.0f;  // an interval this long fills the graph's height

bool shown = false;

// Frame timing needs a watcher to keep its ring; the overlay reads the ring when it draws.
void KeepRing(const FrameTime&, void*) {}

// Everything the overlay changes, put back afterwards.
struct SavedDrawState {
  int r, g, b, blend;
  float alpha, line_width, rotation, sx, sy, ox, oy, hx, hy;
  int vx, vy, vw, vh;
  Ref<TImageFont> font;

  SavedDrawState() {
    QueryColor(r, g, b);
    blend = QueryBlend();
    alpha = QueryAlpha();
    line_width = QueryLineWidth();
    rotation = QueryRotation();
    QueryScale(sx, sy);
    QueryOrigin(ox, oy);
    QueryHandle(hx, hy);
    QueryViewport(vx, vy, vw, vh);
    font = CurrentImageFont();
  }
  ~SavedDrawState() {
    SetColor(r, g, b);
    SetBlend(blend);
    SetAlpha(alpha);
    SetLineWidth(line_width);
    SetRotationAndScale(rotation, sx, sy);
    SetOrigin(ox, oy);
    SetDrawHandle(hx, hy);
    SetViewport(vx, vy, vw, vh);
    UseImageFont(font);
  }
};

// Milliseconds between frame i's flip and the one before it; 0 when unknown.
float IntervalMillis(int i) {
  if (i + 1 >= RecentFrameCount()) return 0;
  const FrameTime later = RecentFrame(i), earlier = RecentFrame(i + 1);
  if (later.number != earlier.number + 1) return 0;  // frames not timed in between
  return static_cast<float>(later.flip_us - earlier.flip_us) / 1000.0f;
}

int FramesInLastSecond() {
  const FrameTime latest = RecentFrame(0);
  int count = 0;
  while (count < RecentFrameCount() && latest.flip_us - RecentFrame(count).flip_us < 1000000) {
    ++count;
  }
  return count;
}

float GraphY(float millis) {
  return kFrameOverlayY + kGraphBottom -
         std::min(millis, kGraphMillis) * (kGraphHeight / kGraphMillis);
}

void DrawOverlay() {
  SavedDrawState saved;
  SetViewport(0, 0, ContextWidth(), ContextHeight());
  SetRotationAndScale(0, 1, 1);
  SetOrigin(0, 0);
  SetDrawHandle(0, 0);
  SetLineWidth(1);
  UseImageFont(nullptr);
  SetBlend(BLEND_ALPHA);
  SetAlpha(0.75f);
  SetColor(0, 0, 0);
  DrawRect(kFrameOverlayX, kFrameOverlayY, kFrameOverlayWidth, kFrameOverlayHeight);
  SetBlend(BLEND_SOLID);
  SetAlpha(1);

  float longest = 0;
  const int columns = kGraphWidth;
  for (int c = 0; c < columns; ++c) {
    float tallest = 0;
    for (int k = 0; k < kFramesPerColumn; ++k) {
      tallest = std::max(tallest, IntervalMillis(c * kFramesPerColumn + k));
    }
    longest = std::max(longest, tallest);
    if (tallest <= 0) continue;
    // Newest on the right; green while on time, yellow up to two periods, red beyond.
    if (tallest < 17.7f) {
      SetColor(0, 220, 0);
    } else if (tallest < 34.3f) {
      SetColor(255, 220, 0);
    } else {
      SetColor(255, 40, 40);
    }
    const float x = static_cast<float>(kFrameOverlayX + kGraphLeft + columns - 1 - c);
    DrawLine(x, GraphY(0), x, GraphY(tallest), false);
  }
  SetColor(128, 128, 128);
  for (float mark : {1000.0f / 60.0f, 2000.0f / 60.0f}) {
    const float y = GraphY(mark);
    DrawLine(kFrameOverlayX + kGraphLeft, y, kFrameOverlayX + kGraphLeft + kGraphWidth, y, false);
  }

  char line[16];
  SetColor(255, 255, 255);
  std::snprintf(line, sizeof line, "%d", FramesInLastSecond());
  PaintText(line, kFrameOverlayX + 4, kFrameOverlayY + 4);
  PaintText("fps", kFrameOverlayX + 4 + 8 * 4, kFrameOverlayY + 4);
  std::snprintf(line, sizeof line, "%.1fms", static_cast<double>(longest));
  PaintText(line, kFrameOverlayX + 4, kFrameOverlayY + 22);
}

TObject* DrawAtFlip(int, TObject* data, TObject*) {
  if (shown && CurrentGraphics()) DrawOverlay();
  return data;
}

}  // namespace

void ShowFrameOverlay(bool show) {
  if (show == shown) return;
  shown = show;
  if (show) {
    WatchFrames(KeepRing, nullptr);
    AttachHook(FlipHookId(), DrawAtFlip, nullptr, kOverlayHookPriority);
  } else {
    DetachHook(FlipHookId(), DrawAtFlip, nullptr);
    StopWatchingFrames(KeepRing, nullptr);
  }
}

bool FrameOverlayShown() { return shown; }
