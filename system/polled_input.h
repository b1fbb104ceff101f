// polled_input.h - keyboard and mouse as state a frame loop can ask about.
//
// A hook on the event chain keeps which keys and mouse buttons are held, counts presses (a
// held key counts once; auto-repeat counts nothing), queues typed characters (up to 256; more are
// lost until some are read), and remembers the pointer, the wheel, whether the application is
// in the background and whether closing was asked for. Every query pumps the message queue
// first, so a frame loop never needs to pump itself.
//
// Going to the background or coming back forgets every key and button, so presses made
// elsewhere never reach the program.
//
//   StartPolledInput(nullptr);
//   if (KeyHits(27)) quit = true;        // ESC pressed since the last frame asked
//   if (IsKeyDown(162)) fire();          // left Control held
//
// Key codes are 0-255 (see translator.h for the sided modifiers), buttons 1 left, 2 right,
// 3 middle. Codes outside those ranges read as 0. Main thread only.
#pragma once

#include <string>

#include "core/object.h"

// Starts listening to events from `source` (null: from everywhere); forgets all state.
void StartPolledInput(TObject* source);
void StopPolledInput();

int KeyHits(int key);
int IsKeyDown(int key);
int NextChar();  // 0 when none is queued
// The oldest file dropped on the window and not yet taken; empty when none. Dropped files are
// no game input: kept apart from the tables a recording keeps, and taken without pumping (the
// queries around it pump).
std::string TakeDroppedFile();
// Queues `path` as if it were dropped on the window: the program was opened with it.
void OpenFileLater(const std::string& path);
void ClearKeys();
// Forgets the presses of `key` no KeyHits has counted yet, for a window that used them in a
// shortcut of its own (Alt+Enter); a replay forgets them at the same point. Safe inside a pump.
void TakeBackKeyHits(int key);

int MousePosX();
int MousePosY();
int WheelTotal();
int MouseHits(int button);
int IsMouseDown(int button);
void ClearMouse();  // the position stays

int IsAppSuspended();
// Times the program went to the background since the last call (reading clears them), however
// short its stay there: a loss and a return taken by one pump read as not suspended, yet count.
// It does not pump: it counts what the queries before it saw, and adds no pump point.
int AppSuspendHits();
// 1 once per close request: reading it clears it. After an end signal (core/app.h) it answers 1
// every time, so that every loop that honours a close request ends.
int AppCloseRequested();

// A close request that no window will send (the display is gone): taken, and recorded, as the
// window's would be, so that a recording ends where the game did. Safe inside a pump.
void NoteCloseRequest();

// Forget the keys or mouse, then wait for a key hit (lowest code first), a character or a button
// hit. From inside a pump, where waiting could never end, they answer 0 at once.
int AwaitKey();
int AwaitChar();
int AwaitMouse();
