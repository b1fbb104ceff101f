// hall_of_fame_screen.h - the hall of fame screen (hall_of_fame.h), opened from the title with H
// or the pad's left shoulder, which the title names.
//
// It lists the player's ten best games: place, name, score, wave reached, date and length. Up and
// down (keys, D-pad, stick, wheel or pointer) choose a game; Enter, A or a click watches it (as a
// dropped replay is watched, best_game_watch.h; taken over, its practice game ends on the title);
// G or the pad's Y races a game against it as the ghost; V or the pad's right shoulder saves it
// as a video (title_video.h); Delete or the pad's X, pressed twice, removes it; ESC, B or Back
// return to the title. A game whose replay is damaged is named on stderr and left out. The frame
// log calls the screen "halloffame". Main thread, from the frame loop on the title.
#pragma once

// Whether H or the pad's left shoulder was pressed since the last read.
bool HallOfFameKeyHit();

enum class HallChoice { kBack, kRace };
// The screen until the player goes back, or asks for a race (the ghost is then set; the caller
// starts the game).
HallChoice HallOfFameScreen();
