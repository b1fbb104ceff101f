// The settings file: values read over the defaults, damaged lines, bad values and unknown keys
// reported and ignored, the old volume keys kept but not applied, a byte order mark skipped, CRLF
// kept, trailing comments kept, values echoed short; and the store: saves only of what this run
// changed, merged into the file as it is at save time, never through a FIFO or folder, through a
// symbolic link to its file, and the pause screen's volume keys writing nothing.
#include <algorithm>
#include <utility>

#include "game/config/settings.h"
#include "game/config/settings_store.h"
#include "game/play/globals.h"
#include "game/play/sound_control.h"
#include "tests/game/held_fifo.h"
#include "tests/game/temp_folder.h"

namespace {

namespace fs = std::filesystem;

int Lines(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++n;
  }
  return n;
}

TEST(SettingsText, ValuesAreReadAndEveryProblemIsNamedOnceAndIgnored) {
  testing::internal::CaptureStderr();
  Settings s = ParseSettings(
      "# a comment\n"
      "\n"
      "display = window\r\n"
      "this line is damaged\n"
      "colours = purple\n"
      "  = 4\n"
      "some_future_key = whatever\n"
      "some_future_key = again\n"
      "scale = integer\n",
      "settings.ini");
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(s.display, DisplayMode::Window);
  EXPECT_EQ(s.colours, Settings{}.colours);
  EXPECT_EQ(s.scale, ScalePolicy::Integer);
  EXPECT_EQ(Lines(err), 4) << err;
  EXPECT_NE(err.find("settings.ini:4:"), std::string::npos) << err;
  EXPECT_NE(err.find("settings.ini:5: \"purple\" is not a value for colours (anaglyph or flat)"),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("settings.ini:6:"), std::string::npos) << err;
  // An unknown key (a typo, or a later version's) is named, once however often it appears.
  EXPECT_NE(err.find("settings.ini:7: unknown key \"some_future_key\""), std::string::npos) << err;

  // Nothing at all gives the defaults, silently; so does reading again for a save.
  testing::internal::CaptureStderr();
  EXPECT_EQ(ParseSettings("", "x"), Settings{});
  EXPECT_EQ(ReadSettingsQuietly("nonsense\nkey = 1\ndisplay = huge\n"), Settings{});
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(SettingsText, TheOldVolumeKeysAreKeptButNotAppliedAndSaidOnceToBeUnused) {
  const std::string old = "music_volume = 3\neffects_volume = 9\nmusic_volume = 4\n";
  testing::internal::CaptureStderr();
  EXPECT_EQ(ParseSettings(old, "f"), Settings{});
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(Lines(err), 2) << err;
  EXPECT_NE(err.find("f:1: music_volume is no longer used"), std::string::npos) << err;
  EXPECT_NE(err.find("f:2: effects_volume is no longer used"), std::string::npos) << err;
  // A rewrite does not take them away.
  EXPECT_EQ(FormatSettings(Settings{}, old).rfind(old, 0), 0u);
  for (const SettingKey& key : SettingKeys()) {
    EXPECT_EQ(std::string(key.name).find("volume"), std::string::npos) << key.name;
  }
}

TEST(SettingsText, ANewFileListsEveryKeyWithItsCommentAndReadsBack) {
  Settings s;
  s.display = DisplayMode::Desktop;
  const std::string text = FormatSettings(s, "");
  for (const SettingKey& key : SettingKeys()) {
    std::string comment = std::string("# ") + key.comment + "\n";
    for (std::size_t at = comment.find('\n'); at + 1 < comment.size();
         at = comment.find('\n', at + 1))
      comment.insert(at + 1, "# ");
    EXPECT_NE(text.find(comment + key.name + " = "), std::string::npos) << comment << text;
  }
  EXPECT_EQ(text.find("# #"), std::string::npos) << "a comment line is marked twice:\n" << text;
  testing::internal::CaptureStderr();
  EXPECT_EQ(ParseSettings(text, "f"), s);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(SettingsText, ARewriteKeepsEveryLineItDoesNotOwnByteForByte) {
  const std::string before =
      "# my own note\n"
      "colours=flat\n"
      "future_key = 12   \n"
      "what is this\n"
      "colours = anaglyph\n"
      "scale = integer\n";
  Settings s;
  s.colours = ColourMode::Anaglyph;
  s.display = DisplayMode::Window;
  const std::string after = FormatSettings(s, before);
  EXPECT_EQ(after.rfind("# my own note\ncolours = anaglyph\nfuture_key = 12   \nwhat is this\n", 0),
            0u)
      << after;
  EXPECT_EQ(Count(after, "colours"), 1) << after;
  EXPECT_NE(after.find("display = window\n"), std::string::npos) << after;
  EXPECT_EQ(FormatSettings(s, after), after);  // rewriting what was written changes nothing

  // Only the keys asked for: every other line, known or not, stays as it is, even a bad value.
  const std::string edited = "scale = INTEGER # by hand\ndisplay = huge\ncolours = flat\n";
  Settings run;
  run.colours = ColourMode::Anaglyph;
  run.scale = ScalePolicy::Fit;
  const SettingKeySet colours = ChangedSettingKeys(Settings{}, [] {
    Settings flat;
    flat.colours = ColourMode::Flat;
    return flat;
  }());
  EXPECT_EQ(FormatSettings(run, edited, colours),
            "scale = INTEGER # by hand\ndisplay = huge\ncolours = anaglyph\n");
  // A key asked for that the file lacks is appended with its comment; the others are not.
  const std::string added = FormatSettings(run, "scale = fit\n", colours);
  EXPECT_EQ(added.rfind("scale = fit\n\n# anaglyph", 0), 0u) << added;
  EXPECT_EQ(added.find("display"), std::string::npos) << added;
}

TEST(SettingsText, AByteOrderMarkIsSkippedAndTheRewriteKeepsItAndOneCopyOfEachKey) {
  const std::string bom = "\xEF\xBB\xBF";
  testing::internal::CaptureStderr();
  const Settings s = ParseSettings(bom + "display = window\nscale = integer\n", "f");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(s.display, DisplayMode::Window);
  const std::string after = FormatSettings(s, bom + "display = window\nscale = integer\n");
  EXPECT_EQ(after.rfind(bom + "display = window\nscale = integer\n", 0), 0u) << after;
  EXPECT_EQ(Count(after, "display ="), 1) << after;
  EXPECT_EQ(Count(after, bom), 1);
}

TEST(SettingsText, ACrlfFileIsRewrittenWithCrlfOnlyAndTrailingCommentsAreKept) {
  const std::string before = "# mine\r\ndisplay = window   # the big screen\r\nscale = fit#x\r\n";
  Settings s = ParseSettings(before, "f");
  EXPECT_EQ(s.display, DisplayMode::Window);
  EXPECT_EQ(s.scale, ScalePolicy::Fit);
  s.display = DisplayMode::Desktop;
  s.scale = ScalePolicy::Integer;
  const std::string after = FormatSettings(s, before);
  EXPECT_EQ(
      after.rfind("# mine\r\ndisplay = desktop   # the big screen\r\nscale = integer #x\r\n", 0),
      0u)
      << after;
  // Every line end is CRLF, the appended keys' too.
  EXPECT_EQ(Count(after, "\n"), Count(after, "\r\n")) << after;
  EXPECT_GT(Count(after, "colours ="), 0);
}

// Each scale goes by its own name both ways: a name read as another policy would scale the
// picture otherwise than the file says.
TEST(SettingsText, EveryScaleIsReadAndWrittenByItsName) {
  for (auto [name, policy] :
       {std::pair{"fit", ScalePolicy::Fit}, std::pair{"integer", ScalePolicy::Integer},
        std::pair{"sharp", ScalePolicy::Sharp}}) {
    const Settings s = ParseSettings(std::string("scale = ") + name + "\n", "f");
    EXPECT_EQ(s.scale, policy) << name;
    Settings chosen;
    chosen.scale = policy;
    EXPECT_NE(FormatSettings(chosen, "").find(std::string("scale = ") + name + "\n"),
              std::string::npos)
        << name;
  }
}

TEST(SettingsText, ValuesInMessagesAreCutShortAndControlCharactersHidden) {
  const std::string huge(5 << 20, 'x');
  testing::internal::CaptureStderr();
  ParseSettings("display = " + huge + "\n" + huge + "y = 1\n", "f");
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_LT(err.size(), 400u);
  EXPECT_NE(err.find(std::string(kMaxEchoed, 'x') + "..."), std::string::npos) << err;
  EXPECT_EQ(Echoed("short"), "short");
  EXPECT_EQ(Echoed("a\x1b[2Jb"), "a?[2Jb");
  // Cut at a character, never inside one.
  std::string accents;
  for (std::size_t i = 0; i < kMaxEchoed + 5; ++i) accents += "\xC3\xA9";
  EXPECT_EQ(Echoed(accents), accents.substr(0, 2 * kMaxEchoed) + "...");
}

TEST(SettingsText, BooleanAndChoiceRowsReadAndWriteTheirWords) {
  // The game's keys are choices, keys and buttons today; boolean rows are checked on a stand-in.
  static int stored = 0;
  static const char* const kModes[] = {"window", "desktop", "fullscreen"};
  auto get = [](const Settings&) { return stored; };
  auto set = [](Settings&, int v) { stored = v; };
  const SettingKey flag{"flag", SettingType::Boolean, {}, "", get, set};
  const SettingKey mode{"mode", SettingType::Choice, kModes, "", get, set};
  Settings s;
  EXPECT_EQ(ApplySettingValue(flag, s, "Off"), SettingResult::Set);
  EXPECT_EQ(SettingText(flag, s), "false");
  EXPECT_EQ(ApplySettingValue(flag, s, " yes "), SettingResult::Set);
  EXPECT_EQ(SettingText(flag, s), "true");
  EXPECT_EQ(ApplySettingValue(flag, s, "maybe"), SettingResult::BadValue);
  EXPECT_EQ(stored, 1);
  EXPECT_EQ(ApplySettingValue(mode, s, "FullScreen"), SettingResult::Set);
  EXPECT_EQ(stored, 2);
  EXPECT_EQ(SettingText(mode, s), "fullscreen");
  EXPECT_EQ(ApplySettingValue(mode, s, "tiny"), SettingResult::BadValue);
  EXPECT_EQ(stored, 2);
  EXPECT_EQ(SettingValuesText(mode), "window, desktop or fullscreen");
  EXPECT_EQ(ApplySetting(s, "nope", "1"), SettingResult::Unknown);
}

class SettingsStoreTest : public TempFolderTest {
 protected:
  void TearDown() override {
    ResetSettings();
    TempFolderTest::TearDown();
  }
  fs::path File() const { return folder_ / "config" / "zumbrix" / "settings.ini"; }
  static void Flat() {
    ChangeSettings([](Settings& s) { s.colours = ColourMode::Flat; });
  }
};

TEST_F(SettingsStoreTest, ARunThatChangesNothingWritesNothingAndTheFirstChangeMakesTheFolder) {
  LoadSettings(File().string());
  EXPECT_EQ(RunSettings(), Settings{});
  ASSERT_TRUE(SaveSettings());
  EXPECT_FALSE(fs::exists(File().parent_path()));
  Flat();
  EXPECT_EQ(fs::status(File().parent_path()).permissions() & fs::perms::all, fs::perms::owner_all);
  LoadSettings(File().string());
  EXPECT_EQ(StoredSettings().colours, ColourMode::Flat);
  EXPECT_FALSE(fs::exists(File().string() + ".new"));

  // An existing file is not touched by a run that changes nothing.
  WriteText(File(), "display=window\n");
  LoadSettings(File().string());
  ASSERT_TRUE(SaveSettings());
  EXPECT_EQ(ReadText(File()), "display=window\n");
}

TEST_F(SettingsStoreTest, AFailedSaveKeepsTheOldFileWholeSaysSoOnceAndIsDoneLater) {
  WriteText(File(), "# mine\ncolours = anaglyph\n");
  LoadSettings(File().string());
  // Something in the way of the new file: the save fails before the old file is touched.
  fs::create_directory(File().string() + ".new");
  testing::internal::CaptureStderr();
  Flat();
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(Lines(err), 1) << err;
  EXPECT_EQ(ReadText(File()), "# mine\ncolours = anaglyph\n");
  EXPECT_EQ(UnsavedSettingsNote(), "settings.ini could not be saved: for this run only");
  fs::remove(File().string() + ".new");
  ASSERT_TRUE(SaveSettings());  // the exit save still has it to do
  EXPECT_EQ(ReadText(File()), "# mine\ncolours = flat\n");
  EXPECT_EQ(UnsavedSettingsNote(), "");
}

// A file the player made read-only in a folder the game may write: the atomic save could replace
// it, but it is theirs. The run plays with the change; the file stays as it is until it is
// writable again.
TEST_F(SettingsStoreTest, AReadOnlyFileIsLeftAloneSaidOnceAndTheChangesLastTheRun) {
  const std::string mine = "# mine\ncolours = anaglyph # for my glasses\n";
  WriteText(File(), mine);
  fs::permissions(File(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  struct stat before;
  ASSERT_EQ(::stat(File().c_str(), &before), 0);
  LoadSettings(File().string());
  EXPECT_EQ(UnsavedSettingsNote(), "");
  testing::internal::CaptureStderr();
  Flat();
  ChangeSettings([](Settings& s) { s.display = DisplayMode::Window; });
  EXPECT_FALSE(SaveSettings());  // the exit save
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(Lines(err), 1) << err;
  EXPECT_NE(err.find("read-only"), std::string::npos) << err;
  EXPECT_EQ(RunSettings().colours, ColourMode::Flat);
  EXPECT_EQ(UnsavedSettingsNote(), "settings.ini is read-only: for this run only");
  struct stat after;
  ASSERT_EQ(::stat(File().c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino) << "the file was replaced";
  EXPECT_EQ(after.st_mode, before.st_mode);
  EXPECT_EQ(ReadText(File()), mine);

  fs::permissions(File(), fs::perms::owner_write, fs::perm_options::add);
  ASSERT_TRUE(SaveSettings());
  const std::string saved = ReadText(File());
  EXPECT_EQ(saved.rfind("# mine\ncolours = flat # for my glasses\n", 0), 0u) << saved;
  EXPECT_NE(saved.find("\ndisplay = window\n"), std::string::npos) << saved;
  EXPECT_EQ(UnsavedSettingsNote(), "");
}

TEST_F(SettingsStoreTest, CommandLineSettingsLastTheRunOnlyAndBadOnesAreRefused) {
  WriteText(File(), "display = window\n");
  LoadSettings(File().string());
  EXPECT_TRUE(OverrideSettings({{"display", "desktop"}}));
  EXPECT_EQ(RunSettings().display, DisplayMode::Desktop);
  EXPECT_EQ(StoredSettings().display, DisplayMode::Window);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(OverrideSettings({{"display", "seven"}}));
  EXPECT_FALSE(OverrideSettings({{"no_such_key", "1"}}));
  EXPECT_EQ(Lines(testing::internal::GetCapturedStderr()), 2);
  ASSERT_TRUE(SaveSettings());
  Flat();
  EXPECT_EQ(ReadText(File()).rfind("display = window\n\n# anaglyph", 0), 0u) << ReadText(File());
}

TEST_F(SettingsStoreTest, ASwitchToOrFromTheWindowIsKeptAndAFallbackIsNot) {
  WriteText(File(), "display = fullscreen\n");
  LoadSettings(File().string());
  ApplyPictureSettings();
  EXPECT_EQ(CurrentDisplayMode(), DisplayMode::Fullscreen);
  // The display mode was refused: the driver fell back to the desktop. Not the player's choice.
  SetDisplayMode(DisplayMode::Desktop);
  KeepPictureSettings();
  EXPECT_EQ(StoredSettings().display, DisplayMode::Fullscreen);
  EXPECT_NE(ReadText(File()).find("display = fullscreen"), std::string::npos);
  // Alt+Enter to the window, and back.
  SetDisplayMode(DisplayMode::Window);
  KeepPictureSettings();
  EXPECT_NE(ReadText(File()).find("display = window\n"), std::string::npos) << ReadText(File());
  SetDisplayMode(DisplayMode::Desktop);
  KeepPictureSettings();
  EXPECT_NE(ReadText(File()).find("display = desktop\n"), std::string::npos) << ReadText(File());
  SetDisplayMode(DisplayMode::Fullscreen);
}

// The stereo mode is read from the file, and a switch at run time (SetStereoMode, as an options
// screen makes it) is kept there; the file's words are the modes' names.
TEST_F(SettingsStoreTest, TheStereoModeIsReadAndARunTimeSwitchIsKept) {
  WriteText(File(), "stereo = top-bottom\n");
  LoadSettings(File().string());
  ApplyPictureSettings();
  EXPECT_EQ(ChosenStereoMode(), StereoMode::TopBottom);
  for (StereoMode mode : {StereoMode::SideBySide, StereoMode::SideBySideHalf, StereoMode::Off}) {
    SetStereoMode(mode);
    KeepPictureSettings();
    EXPECT_EQ(StoredSettings().stereo, mode);
    EXPECT_NE(ReadText(File()).find(std::string("stereo = ") + StereoModeName(mode) + "\n"),
              std::string::npos)
        << ReadText(File());
  }
}

TEST_F(SettingsStoreTest, VolumesStartAtFullMusicAndHalfEffectsAndTheirStepsWriteNothing) {
  const std::string old = "music_volume = 3\neffects_volume = 10\n";
  WriteText(File(), old);
  testing::internal::CaptureStderr();
  LoadSettings(File().string());
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(Count(err, "no longer used"), 2) << err;
  initglobals();
  EXPECT_EQ(program.musicstep, 10);
  EXPECT_FLOAT_EQ(program.musicvol, 1.0f);
  EXPECT_EQ(program.sfxstep, 5);
  EXPECT_FLOAT_EQ(program.sfxvol, 0.5f);
  stepmusicvolume();
  stepsfxvolume();
  EXPECT_EQ(program.musicstep, 0);
  EXPECT_EQ(program.sfxstep, 6);
  ASSERT_TRUE(SaveSettings());
  EXPECT_EQ(ReadText(File()), old);
  initglobals();
}

TEST_F(SettingsStoreTest, AHandEditDuringTheRunSurvivesTheSavesThatFollow) {
  WriteText(File(), "display = fullscreen\n");
  LoadSettings(File().string());
  Flat();  // F4 in play: written at once
  // The player edits the file while the game runs.
  WriteText(File(),
            "# edited\ndisplay = window # while playing\ncolours = flat\nscale = integer\n");
  ASSERT_TRUE(SaveSettings());  // the exit save
  EXPECT_EQ(ReadText(File()),
            "# edited\ndisplay = window # while playing\ncolours = flat\nscale = integer\n");
  // A later change writes its own line only.
  ChangeSettings([](Settings& s) { s.colours = ColourMode::Anaglyph; });
  EXPECT_EQ(ReadText(File()),
            "# edited\ndisplay = window # while playing\ncolours = anaglyph\nscale = integer\n");
}

TEST_F(SettingsStoreTest, ASymbolicLinkIsWrittenThroughToItsFile) {
  const fs::path real = folder_ / "dotfiles" / "zumbrix.ini";
  WriteText(real, "display = window\n");
  fs::create_directories(File().parent_path());
  fs::create_symlink("../../dotfiles/zumbrix.ini", File());
  LoadSettings(File().string());
  EXPECT_EQ(RunSettings().display, DisplayMode::Window);
  Flat();
  EXPECT_TRUE(fs::is_symlink(File()));
  EXPECT_NE(ReadText(real).find("colours = flat\n"), std::string::npos) << ReadText(real);
  EXPECT_FALSE(fs::exists(real.string() + ".new"));
  EXPECT_FALSE(fs::exists(File().string() + ".new"));
}

TEST_F(SettingsStoreTest, AFolderOrFifoIsRefusedWithoutBlockingAndNeverWritten) {
  fs::create_directories(File());
  testing::internal::CaptureStderr();
  LoadSettings(File().string());
  Flat();
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("not a regular file"), std::string::npos) << err;
  EXPECT_EQ(Lines(err), 1) << err;
  EXPECT_TRUE(fs::is_directory(File()));
  EXPECT_EQ(RunSettings().colours, ColourMode::Flat);  // the run still plays as asked
  fs::remove(File());

  // A FIFO with a writer that never finishes. Were it read, start-up would wait for ever: the
  // writer is closed if that happens, and the settings it sent must still not apply.
  HeldFifo fifo(File().string(), "display = window\n");
  ASSERT_TRUE(fifo.Made());
  const bool unread = fifo.EndsWithoutReading([&] {
    testing::internal::CaptureStderr();
    LoadSettings(File().string());
    Flat();
    err = testing::internal::GetCapturedStderr();
  });
  EXPECT_TRUE(unread) << "reading the FIFO blocked";
  EXPECT_EQ(RunSettings().display, DisplayMode::Fullscreen);
  EXPECT_NE(err.find("not a regular file"), std::string::npos) << err;
  EXPECT_EQ(fs::status(File()).type(), fs::file_type::fifo);
}

TEST_F(SettingsStoreTest, WithoutAFileNothingIsReadOrWritten) {
  LoadSettings("");
  Flat();
  EXPECT_TRUE(SaveSettings());
  EXPECT_TRUE(fs::is_empty(folder_));
}

}  // namespace
