// entities.h - the eight classes of the playfield.
//
// Every class but player_tag keeps its live objects in one list (globals.h). Once a frame the
// frame loop walks each list and calls update on every object: update moves the object, draws
// it, tests its collisions and may remove objects from their lists (removing ends an object's
// life; it may still use its own fields until update returns). Draw draws the object as it
// stands, changing nothing and drawing no random number: update calls it, and so does the redraw
// of a frozen picture (frozen_scene.h). Create builds objects and appends them to their list.
// Fields start at zero; positions are pixels of the 640 x 480 playfield, angles degrees, and a
// heading h moves by (sin h, -cos h) times the speed.
//
// Each class is implemented in a unit of its own: starfield.cpp, player.cpp, lazershot.cpp,
// starbee.cpp, beeshot.cpp, beesplat.cpp, points.cpp, particle.cpp.
#pragma once

#include "core/list.h"
#include "core/object.h"
#include "game/play/bee_kind.h"

// A background star in one of three depth layers (0 is nearest).
class starfield_tag : public TObject {
 public:
  int x = 0, y = 0;
  int size = 0;
  virtual void update();
  // Draws the star in its layer. Main thread, as every Draw below.
  void Draw() const;
  // Creates the 300 stars of the whole run.
  static void Create();
};

// The ship, and the score state.
class player_tag : public TObject {
 public:
  int x = 0, y = 0;
  int frame = 0;     // animation frame 0..3
  int shotctr = 0;   // frames until the next shot may fire
  int hyperctr = 0;  // frames of hyperspace left
  int dead = 0;      // non-zero once destroyed
  int score = 0;
  int hscore = 0;  // the best score
  int wave = 0;
  int topsc = 0;
  int newhs = 0;  // 1 once this game passed the best score
  // Back to the start position (320, 400), with the pointer there too.
  virtual void reset();
  // One frame: `controls` non-zero when the ship takes input.
  virtual void update(int controls);
  // Draws the ship (translucent in hyperspace); nothing once destroyed.
  void Draw() const;
};

// A laser shot climbing 8 pixels a frame, or one of the fading tracers it drops.
class lazershot_tag : public TObject {
 public:
  int x = 0, y = 0;
  int tracer = 0;  // 1: a trail segment; 0: the moving shot
  float alpha = 0;
  virtual void update();
  void Draw() const;
  static void Create(int tracer, int x, int y);
};

// A bee; btype is its kind (bee_kind.h).
class starbee_tag : public TObject {
 public:
  float x = 0, y = 0;
  float rotation = 0;  // heading and drawing angle
  float scale = 0;
  float alpha = 0;
  float ystp = 0;  // vertical speed of a spinning bonus bee
  int btype = 0;
  int frame = 0;        // wing frame 0..2
  int spawntravel = 0;  // distance a swarm bee has travelled
  int speed = 0;
  int spawnid = 0;  // shared by the eight bees of one swarm
  int shotctr = 0;  // frames until the next bee shot
  int valueid = 0;  // index into speedtable and pointstable; hits taken, for bonus bees
  int spinning = 0;
  virtual void update();
  // Draws the bee, and a spinning bonus bee's hit count over it.
  void Draw() const;
  static void Create(int btype, float x, float y, float scale, int spawnid, int valueid);
};

// A merged bee's falling, spinning bullet.
class beeshot_tag : public TObject {
 public:
  float x = 0, y = 0;
  float rotation = 0;
  float xstp = 0;
  float flicker = 1;  // the size it is drawn at, drawn anew each frame; only the eye sees it
  virtual void update();
  void Draw() const;
  static void Create(float x, float y);
};

// The splat animation where a bee or the ship died.
class beesplat_tag : public TObject {
 public:
  float x = 0, y = 0;
  float alpha = 0;
  float rotation = 0;
  float scale = 0;
  int frame = 0;
  int frametmr = 0;
  virtual void update();
  void Draw() const;
  static void Create(float x, float y, float scale);
};

// A score picture fading out where a bee was shot.
class points_tag : public TObject {
 public:
  float x = 0, y = 0;
  float alpha = 0;
  int frame = 0;
  virtual void update();
  void Draw() const;
  static void Create(float x, float y, int frame);
};

// Explosion debris falling under gravity.
class particle_tag : public TObject {
 public:
  float x = 0, y = 0;
  float xstp = 0, ystp = 0;
  float alpha = 0;
  float scale = 0;
  float rotation = 0;
  int frame = 0;
  virtual void update();
  void Draw() const;
  static void Create(float x, float y, float maxscale, int count);
};

// Walks a list as the frame loop does, calling `visit` with each object of class T; removed
// elements (null) and objects of other classes are skipped.
template <class T, class F>
void WalkList(TList& list, F&& visit) {
  for (TListEnum e = list.ObjectEnumerator(); e.HasNext();) {
    if (auto* object = dynamic_cast<T*>(e.NextObject())) visit(object);
  }
}

// The ship-destroyed sequence, run by a bee or a bee shot that touches the ship.
void destroyship();
