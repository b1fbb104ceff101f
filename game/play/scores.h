// scores.h - the best score and its file.
//
// The file (data/hiscore.dat beside the game, or the player's own; game_files.h) holds the best
// score as one signed 32-bit little-endian integer and nothing else. A missing file reads as 0; a
// short one as far as it goes. A save never lowers what the file holds: it is read again just
// before, and the higher of it and this run's best is written, so two copies of the game running
// at once keep the better score.
#pragma once

#include <string>

// What was found where the best score is kept.
enum class ScoreFile { Missing, Read, Unreadable };

// Reads the best score at start-up (game thread): the player's file, and the game's own when the
// player's is elsewhere (the higher wins); remembers what it found for savehiscore.
void loadhiscore();
// Writes the higher of this run's best and the file's as it is now (nothing when the file already
// holds it). Never loses the stored score: the new file is written beside the old one and then
// takes its place. A folder that cannot be written gives one line on stderr. A file that exists
// but cannot be read is left as it is (with one line on stderr, unless start-up said so). True
// when the file holds the best afterwards (or this run writes none of the player's files).
bool savehiscore();
// The same for any path: the stored value (0 when there is none or it cannot be read, with one
// line on stderr for the latter), what was found in *found, and whether it was saved.
int readhiscore(const std::string& path, ScoreFile* found = nullptr);
bool writehiscore(const std::string& path, int value);
// Raises the best score to the running score, with the jingle the first time in a game; never in
// a practice game (practice_game.h).
void updatebestscore();
