#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <set>

#include "engine/CalculationRun.h"
#include "support/FaultInjection.h"
#include "support/TableText.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

const std::string kNaCl = BRAXEL_TEST_DATA_DIR "/nacl/";

class CalculationRunTest : public ::testing::Test {
 protected:
  // NaCl (F m -3 m, a = 5.6402, Na at 0 0 0, Cl at 1/2 1/2 1/2, Cu) on the record of its group
  // (beside those of P 1 and P -1) and the 1992 International Tables coefficients of
  // cctbx.eltbx.xray_scattering.it1992 without anomalous terms, in tests/data/nacl.
  CalculationRunTest() {
    WriteFile(dir.File("tabsg"), ReadFile(kNaCl + "tabsg") +
                                     testing::TableRecord(1, 1, 1, 0, "P 1", {"x,y,z"}) +
                                     testing::TableRecord(2, 1, 1, 7, "P -1", {"x,y,z"}));
    input.files = {dir.File("Braxel.out"), dir.File("Braxel.prf"), dir.File("tabsg"),
                   kNaCl + "fscat"};
    input.profile = {0, 0, 0.0001, 10, 0.5, 0, 0.5, 10, 90, 0.02};
    input.sgNumber = 225;
    input.settingNumber = 1;
    input.targetIndex = 4;
    input.cell = {5.6402, 5.6402, 5.6402, 90, 90, 90};
    input.atomCount = 2;
    input.species[0] = "Na";
    input.species[1] = "Cl";
    input.g[0] = input.g[1] = 1.0;
    input.x[1] = input.y[1] = input.z[1] = 0.5;
  }

  // Runs and expects failure with exactly this message, which the report then holds alone; no
  // earlier pattern file stays to pass for the run's result.
  void ExpectFailure(const std::string& message) {
    WriteFile(input.files.patternPath, "an earlier run's pattern");
    CalculationRun run;
    std::string runMessage;
    EXPECT_FALSE(run.RunCalculation(input, runMessage));
    EXPECT_EQ(runMessage, message);
    EXPECT_EQ(ReadFile(input.files.reportPath), message);
    EXPECT_FALSE(std::filesystem::exists(input.files.patternPath)) << message;
  }

  // The report of a run from start to 50 degrees.
  std::string Report(double start = 20.0) {
    input.profile.twoThetaStart = start;
    input.profile.twoThetaEnd = 50.0;
    CalculationRun run;
    std::string message;
    EXPECT_TRUE(run.RunCalculation(input, message)) << message;
    return ReadFile(input.files.reportPath);
  }

  // The reflection rows and the closing line.
  std::string Rows(double start) {
    const std::string report = Report(start);
    return report.substr(report.rfind("-\n") + 2);
  }

  TempDir dir;
  RunInput input;
};

// tests/data/NaCl.out was written by tools/gen_nacl_report.py from textbook formulas.
TEST_F(CalculationRunTest, SodiumChlorideReportMatchesTheHandCalculation) {
  EXPECT_EQ(Report(), ReadFile(BRAXEL_TEST_DATA_DIR "/NaCl.out"));
}

// Rows are numbered from the first entry of the range; an empty range closes the list at once.
// An odd centrosymmetric flag prints no line.
TEST_F(CalculationRunTest, EmptyRangeFirstRowNumberAndOddCentrosymmetricFlag) {
  EXPECT_EQ(Rows(28.0).substr(0, 6), "     3");  // above 1 1 1 and its Ka2 line
  EXPECT_EQ(Rows(49.0), " " + std::string(64, '=') + "\n");
  input.sgNumber = 2;
  const std::string report = Report();
  EXPECT_EQ(report.find("    Centrosymmetric"), std::string::npos);
  EXPECT_NE(report.find("\n    General sites   =  1\n"), std::string::npos);
}

TEST_F(CalculationRunTest, ReportedRangeExcludesTheStartAndIncludesTheEnd) {
  CalculationRun first;
  std::string message;
  ASSERT_TRUE(first.RunCalculation(input, message));
  // Bounds exactly on entries: 1 1 1 (Ka1) at the start, 4 2 2 (Ka2) at the end.
  input.profile.twoThetaStart = first.entries[0].twoTheta;
  input.profile.twoThetaEnd = first.entries[17].twoTheta;
  CalculationRun run;
  ASSERT_TRUE(run.RunCalculation(input, message));
  ASSERT_EQ(run.entries[17].twoTheta, input.profile.twoThetaEnd);
  EXPECT_EQ(run.firstReported, 2);
  EXPECT_EQ(run.lastReported, 18);
}

// Reflections beyond the end of the range, and those beyond the limiting sphere (2theta 180),
// neither count against the capacity nor end the run through their peak widths.
TEST_F(CalculationRunTest, ReflectionsBeyondTheRangeNeitherCountNorFail) {
  // P 1 (forms h k l and -h -k -l) with a = 11.28 to 92 degrees: its index box lists about
  // 4900 forms, the sphere of the range about 2500.
  const RunInput nacl = input;
  input.sgNumber = 1;
  input.profile.twoThetaStart = 1.0;
  input.cell = {11.28, 11.28, 11.28, 90, 90, 90};
  input.profile.twoThetaEnd = 92.0;
  input.profile.profileCutoff = 10.0;
  CalculationRun run;
  std::string message;
  ASSERT_TRUE(run.RunCalculation(input, message)) << message;
  // That each reflection of the sphere is listed once is checked by the powder sums.
  EXPECT_GT(run.generatedCount, 3000);

  // U < 0 gives no width near 180 degrees, but the entries within the range have one.
  input = nacl;
  input.profile.U = -0.001;
  input.profile.W = 0.01;
  CalculationRun narrow;
  ASSERT_TRUE(narrow.RunCalculation(input, message)) << message;
  ASSERT_EQ(narrow.lastReported, 18);
  for (int i = 0; i < narrow.lastReported; ++i) {
    const double tangent = std::tan(narrow.entries[i].twoTheta * M_PI / 360);
    EXPECT_NEAR(narrow.entries[i].fwhm, std::sqrt(0.01 - 0.001 * tangent * tangent), 1e-9);
  }
}

