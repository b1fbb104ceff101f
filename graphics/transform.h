// transform.h - the rotation, scale, origin and handle of 2D drawing, and the 2x2 matrix made
// from rotation and scale that both drawing and the collision test apply.
//
// The state lives in a TTransformState. Each 2D drawing context carries one and makes it current
// while it is current itself (SetCurrentTransformState); until a context exists the layer uses a
// state of its own, so that collision tests work without a display. The commands below act on the
// current state. Every change of rotation or scale recomputes the matrix, copies it into the
// collision transform and hands it to the transform sink (the 2D driver's SetTransform, installed
// by the drawing layer).
//
// A local point (x, y) lands at (x*ix + y*iy, x*jx + y*jy) from the drawing position. A positive
// angle turns clockwise on screen, since y grows downwards:
//
//   SetRotation(90);   // (1, 0) now lands at (0, 1)
#pragma once

struct TTransformState {
  float tform_rot = 0;  // degrees
  float tform_scale_x = 1;
  float tform_scale_y = 1;
  float tform_ix = 1;
  float tform_iy = 0;
  float tform_jx = 0;
  float tform_jy = 1;
  float origin_x = 0;  // added to every drawing position
  float origin_y = 0;
  float handle_x = 0;  // the primitive handle, stored negated
  float handle_y = 0;

  // Recomputes ix, iy, jx, jy from rotation and scale. Quarter turns give exact 0 and +-1, so
  // that a sprite turned by 90 degrees covers whole pixels.
  void ComputeMatrix();
};

// The matrix of the last transform update, as the collision test reads it.
struct TCollisionTransform {
  float ix = 1, iy = 0, jx = 0, jy = 1;
};

// Null makes the layer's own state current again. The state is not copied: it must outlive its
// time as the current one. Making a state current does not send it anywhere (the drawing context
// re-sends its whole state when it becomes current).
void SetCurrentTransformState(TTransformState* state);
TTransformState& CurrentTransformState();

// Receives the matrix after every transform update; null for none.
using TransformSink = void (*)(float ix, float iy, float jx, float jy);
void SetTransformSink(TransformSink sink);

// Recomputes the current state's matrix, makes it the collision transform and sends it to the sink.
void UpdateTransform();
const TCollisionTransform& CollisionTransform();

void SetRotation(float degrees);
void SetDrawScale(float sx, float sy);
void SetRotationAndScale(float degrees, float sx, float sy);  // one update for all three
float QueryRotation();
void QueryScale(float& sx, float& sy);

void SetOrigin(float x, float y);
void QueryOrigin(float& x, float& y);
void SetDrawHandle(float x, float y);
void QueryHandle(float& x, float& y);
