// The command-line tool as a script uses it: exit status, files and output.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/CrystalData.h"
#include "engine/CalculationRun.h"
#include "io/InpFile.h"
#include "settings/SettingsFile.h"
#include "support/CommandLine.h"
#include "support/RecordingUserInterface.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::CommandOutcome;
using testing::ReadFile;
using testing::RunBraxelCalc;
using testing::TempDir;

TEST(BraxelCalcTest, WritesWhatTheWindowsRunWrites) {
  TempDir dir;
  const CommandOutcome outcome =
      RunBraxelCalc(dir, "--target Mo '" BRAXEL_EXAMPLES_DIR "/NaCl.inp'");
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.err, testing::kBundledSettingsMessages);
  EXPECT_EQ(outcome.out.rfind(" Genarated reflections:", 0), 0u);
  EXPECT_TRUE(std::filesystem::exists(dir.File("Braxel.prf")));

  // The same run through the libraries, as Calculate Profile makes it.
  CrystalData data;
  data.targetIndex = 5;  // Mo
  testing::RecordingUserInterface ui;
  ASSERT_TRUE(ReadInpFile(BRAXEL_EXAMPLES_DIR "/NaCl.inp", data, ui));
  TempDir other;
  FixedPaths fixed = MakeFixedPaths(other.Path().string(), BRAXEL_DATA_DIR);
  const Settings settings = ReadSettings(fixed, ui);
  CalculationRun run;
  std::string message;
  ASSERT_TRUE(
      run.RunCalculation(MakeRunInput(data,
                                      {settings.fixed.reportPath, settings.fixed.patternPath,
                                       settings.external.tabsgPath, settings.external.fscatPath},
                                      settings.profile),
                         message));
  EXPECT_EQ(ReadFile(dir.File("Braxel.out")), ReadFile(settings.fixed.reportPath));
  EXPECT_EQ(ReadFile(dir.File("Braxel.prf")), ReadFile(settings.fixed.patternPath));
}

TEST(BraxelCalcTest, FailuresGoToStandardErrorWithStatusOne) {
  TempDir dir;
  CommandOutcome outcome = RunBraxelCalc(dir, "missing.inp");
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find("missing.inp"), std::string::npos);
  outcome = RunBraxelCalc(dir, "--target Zn x.inp");
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "Zn target not found !!!\n");
  outcome = RunBraxelCalc(dir, "");
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find("usage: braxel-calc"), std::string::npos);
  outcome = RunBraxelCalc(dir, "--help");
  EXPECT_EQ(outcome.status, 0);
  EXPECT_NE(outcome.out.find("--target"), std::string::npos);
  testing::WriteFile(dir.File("Braxel.ini"), "editor = x\n");
  outcome = RunBraxelCalc(dir, "'" BRAXEL_EXAMPLES_DIR "/NaCl.inp'");
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find("not found !!!"), std::string::npos);
}

// Whole runs of tests/data/regression/cases.txt against the reports and pattern files that
// the program wrote before its calculation was made faster.
TEST(BraxelCalcTest, ReportsAndPatternFilesStayByteForByte) {
  const std::string cases = BRAXEL_TEST_DATA_DIR "/regression/";
  std::ifstream table(cases + "cases.txt");
  std::string line;
  int compared = 0;
  while (std::getline(table, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string name, structure, target, parameters;
    fields >> name >> structure >> target;
    std::getline(fields, parameters);
    SCOPED_TRACE(name);
    TempDir dir;
    testing::WriteSettings(dir, parameters);
    const CommandOutcome outcome =
        RunBraxelCalc(dir, "--target " + target + " '" + cases + structure + "'");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(ReadFile(dir.File("Braxel.out")), ReadFile(cases + name + ".out"));
    EXPECT_EQ(ReadFile(dir.File("Braxel.prf")), ReadFile(cases + name + ".prf"));
    ++compared;
  }
  EXPECT_EQ(compared, 9);
}

}  // namespace
}  // namespace braxel
