#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
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

// The points of a case line of tests/data/pattern_files.txt.
std::vector<ProfilePoint> PointsOf(const std::string& line) {
  std::istringstream fields(line);
  std::string kind;
  fields >> kind;
  if (kind == "peak") {
    return ComputeProfile(std::vector{Peak(30.0, 0.1, 100.0)}, 1, Grid(28, 31, 0.5, 10, 0.0));
  }
  std::vector<ProfilePoint> points;
  int count = 0;
  if (kind == "flat" && fields >> count) {
    for (int k = 0; k < count; ++k) points.push_back({10.0 + k, 5.0});
  }
  for (double x, y; kind == "points" && fields >> x >> y;) points.push_back({x, y});
  return points;
}

// Header (count, first angle, the grid's own step), values scaled so the strongest is exactly
// 1000 and an empty point 1, ten a line; then the count of entries in the reported range and
// their angles, breaking at indices that are multiples of ten. An earlier file is replaced.
TEST(PatternFileTest, WholeFiles) {
  std::ifstream cases(BRAXEL_TEST_DATA_DIR "/pattern_files.txt");
  testing::TempDir dir;
  const std::string path = dir.File("Braxel.prf");
  int checked = 0;
  for (std::string line; std::getline(cases, line);) {
    if (line.rfind("case ", 0) != 0) continue;
    SCOPED_TRACE(line);
    std::istringstream fields(line.substr(5));
    int first = 0, last = 0, markers = 0;
    double step = 0.0;
    fields >> first >> last >> markers >> step;
    std::getline(cases, line);
    const std::vector<ProfilePoint> points = PointsOf(line);
    std::string expected;
    while (std::getline(cases, line) && line != "end") expected += line + "\n";
    testing::WriteFile(path, "an earlier, much longer pattern file than the next one\n" +
                                 std::string(400, '1') + "\n");
    std::vector<Reflection> entries;
    for (int i = 0; i < markers; ++i) entries.push_back(Peak(20.0 + i, 0.1, 1.0));
    std::string message;
    FileReplacement pattern(path);
    ASSERT_EQ(WritePatternFile(points, step, pattern, entries, first, last, message), 0) << message;
    ASSERT_TRUE(pattern.Commit());
    EXPECT_EQ(ReadFile(path), expected);
    ++checked;
  }
  EXPECT_EQ(checked, 14);
}

}  // namespace
}  // namespace braxel
