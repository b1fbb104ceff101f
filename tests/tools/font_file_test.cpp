// The generated default font: its size, its layout (row-major over all glyphs, bit 0 the
// leftmost column) and the metrics the text layout relies on.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

class FontFile : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::ifstream in(std::string(ZX_ASSET_DIR) + "/vantorfont.bin", std::ios::binary);
    bytes_ = new std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), {});
  }
  static void TearDownTestSuite() { delete bytes_; }

  // Row r of the glyph for `code`, as laid out in the file.
  static std::uint8_t Row(char code, int r) { return (*bytes_)[96 * r + (code - 32)]; }
  static bool RowsBlank(char code, int from, int to) {
    for (int r = from; r <= to; ++r)
      if (Row(code, r)) return false;
    return true;
  }
  static std::vector<std::uint8_t>* bytes_;
};
std::vector<std::uint8_t>* FontFile::bytes_ = nullptr;

TEST_F(FontFile, Holds96GlyphsOf16RowsWithTheRequiredRowsBlank) {
  ASSERT_EQ(bytes_->size(), 1536u);
  for (int c = 32; c < 128; ++c) {
    SCOPED_TRACE(c);
    EXPECT_EQ(Row(static_cast<char>(c), 0), 0);
    EXPECT_TRUE(RowsBlank(static_cast<char>(c), 13, 15));
  }
  EXPECT_TRUE(RowsBlank(' ', 0, 15));
  for (int c = 33; c < 127; ++c) EXPECT_FALSE(RowsBlank(static_cast<char>(c), 0, 15)) << char(c);
}

TEST_F(FontFile, CapitalsAndDigitsStandOnRowsTwoToTenAndLowerCaseStartsAtRowFive) {
  for (char c : std::string("ABCDEFGHIJKLMNOPRSTUVWXYZ0123456789")) {
    SCOPED_TRACE(c);
    EXPECT_TRUE(RowsBlank(c, 0, 1));
    EXPECT_NE(Row(c, 2), 0) << "capitals reach row 2";
    EXPECT_NE(Row(c, 10), 0) << "and stand on the baseline, row 10";
    EXPECT_TRUE(RowsBlank(c, 11, 15));
  }
  for (char c : std::string("acemnorsuvwxz")) {
    SCOPED_TRACE(c);
    EXPECT_TRUE(RowsBlank(c, 0, 4));
    EXPECT_NE(Row(c, 5), 0);
    EXPECT_NE(Row(c, 10), 0);
    EXPECT_TRUE(RowsBlank(c, 11, 15));
  }
  for (char c : std::string("gjpqy")) {
    SCOPED_TRACE(c);
    EXPECT_NE(Row(c, 12), 0) << "descenders reach row 12";
  }
  EXPECT_NE(Row('_', 10), 0) << "the underscore sits on the baseline";
}

// Bit 0 is the leftmost column: an L has its stem on the left and its foot running right, an
// F's arms point right, a J's hook is on the left at the bottom.
TEST_F(FontFile, BitZeroIsTheLeftmostColumn) {
  auto lowest_bit = [](std::uint8_t b) {
    for (int n = 0; n < 8; ++n)
      if (b & (1u << n)) return n;
    return 8;
  };
  auto highest_bit = [](std::uint8_t b) {
    for (int n = 7; n >= 0; --n)
      if (b & (1u << n)) return n;
    return -1;
  };
  EXPECT_LT(highest_bit(Row('L', 5)), 4) << "the stem is on the left";
  EXPECT_GT(highest_bit(Row('L', 10)), 4) << "the foot runs right";
  EXPECT_GT(highest_bit(Row('F', 2)), 4);
  EXPECT_LT(highest_bit(Row('F', 8)), 4);
  EXPECT_LT(lowest_bit(Row('/', 10)), lowest_bit(Row('/', 2))) << "a slash leans right";
}

TEST_F(FontFile, EveryPrintableGlyphIsDistinct) {
  std::set<std::string> seen;
  for (int c = 32; c < 128; ++c) {
    std::string glyph;
    for (int r = 0; r < 16; ++r) glyph += static_cast<char>(Row(static_cast<char>(c), r));
    EXPECT_TRUE(seen.insert(glyph).second) << "glyph " << c << " repeats an earlier one";
  }
}

}  // namespace
