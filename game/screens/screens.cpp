// screens.cpp - everything drawn besides the moving objects: the title screen over the attract
// play, the HUD of score, best score and wave, the black side bars that narrow the playfield to
// x 80..559 (with a replay's caption in the left one), the bonus-round panels with one small bee
// per escaped bonus bee, and the pause texts with the volumes and the colour mode. Needs the
// globals (images, player, fade, volume steps), the anaglyph drawing and the best-score update.
#include "game/screens/screens.h"

#include <chrono>
#include <cstdlib>
#include <string>

#include "game/config/colour_mode.h"
#include "game/config/joystick_buttons.h"
#include "game/config/key_bindings.h"
#include "game/config/settings_store.h"
#include "game/config/version.h"
#include "game/play/anaglyph.h"
#include "game/play/entities.h"
#include "game/play/globals.h"
#include "game/play/practice_game.h"
#include "game/play/scores.h"
#include "game/replay/best_game.h"
#include "game/replay/ghost.h"
#include "game/replay/hall_of_fame.h"
#include "game/replay/replay.h"
#include "game/screens/options_screen.h"
#include "graphics/draw2d.h"
#include "graphics/font.h"
#include "graphics/image_draw.h"
#include "system/input_names.h"
#include "system/key_codes.h"

const char kCreditLine[] =
    "Version " ZX_VERSION_SHORT " - a Zumbrix production - Press ESC/B4 to Quit";

const char kFirstStartHint[] = "No 3D glasses? Options (O) > Colours: flat";

std::string CreditLine() {
  const std::string line = kCreditLine, press = " - Press ";
  const GameAction quit = GameAction::kQuit;
  const int key = ActiveBindings().keys[static_cast<int>(quit)];
  std::string words = key == Key(KeyCode::kEscape) ? "ESC"
                      : key == kNoKey              ? ""
                      : KeyName(key).empty()       ? "key " + std::to_string(key)
                                                   : KeyName(key);
  const std::string button = PadButtonWord(ActiveBindings().pads[static_cast<int>(quit)]);
  if (!button.empty()) words += (words.empty() ? "" : "/") + button;
  const std::string prefix = line.substr(0, line.find(press));
  return words.empty() ? prefix : prefix + press + words + " to Quit";
}

std::string PauseVolumeLine(const std::string& line, GameAction action) {
  const std::string word = PadButtonWord(ActiveBindings().pads[static_cast<int>(action)]);
  return line.substr(0, line.find('/')) + (word.empty() ? "" : "/" + word) +
         line.substr(line.find('='));
}

namespace {

// At least two digits: 7 reads "07".
std::string hudtext(int value) {
  std::string text = std::to_string(value);
  if (value < 10) text = "0" + text;
  return text;
}

// Digit images 17 pixels apart from x. The sheet has digits only: a minus sign (a negative
// best score read from a damaged file) keeps its place but draws nothing.
void drawnumber(const std::string& text, float x) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c < '0' || c > '9') continue;
    drawimage3d(assets.digitimg, x + 17.0f * static_cast<float>(i), 22, c - '0', 2, 0, 1, 1, 1);
  }
}

// The options line, and the best game's line between it and the credit line.
constexpr float kHallOfFameLineY = 398, kOptionsLineY = 420, kBestGameLineY = 442;
constexpr auto kNoticeTime = std::chrono::seconds(5);

// Apart from the game's state: the title's notice and until when it shows, on the wall clock
// (drawing the title changes nothing).
struct TitleNotice {
  std::string text;
  std::chrono::steady_clock::time_point until;
} notice;

void drawcentredtext(const std::string& text, float y) {
  drawtext3d(text, 320, y, 2, 0, 1, 1, 4, 1.0f, 0, 255, 255, 255, 0, true);
}

// Whether (x, y) is on `text` drawn centred on line `line_y`: its box, with a few pixels of slack
// that stop short of the lines above and below.
bool OnCentredLine(const std::string& text, float line_y, int x, int y) {
  const int half_width = MeasureTextWidth(text) / 2 + 4,
            half_height = MeasureTextHeight(text) / 2 + 3;
  return std::abs(x - 320) <= half_width && std::abs(y - static_cast<int>(line_y)) <= half_height;
}

