// The flat colour mode, for playing without red/cyan glasses: every image and text drawn once,
// halfway between where the anaglyph pair would be, in its own colours; the stars once in their
// layer's brightness; F4 in the pause screen switching the mode, with a line saying which is on;
// and a scripted game ending in the very same state in both modes.
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>

#include "core/random.h"
#include "game/config/colour_mode.h"
#include "game/play/anaglyph.h"
#include "graphics/draw2d.h"
#include "graphics/font.h"
#include "graphics/pixmap_loader.h"
#include "tests/game/aim_script.h"
#include "tests/game/game_fixture.h"

namespace {

constexpr int kSpace = 32, kF4 = 115;

int Red(std::uint32_t c) { return static_cast<int>(c >> 16 & 0xff); }
int Green(std::uint32_t c) { return static_cast<int>(c >> 8 & 0xff); }
int Blue(std::uint32_t c) { return static_cast<int>(c & 0xff); }

// The rectangle that the pixels passing `pick` cover, and how many there are.
struct Box {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1, count = 0;
  float CentreX() const { return (left + right) / 2.0f; }
  float CentreY() const { return (top + bottom) / 2.0f; }
  int Width() const { return right - left + 1; }
};

// Columns `from` up to `to` (all of them when -1).
Box Covered(const Ref<TPixmap>& p, const std::function<bool(std::uint32_t)>& pick, int from = 0,
            int to = -1) {
  Box box;
  if (to < 0) to = p->width;
  for (int y = 0; y < p->height; ++y) {
    for (int x = from; x < to; ++x) {
      if (!pick(p->ReadPixel(x, y) & 0xffffff)) continue;
      box.left = std::min(box.left, x);
      box.right = std::max(box.right, x);
      box.top = std::min(box.top, y);
      box.bottom = std::max(box.bottom, y);
      ++box.count;
    }
  }
  return box;
}

bool Lit(std::uint32_t c) { return Red(c) > 40 || Green(c) > 40 || Blue(c) > 40; }
bool Grey(std::uint32_t c) { return Red(c) == Green(c) && Green(c) == Blue(c); }

class ColourModeTest : public GameTest {
 protected:
  void TearDown() override {
    GameTest::TearDown();
    SetColourMode(ColourMode::Anaglyph);
  }
  // The back buffer after `draw` on black.
  static Ref<TPixmap> DrawnAlone(const std::function<void()>& draw) {
    SetClsColor(0, 0, 0);
    Cls();
    draw();
    Ref<TPixmap> pixels = GrabPixmap(0, 0, 640, 480);
    SetClsColor(10, 5, 15);
    return pixels;
  }
};

// What a game leaves behind: every flag and counter, the ship, and every object's place.
std::string GameState() {
  std::ostringstream s;
  s << game_mode.titlemode << game_mode.getready << game_mode.playing << game_mode.waveend
    << game_mode.gameover << ' ' << progress.phase << ' ' << wave_counts.spawnctr << ' '
    << progress.spawnrate << ' ' << wave_counts.swarmid << ' ' << wave_counts.swarmsmade << ' '
    << progress.swarmsperwave << ' ' << wave_counts.swarmskilled << ' ' << progress.escaped
    << " | ship " << playfield.player->x << ',' << playfield.player->y << ' '
    << playfield.player->frame << ' ' << playfield.player->shotctr << ' '
    << playfield.player->hyperctr << ' ' << playfield.player->dead << " score "
    << playfield.player->score << ' ' << playfield.player->hscore << ' ' << playfield.player->wave
    << ' ' << playfield.player->newhs << " | random " << RandomSeed() << '\n';
  WalkList<starfield_tag>(*playfield.starlist,
                          [&](starfield_tag* o) { s << o->x << ',' << o->y << ' '; });
  s << "\nshots ";
  WalkList<lazershot_tag>(*playfield.shotlist,
                          [&](lazershot_tag* o) { s << o->x << ',' << o->y << ' '; });
  s << "\nbees ";
  WalkList<starbee_tag>(*playfield.beelist, [&](starbee_tag* o) {
    s << o->btype << ':' << o->x << ',' << o->y << ',' << o->rotation << ',' << o->alpha << ' ';
  });
  s << "\nbee shots ";
  WalkList<beeshot_tag>(*playfield.beeshotlist,
                        [&](beeshot_tag* o) { s << o->x << ',' << o->y << ' '; });
  s << "\nsplats " << playfield.splatlist->Count() << " particles "
    << playfield.particlelist->Count() << " points " << playfield.pointslist->Count();
  return s.str();
}

}  // namespace

