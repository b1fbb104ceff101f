// The settings file: values read over the defaults, damaged lines reported and ignored, unknown
// keys and comments kept when the file is rewritten, values clamped, saves atomic and made when a
// value changes; and the pause screen's volume keys reaching the file.
#include <algorithm>

#include "game/globals.h"
#include "game/settings.h"
#include "game/settings_store.h"
#include "game/sound_control.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

int Lines(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(SettingsText, ValuesAreReadAndDamagedLinesReportedOneLineEachAndIgnored) {
  testing::internal::CaptureStderr();
  Settings s = ParseSettings(
      "# a comment\n"
      "\n"
      "music_volume = 3\r\n"
      "this line is damaged\n"
      "effects_volume = loud\n"
      "  = 4\n"
      "some_future_key = whatever\n",
      "settings.ini");
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(s.musicvolume, 3);
  EXPECT_EQ(s.effectsvolume, Settings{}.effectsvolume);
  EXPECT_EQ(Lines(err), 3) << err;
  EXPECT_NE(err.find("settings.ini:4:"), std::string::npos) << err;
  EXPECT_NE(err.find("settings.ini:5:"), std::string::npos) << err;
  EXPECT_NE(err.find("settings.ini:6:"), std::string::npos) << err;

  // Nothing at all gives the defaults, silently.
  testing::internal::CaptureStderr();
  EXPECT_EQ(ParseSettings("", "x"), Settings{});
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(SettingsText, ValuesOutOfRangeAreClampedWithOneLineEach) {
  testing::internal::CaptureStderr();
  Settings s = ParseSettings("music_volume = 15\neffects_volume = -3\n", "f");
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(s.musicvolume, 10);
  EXPECT_EQ(s.effectsvolume, 0);
  EXPECT_EQ(Lines(err), 2) << err;
  testing::internal::CaptureStderr();
  s = ParseSettings("music_volume = 99999999999999999999999\neffects_volume = +7\n", "f");
  err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(s.musicvolume, 10);
  EXPECT_EQ(s.effectsvolume, 7);
  EXPECT_EQ(Lines(err), 1) << err;
}

TEST(SettingsText, ANewFileListsEveryKeyWithItsCommentAndReadsBack) {
  Settings s;
  s.musicvolume = 4;
  const std::string text = FormatSettings(s, "");
  for (const SettingKey& key : SettingKeys()) {
    EXPECT_NE(text.find(std::string("# ") + key.comment + "\n" + key.name + " = "),
              std::string::npos)
        << text;
  }
  testing::internal::CaptureStderr();
  EXPECT_EQ(ParseSettings(text, "f"), s);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(SettingsText, ARewriteKeepsCommentsUnknownKeysAndDamagedLinesAndUpdatesValues) {
  const std::string before =
      "# my own note\n"
      "effects_volume=2\n"
      "future_key = 12   \n"
      "what is this\n"
      "effects_volume = 9\n";
  Settings s;
  s.effectsvolume = 6;
  s.musicvolume = 1;
  const std::string after = FormatSettings(s, before);
  EXPECT_EQ(after.rfind("# my own note\neffects_volume = 6\nfuture_key = 12   \nwhat is this\n", 0),
            0u)
      << after;
  EXPECT_EQ(after.find("effects_volume = 9"), std::string::npos) << after;
  EXPECT_NE(after.find("music_volume = 1\n"), std::string::npos) << after;
  // Rewriting what was written changes nothing.
  EXPECT_EQ(FormatSettings(s, after), after);
}

TEST(SettingsText, BooleanAndChoiceKeysReadAndWriteTheirWords) {
  // Later settings (flat colours, the display mode) are booleans and choices; their words are
  // checked here on a row of each kind standing in for them.
  static const char* const kModes[] = {"window", "desktop", "fullscreen"};
  const SettingKey flag{"flag",
                        SettingType::Boolean,
                        0,
                        1,
                        {},
                        "",
                        [](const Settings& s) { return s.musicvolume; },
                        [](Settings& s, int v) { s.musicvolume = v; }};
  const SettingKey mode{"mode",
                        SettingType::Choice,
                        0,
                        0,
                        kModes,
                        "",
                        [](const Settings& s) { return s.effectsvolume; },
                        [](Settings& s, int v) { s.effectsvolume = v; }};
  Settings s;
  EXPECT_EQ(ApplySettingValue(flag, s, "Off"), SettingResult::Set);
  EXPECT_EQ(s.musicvolume, 0);
  EXPECT_EQ(SettingText(flag, s), "false");
  EXPECT_EQ(ApplySettingValue(flag, s, " yes "), SettingResult::Set);
  EXPECT_EQ(SettingText(flag, s), "true");
  EXPECT_EQ(ApplySettingValue(flag, s, "maybe"), SettingResult::BadValue);
  EXPECT_EQ(s.musicvolume, 1);
  EXPECT_EQ(ApplySettingValue(mode, s, "FullScreen"), SettingResult::Set);
  EXPECT_EQ(s.effectsvolume, 2);
  EXPECT_EQ(SettingText(mode, s), "fullscreen");
  EXPECT_EQ(ApplySettingValue(mode, s, "tiny"), SettingResult::BadValue);
  EXPECT_EQ(s.effectsvolume, 2);
  EXPECT_EQ(ApplySetting(s, "music_volume", "x7"), SettingResult::BadValue);
  EXPECT_EQ(ApplySetting(s, "nope", "1"), SettingResult::Unknown);
}

class SettingsStoreTest : public TempFolderTest {
 protected:
  void TearDown() override {
    ResetSettings();
    TempFolderTest::TearDown();
  }
  fs::path File() const { return folder_ / "config" / "zumbrix" / "settings.ini"; }
};

TEST_F(SettingsStoreTest, AMissingFileGivesTheDefaultsAndTheFirstSaveMakesItsFolder) {
  LoadSettings(File().string());
  EXPECT_EQ(RunSettings(), Settings{});
  EXPECT_FALSE(fs::exists(File()));
  ASSERT_TRUE(SaveSettings());
  EXPECT_EQ(fs::status(File().parent_path()).permissions() & fs::perms::all, fs::perms::owner_all);
  LoadSettings(File().string());
  EXPECT_EQ(StoredSettings(), Settings{});
  EXPECT_FALSE(fs::exists(File().string() + ".new"));
}

TEST_F(SettingsStoreTest, AFailedSaveKeepsTheOldFileWholeAndSaysSoOnce) {
  WriteText(File(), "# mine\nmusic_volume = 2\n");
  LoadSettings(File().string());
  EXPECT_EQ(RunSettings().musicvolume, 2);
  // Something in the way of the new file: the save fails before the old file is touched.
  fs::create_directory(File().string() + ".new");
  testing::internal::CaptureStderr();
  ChangeSettings([](Settings& s) { s.musicvolume = 8; });
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(Lines(err), 1) << err;
  EXPECT_EQ(ReadText(File()), "# mine\nmusic_volume = 2\n");
  fs::remove(File().string() + ".new");
  ASSERT_TRUE(SaveSettings());
  EXPECT_EQ(ReadText(File()).rfind("# mine\nmusic_volume = 8\n", 0), 0u);
}

TEST_F(SettingsStoreTest, CommandLineSettingsLastTheRunOnlyAndBadOnesAreRefused) {
  WriteText(File(), "music_volume = 2\n");
  LoadSettings(File().string());
  EXPECT_TRUE(OverrideSettings({{"music_volume", "7"}}));
  EXPECT_EQ(RunSettings().musicvolume, 7);
  EXPECT_EQ(StoredSettings().musicvolume, 2);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(OverrideSettings({{"music_volume", "seven"}}));
  EXPECT_FALSE(OverrideSettings({{"no_such_key", "1"}}));
  EXPECT_EQ(Lines(testing::internal::GetCapturedStderr()), 2);
  ASSERT_TRUE(SaveSettings());
  EXPECT_EQ(
      ReadText(File()).rfind("music_volume = 2\n\n# Sound effects volume in tenths: 0 is off, 10 "
                             "is full (F3 on the pause screen).\neffects_volume = 5\n",
                             0),
      0u)
      << ReadText(File());
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

TEST_F(SettingsStoreTest, ThePauseScreensVolumeStepsWriteTheFileAtOnce) {
  WriteText(File(), "music_volume = 3\neffects_volume = 10\n");
  LoadSettings(File().string());
  initglobals();
  ApplySettingsToGame();
  EXPECT_EQ(musicstep, 3);
  EXPECT_FLOAT_EQ(musicvol, 0.3f);
  EXPECT_EQ(sfxstep, 10);
  stepmusicvolume();
  EXPECT_NE(ReadText(File()).find("music_volume = 4\n"), std::string::npos) << ReadText(File());
  stepsfxvolume();  // wraps from full to off
  EXPECT_NE(ReadText(File()).find("effects_volume = 0\n"), std::string::npos) << ReadText(File());
  initglobals();
}

TEST_F(SettingsStoreTest, WithoutAFileNothingIsReadOrWritten) {
  LoadSettings("");
  ChangeSettings([](Settings& s) { s.musicvolume = 1; });
  EXPECT_TRUE(SaveSettings());
  EXPECT_TRUE(fs::is_empty(folder_));
}

}  // namespace
