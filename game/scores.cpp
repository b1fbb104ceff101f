// scores.cpp - the best score: read from "data\hiscore.dat" at start-up, raised by the running
// score while the HUD is drawn (with a jingle the first time in a game), written at exit. The
// file is one signed 32-bit little-endian integer. Needs player and snd_hscore (globals.h) and
// the stream layer.
#include "game/scores.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <exception>

#include "core/cstream.h"
#include "core/stream_factory.h"
#include "game/entities.h"
#include "game/globals.h"
#include "game/sound_control.h"

namespace {

const char kHiscorePath[] = "data\\hiscore.dat";

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
  const std::string target = PortablePath(path);
  const std::string fresh = target + ".new";
  bool written = false;
  {
    Ref<TCStream> stream = TCStream::OpenFile(fresh, false, true);
    if (stream) {
      try {
        stream->WriteInt(value);
        stream->Flush();
        written = std::fflush(stream->_cstream) == 0 && fsync(fileno(stream->_cstream)) == 0;
      } catch (const std::exception&) {
        written = false;
      }
      stream->Close();
    }
  }
  if (written && std::rename(fresh.c_str(), target.c_str()) == 0) {
    // Makes the rename itself durable; a folder that cannot be synced still holds the file.
    std::string folder = target.substr(0, target.find_last_of('/') + 1);
    int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
      fsync(dir);
      close(dir);
    }
    return true;
  }
  std::remove(fresh.c_str());
  std::fprintf(stderr, "Cannot save the best score to \"%s\"; the stored one is kept\n",
               path.c_str());
  return false;
}

void loadhiscore() { player->hscore = readhiscore(kHiscorePath, &stored); }

void savehiscore() {
  if (stored == ScoreFile::Unreadable) return;  // said so at start-up
  writehiscore(kHiscorePath, player->hscore);
}

void updatebestscore() {
  if (player->score > player->hscore && player->newhs == 0) {
    player->newhs = 1;
    playsfx(snd_hscore);
  }
  if (player->score > player->hscore) player->hscore = player->score;
}