TEST_F(ColourModeTest, FlatDrawsOneShipHalfwayBetweenThePairInItsOwnColours) {
  Start();
  auto ship = [] { drawimage3d(assets.shipimg, 320, 240, 0, 40, 0, 1, 1, 1); };
  const Ref<TPixmap> pair = DrawnAlone(ship);
  SetColourMode(ColourMode::Flat);
  const Ref<TPixmap> flat = DrawnAlone(ship);

  // The pair: a copy 40 pixels to either side; flat: one, in the middle, as wide and as high.
  const Box left = Covered(pair, Lit, 0, 320), right = Covered(pair, Lit, 320, 640);
  const Box one = Covered(flat, Lit);
  ASSERT_GT(left.count, 100);
  ASSERT_GT(right.count, 100);
  EXPECT_NEAR(right.CentreX() - left.CentreX(), 80, 1);
  EXPECT_NEAR(one.CentreX(), (left.CentreX() + right.CentreX()) / 2, 0.5);
  EXPECT_NEAR(one.CentreY(), left.CentreY(), 0.5);
  EXPECT_EQ(one.Width(), left.Width());
  EXPECT_GE(one.left, 302);
  EXPECT_LE(one.right, 337);

  // Pixel for pixel the sprite sheet's frame, whose handle is its centre (18, 29).
  const Ref<TPixmap> sheet = LoadPixmap("incbin::zumbrix_3d.png");
  ASSERT_TRUE(sheet);
  int drawn = 0, same = 0, blue = 0;
  for (int y = 0; y < 58; ++y) {
    for (int x = 0; x < 36; ++x) {
      const std::uint32_t want = sheet->ReadPixel(1 + x, 1 + y) & 0xffffff;
      if (want == 0) continue;  // masked
      ++drawn;
      const std::uint32_t got = flat->ReadPixel(302 + x, 211 + y) & 0xffffff;
      const bool alike = std::abs(Red(got) - Red(want)) <= 2 &&
                         std::abs(Green(got) - Green(want)) <= 2 &&
                         std::abs(Blue(got) - Blue(want)) <= 2;
      same += alike;
      // The cockpit: clearly blue, and read back blue.
      if (alike && Blue(got) > 120 && Blue(got) > Red(got) + 40 && Blue(got) > Green(got) + 20) {
        ++blue;
      }
    }
  }
  EXPECT_GT(drawn, 300);
  EXPECT_EQ(same, drawn);
  EXPECT_GT(blue, 0) << "no pixel of the cockpit reads blue";
}

TEST_F(ColourModeTest, FlatTextIsOneWhiteCopyHalfwayBetweenThePair) {
  Start();
  auto text = [] {
    drawtext3d("ZUMBRIX", 320, 100, 12, 0, 2, 2, 4, 1.0f, 0, 255, 255, 255, 0, true);
  };
  const Ref<TPixmap> pair = DrawnAlone(text);
  SetColourMode(ColourMode::Flat);
  const Ref<TPixmap> flat = DrawnAlone(text);

  // The pair's copies tell apart by their tint: cyan on the left, red on the right.
  const Box cyan = Covered(pair, [](std::uint32_t c) { return Green(c) > 40 && Red(c) < 40; });
  const Box red = Covered(pair, [](std::uint32_t c) { return Red(c) > 40 && Green(c) < 40; });
  const Box one = Covered(flat, Lit);
  ASSERT_GT(cyan.count, 50);
  ASSERT_GT(red.count, 50);
  EXPECT_NEAR(red.CentreX() - cyan.CentreX(), 24, 1);
  EXPECT_NEAR(one.CentreX(), (cyan.CentreX() + red.CentreX()) / 2, 0.5);
  EXPECT_EQ(one.Width(), cyan.Width());
  EXPECT_EQ(Covered(flat, [](std::uint32_t c) { return Lit(c) && !Grey(c); }).count, 0)
      << "flat text is white";
}

