// replay.h - recording the games of a run and playing them back, frame by frame.
//
// A recording listens at the polled-input seam (system/input_seam.h) and the flip hook, but keeps
// only games: at the flip of the frame loop in which a game starts (the title gives way to the
// get-ready), it takes a snapshot of the state (replay_snapshot.h) and from then on keeps every
// event the game's input tables take and every joystick read whose answer changed, frame by
// frame, with the state hash every 60th frame and at the game's last frame. The game ends at the
// flip at which the title is back (game over, or F1), or when the program ends during it. Title
// and attract time is never kept, and a pad that is not there records nothing. A practice game
// (play/practice_game.h) is kept marked as one, and only by a recording of every game: no score
// table and no best game takes it. A replayed game puts its own practice mark in force.
//
// Playing back puts the recorded input in place of the platform's, read for read. After the
// start-up (whose splash it clicks away) it restores each game's snapshot at a flip of the frame
// loop, checks that the state hash is the recorded one, plays the game's frames and goes straight
// on to the next game; the check at every 60th frame compares the hash, and the first difference
// stops the replay there (ReplayStatus::kDiverged), naming the frame and the time into the game.
// The platform's own events are heard, not applied: ESC or closing the window ends the replay.
// A recording cut short by a close request in the middle of a frame (the display lost under the
// game) ends its replay there too: the flips with which the game finishes that frame are not a
// divergence.
//
// A recording can be paused on the title while a replay of a game plays inside the running game
// (the best game watched from the title, ReplayUse::kWatch): that replay needs no splash and asks
// for no close at its end. The viewer's own keys and pad are heard apart from the game's input
// (ReadReplayViewer), for the film player (replay_viewer.h).
//
// One recording or one replay at a time (a paused recording and one watched replay at most).
// Main thread only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "game/replay/replay_file.h"
#include "system/input_seam.h"

enum class RecordingKeeps {
  kEveryGame,  // every game of the run (--record)
  kBestGame,   // only the latest game in which the best score rose (best.replay)
};

// What a recording kept.
struct RecordedRun {
  ReplayJournal journal;
  int bestgame = -1;  // the journal's game in which the best score rose last; -1: none
  // The journal of that game alone (empty when none).
  ReplayJournal BestGame() const;
};

// Called with every game the recording finishes (of more than one frame), whatever it keeps,
// with the player's name; null: none. Main thread.
using RecordedGameHook = void (*)(const RecordedGame& game, const std::string& player);
void OnGameRecorded(RecordedGameHook hook);
// Starts listening; games are kept from their start.
void StartRecording(RecordingKeeps keeps = RecordingKeeps::kEveryGame);
bool Recording();
// Stops listening, keeping what was recorded, while no game is under way; false (and nothing
// done) when none is recording, it is paused already or a game is under way.
bool PauseRecording();
// Listens again, from the title (a game starts being kept at its next start), or from a practice
// game under way (kept from the next flip of the frame loop, its snapshot taken there).
void ResumeRecording();
// The game the running recording keeps as the one in which the best score rose last (null when
// there is none), and in `number` how many games it has kept so (grows as a new one takes over).
const RecordedGame* RecordedBestGame(int* number = nullptr);
// Frames kept so far, in the finished games and the one under way.
int RecordedFrames();
// Bytes the recording holds: its snapshots and input.
std::size_t RecordedBytes();
// Ends the recording; a game under way ends with the program, what came after its last flip
// being its tail.
RecordedRun StopRecording();

enum class ReplayStatus {
  kIdle,      // no replay running
  kPlaying,   // input comes from the journal and every check so far held
  kDone,      // every game was played with every check holding: close requests are fed
  kEnded,     // the journal ran out while the game went on: close requests are fed from now
  kDiverged,  // a check failed or the reads no longer match: close requests are fed from now
  kStopped,   // the viewer pressed ESC or closed the window: close requests are fed from now
};

enum class ReplayUse {
  kRun,    // the program replays a file from its start-up (--replay), closing when it ends
  kWatch,  // the running game plays a game inside its frame loop and goes on when it ends
};

