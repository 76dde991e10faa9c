#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "engine/CalculationRun.h"
#include "engine/Profile.h"
#include "support/NaClRun.h"
#include "support/TableText.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

int FieldCount(const std::string& line, int width) { return static_cast<int>(line.size()) / width; }

Reflection Peak(double twoTheta, double fwhm, double iCalc) {
  Reflection entry;
  entry.twoTheta = twoTheta;
  entry.fwhm = fwhm;
  entry.iCalc = iCalc;
  return entry;
}

ProfileParameters Grid(double start, double end, double step, double cutoff, double eta) {
  ProfileParameters profile;
  profile.profileCutoff = cutoff;
  profile.gaussLorentz = eta;
  profile.twoThetaStart = start;
  profile.twoThetaEnd = end;
  profile.twoThetaStep = step;
  return profile;
}

class PatternFileTest : public ::testing::Test {
 protected:
  // Writes the pattern of these points on a grid of this step with entries 1..markerCount at
  // 20, 21, ... degrees.
  std::vector<std::string> Write(const std::vector<ProfilePoint>& points, int first, int last,
                                 int markerCount = 0, double step = 0.5) {
    std::vector<Reflection> entries;
    for (int i = 0; i < markerCount; ++i) entries.push_back(Peak(20.0 + i, 0.1, 1.0));
    std::string message;
    FileReplacement pattern(path);
    EXPECT_EQ(WritePatternFile(points, step, pattern, entries, first, last, message), 0) << message;
    EXPECT_TRUE(pattern.Commit());
    return Lines(ReadFile(path));
  }

  TempDir dir;
  std::string path = dir.File("Braxel.prf");
};

std::vector<ProfilePoint> FlatPoints(int count) {
  std::vector<ProfilePoint> points;
  for (int k = 0; k < count; ++k) points.push_back({10.0 + k, 5.0});
  return points;
}

TEST(ProfileTest, GridOfHalfDegreesHasTwentyOnePointsEndingAtTheEnd) {
  const std::vector<Reflection> none;
  const std::vector<ProfilePoint> points = ComputeProfile(none, 0, Grid(10, 20, 0.5, 10, 0.5));
  ASSERT_EQ(points.size(), 21u);
  EXPECT_EQ(points.front().twoTheta, 10.0);
  EXPECT_EQ(points.back().twoTheta, 20.0);
}

TEST(ProfileTest, PurePeaksHaveTheirUnitAreaHeightAtTheCentre) {
  const std::vector<Reflection> entries = {Peak(30.0, 0.1, 100.0)};
  const std::vector<ProfilePoint> gauss = ComputeProfile(entries, 1, Grid(30, 30, 0.5, 10, 0.0));
  ASSERT_EQ(gauss.size(), 1u);
  EXPECT_NEAR(gauss[0].y, 100 * 2 * std::sqrt(std::log(2.0) / M_PI) / 0.1, 1e-5);
  EXPECT_NEAR(gauss[0].y, 939.4, 0.05);
  const std::vector<ProfilePoint> lorentz = ComputeProfile(entries, 1, Grid(30, 30, 0.5, 10, 1.0));
  EXPECT_NEAR(lorentz[0].y, 100 * 2 / (M_PI * 0.1), 1e-5);
  EXPECT_NEAR(lorentz[0].y, 636.6, 0.05);
}

TEST(ProfileTest, MixedPeakHasHalfMaximumAtHalfWidth) {
  const std::vector<Reflection> entries = {Peak(30.0, 0.5, 100.0)};
  const std::vector<ProfilePoint> points =
      ComputeProfile(entries, 1, Grid(30, 30.25, 0.25, 5, 0.3));
  ASSERT_EQ(points.size(), 2u);
  EXPECT_NEAR(points[1].y, points[0].y / 2, 1e-8);
}

