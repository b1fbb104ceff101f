// menu.h - what the options and controls screens share: their rows of text over a dimmed copy of
// the screen they were opened from, and the input that moves through the rows.
//
// Every control works alone: the arrow keys, Enter and ESC; the pad's D-pad or left stick (held,
// it repeats), A to choose, B or Back to return; the mouse's pointer over a row selects it, a left
// click chooses it and the wheel moves. The texts are the pause screen's: the game's font, centred,
// in the anaglyph pair. Main thread only.
#pragma once

#include <string>

#include "graphics/image.h"

// Rows `step` pixels apart from `first_y` (the centre of row 0).
struct MenuRows {
  int count = 0;
  float first_y = 0;
  float step = 20;
  float Y(int row) const { return first_y + step * static_cast<float>(row); }
  // The row under picture line `y`, -1 when none.
  int At(int y) const;
};

enum class MenuAction { kNone, kUp, kDown, kLeft, kRight, kChoose, kBack };

// `row` after `action`: one up (kUp) or down (kDown), wrapping round `rows`; else as it is.
int MovedSelection(const MenuRows& rows, int row, MenuAction action);

struct MenuCommand {
  MenuAction action = MenuAction::kNone;
  int pointed = -1;  // a row the pointer moved onto, or was clicked on (then kChoose)
};

// One pad axis as steps (-1, 0 or 1): one when it is pushed past the gate, then the repeats while
// it is held.
struct HeldStick {
  // Takes the axis as it is now: a direction held moves nothing until it is let go.
  void Hold(float axis);
  // This pass's step for the axis at `axis` (-1.0 to 1.0).
  int Step(float axis);
  int dir = 0, held = 0;
};

class MenuInput {
 public:
  // Forgets presses made before the screen opened.
  void Begin();
  // This pass's command for rows laid out as `rows`.
  MenuCommand Read(const MenuRows& rows);
  // Reads this pass's command and moves `selected` by it (onto a row pointed at, one up or down);
  // answers the action left for the screen: the command's, or kNone once the selection moved.
  MenuAction Select(const MenuRows& rows, int& selected);

 private:
  HeldStick x_stick_, y_stick_;
  int wheel_ = 0, mouse_x_ = -1, mouse_y_ = -1;
};

// Solid `backdrop`, darkened where the playfield is, and hidden from line `footer_top` down,
// where the screen's footer goes.
void DrawMenuBackdrop(const Ref<TImage>& backdrop, float footer_top);
// `text` centred on the picture at line `y`, as the pause texts are; a selected row between
// markers.
void DrawMenuText(const std::string& text, float y, bool selected = false);
// `text` from `x`, centred on line `y`, as DrawMenuText draws.
void DrawMenuTextAt(const std::string& text, float x, float y);
// Ends a pass: colour back to white, the flip. False when the program is asked to close (quitflag
// is then set and the screen ends).
bool FinishMenuPass();