// Puts the journal's input in place of the platform's from now on: for kRun before the
// start-up, for kWatch at a flip of the frame loop (its first game starts at the next one).
void StartReplay(ReplayJournal journal, ReplayUse use = ReplayUse::kRun);
ReplayStatus CurrentReplayStatus();
// Whether a replay is started (from StartReplay to StopReplay), and whether it is one the program
// plays from its start-up (--replay) that has put its first game in place.
bool ReplayUnderWay();
bool ReplayRunsProgram();
// Flips played since the first game was restored, over all games.
int ReplayFramesPlayed();
// Whether every recorded frame has been played (the last game may still read its tail).
bool ReplayFramesDone();
// Where the replay stands: "at frame F (M:SS.ss into the game)" for the frame being played, the
// frame counted from its game's start ("in game G at frame F" when the replay holds several).
std::string ReplayPlace();
// For kDiverged and kEnded: "replay diverged at frame F (M:SS.ss into the game): ...", the
// place as ReplayPlace says it.
std::string ReplayDivergence();
// Ends the replay as the viewer's ESC does (ReplayStatus::kStopped).
void StopReplayAsViewer();
// Gives input back to the platform.
void StopReplay();
// Whether the platform asked the program to end while the replay played (until the next start).
bool ReplayHeardClose();

// The side bar's words while a replay plays: "Replay" and the time into it, or when watching
// the caption's title ("Best game"), its score and the time into it; who played it, the day and
// the version; and while the first frames play, the title card's line ("Sam - 2026-12-09 21:45 -
// version 1.0.0 - score 275"). All empty when no replay plays.
struct ReplayCaptionText {
  std::string title, score, time;
  std::string player, day, version;
  std::string practice;  // "Practice" while a practice game plays (play/practice_game.h)
  std::string card;
};
ReplayCaptionText ReplayCaption();
// The title and final score a watched game's caption shows.
void SetReplayCaption(const std::string& title, int score);

// Whether the flip under way is one of the frame loop's own (the watching's included), not one of
// a screen inside a frame: games start and end at these, and ship tracks have a point for each.
bool FrameLoopFlip();

// "M:SS.ss", the time into the game at the end of `frame` at 60 frames a second.
std::string GameTimeText(int frame);

// --- seeking ---------------------------------------------------------------------------------
//
// While a replay plays, the loop that plays it keeps a keyframe at the top of a pass of the frame
// loop every kReplayKeyframeEvery frames: the game's snapshot and where the replay stands in its
// input. Putting one back and playing on from it (replay_seek.h) reaches any later frame exactly
// as playing there did. Main thread only.

inline constexpr int kReplayKeyframeEvery = 180;  // three seconds of game time

// Frames in the whole journal (all games), and the frame at which each game starts.
int ReplayLength();
std::vector<int> ReplayGameStarts();
// At the top of a pass of the frame loop: keeps a keyframe when one is due (beyond the last).
void KeepReplayKeyframe();
// The frame of the latest keyframe at or before `frame`; -1 when there is none.
int ReplayKeyframeAt(int frame);
// Puts back the latest keyframe at or before `frame` (counted as ReplayFramesPlayed counts) and
// answers its frame; -1, with nothing changed, when there is none. A replay that had come to its
// end plays again.
int RestoreReplayKeyframe(int frame);
// The memory the keyframes hold.
std::size_t ReplayKeyframeBytes();

// The frames at which a wave's get-ready began, of those played or computed so far.
std::vector<int> ReplayWaveStarts();
// Shows the picture drawn since the last flip, for a held replay: the replay counts no frame and
// the game's input tables take nothing.
void FlipReplayStill();

// The viewer's own input while a replay plays, which the game never sees: key presses and held
// keys (virtual-key codes), left clicks and the pointer, and the pad on port 0 as it reads now.
struct ViewerInput {
  static constexpr int kKeys = 256;
  std::array<int, kKeys> keyhits = {};
  std::array<bool, kKeys> keysdown = {};
  int clicks = 0;
  int mousex = 0, mousey = 0;
  JoystickSample pad;
};
// Pumps the platform's messages and reads the viewer's pad: what was heard since the last call
// (presses and clicks are counted once). Changes nothing of the game or the replay.
ViewerInput ReadReplayViewer();
