// name_entry.h - the screen on which the player types their name, or picks it letter by letter
// with a pad, opened from the options screen's Name row.
//
// Keys: letters and digits type at the cursor, Backspace deletes before it, the arrows move it
// (Left, Right) or step the letter under it (Up, Down), Enter keeps the name and ESC leaves it
// as it was. A pad alone: the D-pad or left stick steps the letter (up, down) and moves the
// cursor (left, right; right past the end adds a letter), A keeps the name, B leaves it, X
// deletes the letter under the cursor. A click keeps it. An empty name goes back to the
// account's (player_name.h). The frame log calls the screen "name". Main thread.
#pragma once

#include <cstddef>
#include <string>

#include "graphics/image.h"

// A name being edited and its cursor (at most at its end, never past kMaxNameLength - 1).
struct NameEdit {
  std::string name;
  std::size_t cursor = 0;

  void Type(char c);    // puts `c` at the cursor, when it is a name's character and there is room
  void Erase();         // deletes the character before the cursor (Backspace)
  void EraseHere();     // deletes the character under the cursor (the pad's X)
  void Move(int step);  // -1 left, +1 right; right past the last letter adds an "A"
  void Step(int step);  // the letter under the cursor to the next (+1) or previous (-1) one
};

// Edits the player's name over `backdrop` and saves it to the settings when kept; whether it was.
bool NameEntryScreen(const Ref<TImage>& backdrop);
