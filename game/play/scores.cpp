// scores.cpp - the best score: read from its file (game_files.h) at start-up, raised by the running
// score while the HUD is drawn (with a jingle the first time in a game), written at exit. The
// file is one signed 32-bit little-endian integer. Needs player and snd_hscore (globals.h) and
// the stream layer for reading and the atomic-write helper for saving. A save takes the higher of
// this run's best and the file's as it is at that moment.
#include "game/play/scores.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string_view>

#include "core/atomic_file.h"
#include "core/cstream.h"
#include "core/file_kind.h"
#include "core/stream_factory.h"
#include "game/config/game_files.h"
#include "game/play/entities.h"
#include "game/play/globals.h"
#include "game/play/practice_game.h"
#include "game/play/sound_control.h"

namespace {

// Apart from the game's state: the score file as read, set by each start.
// What start-up found. A stored score that could not be read is kept: this run's best may be
// lower than it, and overwriting it would lose it.
ScoreFile stored = ScoreFile::Missing;

// The stored value and what was found, without a word; `why` says what was wrong when Unreadable.
int ReadScore(const std::string& path, ScoreFile& found, const char*& why) {
  found = ScoreFile::Missing;
  const PathKind kind = KindOfPath(PortablePath(path));
  if (kind == PathKind::kNothing) return 0;
  found = ScoreFile::Unreadable;
  // A folder, FIFO or device is no score: opening a FIFO would wait for a writer for ever.
  if (kind != PathKind::kFile) {
    why = "is not a file";
    return 0;
  }
  why = "cannot be read";
  Ref<TStream> stream = ReadFile(path);
  std::int32_t value = 0;
  bool read = false;
  if (stream) {
    // A short file fills the low bytes and the rest count as 0; bytes past the fourth are ignored.
    try {
      value = ReadInt(stream);
      read = true;
    } catch (const std::exception&) {
      read = false;
    }
    CloseStream(stream);
  }
  if (!read) return 0;
  found = ScoreFile::Read;
  return value;
}

}  // namespace

int readhiscore(const std::string& path, ScoreFile* found) {
  ScoreFile what;
  const char* why = "";
  const int value = ReadScore(path, what, why);
  if (found) *found = what;
  if (what == ScoreFile::Unreadable) {
    std::fprintf(stderr, "The best score \"%s\" %s; starting from 0 and leaving it as it is\n",
                 path.c_str(), why);
  }
  return value;
}

bool writehiscore(const std::string& path, int value) {
  // The old file stays whole until the new one is safely on disk and renamed over it, so a
  // program killed while saving leaves either the old score or the new one, never a torn file.
  const std::uint32_t bits = static_cast<std::uint32_t>(value);
  const char bytes[4] = {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
                         static_cast<char>((bits >> 16) & 0xFF),
                         static_cast<char>((bits >> 24) & 0xFF)};
  if (WriteFileAtomically(PortablePath(path), std::string_view(bytes, 4))) return true;
  std::fprintf(stderr, "Cannot save the best score to \"%s\"; the stored one is kept\n",
               path.c_str());
  return false;
}

void loadhiscore() {
  const GameFiles& files = CurrentGameFiles();
  playfield.player->hscore = readhiscore(files.scorefile, &stored);
  if (files.gamescorefile.empty()) return;
  // A game in a read-only folder (or installed) may hold a best of its own: shown, and carried
  // to the player's file by the next save.
  ScoreFile found;
  const int game = readhiscore(files.gamescorefile, &found);
  if (found != ScoreFile::Read) return;
  playfield.player->hscore =
      stored == ScoreFile::Read ? std::max(playfield.player->hscore, game) : game;
}

bool savehiscore() {
  if (!WritesPlayerFiles()) return true;  // a replay's best score is not the player's
  const GameFiles& files = CurrentGameFiles();
  // The file as it is now: another copy of the game may have raised it since start-up.
  ScoreFile now;
  const char* why = "";
  const int onfile = ReadScore(files.scorefile, now, why);
  if (now == ScoreFile::Unreadable) {
    if (stored != ScoreFile::Unreadable) {
      std::fprintf(stderr, "Cannot save the best score: \"%s\" %s; left as it is\n",
                   files.scorefile.c_str(), why);
    }
    return false;
  }
  if (now == ScoreFile::Read) {
    playfield.player->hscore = std::max(playfield.player->hscore, onfile);
    if (onfile == playfield.player->hscore) return true;  // the file already holds the best
  }
  // The player's own folder is made on the first save; the game's data/ is never created.
  if (files.peruserscore) {
    CreateFolders(files.scorefile.substr(0, files.scorefile.find_last_of('/')), 0700);
  }
  return writehiscore(files.scorefile, playfield.player->hscore);
}
void updatebestscore() {
  if (PracticeGame()) return;  // a game taken over from another's moment is no one's best
  if (playfield.player->score > playfield.player->hscore && playfield.player->newhs == 0) {
    playfield.player->newhs = 1;
    playsfx(assets.snd_hscore);
  }
  if (playfield.player->score > playfield.player->hscore)
    playfield.player->hscore = playfield.player->score;
}
