// scores.cpp - the best score: read from its file (game_files.h) at start-up, raised by the running
// score while the HUD is drawn (with a jingle the first time in a game), written at exit. The
// file is one signed 32-bit little-endian integer. Needs player and snd_hscore (globals.h) and
// the stream layer for reading and the atomic-write helper for saving.
#include "game/scores.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <string_view>

#include "core/atomic_file.h"
#include "core/cstream.h"
#include "core/stream_factory.h"
#include "game/entities.h"
#include "game/game_files.h"
#include "game/globals.h"
#include "game/sound_control.h"

namespace {

// What start-up found. A stored score that could not be read is kept: this run's best may be
// lower than it, and overwriting it would lose it.
ScoreFile stored = ScoreFile::Missing;

}  // namespace

int readhiscore(const std::string& path, ScoreFile* found) {
  if (found) *found = ScoreFile::Missing;
  if (FileType(path) == 0) return 0;
  if (found) *found = ScoreFile::Unreadable;
  if (FileType(path) != 1) {
    std::fprintf(stderr,
                 "The best score \"%s\" is not a file; starting from 0 and leaving it as it is\n",
                 path.c_str());
    return 0;
  }
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
  if (!read) {
    std::fprintf(stderr,
                 "Cannot read the best score from \"%s\"; starting from 0 and leaving the file "
                 "as it is\n",
                 path.c_str());
    return 0;
  }
  if (found) *found = ScoreFile::Read;
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

void loadhiscore() { player->hscore = readhiscore(CurrentGameFiles().scorefile, &stored); }

void savehiscore() {
  if (!WritesPlayerFiles()) return;             // a replay's best score is not the player's
  if (stored == ScoreFile::Unreadable) return;  // said so at start-up
  // The player's own folder is made on the first save; the game's data/ is never created.
  const GameFiles& files = CurrentGameFiles();
  if (files.peruserscore) {
    CreateFolders(files.scorefile.substr(0, files.scorefile.find_last_of('/')), 0700);
  }
  writehiscore(files.scorefile, player->hscore);
}

void updatebestscore() {
  if (player->score > player->hscore && player->newhs == 0) {
    player->newhs = 1;
    playsfx(snd_hscore);
  }
  if (player->score > player->hscore) player->hscore = player->score;
}
