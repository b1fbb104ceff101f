#include <gtest/gtest.h>

#include "graphics/transform.h"

namespace {

struct Matrix {
  float ix, iy, jx, jy;
};
Matrix sent;
int sends = 0;
void Record(float ix, float iy, float jx, float jy) {
  sent = {ix, iy, jx, jy};
  ++sends;
}

class TransformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetCurrentTransformState(nullptr);
    SetRotationAndScale(0, 1, 1);
    SetOrigin(0, 0);
    SetTransformSink(Record);
    sends = 0;
  }
  void TearDown() override {
    SetTransformSink(nullptr);
    SetCurrentTransformState(nullptr);
  }
  // Where the local point (x, y) lands relative to the drawing position.
  static void Apply(float x, float y, float& sx, float& sy) {
    const TTransformState& t = CurrentTransformState();
    sx = x * t.tform_ix + y * t.tform_iy;
    sy = x * t.tform_jx + y * t.tform_jy;
  }
};

TEST_F(TransformTest, RotationTurnsClockwiseAndQuarterTurnsAreExact) {
  SetRotationAndScale(0, 1, 1);
  const TTransformState& t = CurrentTransformState();
  EXPECT_EQ(t.tform_ix, 1.0f);
  EXPECT_EQ(t.tform_iy, 0.0f);
  EXPECT_EQ(t.tform_jx, 0.0f);
  EXPECT_EQ(t.tform_jy, 1.0f);

  float x, y;
  SetRotation(90);
  Apply(1, 0, x, y);
  EXPECT_EQ(x, 0.0f);
  EXPECT_EQ(y, 1.0f);
  SetRotation(-90);
  Apply(1, 0, x, y);
  EXPECT_EQ(y, -1.0f);
  SetRotation(540);
  Apply(1, 0, x, y);
  EXPECT_EQ(x, -1.0f);

  SetRotationAndScale(30, 0.6f, 2);
  EXPECT_NEAR(t.tform_ix, 0.6 * 0.8660254, 1e-6);
  EXPECT_NEAR(t.tform_iy, -2 * 0.5, 1e-6);
  EXPECT_NEAR(t.tform_jx, 0.6 * 0.5, 1e-6);
  EXPECT_NEAR(t.tform_jy, 2 * 0.8660254, 1e-6);
  EXPECT_EQ(QueryRotation(), 30);
}

TEST_F(TransformTest, EveryUpdateReachesTheSinkAndTheCollisionTransform) {
  SetDrawScale(-1, 3);
  EXPECT_EQ(sends, 1);
  EXPECT_EQ(sent.ix, -1.0f);
  EXPECT_EQ(sent.jy, 3.0f);
  const TCollisionTransform& c = CollisionTransform();
  EXPECT_EQ(c.ix, -1.0f);
  EXPECT_EQ(c.jy, 3.0f);
  float sx, sy;
  QueryScale(sx, sy);
  EXPECT_EQ(sx, -1.0f);
  SetRotationAndScale(45, 1, 1);
  EXPECT_EQ(sends, 2) << "rotation and scale together update once";
  SetOrigin(3, 4);
  EXPECT_EQ(sends, 2) << "the origin is not part of the matrix";
}

TEST_F(TransformTest, EachDrawingContextKeepsItsOwnState) {
  SetRotation(10);
  SetDrawHandle(4, 5);
  TTransformState context;
  SetCurrentTransformState(&context);
  EXPECT_EQ(QueryRotation(), 0);
  SetRotation(20);
  SetOrigin(7, 8);
  EXPECT_EQ(context.tform_rot, 20);
  EXPECT_EQ(context.origin_x, 7);
  SetCurrentTransformState(nullptr);
  EXPECT_EQ(QueryRotation(), 10);
  float hx, hy;
  QueryHandle(hx, hy);
  EXPECT_EQ(hx, 4);
  EXPECT_EQ(CurrentTransformState().handle_y, -5) << "the handle is stored negated";
}

}  // namespace
