// main.cpp - the framework's test card, until the game takes its place: opens the game's display
// and draws images in every blend mode, rotated and scaled, text and primitives, until ESC or a
// close request. F12 saves what is on screen as testcard.png beside the program.
#include <cmath>
#include <cstdio>

#include "core/app.h"
#include "graphics/draw2d.h"
#include "graphics/font.h"
#include "graphics/gl_draw2d.h"
#include "graphics/image_draw.h"
#include "graphics/png_saver.h"
#include "system/polled_input.h"

namespace {

// A 32 x 32 image: a white disc with a shaded rim on black, the black masked away.
Ref<TImage> MakeBall() {
  Ref<TPixmap> p = TPixmap::Create(32, 32, FORMAT_RGB888, 4);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      float dx = x - 15.5f, dy = y - 15.5f, d = std::sqrt(dx * dx + dy * dy);
      unsigned v = d < 15 ? static_cast<unsigned>(255 - d * 8) : 0;
      p->WritePixel(x, y, 0xff000000u | v << 16 | v << 8 | v);
    }
  }
  Ref<TImage> ball = ImportImage(p, IMAGE_MASKED);
  CenterImageHandle(ball);
  return ball;
}

int TestCardMain() {
  GLRar2ADriver();
  SetAppTitle("Zumbrix - 3D Edition");
  if (!OpenGraphics(640, 480, 32, 60, GFX_BACKBUFFER)) {
    std::fprintf(stderr, "Cannot open the 640x480 display\n");
    return 1;
  }
  Ref<TImage> ball = MakeBall();
  const char* names[] = {"MASK", "SOLID", "ALPHA", "LIGHT", "SHADE"};
  int frame = 0;
  while (!KeyHits(27) && !AppCloseRequested()) {
    SetClsColor(10, 5, 15);
    Cls();
    SetRotationAndScale(0, 1, 1);
    SetAlpha(1);
    SetBlend(BLEND_SOLID);
    SetColor(40, 60, 120);
    DrawRect(0, 300, 640, 180);
    for (int mode = BLEND_MASK; mode <= BLEND_SHADE; ++mode) {
      float x = 64 + (mode - 1) * 128.0f;
      SetBlend(mode);
      SetAlpha(0.6f);
      SetColor(255, 160, 80);
      SetRotationAndScale(frame * 2.0f + mode * 30, 1.5f, 1.5f);
      PaintImage(ball, x, 360);
      SetRotationAndScale(0, 1, 1);
      SetBlend(BLEND_ALPHA);
      SetAlpha(1);
      SetColor(255, 255, 255);
      PaintText(names[mode - 1], x - MeasureTextWidth(names[mode - 1]) / 2.0f, 410);
    }
    SetBlend(BLEND_SOLID);
    SetColor(0, 255, 255);
    DrawLine(20, 40, 620, 40);
    SetColor(255, 0, 0);
    DrawOval(40, 80, 120, 80);
    SetColor(0, 255, 0);
    DrawPoly({260, 160, 320, 70, 380, 160});
    SetColor(255, 255, 0);
    for (int i = 0; i < 40; ++i) Plot(440 + i * 4, 120 + std::sin((frame + i * 8) * 0.05) * 30);
    SetBlend(BLEND_ALPHA);
    SetColor(255, 255, 255);
    SetRotationAndScale(0, 2, 2);
    PaintText("Zumbrix - 3D Edition", 320 - MeasureTextWidth("Zumbrix - 3D Edition"), 200);
    SetRotationAndScale(0, 1, 1);
    PaintText("test card: ESC ends, F12 saves testcard.png", 8, 8);
    if (KeyHits(123)) SavePixmapPNG(GrabPixmap(0, 0, 640, 480), "testcard.png");
    FlipScreen(-1);
    ++frame;
  }
  EndGraphicsMode();
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return RunApplication(argc, argv, TestCardMain); }
