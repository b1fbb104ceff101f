// music_stream.h - music tracks that start playing before they are fully decoded.
//
// A track takes hundreds of milliseconds to decode whole, longer than a frame may take. The
// first half second is decoded ahead (PrepareMusicTracks) or at once, and the track starts from
// its beginning; a worker thread, at the idle priority, decodes the rest into the same sample
// while it plays, well ahead of the play position. The
// track loops as a whole once complete. Starting the next track tells the worker of the one
// before to stop, without waiting for it; StopMusicStreams stops and waits for all of them, and
// runs at exit too, so that no way out of the program leaves a worker running.
#pragma once

#include <string>
#include <vector>

#include "audio/audio_driver.h"

// The track at `path`, looping; null (after one line on stderr for that file) when it cannot be
// loaded.
Ref<TSound> LoadMusicTrack(const std::string& path);
// Starts preparing the tracks at `paths` on a thread of its own, in that order: each one's real
// length and its first half second, so that starting it later costs the game thread next to
// nothing. A track asked for while it is being prepared waits for it; one that was not prepared,
// or whose file changed since, is prepared when asked for. Replaces an earlier preparation.
void PrepareMusicTracks(const std::vector<std::string>& paths);
// Stops any worker still decoding and waits for it.
void StopMusicStreams();
// Waits until the worker of the latest track has decoded all of it, and stops the others (for
// tests and benchmarks).
void FinishMusicStreams();
