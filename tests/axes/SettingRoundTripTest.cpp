// A structure described in a non-standard setting and converted back to the standard one gives
// the powder lines of the standard structure, for every monoclinic and orthorhombic group. The
// non-standard structures are made here from the axis expressions of each setting, independently
// of the conversion's own matrices; the monoclinic ones are also computed directly in the
// space-group table's own non-standard settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "app/CrystalData.h"
#include "axes/AxisConversion.h"
#include "engine/CalculationRun.h"
#include "spacegroup/SpaceGroupRecord.h"
#include "spacegroup/SymbolLookup.h"
#include "support/RecordingUserInterface.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

const std::string kTabsg = std::string(BRAXEL_DATA_DIR) + "/tabsg";
const std::string kSettingTable = std::string(BRAXEL_DATA_DIR) + "/ABCTrans";

using Matrix = std::array<std::array<double, 3>, 3>;

// The axes of each setting in terms of a, b and c of setting 1.
const std::array<const char*, 6> kMonoclinicAxes = {"a b c", "-a-c b a", "c b -a-c",
                                                    "c a b", "a -a-c b", "-a-c c b"};
const std::array<const char*, 6> kOrthorhombicAxes = {"a b c",  "b a -c", "c a b",
                                                      "-c b a", "b c a",  "a -c b"};

Matrix AxesMatrix(const std::string& axes) {
  Matrix m{};
  int row = 0;
  double sign = 1.0;
  for (const char ch : axes) {
    if (ch == ' ') {
      ++row;
    } else if (ch == '-') {
      sign = -1.0;
    } else if (ch != '+') {
      m[row][ch - 'a'] += sign;
      sign = 1.0;
    }
  }
  return m;
}

// Inverse by cofactors.
Matrix Inverse(const Matrix& m) {
  Matrix inverse{};
  const double determinant = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                             m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                             m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      const int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
      inverse[i][j] = (m[r0][c0] * m[r1][c1] - m[r0][c1] * m[r1][c0]) / determinant;
    }
  }
  return inverse;
}

// The structure of data described in the axes of one setting.
CrystalData InAxes(const CrystalData& data, const Matrix& s) {
  constexpr double kRadian = M_PI / 180.0;
  const Matrix g = {{{data.a * data.a, data.a * data.b * std::cos(data.gamma * kRadian),
                      data.a * data.c * std::cos(data.beta * kRadian)},
                     {0, data.b * data.b, data.b * data.c * std::cos(data.alpha * kRadian)},
                     {0, 0, data.c * data.c}}};
  const auto metric = [&](int i, int j) { return i <= j ? g[i][j] : g[j][i]; };
  // G' = S G S^T
  Matrix gs{};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      for (int k = 0; k < 3; ++k) {
        for (int l = 0; l < 3; ++l) gs[i][j] += s[i][k] * metric(k, l) * s[j][l];
      }
    }
  }
  CrystalData out = data;
  out.a = std::sqrt(gs[0][0]);
  out.b = std::sqrt(gs[1][1]);
  out.c = std::sqrt(gs[2][2]);
  out.alpha = std::acos(gs[1][2] / (out.b * out.c)) / kRadian;
  out.beta = std::acos(gs[0][2] / (out.a * out.c)) / kRadian;
  out.gamma = std::acos(gs[0][1] / (out.a * out.b)) / kRadian;
  // x' = (S^T)^-1 x, so that x a + y b + z c stays the same point.
  Matrix st{};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) st[i][j] = s[j][i];
  }
  const Matrix q = Inverse(st);
  for (int n = 0; n < data.atomCount; ++n) {
    const double x[3] = {data.x[n], data.y[n], data.z[n]};
    double* targets[3] = {&out.x[n], &out.y[n], &out.z[n]};
    for (int i = 0; i < 3; ++i) *targets[i] = q[i][0] * x[0] + q[i][1] * x[1] + q[i][2] * x[2];
  }
  return out;
}

struct Line {
  double d;
  double intensity;
};

// The reflection list grouped by d: lines closer than the tolerance are one line.
std::vector<Line> PowderLines(const CrystalData& data, const testing::TempDir& dir) {
  const RunFiles files{dir.File("Braxel.out"), dir.File("Braxel.prf"), kTabsg,
                       std::string(BRAXEL_DATA_DIR) + "/fscat"};
  const ProfileParameters profile{0.01, -0.01, 0.01, 10, 0.5, 0, 0.5, 10, 50, 0.1};
  CalculationRun run;
  std::string message;
  EXPECT_TRUE(run.RunCalculation(MakeRunInput(data, files, profile), message)) << message;
  std::vector<Line> lines;
  for (int i = 0; i < run.entryCount; ++i) {
    const Reflection& r = run.entries[static_cast<std::size_t>(i)];
    // Far enough from the end of the range that rounding cannot move a line across it.
    if (r.code == 1 && r.twoTheta < 48.0) lines.push_back({r.d, r.iCalc});
  }
  std::sort(lines.begin(), lines.end(), [](const Line& l, const Line& r) { return l.d > r.d; });
  std::vector<Line> grouped;
  for (const Line& line : lines) {
    if (!grouped.empty() && grouped.back().d - line.d < 1e-4) {
      grouped.back().intensity += line.intensity;
    } else {
      grouped.push_back(line);
    }
  }
  return grouped;
}

