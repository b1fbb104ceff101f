// graphics_choice.h - which 2D driver the game draws with: OpenGL (the player's) or null.
//
// The null driver draws nothing and flips at once (graphics/null_draw2d.h): headless runs,
// replays and soaks use it. The choice is made before start-up; gamestartup selects the driver.
// Main thread only.
#pragma once

enum class GraphicsChoice { kOpenGL, kNull };

// Takes effect at the next gamestartup.
void ChooseGameGraphics(GraphicsChoice choice);
GraphicsChoice ChosenGameGraphics();
// Makes the chosen 2D driver the current graphics driver (default flags GFX_BACKBUFFER).
void SelectGameGraphics();