// The title's line the player points at, apart from the game's state (it steers no play). The
// pointer rests where play, a screen or the game's own start left it, often low in the middle,
// on the title's lines: the line it rests on when the title appears is pointed at only once the
// pointer has left it and come back, so that a click where it rests starts a game, as the title
// says. Reset whenever the title goes.
struct TitlePointer {
  bool shown = false;  // the title has had a frame since it appeared
  TitleLine resting = TitleLine::kNone;
  TitleLine pointed = TitleLine::kNone;
} title_pointer;

// The line's text, between the menus' markers while it is pointed at.
std::string TitleLineText(const std::string& text, TitleLine line) {
  return title_pointer.pointed == line ? "> " + text + " <" : text;
}

}  // namespace

void drawtitle() {
  // The prompt fades out over 50 frames and comes back at full strength, over and over.
  game_mode.fade -= 0.02f;
  if (game_mode.fade < 0) game_mode.fade = 1.0f;
  DrawTitlePicture();
}

void DrawTitlePicture() {
  drawimage3d(assets.logoimg, 320, 120, 0, 3, 0, 1, 1, 1.0f);
  drawimage3d(assets.promptimg, 320, 290, 0, 3, 0, 1, 1, game_mode.fade);
  drawtext3d("3 D - E D I T I O N", 320, 190, 3, 0, 2, 2, 4, 0.9f, 0, 255, 255, 255, 0, true);
  // A notice takes the best game's line for a few seconds.
  const bool noticed = std::chrono::steady_clock::now() < notice.until;
  const std::string best = BestGameLine();
  if (noticed) {
    drawcentredtext(notice.text, kBestGameLineY);
  } else if (!best.empty()) {
    drawcentredtext(TitleLineText(best, TitleLine::kBestGame), kBestGameLineY);
  }
  drawtext3d(CreditLine(), 320, 464, 2, 0, 1, 1, 4, 1.0f, 0, 255, 255, 255, 0, true);
  // A player new to the game learns where the flat colours are before needing them.
  if (FirstStart()) DrawFirstStartHint();
  drawcentredtext(TitleLineText(kOptionsLine, TitleLine::kOptions), kOptionsLineY);
  if (!CurrentHallOfFame().empty()) {
    drawcentredtext(TitleLineText(kHallOfFameLine, TitleLine::kHallOfFame), kHallOfFameLineY);
  }
}

void ShowTitleNotice(const std::string& text) {
  notice = TitleNotice{text, std::chrono::steady_clock::now() + kNoticeTime};
}

void DrawFirstStartHint() {
  // Plain white on a black plate: read without glasses, over whatever attract play passes under.
  const int width = MeasureTextWidth(kFirstStartHint), height = MeasureTextHeight(kFirstStartHint);
  const float x = static_cast<float>(320 - width / 2), y = kFirstStartHintY - height / 2.0f;
  SetBlend(BLEND_SOLID);
  SetColor(0, 0, 0);
  DrawRect(x - 4, y - 2, static_cast<float>(width + 8), static_cast<float>(height + 4));
  SetColor(255, 255, 255);
  SetBlend(BLEND_ALPHA);
  PaintText(kFirstStartHint, x, y);
  SetBlend(BLEND_MASK);
}

TitleLine TitleLineAt(int x, int y) {
  if (OnCentredLine(kOptionsLine, kOptionsLineY, x, y)) return TitleLine::kOptions;
  if (!CurrentHallOfFame().empty() && OnCentredLine(kHallOfFameLine, kHallOfFameLineY, x, y)) {
    return TitleLine::kHallOfFame;
  }
  const std::string best = BestGameLine();
  if (!best.empty() && OnCentredLine(best, kBestGameLineY, x, y)) return TitleLine::kBestGame;
  return TitleLine::kNone;
}

void FollowTitlePointer(int x, int y) {
  const TitleLine under = TitleLineAt(x, y);
  if (!title_pointer.shown) {
    title_pointer.shown = true;
    title_pointer.resting = under;
  }
  if (under != title_pointer.resting) title_pointer.resting = TitleLine::kNone;
  title_pointer.pointed = under == title_pointer.resting ? TitleLine::kNone : under;
}

TitleLine PointedTitleLine() { return title_pointer.pointed; }

void LeaveTitle() { title_pointer = TitlePointer{}; }

