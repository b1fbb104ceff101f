// translator.h - window messages into events.
//
// A window procedure hands every message of its window to TranslateSystemMessage before it
// handles the message itself; the translator emits at most one event for it (two when the
// pointer crosses onto or off a window: the enter or leave comes first). The event carries the
// modifier keys held at the time and, for mouse messages, the pointer position in the window's
// client coordinates.
//
// Key codes are Windows virtual-key codes, except that the two sides of Shift, Control and Alt
// are told apart by their scan codes: 160/161 left/right Shift, 162/163 Control, 164/165 Alt.
// No event ever carries 16, 17 or 18.
//
// The translator also follows the pointer: when it moves off a window's client area (or the
// window says it has left), MouseLeave goes out with that window's source; when it comes onto
// one, MouseEnter. Main thread only.
#pragma once

#include <cstdint>

#include "core/object.h"

struct PlatMessage;

void TranslateSystemMessage(const PlatMessage& message, TObject* source);

// A window procedure that only translates, with no source; for windows that need nothing else.
void TranslatingWindowProcedure(const PlatMessage& message, void* user);

// The window the pointer is over, 0 when it is over none of the program's windows.
std::uint32_t PointerWindow();

// The key code an event gets for a key message (see above); 0 for keys that make no event.
int EventKeyCode(int vkey, int scancode, bool extended);