// Every failure of a step, and cells, atoms and profile grids the steps cannot use (refused at
// once), write the message as the whole report.
TEST_F(CalculationRunTest, EveryFailureWritesItsMessageAsTheWholeReport) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  const std::string table = dir.File("table");
  WriteFile(table, testing::TableRecord(3, 3, 3, 0, "P 1 2 1", {"x,y,z"}) +
                       testing::TableRecord(225, 1, 15, 0, "F m -3 m", {}));
  const struct {
    std::function<void(RunInput&)> change;
    std::string message;
  } cases[] = {
      {[&](RunInput& in) { in.files.tabsgPath = dir.File("missing"); },
       dir.File("missing") + " file not found !!!\n"},
      {[&](RunInput& in) { in.files.tabsgPath = table; },
       "Space group 225 has no symmetry code in the table !!!"},
      {[&](RunInput& in) {
         in.files.tabsgPath = table;
         in.sgNumber = in.settingNumber = 3;
       },
       "Setting 3 of space group 3 is not classified !!!"},
      {[](RunInput& in) {
         in.profile.twoThetaEnd = 179.0;
         in.cell = {40, 40, 40, 90, 90, 90};
       },
       "Number of reflections exceeds over 3000 !!!\nChange range, please."},
      {[&](RunInput& in) { in.files.fscatPath = dir.File("nofscat"); },
       dir.File("nofscat") + " file not found !!!\n"},
      {[](RunInput& in) { in.cell = {5.6402, 5.6402, 5.6402, 10, 10, 170}; }, "sqrt error !!!"},
      {[](RunInput& in) { in.cell.a = 0; },
       "Cell edge a = 0 makes no cell: an edge must be above 0 !!!"},
      {[](RunInput& in) { in.cell.b = kNaN; }, "Cell edge b = nan is not a number !!!"},
      {[](RunInput& in) { in.cell.gamma = 180; },
       "Cell angle gamma = 180 makes no cell: an angle must lie between 0 and 180 degrees !!!"},
      {[](RunInput& in) { in.g[1] = std::numeric_limits<double>::infinity(); },
       "Atom 2 g = inf is not a number !!!"},
      {[](RunInput& in) { in.profile.twoThetaStep = 1e-9; },
       "Step of 2theta (step) = 1e-09 is outside the accepted range 0.001 to 5 !!!"},
      {[](RunInput& in) { in.profile.W = -0.0001; }, "Inadequote profile parameters !!!"},
      {[](RunInput& in) { in.g[0] = in.g[1] = 0.0; }, "All intensities are zero !!!"},
  };
  const RunInput good = input;
  for (const auto& c : cases) {
    input = good;
    c.change(input);
    ExpectFailure(c.message);
  }
}

// A full disk and a folder that cannot hold a file: the last run's report and pattern file stay
// together as they were, and nothing is left beside them.
TEST_F(CalculationRunTest, RefusedWritingKeepsTheLastReportAndPatternFile) {
  std::string message;
  ASSERT_TRUE(CalculationRun().RunCalculation(input, message)) << message;
  const RunFiles good = input.files;
  const std::string report = ReadFile(good.reportPath);
  const std::string pattern = ReadFile(good.patternPath);
  WriteFile(dir.File("plain"), "");
  const std::set<std::string> files = {"Braxel.out", "Braxel.prf", "plain", "tabsg"};
  const struct {
    rlim_t room;
    std::string reportPath, patternPath, message;
  } cases[] = {
      {1000, good.reportPath, good.patternPath, good.patternPath + " file not create !!!"},
      {RLIM_INFINITY, good.reportPath, dir.File("plain/Braxel.prf"),
       dir.File("plain/Braxel.prf") + " file not create !!!"},
      {RLIM_INFINITY, dir.File("plain/Braxel.out"), good.patternPath,
       dir.File("plain/Braxel.out") + " file not create !!!"},
  };
  for (const auto& c : cases) {
    input.files.reportPath = c.reportPath;
    input.files.patternPath = c.patternPath;
    EXPECT_EQ(testing::InChildWithFileSizeLimit(
                  c.room,
                  [&] {
                    std::string refused;
                    CalculationRun run;
                    return !run.RunCalculation(input, refused) && refused == c.message ? 0 : 1;
                  }),
              0)
        << c.message;
    EXPECT_EQ(ReadFile(good.reportPath), report);
    EXPECT_EQ(ReadFile(good.patternPath), pattern);
    EXPECT_EQ(testing::FileNames(dir.Path()), files);
  }
}

TEST_F(CalculationRunTest, UnwritableReportStillFails) {
  input.files.reportPath = dir.File("no/such/dir/Braxel.out");
  input.sgNumber = 224;
  CalculationRun run;
  std::string message;
  EXPECT_FALSE(run.RunCalculation(input, message));
  EXPECT_EQ(message, "No space group found !!!");
}

}  // namespace
}  // namespace braxel