TEST_F(ColourModeTest, FlatStarsAreOneCopyInTheirLayersBrightness) {
  Start();
  SetColourMode(ColourMode::Flat);
  int brightest[3] = {};
  for (int layer = 0; layer < 3; ++layer) {
    Ref<starfield_tag> star = New<starfield_tag>();
    star->size = layer;
    star->x = 320;
    star->y = 240;
    const Ref<TPixmap> drawn = DrawnAlone([&] { star->update(); });
    const Box box = Covered(drawn, Lit);
    ASSERT_GT(box.count, 0) << "layer " << layer;
    // One copy of the 16-pixel star at the layer's scale, where the pair would be wider.
    EXPECT_LE(box.Width(), 14) << "layer " << layer;
    EXPECT_NEAR(box.CentreX(), 320, 1) << "layer " << layer;
    Covered(drawn, [&](std::uint32_t c) {
      brightest[layer] = std::max({brightest[layer], Red(c), Green(c), Blue(c)});
      return false;
    });
  }
  EXPECT_GT(brightest[0], brightest[1]);
  EXPECT_GT(brightest[1], brightest[2]);
}

TEST_F(ColourModeTest, F4InThePauseScreenSwitchesTheModeAndItsLineSaysWhich) {
  Start();
  EnterPlay();
  // The stars go under the side bar, so that the pause texts stand on an empty background.
  WalkList<starfield_tag>(*playfield.starlist, [](starfield_tag* star) { star->x = 5; });
  HarnessRun(1);
  Ref<TPixmap> lines[2];
  HarnessOnFlip([&lines] {
    static int flips = 0;
    ++flips;
    if (flips == 2 || flips == 3) lines[flips - 2] = GrabPixmap(90, 240, 460, 20);
    if (flips == 2) HarnessTapKey(kF4);
    if (flips == 3) HarnessTapKey(kSpace);
  });
  HarnessTapKey(kSpace);
  HarnessRun(1);
  HarnessOnFlip(nullptr);
  ASSERT_TRUE(lines[0] && lines[1]);
  EXPECT_EQ(GetColourMode(), ColourMode::Flat);

  const Box anaglyph = Covered(lines[0], Lit), flat = Covered(lines[1], Lit);
  ASSERT_GT(anaglyph.count, 50);
  ASSERT_GT(flat.count, 50);
  EXPECT_GT(Covered(lines[0], [](std::uint32_t c) { return Lit(c) && !Grey(c); }).count, 50)
      << "the anaglyph line is tinted";
  EXPECT_EQ(Covered(lines[1], [](std::uint32_t c) { return Lit(c) && !Grey(c); }).count, 0)
      << "the flat line is white";
  // "(Red/Cyan 3D)" is seven characters longer than "(Flat)".
  const int longer = MeasureTextWidth(pausetexts[3] + ColourModeLabel(ColourMode::Anaglyph)) -
                     MeasureTextWidth(pausetexts[3] + ColourModeLabel(ColourMode::Flat));
  EXPECT_GT(longer, 40);
  EXPECT_NEAR(anaglyph.Width() - flat.Width(), longer + 4, 2);

  // Paused again, F4 switches back.
  HarnessOnFlip([] {
    static int flips = 0;
    ++flips;
    if (flips == 2) HarnessTapKey(kF4);
    if (flips == 3) HarnessTapKey(kSpace);
  });
  HarnessTapKey(kSpace);
  HarnessRun(1);
  EXPECT_EQ(GetColourMode(), ColourMode::Anaglyph);
}

// Only the drawing differs: the same seed and the same script give the same game to the last
// object's place, the score and the random generator's state.
TEST_F(ColourModeTest, AScriptedGameEndsInTheSameStateInBothModes) {
  auto play = [this](ColourMode mode) {
    SetColourMode(mode);
    HarnessOptions options;
    options.folder = MakeFolder().string();
    options.seed = 777;
    HarnessStart(options);
    AimScript aim;
    int frames = 0;
    while (frames < 1200) {
      aim.Step();
      if (!HarnessFrame()) break;
      ++frames;
    }
    EXPECT_EQ(frames, 1200);
    const std::string state = GameState();
    HarnessStop();
    return state;
  };
  const std::string anaglyph = play(ColourMode::Anaglyph);
  const std::string flat = play(ColourMode::Flat);
  EXPECT_NE(anaglyph.find(" score "), std::string::npos);
  EXPECT_GT(playfield.player->score, 0) << "the script shot bees";
  EXPECT_EQ(flat, anaglyph);
}
