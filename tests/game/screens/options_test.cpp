// The options and controls screens as a player uses them: each option row changes its setting and
// the settings file; the controls screen rebinds a key so that the new key acts and the old one
// does not, refuses a key another action has, and brings the defaults back; the whole round with a
// pad alone; the name picked letter by letter with a pad alone; a game recorded with rebound keys
// replays to the same score on a run whose own keys are the defaults; play that loses the focus
// pauses; and reduced flashing changes the wave-end caption at most three times a second while the
// game runs exactly as with full flashing.
#include <deque>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>
#include <vector>

#include "game/config/binding_rules.h"
#include "game/config/colour_mode.h"
#include "game/config/joystick_buttons.h"
#include "game/config/key_bindings.h"
#include "game/config/player_name.h"
#include "game/config/settings.h"
#include "game/config/settings_store.h"
#include "game/play/screen_name.h"
#include "game/play/waves.h"
#include "game/replay/replay.h"
#include "game/replay/state_hash.h"
#include "game/screens/controls_screen.h"
#include "graphics/draw2d.h"
#include "graphics/pixmap.h"
#include "platform/clock.h"
#include "platform/virtual_pad.h"
#include "system/polled_input.h"
#include "tests/game/aim_script.h"
#include "tests/game/game_fixture.h"

namespace {

constexpr int kEsc = 27, kEnter = 13, kSpace = 32, kUp = 38, kDown = 40, kRight = 39, kF4 = 115;
constexpr int kLeftAlt = 164;
constexpr int kOptionsRows = 8;  // the rows with a setting, before "Controls"
constexpr int kControlsRow = 8;
constexpr int kNameRow = 9;
const char* const kRowKeys[kOptionsRows] = {"display",  "scale",        "colours",
                                            "stereo",   "sound_output", "pause_on_focus_loss",
                                            "flashing", "ghost"};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool InMenu() {
  const ModalScreen screen = CurrentModalScreen();
  return screen == ModalScreen::Options || screen == ModalScreen::Controls ||
         screen == ModalScreen::Name;
}

class OptionsTest : public GameTest {
 protected:
  void TearDown() override {
    GameTest::TearDown();
    if (pad_ >= 0) UnplugVirtualPad(pad_);
    ResetSettings();
    UseRunInputChoices();
  }

  fs::path File() const { return folder_ / "settings.ini"; }

  // A run with its own settings file, on the null driver unless the picture is `drawn`.
  void StartWithFile(bool joystick = true, bool drawn = false) {
    if (folder_.empty()) MakeFolder();
    LoadSettings(File().string());
    HarnessOptions options;
    options.folder = folder_.string();
    options.null_graphics = !drawn;
    options.joystick = joystick;
    Start(options);
  }

  void PlugPad() {
    pad_ = PlugVirtualPad(::testing::UnitTest::GetInstance()->current_test_info()->name());
    ASSERT_GE(pad_, 0);
  }

  // One step every second flip, so that each tap is let go before the next.
  void Then(std::function<void()> step) { steps_.push_back(std::move(step)); }
  void Keys(std::initializer_list<int> keys) {
    for (int key : keys) Then([key] { HarnessTapKey(key); });
  }
  // A pad button pressed for one step and let go at the next.
  void Button(PadButton button) {
    Then([this, button] { SetVirtualPadButton(pad_, button, true); });
    Then([this, button] { SetVirtualPadButton(pad_, button, false); });
  }

  // Frames until every step was taken and the menus are closed. Steps left over would hang in a
  // menu, so once they are used up ESC is tapped there.
  void RunSteps() {
    int flip = 0;
    HarnessOnFlip([&] {
      if (++flip % 2) return;
      if (!steps_.empty()) {
        auto step = std::move(steps_.front());
        steps_.pop_front();
        step();
      } else if (InMenu()) {
        HarnessTapKey(kEsc);
      }
    });
    HarnessRunUntil([&] { return steps_.empty() && !InMenu(); }, 500);
    HarnessOnFlip(nullptr);
    EXPECT_TRUE(steps_.empty());
  }

  // Flips taken by one pass of the frame loop: more than one when a pause screen ran, which taps
  // `resume` at its tenth flip.
  static int FlipsOfOneFrame(int resume) {
    int flip = 0;
    HarnessOnFlip([&] {
      if (++flip == 10) HarnessTapKey(resume);
    });
    const int before = HarnessFlips();
    HarnessFrame();
    HarnessOnFlip(nullptr);
    return HarnessFlips() - before;
  }

