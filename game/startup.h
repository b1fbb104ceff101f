// startup.h - everything the game does before its first frame.
#pragma once

// Registers the embedded files, opens the display, builds the globals, cuts the images from the
// sprite sheet, loads the sounds and the best score, and resets the ship.
void gamestartup();
// Cuts the sixteen images from the sprite sheet drawn on the back buffer; loads the sounds.
void loadresources();
// The maker's logo grows, opens its separation and fades; a click ends it.
void splashscreen();
// Waits while the program is in the background, with the music paused; a close request meanwhile
// sets quitflag.
void waitwhilesuspended();
// The random seed of this launch, read once the splash screen is over.
int launchseed();
