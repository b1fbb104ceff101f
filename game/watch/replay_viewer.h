// replay_viewer.h - a replay in the window played as a film: held, stepped frame by frame,
// slowed, sped up, sought on a timeline, ended, or taken over.
//
//   Space, A              holds and resumes
//   Left, Right, D-pad    seeks 5 seconds back or on, again every quarter second while held
//   Up, Down, LB, RB      steps the speed through 1/4, 1/2, 1, 2 and 4 times
//   . , (LT, RT)          steps one frame on or back, again and again while held (and holds)
//   Home, Back            goes to the start
//   T, X                  takes over from the moment shown (when the caller allows it)
//   G, Y                  ends it to race a game against its ghost (when the caller allows it)
//   ESC, B                ends it; so does the replay's end or closing the window
//   a click on the timeline seeks there
//
// The timeline runs along the bottom of the picture: the part played, where each wave's get-ready
// began (of the frames played or computed so far), and the moment shown; the left bar says the
// time, the length and the speed, the side bars the keys. Played faster or slower, or held, the
// game is silent and its music held; at the normal speed the music of the moment plays (from its
// start after a seek). Main thread, with a replay started (StartReplay) and the frame loop's
// globals made.
#pragma once

#include "game/replay/replay_seek.h"

enum class ViewerEnd {
  kEnded,     // the replay came to its end (or stopped on a divergence: CurrentReplayStatus)
  kStopped,   // the viewer ended it
  kClosed,    // the program is to end (a close request, or the recorded game quit)
  kTakeOver,  // the viewer asked to take over from the moment shown
  kRace,      // the viewer asked to race a game against the replay's ghost
};

// The key that ends a watching to race its game, on the film and the hall of fame (the pad's is
// kRaceButton, joystick_buttons.h).
inline constexpr int kRaceKey = 'G';

struct ViewerOptions {
  int from = 0;                 // the frame to start at (a seek before the first picture)
  bool take_over = false;       // T and X take over; otherwise they do nothing
  bool race = false;            // G and Y end it to race; otherwise they do nothing
  bool end_at_frames = true;    // the replay's last frame ends it (else its tail plays on)
  bool (*keep_on)() = nullptr;  // asked before each pass: false ends the film as its end does
};

// Plays the replay until one of the ends above.
ViewerEnd ViewReplay(const ViewerOptions& options);
// The pass of the frame loop that plays each frame of a film (gameframe()), given once at
// start-up before any film plays. Main thread.
void UseFilmPass(ReplayPass pass);
// The pass UseFilmPass gave, for a game played on from a film (take_over.h). Main thread.
ReplayPass FilmPass();
