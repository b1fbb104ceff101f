// The player's default name from a password-database entry: the first word of the full name,
// else the login name when the full name gives none or one a name cannot hold, else "Player".
#include "game/config/player_name.h"

#include <gtest/gtest.h>

#include "core/user_folders.h"

namespace {

std::string NameOf(const std::string& gecos, const std::string& login) {
  return DefaultPlayerName(AccountNamesOf(gecos, login));
}

TEST(PlayerName, TheFullNamesFirstWordElseTheLoginElsePlayer) {
  EXPECT_EQ(NameOf("Ada Lovelace,Room 1,,", "ada"), "Ada");
  EXPECT_EQ(NameOf("  Grace Hopper", "grace"), "Grace");
  EXPECT_EQ(NameOf(",,,", "bob"), "bob");
  EXPECT_EQ(NameOf("", "bob"), "bob");
  // A first word the name cannot hold whole: the login says who it is better.
  EXPECT_EQ(NameOf("Zoë Quinn", "zoe"), "zoe");
  EXPECT_EQ(NameOf("李 小龙", "lee"), "lee");
  // Longer than a name: cut, it is still the player's own.
  EXPECT_EQ(NameOf("Maximilianusz Kowalski", "mk"), "Maximilianus");
  // Nothing usable anywhere: the best that is left, else "Player".
  EXPECT_EQ(NameOf("Zoë", "ö"), "Zo");
  EXPECT_EQ(NameOf("李", "ö"), "Player");
  EXPECT_EQ(DefaultPlayerName({}), "Player");
}

}  // namespace