TEST(ProfileTest, EntryAtTheCutoffDistanceContributesAndOneBeyondDoesNot) {
  const std::vector<Reflection> entries = {Peak(30.0, 0.1, 100.0), Peak(40.0, 0.1, 100.0)};
  // 29 is exactly ten widths from 30; the Lorentz tail there is 100 x 2 / (pi 0.1 401).
  const std::vector<ProfilePoint> at = ComputeProfile(entries, 2, Grid(29, 29, 1, 10, 1.0));
  EXPECT_NEAR(at[0].y, 200 / (M_PI * 0.1 * 401), 1e-6);
  const std::vector<ProfilePoint> beyond = ComputeProfile(entries, 2, Grid(29, 29, 1, 9.99, 1.0));
  EXPECT_EQ(beyond[0].y, 0.0);
  // Every entry is summed, in or out of the reported range.
  const std::vector<ProfilePoint> both = ComputeProfile(entries, 2, Grid(30, 40, 10, 10, 1.0));
  ASSERT_EQ(both.size(), 2u);
  EXPECT_NEAR(both[0].y, both[1].y, 1e-9);
  EXPECT_GT(both[0].y, 636.0);
}

TEST(ProfileTest, OnlyTheFirstCountEntriesContribute) {
  const std::vector<Reflection> entries = {Peak(30.0, 0.1, 100.0), Peak(30.0, 0.1, 100.0)};
  const double one = ComputeProfile(entries, 1, Grid(30, 30, 1, 10, 0.0))[0].y;
  const double two = ComputeProfile(entries, 2, Grid(30, 30, 1, 10, 0.0))[0].y;
  EXPECT_NEAR(two, 2 * one, 1e-9);
}

TEST(ProfileTest, ZeroWidthEntryAddsNothing) {
  const std::vector<Reflection> entries = {Peak(30.0, 0.0, 100.0)};
  const std::vector<ProfilePoint> points = ComputeProfile(entries, 1, Grid(30, 30, 1, 10, 0.5));
  EXPECT_EQ(points[0].y, 0.0);
}

TEST(ProfileTest, PointsHoldTheValuesTheirLinesGiveBack) {
  const std::vector<Reflection> entries = {Peak(10.7, 0.137, 77.7), Peak(11.1, 0.2, 13.3)};
  const std::vector<ProfilePoint> points =
      ComputeProfile(entries, 2, Grid(10, 12, 0.333, 10, 0.37));
  ASSERT_EQ(points.size(), 7u);
  EXPECT_EQ(points[1].twoTheta, 10.33);
  EXPECT_EQ(points[6].twoTheta, 12.0);  // 10 + 6 x 0.333 = 11.998
  for (const ProfilePoint& point : points) {
    char line[128];
    std::snprintf(line, sizeof line, "%6.2lf  %20.10lf", point.twoTheta, point.y);
    double twoTheta = 0.0;
    double y = 0.0;
    ASSERT_EQ(std::sscanf(line, "%lf %lf", &twoTheta, &y), 2);
    EXPECT_EQ(twoTheta, point.twoTheta);
    EXPECT_EQ(y, point.y);
  }
}

TEST(ProfileTest, TinyIntensityIsRoundedToTenDecimals) {
  const std::vector<Reflection> entries = {Peak(30.0, 0.1, 1e-12)};
  EXPECT_EQ(ComputeProfile(entries, 1, Grid(30, 30, 1, 10, 0.0))[0].y, 0.0);
}

TEST(ProfileTest, StartAboveTheEndOrAStepThatDoesNotAdvanceGivesOnePoint) {
  const std::vector<Reflection> none;
  EXPECT_EQ(ComputeProfile(none, 0, Grid(30, 20, 0.5, 10, 0.5)).size(), 1u);
  EXPECT_EQ(ComputeProfile(none, 0, Grid(10, 20, 0.0, 10, 0.5)).size(), 1u);
  EXPECT_EQ(ComputeProfile(none, 0, Grid(10, 20, -0.5, 10, 0.5)).size(), 1u);
  EXPECT_EQ(ComputeProfile(none, 0, Grid(10, 20, 1e-20, 10, 0.5)).size(), 1u);
  // A grid of 10^11 points is cut at the bound rather than exhausting the memory.
  EXPECT_EQ(ComputeProfile(none, 0, Grid(0, 1e6, 1e-5, 10, 0.5)).size(), kMaxProfilePoints);
}

