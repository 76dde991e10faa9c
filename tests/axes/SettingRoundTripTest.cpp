// A structure described in a non-standard setting and converted back to the standard one gives
// the powder lines of its description in the standard setting, for every monoclinic and
// orthorhombic group. The two descriptions are made here from the axis expressions of each
// setting with gemmi, independently of the conversion's own matrices; the monoclinic ones are also
// calculated directly in the space-group table's own non-standard settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <gemmi/unitcell.hpp>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/CrystalData.h"
#include "axes/AxisConversion.h"
#include "engine/CalculationRun.h"
#include "io/InpFile.h"
#include "spacegroup/SpaceGroupRecord.h"
#include "spacegroup/SymbolLookup.h"
#include "support/RecordingUserInterface.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

const std::string kTabsg = BRAXEL_DATA_DIR "/tabsg";
const std::string kSettingTable = BRAXEL_DATA_DIR "/ABCTrans";

// The axes of each setting in terms of a, b and c of setting 1.
const char* const kMonoclinicAxes[] = {"a b c", "-a-c b a", "c b -a-c",
                                       "c a b", "a -a-c b", "-a-c c b"};
const char* const kOrthorhombicAxes[] = {"a b c", "b a -c", "c a b", "-c b a", "b c a", "a -c b"};

// The two atoms of two-atoms.inp in a group in setting 1 and in the axes a', b', c' of another,
// placed by their coordinates in the new axes: x' a' + y' b' + z' c' is x a + y b + z c with x =
// S^T x'.
std::pair<CrystalData, CrystalData> Descriptions(int group, const std::string& axes) {
  gemmi::Mat33 s(0.0);  // row i: axis i of the new setting in terms of a, b, c
  int row = 0;
  double sign = 1.0;
  for (const char ch : axes) {
    if (ch == ' ') ++row;
    if (ch == ' ' || ch == '-' || ch == '+') sign = ch == '-' ? -1.0 : 1.0;
    if (ch >= 'a' && ch <= 'c') s.a[row][ch - 'a'] += sign;
  }
  CrystalData other;
  testing::RecordingUserInterface ui;
  EXPECT_TRUE(ReadInpFile(BRAXEL_TEST_DATA_DIR "/axes/two-atoms.inp", other, ui));
  other.sgNumber = group;
  if (group <= 15) other.beta = 103.0;
  CrystalData standard = other;
  standard.x = standard.y = standard.z = {};
  std::array<double, kMaxAtoms> CrystalData::*const coordinates[] = {
      &CrystalData::x, &CrystalData::y, &CrystalData::z};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      for (int n = 0; n < 2; ++n)
        (standard.*coordinates[j])[n] += s.a[i][j] * (other.*coordinates[i])[n];
    }
  }
  // The cell of the new axes, by gemmi 0.5.7: its columns are a', b', c' in Cartesian terms.
  const gemmi::UnitCell cell(other.a, other.b, other.c, other.alpha, other.beta, other.gamma);
  const gemmi::Mat33 vectors = cell.orth.mat.multiply(s.transpose());
  gemmi::UnitCell changed;
  changed.set_from_vectors(vectors.column_copy(0), vectors.column_copy(1), vectors.column_copy(2));
  std::tie(other.a, other.b, other.c, other.alpha, other.beta, other.gamma) =
      std::tie(changed.a, changed.b, changed.c, changed.alpha, changed.beta, changed.gamma);
  return {standard, other};
}

struct Line {
  double d;
  double intensity;
};

// The reflection list grouped by d: lines closer than the tolerance are one line.
std::vector<Line> PowderLines(const CrystalData& data, const testing::TempDir& dir) {
  const RunFiles files{dir.File("Braxel.out"), dir.File("Braxel.prf"), kTabsg,
                       BRAXEL_DATA_DIR "/fscat"};
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

TEST(SettingRoundTripTest, GroupsComeBackToTheirStandardLines) {
  testing::TempDir dir;
  testing::RecordingUserInterface ui;
  for (int group = 3; group <= 74; ++group) {
    const bool monoclinic = group <= 15;
    const bool threeCellChoices =
        group == 5 || group == 7 || group == 8 || group == 9 || group >= 12;
    for (int s = 2; s <= 6; ++s) {
      SCOPED_TRACE("group " + std::to_string(group) + " setting " + std::to_string(s));
      auto [standard, data] =
          Descriptions(group, (monoclinic ? kMonoclinicAxes : kOrthorhombicAxes)[s - 1]);
      const std::vector<Line> lines = PowderLines(standard, dir);
      CalculationResults results;
      if (monoclinic) {
        data.settingNumber = threeCellChoices ? s : (s <= 3 ? 1 : 2);
        results.uniqueAxis.assign(1, s <= 3 ? 'b' : 'c');
        ASSERT_TRUE(
            LookUpSpaceGroupSymbol(kTabsg, group, data.settingNumber, results.sgSymbol, ui));
        // The non-standard description is itself right.
        ExpectSameLines(PowderLines(data, dir), lines);
      } else {
        // As a file giving only the symbol would be read.
        results.sgSymbol = OrthorhombicSymbol(group, s);
        data.sgNumber = 0;
        FindSgInSettingTable(kSettingTable, kOrthorhombicSection, results.sgSymbol, data.sgNumber,
                             data.settingNumber, ui);
        ASSERT_EQ(data.sgNumber, group);
        // A symbol shared with an earlier setting is that setting's description, origin
        // included; the axes alone do not make it.
        if (data.settingNumber != s) continue;
      }
      ASSERT_TRUE(ConvertToSetting(1, data, results, kSettingTable, ui));
      EXPECT_EQ(data.settingNumber, 1);
      ExpectSameLines(PowderLines(data, dir), lines);
    }
  }
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace braxel
