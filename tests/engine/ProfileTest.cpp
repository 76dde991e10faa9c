#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/Profile.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::ReadFile;

Reflection Peak(double twoTheta, double fwhm, double iCalc) {
  Reflection entry;
  entry.twoTheta = twoTheta;
  entry.fwhm = fwhm;
  entry.iCalc = iCalc;
  return entry;
}

ProfileParameters Grid(double start, double end, double step, double cutoff = 10,
                       double eta = 0.5) {
  ProfileParameters profile;
  profile.profileCutoff = cutoff;
  profile.gaussLorentz = eta;
  profile.twoThetaStart = start;
  profile.twoThetaEnd = end;
  profile.twoThetaStep = step;
  return profile;
}

// Grids end at the end; a start above the end or a step that does not advance gives one point,
// and a grid of 10^11 points is cut at the bound rather than exhausting the memory.
TEST(ProfileTest, GridPoints) {
  const struct {
    ProfileParameters grid;
    std::size_t count;
    double last;
  } cases[] = {
      {Grid(10, 20, 0.5), 21, 20.0},
      {Grid(10, 12, 0.333), 7, 12.0},  // 10 + 6 x 0.333 = 11.998, rounded to two decimals
      {Grid(30, 20, 0.5), 1, 30.0},
      {Grid(10, 20, 0.0), 1, 10.0},
      {Grid(10, 20, -0.5), 1, 10.0},
      {Grid(10, 20, 1e-20), 1, 10.0},
      {Grid(0, 1e6, 1e-5), kMaxProfilePoints, std::round((kMaxProfilePoints - 1) * 1e-3) / 100},
  };
  for (const auto& c : cases) {
    const std::vector<ProfilePoint> points = ComputeProfile({}, 0, c.grid);
    ASSERT_EQ(points.size(), c.count) << c.grid.twoThetaStep;
    EXPECT_EQ(points.front().twoTheta, c.grid.twoThetaStart);
    EXPECT_NEAR(points.back().twoTheta, c.last, 1e-9);
  }
}

// Unit-area peaks: Gauss 2 sqrt(ln 2 / pi) / H at the centre, Lorentz 2 / (pi H), each half
// of that at half width; an entry counts up to the cutoff in widths, and only the first count
// entries are summed.
TEST(ProfileTest, HeightsOfUnitAreaPeaks) {
  const double gauss = 2 * std::sqrt(std::log(2.0) / M_PI);
  const double lorentz = 2 / M_PI;
  const std::vector<Reflection> one = {Peak(30.0, 0.1, 100.0)};
  const std::vector<Reflection> twoApart = {Peak(30.0, 0.1, 100.0), Peak(40.0, 0.1, 100.0)};
  const std::vector<Reflection> twoAtOnce = {Peak(30.0, 0.1, 100.0), Peak(30.0, 0.1, 100.0)};
  const struct {
    std::vector<Reflection> entries;
    int count;
    ProfileParameters grid;
    double y;  // at the last point
  } cases[] = {
      {one, 1, Grid(30, 30, 0.5, 10, 0.0), 100 * gauss / 0.1},    // 939.4
      {one, 1, Grid(30, 30, 0.5, 10, 1.0), 100 * lorentz / 0.1},  // 636.6
      {{Peak(30.0, 0.5, 100.0)},
       1,
       Grid(30, 30.25, 0.25, 5, 0.3),
       50 * (0.3 * lorentz + 0.7 * gauss) / 0.5},
      // 29 is exactly ten widths from 30: the Lorentz tail there is 100 x 2 / (pi 0.1 401).
      {twoApart, 2, Grid(29, 29, 1, 10, 1.0), 200 / (M_PI * 0.1 * 401)},
      {twoApart, 2, Grid(29, 29, 1, 9.99, 1.0), 0.0},
      {twoApart, 2, Grid(30, 40, 10, 10, 1.0), 100 * lorentz / 0.1},
      {twoAtOnce, 1, Grid(30, 30, 1, 10, 0.0), 100 * gauss / 0.1},
      {twoAtOnce, 2, Grid(30, 30, 1, 10, 0.0), 200 * gauss / 0.1},
      {{Peak(30.0, 0.0, 100.0)}, 1, Grid(30, 30, 1, 10, 0.5), 0.0},
      {{Peak(30.0, 0.1, 1e-12)}, 1, Grid(30, 30, 1, 10, 0.0), 0.0},  // rounded to ten decimals
  };
  for (const auto& c : cases) {
    const std::vector<ProfilePoint> points = ComputeProfile(c.entries, c.count, c.grid);
    EXPECT_NEAR(points.back().y, c.y, 1e-9 * c.y + 1e-6) << c.grid.twoThetaEnd << " " << c.count;
  }
}

// The points hold the values their lines in the pattern file give back.
TEST(ProfileTest, PointsHoldTheValuesTheirLinesGiveBack) {
  const std::vector<Reflection> entries = {Peak(10.7, 0.137, 77.7), Peak(11.1, 0.2, 13.3)};
  for (const ProfilePoint& point : ComputeProfile(entries, 2, Grid(10, 12, 0.333, 10, 0.37))) {
    char line[128];
    std::snprintf(line, sizeof line, "%6.2lf  %20.10lf", point.twoTheta, point.y);
    double twoTheta = 0.0;
    double y = 0.0;
    ASSERT_EQ(std::sscanf(line, "%lf %lf", &twoTheta, &y), 2);
    EXPECT_EQ(twoTheta, point.twoTheta);
    EXPECT_EQ(y, point.y);
  }
}

