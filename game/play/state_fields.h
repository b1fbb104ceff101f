// state_fields.h - one walk over every field of the game's state, shared by the state hash and
// the replays' snapshots.
//
// WalkGameState() visits each field of the state structs of globals.h in one fixed order: the
// mode's flags and counters as integers with the range a game can reach, the caption's fade, the
// random generator, then the playfield (the ship, then each list). The fields that never steer
// play (the volumes, the music channel) are visited as Apart, so that every field is named here
// once; the tests check that no field of a struct is missing. The order is that of the stored
// snapshots and of the hashes recorded in replay files: a new field goes at the end of its part,
// and changes the replay format's version.
//
// A visitor provides:
//   Int(int& v, int least, int most)   a counter or flag within [least, most]
//   Flag(bool& v), Float(float& f)
//   Apart(T& v)                        a field that does not steer play: neither hashed nor kept
//   Random()                           the random generator's state
//   Ship(player_tag*& p)               the ship and the score state
//   List<T>(TList*& list)              a list whose objects are all of class T
// Main thread only, with the state made by initglobals().
#pragma once

#include "game/play/bee_kind.h"
#include "game/play/entities.h"
#include "game/play/globals.h"

// Counters and scores stay far below this in any game; a larger one could overflow as it counts.
constexpr int kMaxStateCount = 1 << 30;

template <class V>
void WalkGameState(V& v) {
  for (int* flag : {&game_mode.titlemode, &game_mode.getready, &game_mode.playing,
                    &game_mode.waveend, &game_mode.gameover, &program.quitflag}) {
    v.Int(*flag, 0, 1);
  }
  v.Int(progress.phase, 0, 2);
  for (int* count :
       {&progress.spawnrate, &wave_counts.spawnctr, &wave_counts.swarmid, &wave_counts.swarmsmade,
        &progress.swarmsperwave, &wave_counts.swarmskilled, &progress.escaped}) {
    v.Int(*count, 0, kMaxStateCount);
  }
  v.Int(frame_input.steermousex, -kMaxStateCount, kMaxStateCount);
  v.Int(frame_input.steermousey, -kMaxStateCount, kMaxStateCount);
  v.Int(game_mode.seqctr, -1, kMaxStateCount);
  v.Flag(game_mode.cycledone);
  v.Float(game_mode.fade);
  v.Random();
  v.Ship(playfield.player);
  v.template List<starfield_tag>(playfield.starlist);
  v.template List<lazershot_tag>(playfield.shotlist);
  v.template List<starbee_tag>(playfield.beelist);
  v.template List<beeshot_tag>(playfield.beeshotlist);
  v.template List<beesplat_tag>(playfield.splatlist);
  v.template List<points_tag>(playfield.pointslist);
  v.template List<particle_tag>(playfield.particlelist);
  // Heard, not played: the volumes and the channel change no position, score or random draw.
  v.Apart(program.musicvol);
  v.Apart(program.musicstep);
  v.Apart(program.sfxvol);
  v.Apart(program.sfxstep);
  v.Apart(program.musicchannel);
}

// The fields of each entity class, in the order the hash and the snapshots take them. The ship is
// the visitors' own: the snapshot keeps the best score, which the hash leaves out, in another
// order.
template <class V>
void EntityFields(V& v, starfield_tag& s) {
  v.Int(s.x, -kMaxStateCount, kMaxStateCount);
  v.Int(s.y, -kMaxStateCount, kMaxStateCount);
  v.Int(s.size, 0, 2);
}

template <class V>
void EntityFields(V& v, lazershot_tag& s) {
  v.Int(s.x, -kMaxStateCount, kMaxStateCount);
  v.Int(s.y, -kMaxStateCount, kMaxStateCount);
  v.Int(s.tracer, 0, 1);
  v.Float(s.alpha);
}

template <class V>
void EntityFields(V& v, starbee_tag& b) {
  for (float* f : {&b.x, &b.y, &b.rotation, &b.scale, &b.alpha, &b.ystp}) v.Float(*f);
  v.Int(b.btype, 0, 2);
  v.Int(b.frame, 0, 2);
  v.Int(b.spawntravel, 0, kMaxStateCount);
  v.Int(b.speed, -kMaxStateCount, kMaxStateCount);
  v.Int(b.spawnid, 0, kMaxStateCount);
  v.Int(b.shotctr, -kMaxStateCount, kMaxStateCount);
  // A bonus bee counts its hits here; the others index the eight-entry tables.
  v.Int(b.valueid, 0, b.btype == BeeType(BeeKind::kBonus) ? kMaxStateCount : 7);
  v.Int(b.spinning, 0, 1);
}

template <class V>
void EntityFields(V& v, beeshot_tag& s) {
  for (float* f : {&s.x, &s.y, &s.rotation, &s.xstp}) v.Float(*f);
}

template <class V>
void EntityFields(V& v, beesplat_tag& s) {
  for (float* f : {&s.x, &s.y, &s.alpha, &s.rotation, &s.scale}) v.Float(*f);
  v.Int(s.frame, 0, 6);
  v.Int(s.frametmr, 0, kMaxStateCount);
}

template <class V>
void EntityFields(V& v, points_tag& s) {
  for (float* f : {&s.x, &s.y, &s.alpha}) v.Float(*f);
  v.Int(s.frame, 0, 7);
}

template <class V>
void EntityFields(V& v, particle_tag& s) {
  for (float* f : {&s.x, &s.y, &s.xstp, &s.ystp, &s.alpha, &s.scale, &s.rotation}) v.Float(*f);
  v.Int(s.frame, 0, 6);
}
