// screenshot.h - F12 saves the picture the player sees as a PNG file in the pictures folder.
//
// The picture is the game's own 640x480 one in every display mode (never the scaled window), or
// in a stereo mode the stereo picture (graphics/stereo_layout.h), taken when the frame is
// complete, just before it is shown. The folder is the player's pictures folder
// (core/user_folders.h), made when missing; the file is named by date and time. Needs the 2D
// layer's GrabPixmap, the PNG saver and polled input. A replay saves none (game_files.h). Main
// thread only.
#pragma once

#include <string>

// Where screenshots go; empty when no pictures or home folder can be found.
std::string ScreenshotFolder();
// Saves the picture, says where on stdout and returns the path; on failure
// says why on stderr and returns "".
std::string SaveScreenshot();
// From now on, F12 pressed at any time (title, play, pause) saves one at the next flip, and the
// picture says for a few seconds where it went. Once is enough; later calls change nothing.
void WatchScreenshotKey();