TEST_F(PatternFileTest, HeaderHoldsCountFirstAngleAndStep) {
  const std::vector<Reflection> none;
  const std::vector<ProfilePoint> points = ComputeProfile(none, 0, Grid(10, 20, 0.5, 10, 0.5));
  const std::vector<std::string> lines = Write(points, 1, 0);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "  21      10.0000      0.5000");
}

// The points' angles are rounded to two decimals; the header's step is the grid's own.
TEST_F(PatternFileTest, HeaderStepIsTheStepOfTheGrid) {
  const std::vector<Reflection> none;
  for (const auto& [step, shown] :
       {std::pair{0.005, "0.0050"}, {0.001, "0.0010"}, {0.333, "0.3330"}, {0.02, "0.0200"}}) {
    const std::vector<ProfilePoint> points = ComputeProfile(none, 0, Grid(10, 11, step, 10, 0.5));
    EXPECT_EQ(Write(points, 1, 0, 0, step)[0].substr(4),
              std::string("      10.0000      ") + shown);
  }
  EXPECT_EQ(Write({{25.5, 3.0}}, 1, 0, 0, 0.05)[0], "   1      25.5000      0.0500");
}

TEST_F(PatternFileTest, NoPointsStillGiveAValidFile) {
  const std::vector<std::string> lines = Write({}, 1, 0, 0, 0.0);
  EXPECT_EQ(lines, (std::vector<std::string>{"   0       0.0000      0.0000", "", "   0", ""}));
}

TEST_F(PatternFileTest, SinglePeakScalesToThousandAndEmptyPointsToOne) {
  const std::vector<Reflection> entries = {Peak(30.0, 0.1, 100.0)};
  const std::vector<ProfilePoint> points = ComputeProfile(entries, 1, Grid(28, 31, 0.5, 10, 0.0));
  const std::vector<std::string> lines = Write(points, 1, 0);
  ASSERT_GE(lines.size(), 2u);
  // 28 and 28.5 lie beyond ten widths, the others' Gauss tails are below 1e-10.
  EXPECT_EQ(lines[1], "       1       1       1       1    1000       1       1");
}

TEST_F(PatternFileTest, StrongestPointIsExactlyThousand) {
  // 1000 y / y rounds below 1000 for this y; y / y does not.
  const std::vector<std::string> lines = Write({{10.0, 1527.7854633343}, {10.5, 763.0}}, 1, 0);
  EXPECT_EQ(lines[1], "    1000     499");
}

TEST_F(PatternFileTest, AllZeroPointsAreWrittenAsOne) {
  const std::vector<Reflection> none;
  const std::vector<ProfilePoint> points = ComputeProfile(none, 0, Grid(10, 12, 0.5, 10, 0.5));
  EXPECT_EQ(Write(points, 1, 0)[1], "       1       1       1       1       1");
}

TEST_F(PatternFileTest, NegativeTailStaysNegativeAndBounded) {
  const std::vector<std::string> lines = Write({{10.0, 2.0}, {10.5, -1.0}, {11.0, 1e-10}}, 1, 0);
  EXPECT_EQ(lines[1], "    1000    -500       1");
  EXPECT_EQ(Write({{10.0, 1e-10}, {10.5, -1.0}}, 1, 0)[1], "    1000-1000000000");
}

TEST_F(PatternFileTest, TenValuesALine) {
  std::vector<std::string> lines = Write(FlatPoints(25), 1, 0);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(FieldCount(lines[1], 8), 10);
  EXPECT_EQ(FieldCount(lines[2], 8), 10);
  EXPECT_EQ(lines[3], "    1000    1000    1000    1000    1000");
  EXPECT_EQ(lines[4], "   0");

  lines = Write(FlatPoints(20), 1, 0);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(FieldCount(lines[2], 8), 10);
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[4], "   0");
}

