// startup.h - everything the game does before its first frame.
#pragma once

#include <cstdint>

// A fresh random seed from the system's entropy, so that no two launches play alike (the game
// itself reads no clock for it). Any thread.
std::int32_t launchseed();
// Seeds the random generator with `seed` before anything draws from it (this launch's only
// seeding), opens the display, builds the globals and the stars, makes the images cut from the
// sprite sheet and the sounds decoded while the display opened, reads the best score, resets the
// ship, shows the splash and enters the title. The embedded files are registered by the build
// before main runs.
void gamestartup(std::int32_t seed = launchseed());
// Cuts the sixteen images from the sprite sheet drawn on the back buffer; loads the sounds.
void loadresources();
// The maker's logo grows, opens its separation and fades; a click ends it.
void splashscreen();
