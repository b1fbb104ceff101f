// globals.h - the game's state: flags, counters, tables, images, sounds and entity lists.
//
// The game keeps its state in program-wide globals, as its entity classes read and change them
// directly. Everything here is made by the start-up (startup.h) and lives until the program ends.
// The mode's flags are explained together below, where they are declared.
#pragma once

#include <string>

#include "audio/audio_driver.h"
#include "core/list.h"
#include "graphics/image.h"

class player_tag;

// --- entity lists: each holds the only lasting reference to its objects ----------------------
extern TList* starlist;      // starfield_tag: 300 background stars, never removed
extern TList* shotlist;      // lazershot_tag: laser shots and their tracers
extern TList* beelist;       // starbee_tag
extern TList* beeshotlist;   // beeshot_tag
extern TList* splatlist;     // beesplat_tag
extern TList* pointslist;    // points_tag
extern TList* particlelist;  // particle_tag

extern player_tag* player;  // the ship and the score state; never replaced

// --- tables, indexed by a bee's valueid 0..7 --------------------------------------------------
extern const int speedtable[8];             // 1 .. 8: a merged bee's speed
extern const int pointstable[8];            // 25 .. 3200: points for destroying a bee
extern const std::string pausetexts[4];     // the last is followed by the colour mode's label
extern const std::string volumelabels[11];  // "(off)", "(10%)" .. "(100%)"

// --- the mode -------------------------------------------------------------------------------
// Five flags (0 or 1) and the sequence state. Only the transitions of game_mode.h set the flags
// and reset the sequence; within a sequence the frame code counts seqctr up and fades fade down
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
// play and under the title's attract play. From game over the title keeps the phase and the
// difficulty the game reached; F1 resets them.
extern int titlemode;   // 1 while the title (attract) screen runs
extern int getready;    // 1 during the get-ready sequence before a wave
extern int playing;     // 1 while a wave is played; the ship takes input
extern int waveend;     // 1 during the wave-complete fly-away sequence
extern int gameover;    // 1 during the game-over sequence
extern float fade;      // alpha of the current overlay caption; a sequence ends when it reaches 0
extern int seqctr;      // frames into the current sequence; -1: a wave bonus is still to pay
extern bool cycledone;  // the bonus round ended and the wave cycle wrapped (fly-away only)

// --- state counters ---------------------------------------------------------------------------
extern int quitflag;       // 1 when a close request arrived while paused
extern int phase;          // 0 and 1: swarm waves; 2: the bonus round
extern int spawnrate;      // frames between swarm spawns
extern int spawnctr;       // frames since the last spawn
extern int swarmid;        // spawnid of the latest swarm, 1 .. 150 cyclically
extern int swarmsmade;     // swarms spawned in this wave
extern int swarmsperwave;  // swarms in this swarm wave
extern int swarmskilled;   // merged bees destroyed in this wave (and swarms shot to the last bee)
extern int escaped;        // bonus bees that got away in this bonus round
extern float musicvol;     // 0.0 .. 1.0; set from the settings at start-up (settings_store.h)
extern int musicstep;      // 0 .. 10, shown in the pause screen
extern float sfxvol;
extern int sfxstep;
extern Ref<TChannel> musicchannel;  // the channel the current track plays on
extern int steermousex, steermousey;

// --- images, cut from the sprite sheet at start-up ------------------------------------------
extern Ref<TImage> starimg, shipimg, beeimg, splatimg, pointsimg, bonusbannerimg, lazerimg,
    beeshotimg, logoimg, promptimg, getreadyimg, bonusroundimg, wavedoneimg, gameoverimg,
    hudlabelimg, digitimg;

// --- sound effects (null when a file could not be loaded: that effect is silent) -------------
extern Ref<TSound> snd_shot, snd_hyper, snd_gstart, snd_endwave, snd_bhit, snd_bhit1, snd_lswarm,
    snd_sswarm, snd_sbhit, snd_sbdie, snd_shipdie, snd_flyaway, snd_beewarp, snd_hscore;

// Makes the lists and the player and puts every flag back to its value at program start, the
// volumes included (they are never stored).
void initglobals();
// Removes every shot, bee, bee shot, splat, pop-up and particle; the stars stay.
void clearentities();
