// image_loading.h - the sprite sheet and the splash logo decoded and cut while the display opens.
//
// A thread of its own decodes the two embedded PNG files, paints the sheet in software and cuts
// every image's frames from it (sheet_cut.h): pure work on pixmaps, which takes tens of
// milliseconds that opening the display would otherwise only wait through. The images are made
// from the pixmaps on the game thread, with their textures. Main thread only.
#pragma once

#include "graphics/image.h"

// Starts decoding and cutting. Once per start-up, before the display opens.
void StartLoadingImages();
// Waits for the thread and makes the sheet's images (the globals of globals.h, with the
// program's automatic image flags and handles) and their textures. Without StartLoadingImages
// first, does the work here.
void FinishLoadingImages();
// The splash screen's logo, handle at its centre, handed over once (the splash is shown once);
// null when it could not be loaded.
Ref<TImage> TakeSplashLogo();
