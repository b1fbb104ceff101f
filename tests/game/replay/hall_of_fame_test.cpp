// The hall of fame's table: it keeps the ten best games across offers and across two copies of
// the game offering at once, each with its replay and nothing more; a damaged line, a missing or
// damaged replay is named and skipped; removing an entry removes its replay; the existing best
// game enters on the first start.
#include "game/replay/hall_of_fame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/game/temp_folder.h"

namespace fs = std::filesystem;

namespace {

// A real recorded game (of the version before names were kept), given a score and a date.
RecordedGame Game(int score, std::int64_t played) {
  ReplayJournal journal;
  EXPECT_EQ(LoadReplay(std::string(ZX_TEST_DATA) + "/format4.zxreplay", journal),
            ReplayError::kNone);
  RecordedGame game = journal.games.at(0);
  game.score = score;
  game.played = played;
  game.wave = score / 1000 + 1;
  return game;
}

int Replays(const fs::path& folder) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    count += entry.path().extension() == ".zxreplay";
  }
  return count;
}

class HallOfFame : public TempFolderTest {
 protected:
  std::string Hall() const { return (folder_ / "halloffame").string(); }
};

TEST_F(HallOfFame, TheTenBestStayAcrossOffersAndTwoCopiesEachWithItsReplay) {
  // Two copies of the game finishing games at the same moments (the same seconds, so the replays'
  // names differ by their bytes alone), each offering its own.
  std::thread other([&] {
    for (int i = 1; i <= 7; ++i) OfferToHallOfFame(Hall(), "Bea", Game(i * 200, 1000 + i));
  });
  for (int i = 1; i <= 7; ++i) OfferToHallOfFame(Hall(), "Ann", Game(i * 200 - 100, 1000 + i));
  other.join();
  std::vector<HallEntry> table = ReadHallOfFame(Hall(), true);
  ASSERT_EQ(table.size(), kHallOfFameSize);
  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(table[i].score, 1400 - static_cast<int>(i) * 100) << "place " << i + 1;
    EXPECT_EQ(table[i].player, table[i].score % 200 == 0 ? "Bea" : "Ann");
  }
  EXPECT_EQ(Replays(Hall()), 10) << "a game that fell out left its replay";
  ReplayJournal journal;
  ASSERT_EQ(LoadHallReplay(Hall(), table[0], journal), ReplayError::kNone);
  EXPECT_EQ(journal.player, "Bea");
  EXPECT_EQ(journal.games[0].played, 1007);

  // A game below the tenth, or one without a score, does not enter; the table is read afresh by
  // the next run and stays the same.
  EXPECT_FALSE(OfferToHallOfFame(Hall(), "Ann", Game(450, 3000)));
  EXPECT_FALSE(OfferToHallOfFame(Hall(), "Ann", Game(0, 3001)));
  EXPECT_EQ(ReadHallOfFame(Hall()), table);

  EXPECT_TRUE(RemoveFromHallOfFame(Hall(), table[3].file));
  EXPECT_FALSE(fs::exists(fs::path(Hall()) / table[3].file));
  EXPECT_EQ(ReadHallOfFame(Hall()).size(), 9u);
}

TEST_F(HallOfFame, ADamagedLineOrReplayIsNamedAndSkippedAndTheBestGameEntersOnTheFirstStart) {
  const fs::path best = folder_ / "best.replay";
  ReplayJournal journal;
  journal.games.push_back(Game(900, 500));
  ASSERT_TRUE(SaveReplay(best.string(), journal));
  ImportBestGame(Hall(), best.string(), "Cy");
  ImportBestGame(Hall(), best.string(), "Cy");  // the table exists now: nothing more
  ASSERT_TRUE(OfferToHallOfFame(Hall(), "Cy", Game(700, 600)));
  ASSERT_TRUE(OfferToHallOfFame(Hall(), "Cy", Game(800, 700)));
  std::vector<HallEntry> table = ReadHallOfFame(Hall());
  ASSERT_EQ(table.size(), 3u);
  EXPECT_EQ(table[0].score, 900);
  EXPECT_EQ(table[0].player, "Cy");

  std::ofstream(fs::path(Hall()) / "table", std::ios::app)
      << "12 x 3\n5000 1 1 1 ../escape.zxreplay Eve\n6000 1 1 1 gone.zxreplay Eve\n";
  std::ofstream(fs::path(Hall()) / table[1].file, std::ios::trunc) << "ZXREPLAY garbage";
  testing::internal::CaptureStderr();
  const std::vector<HallEntry> read = ReadHallOfFame(Hall(), true);
  const std::string said = testing::internal::GetCapturedStderr();
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0], table[0]);
  EXPECT_EQ(read[1], table[2]);
  for (const char* line : {"table:3: its replay is damaged", "table:5: the entry makes no sense",
                           "table:6: the entry makes no sense", "table:7: its replay is missing"}) {
    EXPECT_NE(said.find(line), std::string::npos) << line << "\n" << said;
  }
  // The next change writes the table without them.
  testing::internal::CaptureStderr();
  ASSERT_TRUE(OfferToHallOfFame(Hall(), "Cy", Game(100, 800)));
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(ReadText(fs::path(Hall()) / "table").find("Eve"), std::string::npos);
}

}  // namespace
