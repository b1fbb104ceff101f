// graphics_choice.cpp - selecting the OpenGL or the null 2D driver for the game.
#include "game/config/graphics_choice.h"

#include "core/main_thread.h"
#include "graphics/gl_draw2d.h"
#include "graphics/null_draw2d.h"

namespace {

// Apart from the game's state: the drawing back end, chosen once before the graphics open.
GraphicsChoice choice = GraphicsChoice::kOpenGL;

}  // namespace

void ChooseGameGraphics(GraphicsChoice c) { choice = c; }
GraphicsChoice ChosenGameGraphics() { return choice; }

void SelectGameGraphics() {
  ZX_CHECK_MAIN_THREAD();
  // Each driver selects itself on its first use only, so the choice is made explicit here: a
  // process may run the game on one driver and then on the other.
  TRar2ADriver* driver = choice == GraphicsChoice::kNull
                             ? static_cast<TRar2ADriver*>(NullRar2ADriver())
                             : static_cast<TRar2ADriver*>(GLRar2ADriver());
  if (CurrentGraphicsDriver() != driver) SelectGraphicsDriver(driver, GFX_BACKBUFFER);
}
