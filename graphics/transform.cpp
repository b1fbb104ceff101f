// transform.cpp - the current transform state and the update that derives the matrix.
#include "graphics/transform.h"

#include <cmath>
#include <numbers>

namespace {

TTransformState ownState;
TTransformState* current = &ownState;
TransformSink sink = nullptr;
TCollisionTransform collision;

// sin and cos of an angle in degrees, exact at quarter turns.
void SinCos(double degrees, double& s, double& c) {
  double turned = std::fmod(degrees, 360.0);
  if (turned < 0) turned += 360.0;
  if (turned == 0) {
    s = 0, c = 1;
  } else if (turned == 90) {
    s = 1, c = 0;
  } else if (turned == 180) {
    s = 0, c = -1;
  } else if (turned == 270) {
    s = -1, c = 0;
  } else {
    const double radians = degrees * std::numbers::pi / 180.0;
    s = std::sin(radians);
    c = std::cos(radians);
  }
}

}  // namespace

void TTransformState::ComputeMatrix() {
  double s, c;
  SinCos(tform_rot, s, c);
  tform_ix = static_cast<float>(c * tform_scale_x);
  tform_iy = static_cast<float>(-s * tform_scale_y);
  tform_jx = static_cast<float>(s * tform_scale_x);
  tform_jy = static_cast<float>(c * tform_scale_y);
}

void SetCurrentTransformState(TTransformState* state) { current = state ? state : &ownState; }
TTransformState& CurrentTransformState() { return *current; }
void SetTransformSink(TransformSink newSink) { sink = newSink; }
const TCollisionTransform& CollisionTransform() { return collision; }

void UpdateTransform() {
  TTransformState& t = *current;
  t.ComputeMatrix();
  collision = {t.tform_ix, t.tform_iy, t.tform_jx, t.tform_jy};
  if (sink) sink(t.tform_ix, t.tform_iy, t.tform_jx, t.tform_jy);
}

void SetRotation(float degrees) {
  current->tform_rot = degrees;
  UpdateTransform();
}

void SetDrawScale(float sx, float sy) {
  current->tform_scale_x = sx;
  current->tform_scale_y = sy;
  UpdateTransform();
}

void SetRotationAndScale(float degrees, float sx, float sy) {
  current->tform_rot = degrees;
  current->tform_scale_x = sx;
  current->tform_scale_y = sy;
  UpdateTransform();
}

float QueryRotation() { return current->tform_rot; }

void QueryScale(float& sx, float& sy) {
  sx = current->tform_scale_x;
  sy = current->tform_scale_y;
}

void SetOrigin(float x, float y) {
  current->origin_x = x;
  current->origin_y = y;
}

void QueryOrigin(float& x, float& y) {
  x = current->origin_x;
  y = current->origin_y;
}

void SetDrawHandle(float x, float y) {
  current->handle_x = -x;
  current->handle_y = -y;
}

void QueryHandle(float& x, float& y) {
  x = -current->handle_x;
  y = -current->handle_y;
}