void drawhud() {
  drawimage3d(assets.hudlabelimg, 85, 0, 0, 2, 0, 1, 1, 1);
  drawimage3d(assets.hudlabelimg, 278, 0, 1, 2, 0, 1, 1, 1);
  drawimage3d(assets.hudlabelimg, 478, 0, 2, 2, 0, 1, 1, 1);
  drawnumber(hudtext(playfield.player->score), 85);
  updatebestscore();
  std::string best = hudtext(playfield.player->hscore);
  drawnumber(best, 320.0f - 8.0f * static_cast<float>(best.size()));
  std::string wave = hudtext(playfield.player->wave);
  drawnumber(wave, 560.0f - 16.0f * static_cast<float>(wave.size()));
}

void drawsidebars() {
  SetBlend(BLEND_SOLID);
  SetColor(0, 0, 0);
  DrawRect(0, 0, 80, 480);
  DrawRect(560, 0, 80, 480);
  SetColor(255, 255, 255);
  // A replay says so in the left bar, plainly, in the font, each line centred in it: "Replay"
  // (or "Best game" and its score), who played it, when, the version and the time into it; and
  // for its first seconds the same on a card across the playfield.
  // A practice game says so alone, where a replay's title goes.
  ReplayCaptionText caption = ReplayCaption();
  if (caption.title.empty() && PracticeGame()) caption.title = "Practice";
  if (!caption.title.empty()) {
    SetBlend(BLEND_ALPHA);
    float y = 176;
    for (const std::string* line :
         {&caption.title, &caption.practice, &caption.player, &caption.day, &caption.version,
          &caption.score, &caption.time}) {
      if (line->empty()) continue;
      PaintText(*line, static_cast<float>((80 - MeasureTextWidth(*line)) / 2), y);
      y += 20;
    }
    if (!caption.card.empty()) {
      const int width = MeasureTextWidth(caption.card) + 24;
      SetColor(0, 0, 0);
      SetAlpha(0.75f);
      DrawRect(static_cast<float>(320 - width / 2), 132, static_cast<float>(width), 36);
      SetAlpha(1.0f);
      SetColor(255, 255, 255);
      PaintText(caption.card, static_cast<float>(320 - MeasureTextWidth(caption.card) / 2), 142);
    }
    SetBlend(BLEND_SOLID);
  }
  // The ghost's score in the right bar: the best game's at this moment, and how ours stands.
  const GhostCaptionText ghost = GhostCaption();
  if (!ghost.title.empty()) {
    SetBlend(BLEND_ALPHA);
    float y = 216;
    for (const std::string* line : {&ghost.title, &ghost.score, &ghost.lead, &ghost.difference}) {
      if (!line->empty()) {
        PaintText(*line, 560.0f + static_cast<float>((80 - MeasureTextWidth(*line)) / 2), y);
      }
      y += 20;
    }
    SetBlend(BLEND_SOLID);
  }
}

void drawbonuspanels() {
  drawimage3d(assets.bonusbannerimg, 160, 90, 0, 3, 0, 1, 1, 1);
  drawimage3d(assets.bonusbannerimg, 320, 90, 1, 3, 0, 1, 1, 1);
  drawimage3d(assets.bonusbannerimg, 480, 90, 2, 3, 0, 1, 1, 1);
  for (int i = 0; i < progress.escaped; ++i) {
    drawimage3d(assets.beeimg, 100.0f + 30.0f * static_cast<float>(i), 460, 0, 3, 0, 0.5f, 0.5f, 1);
  }
}

void drawpause(const Ref<TImage>& frozen) {
  SetBlend(BLEND_SOLID);
  if (frozen) PaintImage(frozen, 0, 0, 0);
  // The bars' captions drawn afresh: painted back from the captured picture in a scaled display
  // their thin letters come out thickened.
  drawsidebars();
  drawcentredtext(pausetexts[0], 180);
  drawcentredtext(
      PauseVolumeLine(pausetexts[1], GameAction::kFire) + volumelabels[program.musicstep], 210);
  drawcentredtext(
      PauseVolumeLine(pausetexts[2], GameAction::kHyperspace) + volumelabels[program.sfxstep], 230);
  drawcentredtext(pausetexts[3] + ColourModeLabel(GetColourMode()), 250);
  drawcentredtext(kOptionsLine, 290);
  SetColor(255, 255, 255);
}
