// Reading the pattern file and the arithmetic of the plot's axes.
#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>

#include "pattern/PatternFile.h"
#include "pattern/PlotAxes.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::TempDir;
using testing::WriteFile;

// Three points from 10 degrees in steps of 0.5, and two markers, as the run lays them out.
const std::string kSmall =
    "   3      10.0000      0.5000\n"
    "       1    1000      12\n"
    "\n"
    "   2\n"
    "  10.20000  10.70000\n"
    "\n";

class PatternReaderTest : public ::testing::Test {
 protected:
  // Reads text as a pattern file into a pattern that already holds one.
  bool Read(const std::string& text) {
    WriteFile(dir.File("p.prf"), text);
    pattern.intensities = {7};
    pattern.markers = {42.0};
    return ReadPatternFile(dir.File("p.prf"), pattern, message);
  }

  TempDir dir;
  Pattern pattern;
  std::string message;
};

TEST_F(PatternReaderTest, ReadsTheGridTheIntensitiesAndTheMarkers) {
  ASSERT_TRUE(Read(kSmall));
  EXPECT_DOUBLE_EQ(pattern.firstTwoTheta, 10.0);
  EXPECT_DOUBLE_EQ(pattern.step, 0.5);
  EXPECT_EQ(pattern.intensities, (std::vector<int>{1, 1000, 12}));
  EXPECT_EQ(pattern.markers, (std::vector<double>{10.2, 10.7}));
  EXPECT_DOUBLE_EQ(pattern.LastTwoTheta(), 11.0);
  // A single point may carry any step, and no markers.
  ASSERT_TRUE(Read("1 30.00 0.0000\n1000\n\n0\n\n"));
  EXPECT_EQ(pattern.intensities, std::vector<int>{1000});
  EXPECT_TRUE(pattern.markers.empty());
}

TEST_F(PatternReaderTest, AMissingFileOrAFolderIsNamed) {
  EXPECT_FALSE(ReadPatternFile(dir.File("none.prf"), pattern, message));
  EXPECT_EQ(message, dir.File("none.prf") + " file not found !!!");
  EXPECT_FALSE(ReadPatternFile(dir.Path().string(), pattern, message));
  EXPECT_EQ(message, dir.Path().string() + " is a folder, not a file !!!");
}

// Each damaged file of tests/data/pattern/damaged.txt is refused by what is wrong in it, and the
// pattern shown stays as it was.
TEST_F(PatternReaderTest, DamagedFilesAreRefusedByWhatIsWrong) {
  std::istringstream lines(testing::ReadFile(BRAXEL_TEST_DATA_DIR "/pattern/damaged.txt"));
  int cases = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("#")) continue;
    const std::size_t tab = line.find('\t');
    std::string text;
    for (std::size_t i = 0; i < tab; ++i) {
      const bool escaped = line[i] == '\\';
      text += escaped ? (line[++i] == 'n' ? '\n' : '\x1b') : line[i];
    }
    const std::string what = line.substr(tab + 1);
    ++cases;
    EXPECT_FALSE(Read(text)) << text;
    EXPECT_EQ(message, dir.File("p.prf") + ": " + what + " !!!");
    EXPECT_EQ(pattern.intensities, std::vector<int>{7});
    EXPECT_EQ(pattern.markers, std::vector<double>{42.0});
  }
  EXPECT_EQ(cases, 24);
}

TEST(PlotAxesTest, TicksAreOneTwoOrFiveTimesAPowerOfTen) {
  AxisTicks ticks = MakeTicks({10, 120}, 12);  // 110 / 12 = 9.2: steps of 10
  EXPECT_DOUBLE_EQ(ticks.step, 10);
  ASSERT_EQ(ticks.values.size(), 12u);
  EXPECT_DOUBLE_EQ(ticks.values.front(), 10);
  EXPECT_DOUBLE_EQ(ticks.values.back(), 120);
  EXPECT_EQ(ticks.decimals, 0);

  ticks = MakeTicks({10, 120}, 8);  // 10 would give 12 ticks: 20 gives 20, 40, ..., 120
  EXPECT_DOUBLE_EQ(ticks.step, 20);
  EXPECT_EQ(ticks.values, (std::vector<double>{20, 40, 60, 80, 100, 120}));

  ticks = MakeTicks({-0.03, 0.05}, 6);  // 0.02: -0.02, 0, 0.02, 0.04
  EXPECT_DOUBLE_EQ(ticks.step, 0.02);
  ASSERT_EQ(ticks.values.size(), 4u);
  EXPECT_EQ(ticks.values[1], 0.0);
  EXPECT_EQ(ticks.decimals, 2);

  EXPECT_TRUE(MakeTicks({5, 5}, 6).values.empty());
  // Ranges whose ticks could never be counted give none instead of a plot that never ends.
  for (const AxisRange range : {AxisRange{1e20, 1e20 + 1e5}, AxisRange{0, 5e-324},
                                AxisRange{0, std::numeric_limits<double>::infinity()}}) {
    EXPECT_TRUE(MakeTicks(range, 10).values.empty()) << range.low << " " << range.high;
  }
}

TEST(PlotAxesTest, TheIntensityAxisFollowsTheHighestPointShown) {
  Pattern pattern;
  pattern.firstTwoTheta = 10;
  pattern.step = 1;
  pattern.intensities = {1, 1000, 40, 200, 1};  // 10 to 14 degrees
  EXPECT_DOUBLE_EQ(IntensityRange(pattern, FullTwoThetaRange(pattern)).high, 1050);
  const AxisRange zoomed = IntensityRange(pattern, {12, 14});
  EXPECT_DOUBLE_EQ(zoomed.low, 0);
  EXPECT_DOUBLE_EQ(zoomed.high, 210);
  pattern.intensities[2] = -100;
  EXPECT_DOUBLE_EQ(IntensityRange(pattern, {12, 12.5}).low, -100);

  const AxisRange whole = FullTwoThetaRange(pattern);
  EXPECT_DOUBLE_EQ(whole.low, 10);
  EXPECT_DOUBLE_EQ(whole.high, 14);
  pattern.intensities = {5};
  EXPECT_DOUBLE_EQ(FullTwoThetaRange(pattern).low, 9);
  EXPECT_DOUBLE_EQ(FullTwoThetaRange(pattern).high, 11);
}

TEST(PlotAxesTest, ADragZoomsInsideTheWholeRangeAndAClickDoesNot) {
  const AxisRange whole{10, 120};
  std::optional<AxisRange> range = DraggedRange(45, 30, whole, 0.1);
  ASSERT_TRUE(range);
  EXPECT_DOUBLE_EQ(range->low, 30);
  EXPECT_DOUBLE_EQ(range->high, 45);
  range = DraggedRange(5, 20, whole, 0.1);
  ASSERT_TRUE(range);
  EXPECT_DOUBLE_EQ(range->low, 10);
  EXPECT_FALSE(DraggedRange(30, 30.05, whole, 0.1));
  EXPECT_FALSE(DraggedRange(0, 5, whole, 0.1));
}

}  // namespace
}  // namespace braxel