std::vector<ProfilePoint> FlatPoints(int count) {
  std::vector<ProfilePoint> points;
  for (int k = 0; k < count; ++k) points.push_back({10.0 + k, 5.0});
  return points;
}

// Points from pairs of angle and value.
template <typename... Values>
std::vector<ProfilePoint> Points(Values... pairs) {
  const double values[] = {0.0, static_cast<double>(pairs)...};
  std::vector<ProfilePoint> points;
  for (std::size_t i = 1; i + 1 < std::size(values); i += 2) {
    points.push_back({values[i], values[i + 1]});
  }
  return points;
}

std::string Repeat(const std::string& text, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i) repeated += text;
  return repeated;
}

// Marker angles from..to degrees, as the file writes them.
std::string Markers(int from, int to) {
  std::string text;
  for (int angle = from; angle <= to; ++angle) text += "  " + std::to_string(angle) + ".00000";
  return text;
}

// Header (count, first angle, the grid's own step), values scaled so the strongest is exactly
// 1000 and an empty point 1, ten a line; then the count of entries in the reported range and
// their angles, breaking at indices that are multiples of ten. An earlier file is replaced.
TEST(PatternFileTest, WholeFiles) {
  const std::string kFlat = "    1000";
  const std::string kOne = "   1      10.0000      0.5000\n" + kFlat + "\n   0\n\n";
  const struct {
    std::vector<ProfilePoint> points;
    int first, last, markerCount;  // entries 1..markerCount at 20, 21, ... degrees
    double step;
    std::string text;
  } cases[] = {
      {FlatPoints(1), 1, 0, 0, 0.005, "   1      10.0000      0.0050\n" + kFlat + "\n   0\n\n"},
      {Points(25.5, 3.0), 1, 0, 0, 0.05, "   1      25.5000      0.0500\n" + kFlat + "\n   0\n\n"},
      {Points(), 1, 0, 0, 0.0, "   0       0.0000      0.0000\n\n   0\n\n"},
      // 1000 y / y rounds below 1000 for this y; y / y does not.
      {Points(10.0, 1527.7854633343, 10.5, 763.0), 1, 0, 0, 0.5,
       "   2      10.0000      0.5000\n    1000     499\n   0\n\n"},
      {Points(10, 0, 10.5, 0, 11, 0), 1, 0, 0, 0.5,
       "   3      10.0000      0.5000\n       1       1       1\n   0\n\n"},
      {Points(10.0, 2.0, 10.5, -1.0, 11.0, 1e-10), 1, 0, 0, 0.5,
       "   3      10.0000      0.5000\n    1000    -500       1\n   0\n\n"},
      {Points(10.0, 1e-10, 10.5, -1.0), 1, 0, 0, 0.5,
       "   2      10.0000      0.5000\n    1000-1000000000\n   0\n\n"},
      {FlatPoints(25), 1, 0, 0, 0.5,
       "  25      10.0000      0.5000\n" + Repeat(kFlat, 10) + "\n" + Repeat(kFlat, 10) + "\n" +
           Repeat(kFlat, 5) + "\n   0\n\n"},
      {FlatPoints(20), 1, 0, 0, 0.5,
       "  20      10.0000      0.5000\n" + Repeat(kFlat, 10) + "\n" + Repeat(kFlat, 10) +
           "\n\n   0\n\n"},
      {FlatPoints(1), 3, 25, 30, 0.5,
       "   1      10.0000      0.5000\n" + kFlat + "\n  23\n" + Markers(22, 29) + "\n" +
           Markers(30, 39) + "\n" + Markers(40, 44) + "\n"},
      {Points(10.0, 4.0, 10.5, 2.0, 11.0, 0.0), 2, 3, 3, 0.5,
       "   3      10.0000      0.5000\n    1000     500       1\n   2\n" + Markers(21, 22) + "\n"},
      // A peak computed on the grid: 28 and 28.5 lie beyond ten widths, the other points' Gauss
      // tails are below 1e-10.
      {ComputeProfile(std::vector{Peak(30.0, 0.1, 100.0)}, 1, Grid(28, 31, 0.5, 10, 0.0)), 1, 0, 0,
       0.5,
       "   7      28.0000      0.5000\n       1       1       1       1    1000       1       1\n"
       "   0\n\n"},
      // An empty range, and a start above the end, give count 0 and one line end.
      {FlatPoints(1), 4, 3, 3, 0.5, kOne},
      {FlatPoints(1), 4, 1, 3, 0.5, kOne},
  };
  testing::TempDir dir;
  const std::string path = dir.File("Braxel.prf");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    testing::WriteFile(path, "an earlier, much longer pattern file than the next one\n" +
                                 Repeat("    1000", 50) + "\n");
    std::vector<Reflection> entries;
    for (int i = 0; i < c.markerCount; ++i) entries.push_back(Peak(20.0 + i, 0.1, 1.0));
    std::string message;
    FileReplacement pattern(path);
    ASSERT_EQ(WritePatternFile(c.points, c.step, pattern, entries, c.first, c.last, message), 0)
        << message;
    ASSERT_TRUE(pattern.Commit());
    EXPECT_EQ(ReadFile(path), c.text);
  }
}

TEST(PatternFileTest, FileThatCannotBeCreatedFails) {
  testing::TempDir dir;
  std::string message;
  const std::string missing = dir.File("no/such/Braxel.prf");
  FileReplacement pattern(missing);
  EXPECT_EQ(WritePatternFile(FlatPoints(3), 1.0, pattern, {}, 1, 0, message), -1);
  EXPECT_EQ(message, missing + " file not create !!!");
}

}  // namespace
}  // namespace braxel