void ExpectSameLines(const std::vector<Line>& got, const std::vector<Line>& want) {
  ASSERT_EQ(got.size(), want.size());
  ASSERT_GE(want.size(), 3u);
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_NEAR(got[i].d, want[i].d, 1e-4) << "line " << i;
    EXPECT_NEAR(got[i].intensity, want[i].intensity, 0.02) << "line " << i;
  }
}

CrystalData StandardStructure(int group) {
  CrystalData data;
  data.sgNumber = group;
  data.settingNumber = 1;
  data.a = 5.1;
  data.b = 6.2;
  data.c = 7.3;
  data.alpha = data.beta = data.gamma = 90.0;
  if (group <= 15) data.beta = 103.0;
  data.atomCount = 2;
  data.atomLabels[0] = "Si";
  data.atomLabels[1] = "O1/O";
  data.g = {1.0, 1.0};
  data.x = {0.1234, 0.3812};
  data.y = {0.2345, 0.0671};
  data.z = {0.3456, 0.4123};
  data.B = {0.5, 0.8};
  return data;
}

// The field of an orthorhombic group's table line for setting k.
std::string OrthorhombicSymbol(int group, int k) {
  std::ifstream table(kSettingTable);
  std::string line;
  bool inSection = false;
  while (std::getline(table, line)) {
    if (line.rfind("Orthorhombic", 0) == 0) inSection = true;
    if (inSection && std::atoi(line.substr(0, 2).c_str()) == group) {
      std::string field = line.substr(static_cast<std::size_t>(10 + 11 * (k - 1)), 10);
      return field.substr(0, field.find_last_not_of(' ') + 1);
    }
  }
  return "";
}

bool HasThreeCellChoices(int group) {
  return group == 5 || group == 7 || group == 8 || group == 9 || group >= 12;
}

TEST(SettingRoundTripTest, MonoclinicGroupsComeBackToTheirStandardLines) {
  testing::TempDir dir;
  testing::RecordingUserInterface ui;
  for (int group = 3; group <= 15; ++group) {
    const CrystalData standard = StandardStructure(group);
    const std::vector<Line> lines = PowderLines(standard, dir);
    for (int s = 2; s <= 6; ++s) {
      SCOPED_TRACE("group " + std::to_string(group) + " setting " + std::to_string(s));
      CrystalData data = InAxes(standard, AxesMatrix(kMonoclinicAxes[s - 1]));
      data.settingNumber = HasThreeCellChoices(group) ? s : (s <= 3 ? 1 : 2);
      CalculationResults results;
      results.uniqueAxis.assign(1, s <= 3 ? 'b' : 'c');
      ASSERT_TRUE(LookUpSpaceGroupSymbol(kTabsg, group, data.settingNumber, results.sgSymbol, ui));
      // The non-standard description is itself right.
      ExpectSameLines(PowderLines(data, dir), lines);
      ASSERT_TRUE(ConvertToSetting(1, data, results, kSettingTable, ui));
      EXPECT_EQ(data.settingNumber, 1);
      ExpectSameLines(PowderLines(data, dir), lines);
    }
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST(SettingRoundTripTest, OrthorhombicGroupsComeBackToTheirStandardLines) {
  testing::TempDir dir;
  testing::RecordingUserInterface ui;
  for (int group = 16; group <= 74; ++group) {
    const CrystalData standard = StandardStructure(group);
    const std::vector<Line> lines = PowderLines(standard, dir);
    for (int s = 2; s <= 6; ++s) {
      SCOPED_TRACE("group " + std::to_string(group) + " setting " + std::to_string(s));
      CrystalData data = InAxes(standard, AxesMatrix(kOrthorhombicAxes[s - 1]));
      // As a file giving only the symbol would be read.
      CalculationResults results;
      results.sgSymbol = OrthorhombicSymbol(group, s);
      data.sgNumber = 0;
      FindSgInSettingTable(kSettingTable, kOrthorhombicSection, results.sgSymbol, data.sgNumber,
                           data.settingNumber, ui);
      ASSERT_EQ(data.sgNumber, group);
      // A symbol shared with an earlier setting is that setting's description, origin included;
      // the axes alone do not make it.
      if (data.settingNumber != s) continue;
      ASSERT_TRUE(ConvertToSetting(1, data, results, kSettingTable, ui));
      EXPECT_EQ(data.settingNumber, 1);
      ExpectSameLines(PowderLines(data, dir), lines);
    }
  }
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace braxel
