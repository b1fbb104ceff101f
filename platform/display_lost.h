// display_lost.h - an orderly end when the display's connection breaks under the program.
//
// Xlib's own answer to a broken X connection is exit(1), which runs the exit-time functions, and
// those (closing the graphics, SDL's own shutdown) wait on the dead connection, for ever or for
// half a minute. SDL sets no handler of its own for it. Once video runs on X11, the platform puts
// its own in Xlib's place: it runs the save function registered here (once, on the thread that
// registered it, however many threads meet the broken connection), says so in one line on
// stderr, and ends the process with status 1 at once, without the exit-time functions and without
// another word to the display. Another thread that meets it first waits up to a second for the
// saving thread to meet it too, then ends the process without saving and says so.
#pragma once

// The function to run before the end, on the calling thread; null for none. It must touch neither
// the display nor OpenGL nor SDL's video, and answers whether everything was saved (the end says
// so). The thread that runs the video.
void plat_video_on_lost(bool (*save)());

// What Xlib's handler does: the broken connection met on the calling thread (tests call it to
// stand in for one). Never returns. Any thread.
[[noreturn]] void plat_display_connection_broken();

// For video.cpp: takes over Xlib's handler of a broken connection when video runs on X11.
void plat_watch_display_connection();