TEST_F(PatternFileTest, MarkerLinesBreakAtIndicesThatAreMultiplesOfTen) {
  const std::vector<std::string> lines = Write(FlatPoints(1), 3, 25, 30);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[2], "  23");
  EXPECT_EQ(FieldCount(lines[3], 10), 8);
  EXPECT_EQ(lines[3].substr(0, 10), "  22.00000");  // entry 3
  EXPECT_EQ(FieldCount(lines[4], 10), 10);
  EXPECT_EQ(lines[4].substr(0, 10), "  30.00000");  // entry 11
  EXPECT_EQ(lines[5], "  40.00000  41.00000  42.00000  43.00000  44.00000");
}

TEST_F(PatternFileTest, WholeFileOfAShortPattern) {
  Write({{10.0, 4.0}, {10.5, 2.0}, {11.0, 0.0}}, 2, 3, 3);
  EXPECT_EQ(ReadFile(path),
            "   3      10.0000      0.5000\n"
            "    1000     500       1\n"
            "   2\n"
            "  21.00000  22.00000\n");
}

TEST_F(PatternFileTest, EmptyRangeWritesCountZeroAndOneLineEnd) {
  const std::string text = (Write(FlatPoints(1), 4, 3, 3), ReadFile(path));
  EXPECT_EQ(text.substr(text.size() - 6), "   0\n\n");
  // A start above the end leaves nothing in range either.
  const std::string reversed = (Write(FlatPoints(1), 4, 1, 3), ReadFile(path));
  EXPECT_EQ(reversed.substr(reversed.size() - 6), "   0\n\n");
}

TEST_F(PatternFileTest, FileThatCannotBeCreatedFails) {
  std::string message;
  const std::string missing = dir.File("no/such/Braxel.prf");
  FileReplacement pattern(missing);
  EXPECT_EQ(WritePatternFile(FlatPoints(3), 1.0, pattern, {}, 1, 0, message), -1);
  EXPECT_EQ(message, missing + " file not create !!!");
}

TEST_F(PatternFileTest, SuccessReplacesTheEarlierFile) {
  WriteFile(path, "an earlier, much longer pattern file than the next one\n");
  Write({{10.0, 1.0}}, 1, 0);
  EXPECT_EQ(ReadFile(path), "   1      10.0000      0.5000\n    1000\n   0\n\n");
}

class ProfileRunTest : public ::testing::Test {
 protected:
  ProfileRunTest() {
    input = testing::NaClRunInput(dir, {0.01, -0.01, 0.01, 10, 0.5, 0, 0.5, 20, 60, 0.02});
  }

  TempDir dir;
  RunInput input;
};

TEST_F(ProfileRunTest, SuccessfulRunWritesThePatternFile) {
  CalculationRun run;
  std::string message;
  ASSERT_TRUE(run.RunCalculation(input, message)) << message;
  int points = 0;
  for (double t = 20.0; t <= 60.0; t += 0.02) ++points;
  char header[64];
  std::snprintf(header, sizeof header, "%4d      20.0000      0.0200", points);
  const std::vector<std::string> lines = Lines(ReadFile(input.files.patternPath));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], header);
  const std::size_t valueLines = static_cast<std::size_t>(points / 10 + 1);
  ASSERT_GT(lines.size(), valueLines + 1);
  EXPECT_EQ(FieldCount(lines[valueLines], 8), points % 10);
  const int count = run.lastReported - run.firstReported + 1;
  EXPECT_GT(count, 0);
  EXPECT_EQ(std::stoi(lines[valueLines + 1]), count);
  std::string markers;
  for (std::size_t i = valueLines + 2; i < lines.size(); ++i) markers += lines[i];
  ASSERT_EQ(static_cast<int>(markers.size()), 10 * count);
  for (int i = 0; i < count; ++i) {
    const double twoTheta = std::stod(markers.substr(static_cast<std::size_t>(10 * i), 10));
    EXPECT_NEAR(twoTheta, run.entries[run.firstReported - 1 + i].twoTheta, 5e-6);
  }
  // The strongest reflection, 2 0 0, peaks at the top of the scale.
  EXPECT_NE(ReadFile(input.files.patternPath).find("    1000"), std::string::npos);
}

}  // namespace
}  // namespace braxel