  // From the title to the controls screen with Fire's row selected.
  void OpenControls() {
    Keys({'O'});
    for (int i = 0; i < kControlsRow; ++i) Keys({kDown});
    Keys({kEnter});
  }

  std::deque<std::function<void()>> steps_;
  int pad_ = -1;
};

TEST_F(OptionsTest, EachOptionRowChangesItsSettingAndTheFileAtOnce) {
  StartWithFile();
  HarnessRun(2);
  for (int row = 0; row < kOptionsRows; ++row) {
    const Settings before = RunSettings();
    Keys({'O'});
    for (int i = 0; i < row; ++i) Keys({kDown});
    Keys({kRight, kEsc});
    RunSteps();
    const SettingKey& key = *FindSettingKey(kRowKeys[row]);
    const std::size_t index = static_cast<std::size_t>(&key - SettingKeys().data());
    EXPECT_EQ(ChangedSettingKeys(before, RunSettings()), SettingKeySet{1} << index)
        << "row " << row << " should change " << key.name << " alone";
    const std::string line = std::string(key.name) + " = " + SettingText(key, RunSettings());
    EXPECT_NE(ReadAll(File()).find(line), std::string::npos) << line;
    EXPECT_EQ(game_mode.titlemode, 1) << "back on the title, no game started";
  }
  EXPECT_EQ(RunSettings().flashing, Flashing::kReduced);
  EXPECT_TRUE(RunSettings().ghost);
  EXPECT_FALSE(ActiveInputChoices().pause_on_focus_loss) << "in force at once";
}

TEST_F(OptionsTest, AReboundKeyActsTheOldOneDoesNotAConflictIsRefusedAndDefaultsReturn) {
  StartWithFile();
  HarnessRun(2);
  OpenControls();
  Keys({kDown, kDown, kEnter, 'P'});  // Pause: P
  Keys({kUp, kEnter, kLeftAlt});      // Hyperspace: Left Alt is its own key, kept
  Keys({kDown, kDown, kEnter});       // Abandon: wait for a key...
  Keys({'P'});                        // ...P is Pause's: refused
  RunSteps();
  EXPECT_EQ(ActiveBindings().keys[static_cast<int>(GameAction::kPause)], 'P');
  EXPECT_EQ(ActiveBindings().keys[static_cast<int>(GameAction::kAbandon)], 112);
  EXPECT_NE(ReadAll(File()).find("key_pause = P\n"), std::string::npos);
  EXPECT_NE(BindingRefusal(ActiveBindings(), GameAction::kAbandon, BindingColumn::kKey, 'P'), "");
  // W watches the best game from the title: a fire key there would never fire.
  EXPECT_NE(BindingRefusal(ActiveBindings(), GameAction::kFire, BindingColumn::kKey, 'W'), "");

  EnterPlay();
  EXPECT_EQ(FlipsOfOneFrame('P'), 1) << "nothing pressed";
  HarnessTapKey(kSpace);
  EXPECT_EQ(FlipsOfOneFrame('P'), 1) << "Space no longer pauses";
  HarnessTapKey('P');
  EXPECT_GT(FlipsOfOneFrame('P'), 1) << "P pauses, and ends the pause";
  EXPECT_EQ(game_mode.playing, 1);

  // Back on the title (F1), the defaults.
  HarnessTapKey(112);
  HarnessRun(2);
  ASSERT_EQ(game_mode.titlemode, 1);
  OpenControls();
  for (int i = 0; i < kGameActions; ++i) Keys({kDown});
  Keys({kEnter});
  RunSteps();
  EXPECT_EQ(ActiveBindings(), kDefaultBindings);
  EXPECT_NE(ReadAll(File()).find("key_pause = Space\n"), std::string::npos);
  EnterPlay();
  HarnessTapKey(kSpace);
  EXPECT_GT(FlipsOfOneFrame(kSpace), 1) << "Space pauses again";
}

TEST_F(OptionsTest, TheWholeRoundWorksWithAPadAlone) {
  StartWithFile(false);
  PlugPad();
  HarnessRun(2);
  const DisplayMode before = RunSettings().display;
  Button(PadButton::Y);          // options
  Button(PadButton::DpadRight);  // display: the next mode
  for (int i = 0; i < kControlsRow; ++i) Button(PadButton::DpadDown);
  Button(PadButton::A);          // controls
  Button(PadButton::DpadRight);  // the pad's column
  Button(PadButton::DpadDown);
  Button(PadButton::DpadDown);
  Button(PadButton::A);             // Pause: wait for a button
  Button(PadButton::LeftShoulder);  // ...the left shoulder
  Button(PadButton::B);             // back to the options
  Button(PadButton::B);             // back to the title
  RunSteps();
  EXPECT_NE(RunSettings().display, before);
  EXPECT_EQ(ActiveBindings().pads[static_cast<int>(GameAction::kPause)], 5);
  EXPECT_NE(ReadAll(File()).find("pad_pause = leftshoulder\n"), std::string::npos);
  ASSERT_EQ(game_mode.titlemode, 1);

  // A starts a game; in play the left shoulder pauses and X no longer does.
  SetVirtualPadButton(pad_, PadButton::A, true);
  HarnessRun(1);
  SetVirtualPadButton(pad_, PadButton::A, false);
  ASSERT_TRUE(RunUntil([] { return game_mode.playing == 1; }, 400));
  auto press = [this](PadButton button) {
    int flip = 0;
    HarnessOnFlip([&] {
      ++flip;
      if (flip == 1) SetVirtualPadButton(pad_, button, false);
      if (flip == 10) SetVirtualPadButton(pad_, PadButton::LeftShoulder, true);
      if (flip == 12) SetVirtualPadButton(pad_, PadButton::LeftShoulder, false);
    });
    SetVirtualPadButton(pad_, button, true);
    const int before = HarnessFlips();
    HarnessFrame();
    HarnessOnFlip(nullptr);
    return HarnessFlips() - before;
  };
  EXPECT_EQ(press(PadButton::X), 1);
  EXPECT_GT(press(PadButton::LeftShoulder), 1);
}

// The Name row's screen with a pad alone: the D-pad moves along the name and steps its letters
// (through the end of the alphabet to the marks), X deletes, A keeps it in the settings file, and
// B leaves it as it was.
TEST_F(OptionsTest, TheNameIsPickedLetterByLetterWithAPadAlone) {
  MakeFolder();
  std::ofstream(File()) << "name = Al\n";
  StartWithFile(false);
  PlugPad();
  HarnessRun(2);
  ASSERT_EQ(PlayerName(), "Al");
  auto open_name = [this] {
    Button(PadButton::Y);
    for (int i = 0; i < kNameRow; ++i) Button(PadButton::DpadDown);
    Button(PadButton::A);
  };
  open_name();
  Then([] { EXPECT_EQ(CurrentModalScreen(), ModalScreen::Name); });
  Button(PadButton::DpadLeft);   // onto the "l"
  Button(PadButton::DpadUp);     // "m"
  Button(PadButton::DpadRight);  // a new letter: "AmA"
  Button(PadButton::DpadDown);   // before "A", the last mark: "Am!"
  Button(PadButton::X);          // "Am"
  Button(PadButton::DpadUp);     // a letter at the end: "AmA"
  Button(PadButton::DpadUp);     // "AmB"
  Button(PadButton::A);          // kept
  Button(PadButton::B);          // back to the title
  RunSteps();
  EXPECT_EQ(PlayerName(), "AmB");
  EXPECT_NE(ReadAll(File()).find("name = AmB\n"), std::string::npos) << ReadAll(File());

  open_name();
  Button(PadButton::DpadUp);
  Button(PadButton::X);
  Button(PadButton::B);  // the name stays
  Button(PadButton::B);
  RunSteps();
  EXPECT_EQ(PlayerName(), "AmB");
  EXPECT_EQ(game_mode.titlemode, 1);
}

// The player who rebinds quit and then wants ESC back presses ESC when asked; for any other
// action ESC keeps the key it has.
TEST_F(OptionsTest, EscIsTheKeyAskedForWhenRebindingQuitAndKeepsAnyOtherKey) {
  StartWithFile();
  HarnessRun(2);
  OpenControls();
  Keys({kDown, kDown, kDown, kDown, kEnter, 'Q'});  // Quit: Q
  Keys({kEnter, kEsc});                             // Quit: ESC again
  Keys({kUp, kEnter, kEsc});                        // Abandon: ESC keeps F1
  RunSteps();
  EXPECT_EQ(ActiveBindings(), kDefaultBindings);
  EXPECT_NE(ReadAll(File()).find("key_quit = Escape\n"), std::string::npos) << ReadAll(File());
  EXPECT_NE(ReadAll(File()).find("key_abandon = F1\n"), std::string::npos) << ReadAll(File());
}

// The menus' selection goes round: up from the first row is the last; and the stick held down
// keeps stepping through the rows after a moment.
TEST_F(OptionsTest, TheSelectionWrapsAndAStickHeldInAMenuRepeatsItsStep) {
  StartWithFile();
  HarnessRun(2);
  const Settings before = RunSettings();
  Keys({'O', kUp, kUp, kUp, kUp, kRight, kEsc});  // past "Back", "Name" and "Controls" to the ghost
  RunSteps();
  EXPECT_EQ(ChangedSettingKeys(before, RunSettings()), ChangedSettingKeys(Settings{}, [] {
              Settings ghost;
              ghost.ghost = true;
              return ghost;
            }()));
  const Settings wrapped = RunSettings();
  Keys({'O'});
  Then([] { HarnessJoyAxis(1, 32767); });
  for (int i = 0; i < 20; ++i) Then([] {});  // held for 40 frames
  Then([] { HarnessJoyAxis(1, 0); });
  Keys({kRight, kEsc});
  RunSteps();
  const SettingKeySet changed = ChangedSettingKeys(wrapped, RunSettings());
  int row = 0;
  while (row < kOptionsRows &&
         changed != SettingKeySet{1} << (FindSettingKey(kRowKeys[row]) - SettingKeys().data())) {
    ++row;
  }
  EXPECT_GE(row, 3) << "the held stick stepped once or twice only";
  EXPECT_LT(row, kOptionsRows) << "no row's setting alone changed";
}

// A change the file cannot take (read-only, or a save that fails) still holds for the run, and
// the screen says so where a saved change shows nothing.
TEST_F(OptionsTest, AChangeTheFileCannotTakeIsSaidOnTheScreen) {
  enum class Kind { kSaved, kReadOnly, kFailed };
  std::vector<Ref<TPixmap>> panels;
  for (Kind kind : {Kind::kSaved, Kind::kReadOnly, Kind::kFailed}) {
    MakeFolder();
    std::ofstream(File()) << "# mine\n";
    if (kind == Kind::kReadOnly) fs::permissions(File(), fs::perms::owner_read);
    if (kind == Kind::kFailed) fs::create_directory(File().string() + ".new");
    testing::internal::CaptureStderr();
    StartWithFile(true, true);
    HarnessRun(2);
    Ref<TPixmap> panel;
    Keys({'O', kDown, kDown, kDown, kDown, kDown, kDown, kRight});  // flashing: reduced
    Then([&panel] { panel = GrabPixmap(80, 40, 480, 400); });
    Keys({kEsc});
    RunSteps();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(RunSettings().flashing, Flashing::kReduced);
    EXPECT_EQ(ReadAll(File()) == "# mine\n", kind != Kind::kSaved);
    ASSERT_TRUE(panel);
    panels.push_back(panel);
    HarnessStop();
    fs::permissions(File(), fs::perms::owner_all);
    ResetSettings();
    fs::remove_all(folder_);
  }
  auto differing = [&panels](std::size_t a, std::size_t b) {
    int n = 0;
    for (int y = 0; y < panels[a]->height; ++y) {
      for (int x = 0; x < panels[a]->width; ++x)
        n += panels[a]->ReadPixel(x, y) != panels[b]->ReadPixel(x, y);
    }
    return n;
  };
  EXPECT_GT(differing(0, 1), 200) << "nothing said of the read-only file";
  EXPECT_GT(differing(0, 2), 200) << "nothing said of the failed save";
  EXPECT_GT(differing(1, 2), 0) << "the two are told apart";
}

// A pad's Start is the pause's own button beside the one the pause is bound to: with fire moved
// to X and the pause to the left shoulder, Start pauses, resumes, and neither fires nor steps a
// volume; and no other action can have it.
TEST_F(OptionsTest, StartPausesWhateverButtonThePauseHasAndDoesNothingElse) {
  StartWithFile(false);
  PlugPad();
  KeyBindings moved = kDefaultBindings;
  moved.pads[static_cast<int>(GameAction::kFire)] = 2;   // X
  moved.pads[static_cast<int>(GameAction::kPause)] = 5;  // the left shoulder
  UseInputChoices(InputChoices{moved, true});
  EnterPlay();
  HarnessRun(10);
  const int music = program.musicstep;
  int flip = 0;
  HarnessOnFlip([&] {
    ++flip;
    if (flip == 1) SetVirtualPadButton(pad_, PadButton::Start, false);
    if (flip == 10) SetVirtualPadButton(pad_, PadButton::Start, true);
    if (flip == 12) SetVirtualPadButton(pad_, PadButton::Start, false);
  });
  SetVirtualPadButton(pad_, PadButton::Start, true);
  const int before = HarnessFlips();
  HarnessFrame();
  HarnessOnFlip(nullptr);
  EXPECT_GT(HarnessFlips() - before, 10) << "Start did not pause";
  EXPECT_LT(HarnessFlips() - before, 40) << "Start did not resume";
  EXPECT_EQ(playfield.player->shotctr, 0) << "Start fired";
  EXPECT_EQ(program.musicstep, music);
  EXPECT_EQ(game_mode.playing, 1);
  // The controls screen gives Start to the pause alone.
  EXPECT_EQ(BindingRefusal(moved, GameAction::kFire, BindingColumn::kPad, kStartButton),
            "start pauses the game");
  EXPECT_EQ(BindingRefusal(moved, GameAction::kPause, BindingColumn::kPad, kStartButton), "");
}

TEST_F(OptionsTest, AFocusLostInPlayPausesUntilThePlayerResumes) {
  StartWithFile();
  EnterPlay();
  std::vector<std::string> screens;
  int flip = 0;
  HarnessOnFlip([&] {
    screens.push_back(CurrentScreenName());
    ++flip;
    if (flip == 2) HarnessFocus(true);  // before the pause screen's first wait for it
    if (flip == 20) HarnessTapKey(kSpace);
  });
  HarnessFocus(false);
  HarnessFrame();
  HarnessOnFlip(nullptr);
  ASSERT_GE(screens.size(), 20u) << "no pause";
  EXPECT_EQ(screens[5], "pause");
  EXPECT_EQ(game_mode.playing, 1);
}

// As X delivers it: the focus goes inside the flip's own message pump, is waited out by the same
// frame (the return comes while it waits), and the next frame sees the window active again. Play
// must still stop at the pause screen, as the README promises, until the player resumes it.
TEST_F(OptionsTest, AFocusLostInsideTheFlipsOwnPumpPausesPlayAllTheSame) {
  StartWithFile();
  EnterPlay();
  std::vector<std::string> screens;
  std::thread comes_back;
  int flip = 0;
  HarnessOnFlip([&] {
    screens.push_back(CurrentScreenName());
    if (++flip == 1) {
      HarnessFocus(false);
      // From elsewhere, while the frame waits for the window to be active again.
      comes_back = std::thread([] {
        plat_sleep_real(20);
        HarnessFocus(true);
      });
    }
    if (flip == 20) HarnessTapKey(kSpace);
  });
  const int frames = HarnessRun(3);
  HarnessOnFlip(nullptr);
  comes_back.join();
  EXPECT_EQ(frames, 3);
  ASSERT_GE(screens.size(), 20u) << "play went on: no pause after the focus came back";
  EXPECT_EQ(screens[1], "pause");
  EXPECT_EQ(game_mode.playing, 1) << "resumed";
  EXPECT_EQ(AppSuspendHits(), 0) << "a loss counted twice pauses twice";
}

// F4 in the pause screen is kept in settings.ini when it changes, not at some later switch: the
// file says "flat" while the game is still paused.
TEST_F(OptionsTest, F4InThePauseScreenReachesTheFileWhileStillPaused) {
  SetColourMode(ColourMode::Anaglyph);
  StartWithFile();
  EnterPlay();
  std::string file_while_paused;
  int flip = 0;
  HarnessOnFlip([&] {
    ++flip;
    if (flip == 3) HarnessTapKey(kF4);
    if (flip == 6) {
      file_while_paused = ReadAll(File());
      HarnessTapKey(kSpace);
    }
  });
  HarnessTapKey(kSpace);
  HarnessFrame();
  HarnessOnFlip(nullptr);
  EXPECT_EQ(GetColourMode(), ColourMode::Flat);
  EXPECT_NE(file_while_paused.find("colours = flat\n"), std::string::npos) << file_while_paused;
  SetColourMode(ColourMode::Anaglyph);
}

// The fly-away of the first wave, frame by frame: the caption's look and the state hash.
struct FlyAway {
  std::vector<FlashLook> looks;
  std::vector<std::uint64_t> hashes;
};

class FlashingTest : public OptionsTest {
 protected:
  FlyAway Run(Flashing flashing) {
    ChangeSettings([flashing](Settings& s) { s.flashing = flashing; });
    HarnessOptions options;
    options.folder = MakeFolder().string();
    options.null_graphics = true;
    HarnessStart(options);
    EnterPlay();
    wave_counts.swarmskilled = progress.swarmsperwave;
    FlyAway run;
    for (int frame = 0; frame < 600 && game_mode.getready == 0; ++frame) {
      HarnessFrame();
      run.looks.push_back(LastFlashLook());
      run.hashes.push_back(GameStateHash());
    }
    HarnessStop();
    return run;
  }
};

TEST_F(FlashingTest, ReducedFlashingChangesAtMostThreeTimesASecondAndTheGameRunsTheSame) {
  const FlyAway full = Run(Flashing::kFull);
  const FlyAway reduced = Run(Flashing::kReduced);
  ASSERT_GT(full.looks.size(), 200u);
  EXPECT_EQ(reduced.hashes, full.hashes);
  auto changes = [](const FlyAway& run, std::size_t from, std::size_t to) {
    int n = 0;
    for (std::size_t i = from + 1; i < to && i < run.looks.size(); ++i) {
      n += !(run.looks[i] == run.looks[i - 1]);
    }
    return n;
  };
  EXPECT_GT(changes(full, 0, full.looks.size()), 100) << "the full caption changes every frame";
  for (std::size_t start = 0; start + 60 <= reduced.looks.size(); ++start) {
    ASSERT_LE(changes(reduced, start, start + 61), 3) << "a second from frame " << start;
  }
  EXPECT_GE(changes(reduced, 0, reduced.looks.size()), 5) << "but it still flashes";
}

// A player whose fire and pause keys are F and P: the aiming script firing with F, and one
// pause with P.
class ReboundReplay : public OptionsTest {
 protected:
  void Play(int frame) {
    aim_.Step();
    if (frame == 400 && game_mode.playing == 1) HarnessTapKey('P');
  }
  AimScript aim_;
};

TEST_F(ReboundReplay, AGameRecordedWithReboundKeysReplaysToTheSameScore) {
  MakeFolder();
  ChangeSettings([](Settings& s) {
    s.bindings.keys[static_cast<int>(GameAction::kFire)] = 'F';
    s.bindings.keys[static_cast<int>(GameAction::kPause)] = 'P';
  });
  HarnessOptions options;
  options.folder = folder_.string();
  options.null_graphics = true;
  aim_.fire = [] { HarnessTapKey('F'); };
  StartRecording();
  HarnessStart(options);
  int paused = 0;
  HarnessOnFlip([&] {
    if (CurrentModalScreen() == ModalScreen::Pause && ++paused == 30) HarnessTapKey('P');
  });
  for (int frame = 0; frame < 2400; ++frame) {
    Play(frame);
    if (!HarnessFrame()) break;
  }
  HarnessOnFlip(nullptr);
  HarnessTapKey(kEsc);
  HarnessFrame();
  ReplayJournal journal = StopRecording().journal;
  const int score = playfield.player->score;
  HarnessStop();
  ASSERT_GE(paused, 30) << "P paused the recorded game";
  ASSERT_GT(score, 0) << "the F key fired";
  fs::remove(folder_ / "data" / "hiscore.dat");

  // The viewer's own keys are the defaults, and the journal goes through the file's bytes.
  ResetSettings();
  ReplayJournal parsed;
  ASSERT_EQ(ParseReplay(SerializeReplay(journal), parsed), ReplayError::kNone);
  EXPECT_EQ(parsed, journal);
  StartReplay(std::move(parsed));
  HarnessStart(options);
  while (CurrentReplayStatus() == ReplayStatus::kPlaying && HarnessFrame()) {
  }
  EXPECT_NE(CurrentReplayStatus(), ReplayStatus::kDiverged) << ReplayDivergence();
  EXPECT_EQ(playfield.player->score, score);
  StopReplay();
}

TEST(KeyBindingSettings, KeysAndButtonsAreReadAndWrittenBySdlNamesAndUnknownOnesAreNamed) {
  testing::internal::CaptureStderr();
  const Settings s = ParseSettings(
      "key_fire = left ctrl\n"
      "key_hyperspace = Right Alt\n"
      "key_pause = P\n"
      "key_abandon = none\n"
      "key_quit = Nonsense Key\n"
      "pad_fire = X\n"
      "pad_pause = leftshoulder\n"
      "pad_quit = trigger\n",
      "test.ini");
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(s.bindings.keys, (std::array<int, kGameActions>{162, 165, 'P', kNoKey, 27}));
  EXPECT_EQ(s.bindings.pads, (std::array<int, kGameActions>{2, 1, 5, kNoButton, 3}));
  EXPECT_NE(said.find("test.ini:5: \"Nonsense Key\" is not a value for key_quit"),
            std::string::npos)
      << said;
  EXPECT_NE(said.find("test.ini:8: \"trigger\" is not a value for pad_quit"), std::string::npos)
      << said;
  const std::string text = FormatSettings(s, "");
  for (const char* line :
       {"key_fire = Left Ctrl\n", "key_hyperspace = Right Alt\n", "key_abandon = none\n",
        "key_quit = Escape\n", "pad_fire = x\n", "pad_pause = leftshoulder\n",
        "pad_abandon = none\n", "pad_quit = back\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "in\n" << text;
  }
  EXPECT_EQ(ReadSettingsQuietly(text), s);
}

// The file's bindings keep the controls screen's rule: what the screen refuses is named once
// and its default used, however the refusals chain, and what it takes is kept (a swap too).
TEST(KeyBindingSettings, WhatTheControlsScreenRefusesIsNamedOnceAndItsDefaultUsed) {
  struct Case {
    const char* text;
    KeyBindings bindings;
    std::vector<std::string> said;
  };
  const Case cases[] = {
      {"key_fire = Space\nkey_hyperspace = F2\nkey_pause = Escape\nkey_abandon = O\n"
       "key_quit = none\npad_fire = start\npad_hyperspace = y\npad_pause = a\n",
       kDefaultBindings,
       {"f:1: key_fire = Space refused (Space is Pause's key); using Left Ctrl",
        "f:2: key_hyperspace = F2 refused (F2 is kept by the game); using Left Alt",
        "f:3: key_pause = Escape refused (Escape only quits or goes back); using Space",
        "f:4: key_abandon = O refused (O opens the options); using F1",
        "f:5: key_quit = none refused (Quit needs a key); using Escape",
        "f:6: pad_fire = start refused (start pauses the game); using a",
        "f:7: pad_hyperspace = y refused (y opens the options); using b",
        "f:8: pad_pause = a refused (a is Fire's button); using x"}},
      {"key_fire = Up\nkey_hyperspace = Return\nkey_abandon = W\nkey_quit = F4\n"
       "key_pause = none\npad_quit = x\n",
       kDefaultBindings,
       {"f:1: key_fire = Up refused", "f:2: key_hyperspace = Return refused",
        "f:3: key_abandon = W refused", "f:4: key_quit = F4 refused",
        "f:5: key_pause = none refused", "f:6: pad_quit = x refused"}},
      {"key_fire = Left Alt\nkey_hyperspace = Left Ctrl\nkey_pause = P\nkey_quit = Q\n"
       "key_abandon = none\npad_pause = start\npad_quit = none\npad_abandon = back\n",
       {{164, 162, 'P', kNoKey, 'Q'}, {0, 1, kStartButton, 3, kNoButton}},
       {}},
  };
  for (const Case& c : cases) {
    testing::internal::CaptureStderr();
    const Settings s = ParseSettings(c.text, "f");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(s.bindings, c.bindings) << c.text;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), static_cast<long>(c.said.size())) << said;
    for (const std::string& line : c.said) EXPECT_NE(said.find(line), std::string::npos) << said;
    EXPECT_EQ(ReadSettingsQuietly(c.text), s);
    for (int a = 0; a < kGameActions; ++a) {
      const GameAction action = static_cast<GameAction>(a);
      EXPECT_EQ(BindingRefusal(s.bindings, action, BindingColumn::kKey, s.bindings.keys[a]), "");
      EXPECT_EQ(BindingRefusal(s.bindings, action, BindingColumn::kPad, s.bindings.pads[a]), "");
    }
  }
}

}  // namespace
