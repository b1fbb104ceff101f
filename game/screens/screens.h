// screens.h - what the game draws besides its moving objects: the title screen, the HUD, the side
// bars, the bonus-round panels and the pause screen's texts.
#pragma once

#include <string>

#include "game/config/key_bindings.h"
#include "graphics/image.h"

// The title's bottom line: "Version 1.0 - a Zumbrix production - Press ESC/B4 to Quit" for 1.0.x.
extern const char kCreditLine[];
// The credit line as the title shows it: the quit's key and button in force named ("ESC" for
// the key, the pad's own word for its button or "B4" without a mapped pad), kCreditLine itself
// while the defaults are in force and no mapped pad names the button otherwise; without the
// "Press ... to Quit" when quit has neither. Main thread.
std::string CreditLine();
// A pause volume line ("F2/B1=Adjust Music Volume:") with the pad's word for the button
// `action` has in force in place of "B1", or none when it has no button. Main thread.
std::string PauseVolumeLine(const std::string& line, GameAction action);
// The line the title shows on a first start, and where: between the edition line and the prompt,
// above the highest the ship goes (y 280, its picture reaching 20 pixels above that).
extern const char kFirstStartHint[];
inline constexpr float kFirstStartHintY = 234;

// The title over the attract play: the logo, the prompt, the edition, the options line (and the
// first start's hint), the best game's line (best_game.h) and the credit line.
void drawtitle();
// The title as drawtitle leaves it, the prompt's fade not stepped. Main thread.
void DrawTitlePicture();
// Shows `text` in place of the best game's line of the title for five seconds (what became of a
// video). Main thread.
void ShowTitleNotice(const std::string& text);
// The title's lines a click chooses: the options line, and the best game's while one is offered.
enum class TitleLine { kNone, kOptions, kBestGame, kHallOfFame };
// The line whose text (with a few pixels of slack) holds the picture point (x, y). Main thread.
TitleLine TitleLineAt(int x, int y);
// Follows the pointer at (x, y) through a frame of the title: a line counts as pointed at once the
// pointer was moved onto it, never where it rested when the title appeared. Main thread.
void FollowTitlePointer(int x, int y);
// The line pointed at, drawn between markers; the one a click chooses. Main thread.
TitleLine PointedTitleLine();
// The title is gone (a game, a screen opened from it): its next frame follows the pointer afresh.
void LeaveTitle();
// The first start's hint, centred on kFirstStartHintY in plain white on a black plate. Main
// thread.
void DrawFirstStartHint();
// Score, best score (updated here) and wave, as digit images.
void drawhud();
// Black bars over x 0..79 and 560..639; leaves the blend at solid.
void drawsidebars();
// The 125 / 250 / 500 panels and one small bee per escaped bonus bee.
void drawbonuspanels();
// The frozen frame and the pause texts with the volume labels and the options line.
void drawpause(const Ref<TImage>& frozen);
