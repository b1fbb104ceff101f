// globals.h - the game's state, in one struct per lifetime: the assets, the playfield, the mode,
// the game's progress, the wave's counts, the program's run and the frame's input.
//
// Each struct below says when it is reset; a reset assigns a fresh value in the one place named,
// so a field's starting value is the one written here. The design's names (titlemode, seqctr,
// beelist, snd_shot ...) are the fields, read as `game_mode.titlemode` or `playfield.beelist`.
// Every field of these structs is walked by WalkGameState() (game/play/state_fields.h), which the
// state hash and the replays' snapshots share; a test fails for a field the walk leaves out, so a
// new one must be added there, or marked there as one that does not steer play.
//
// The entity classes read and change the state directly, as the design has it. Main thread only;
// the start-up (startup.h) makes the state with initglobals() and gamestartup().
#pragma once

#include <string>

#include "audio/audio_driver.h"
#include "core/list.h"
#include "graphics/image.h"

class player_tag;

// --- the assets: made by the start-up's loaders at every start, then only read --------------
// Images and sounds never steer play, so the state hash leaves them out.
struct GameAssets {
  // Cut from the sprite sheet (sheet_cut.h).
  Ref<TImage> starimg, shipimg, beeimg, splatimg, pointsimg, bonusbannerimg, lazerimg, beeshotimg,
      logoimg, promptimg, getreadyimg, bonusroundimg, wavedoneimg, gameoverimg, hudlabelimg,
      digitimg;
  // Null when a file could not be loaded: that effect is silent (sound_loading.h).
  Ref<TSound> snd_shot, snd_hyper, snd_gstart, snd_endwave, snd_bhit, snd_bhit1, snd_lswarm,
      snd_sswarm, snd_sbhit, snd_sbdie, snd_shipdie, snd_flyaway, snd_beewarp, snd_hscore;
};
extern GameAssets assets;

// --- the playfield: made afresh by initglobals() at every program start ----------------------
// Each list holds the only lasting reference to its objects; clearentities() empties all but the
// stars when a game starts or ends. The lists and the ship are made once per program and never
// replaced within it.
struct Playfield {
  TList* starlist = nullptr;      // starfield_tag: 300 background stars, never removed
  TList* shotlist = nullptr;      // lazershot_tag: laser shots and their tracers
  TList* beelist = nullptr;       // starbee_tag
  TList* beeshotlist = nullptr;   // beeshot_tag
  TList* splatlist = nullptr;     // beesplat_tag
  TList* pointslist = nullptr;    // points_tag
  TList* particlelist = nullptr;  // particle_tag
  player_tag* player = nullptr;   // the ship and the score state
};
extern Playfield playfield;

// --- the mode: reset at program start; its flags change only in the transitions --------------
// Five flags (0 or 1) and the sequence state. Only the transitions of game_mode.h set the flags
// and restart the sequence; within a sequence the frame code counts seqctr up and fades fade down
// (on the title, drawtitle lets fade run down and round again to pulse the prompt).
//
//   mode        its flag    seqctr                        fade
//   title       titlemode   -                             pulses the prompt
//   get-ready   getready    counts frames from 0          falls after frame 100
//   play        playing     -                             -
//   wave end    waveend     -1 until the bonus is paid    falls once the ship is far off the top
//   game over   gameover    counts frames from 0          falls after frame 120
//
// In each mode its own flag is 1 and the other four are 0.
//
// The playfield (bees, shots, splats) moves while getready, waveend and gameover are all 0: in
// play and under the title's attract play.
struct ModeState {
  int titlemode = 0;  // 1 while the title (attract) screen runs
  int getready = 0;   // 1 during the get-ready sequence before a wave
  int playing = 0;    // 1 while a wave is played; the ship takes input
  int waveend = 0;    // 1 during the wave-complete fly-away sequence
  int gameover = 0;   // 1 during the game-over sequence
  float fade = 1.0f;  // alpha of the current overlay caption; a sequence ends when it reaches 0
  int seqctr = 0;     // frames into the current sequence; -1: a wave bonus is still to pay
  bool cycledone = false;  // the bonus round ended and the wave cycle wrapped (fly-away only)
};
extern ModeState game_mode;

// --- the game's progress: reset at program start; the transitions set it as a game goes on ---
// From game over the title keeps the phase and the difficulty the game reached, for its attract
// play; a new game sets them afresh, F1 resets the phase.
struct GameProgress {
  int phase = 0;           // 0 and 1: swarm waves; 2: the bonus round
  int spawnrate = 30;      // frames between swarm spawns
  int swarmsperwave = 10;  // swarms in this swarm wave
  int escaped = 0;  // bonus bees that got away in this bonus round; cleared as a wave ends or on F1
};
extern GameProgress progress;

// --- the wave's counts: reset at every wave's start (and at program start) -------------------
struct WaveCounts {
  int spawnctr = 0;      // frames since the last spawn
  int swarmid = 0;       // spawnid of the latest swarm, 1 .. 150 cyclically
  int swarmsmade = 0;    // swarms spawned in this wave
  int swarmskilled = 0;  // merged bees destroyed in this wave (and swarms shot to the last bee)
};
extern WaveCounts wave_counts;

// --- the program's run: reset at program start --------------------------------------------
struct ProgramState {
  int quitflag = 0;  // 1 when a close request arrived while paused: the program ends
  // The volumes start at full music and half effects on every run: they are never stored.
  float musicvol = 1.0f;  // 0.0 .. 1.0
  int musicstep = 10;     // 0 .. 10, shown in the pause screen
  float sfxvol = 0.5f;
  int sfxstep = 5;
  Ref<TChannel> musicchannel;  // the channel the current track plays on
};
extern ProgramState program;

// --- the frame's input: set by every frame in play, from the pointer and the stick ----------
struct FrameInput {
  int steermousex = 0, steermousey = 0;  // where the ship is steered to
};
extern FrameInput frame_input;

// --- tables, indexed by a bee's valueid 0..7 --------------------------------------------------
extern const int speedtable[8];             // 1 .. 8: a merged bee's speed
extern const int pointstable[8];            // 25 .. 3200: points for destroying a bee
extern const std::string pausetexts[4];     // the last is followed by the colour mode's label
extern const std::string volumelabels[11];  // "(off)", "(10%)" .. "(100%)"

// The program's start: a new playfield (lists and ship) and the mode, progress, counts, run and
// input at their starting values. The assets are left to the start-up's loaders.
void initglobals();
// Removes every shot, bee, bee shot, splat, pop-up and particle; the stars stay.
void clearentities();
