// practice_game.h - whether the game under way is a practice game: one taken over from a recorded
// game at some moment (watch/take_over.h), which starts from that game's state and score. A
// practice game never raises the best score, no score table or best game takes it, its caption
// says "Practice", the frame log calls its frames "practice", and ESC (the quit key or button as
// bound) ends it to the title as F1 does. A replay of a recorded practice game sets it from the
// file, so that the game plays the same again. Main thread only.
#pragma once

// Whether the game played now (or the next one, from the title it left) is a practice game.
bool PracticeGame();
// Marks the games from now on as practice games or not.
void SetPracticeGame(bool practice);
