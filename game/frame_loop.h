// frame_loop.h - the game's frame loop: one pass per displayed frame, paced at 60 Hz.
#pragma once

// Runs one pass of the loop. Returns false when the program should end (the quit action's key or
// pad button as bound, by default ESC and Back, or a close request).
bool gameframe();
// After the loop: stops the music, waits 500 ms, saves the best score.
void gameshutdown();
