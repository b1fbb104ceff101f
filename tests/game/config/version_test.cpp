// The version: every text that shows it says the project's VERSION (CMakeLists.txt), which the
// build passes to this test on its own, beside the generated header.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "game/config/command_line.h"
#include "game/replay/replay_file.h"
#include "game/screens/screens.h"

namespace {

std::string FileText(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// "1.2.3" -> "1.2"
std::string MajorMinor(const std::string& version) {
  return version.substr(0, version.find('.', version.find('.') + 1));
}

TEST(Version, EveryTextThatShowsItFollowsTheProjectVersion) {
  const std::string version = ZX_PROJECT_VERSION;
  const std::string short_version = MajorMinor(version);
  EXPECT_EQ(ProgramVersion(), version);
  EXPECT_EQ(std::string(kGameVersion), "zumbrix-3d " + short_version);
  EXPECT_EQ(std::string(kCreditLine),
            "Version " + short_version + " - a Zumbrix production - Press ESC/B4 to Quit");
  const std::string manual = FileText(ZX_DIST_DIR "/zumbrix.6");
  EXPECT_NE(manual.find("\"zumbrix " + version + "\""), std::string::npos) << manual.substr(0, 80);
  const std::string metainfo = FileText(ZX_DIST_DIR "/io.github.zumbrix.zumbrix.metainfo.xml");
  EXPECT_NE(metainfo.find("<release version=\"" + version + "\""), std::string::npos);
}

}  // namespace
