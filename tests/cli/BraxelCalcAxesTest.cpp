// braxel-calc's axis conversion and symbol lookup.
#include <gtest/gtest.h>

#include <string>

#include "support/CommandLine.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::kBundledSettingsMessages;
using testing::RunBraxelCalc;
using testing::TempDir;
using testing::WriteFile;

// P 21/c with unique axis c, and the same structure with unique axis b.
constexpr const char* kUniqueAxisC =
    "unique axis c\n"
    " 14   4\n"
    "   7.00000    5.00000    6.00000   90.00000   90.00000  100.00000\n"
    "  Fe1/Fe3+    1.00000    0.30000    0.10000    0.20000    0.50000\n"
    "     O1/O2-   1.00000    0.70000    0.45000    0.05000    0.80000\n";
constexpr const char* kUniqueAxisB =
    "unique axis b\n"
    " 14   1\n"
    "   5.00000    6.00000    7.00000   90.00000  100.00000   90.00000\n"
    "  Fe1/Fe3+    1.00000    0.10000    0.20000    0.30000    0.50000\n"
    "     O1/O2-   1.00000    0.45000    0.05000    0.70000    0.80000\n";

TEST(BraxelCalcAxesTest, ConvertsBeforeTheCalculation) {
  TempDir dir;
  WriteFile(dir.File("c.inp"), kUniqueAxisC);
  WriteFile(dir.File("b.inp"), kUniqueAxisB);
  const auto converted = RunBraxelCalc(dir, "--convert-setting 1 c.inp");
  ASSERT_EQ(converted.status, 0) << converted.err;
  EXPECT_EQ(converted.err, kBundledSettingsMessages);
  const auto standard = RunBraxelCalc(dir, "b.inp");
  ASSERT_EQ(standard.status, 0) << standard.err;
  EXPECT_EQ(converted.out, standard.out);
}

TEST(BraxelCalcAxesTest, ConversionFailuresGiveStatusOne) {
  TempDir dir;
  WriteFile(dir.File("c.inp"), kUniqueAxisC);
  auto outcome = RunBraxelCalc(dir, "--convert-setting 7 c.inp");
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, kBundledSettingsMessages + std::string("Setting 7 not available !!!\n"));
  EXPECT_EQ(outcome.out, "");
  outcome = RunBraxelCalc(dir, "--convert-setting 1 '" BRAXEL_EXAMPLES_DIR "/rutile.inp'");
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err,
            kBundledSettingsMessages + std::string("Space group 136 has no axis settings !!!\n"));
}

TEST(BraxelCalcAxesTest, FindsSpaceGroupNumbers) {
  TempDir dir;
  auto outcome = RunBraxelCalc(dir, "--find-sg 'P 1 21/c 1'");
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out, "14 1\n");
  outcome = RunBraxelCalc(dir, "--find-sg Pbnm");
  EXPECT_EQ(outcome.out, "62 3\n");
  outcome = RunBraxelCalc(dir, "--find-sg 'C 2 2 2'");  // not C 2 2 21, a leading part
  EXPECT_EQ(outcome.out, "21 1\n");
  outcome = RunBraxelCalc(dir, "--find-sg 'X 9'");
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err,
            kBundledSettingsMessages +
                std::string("space group name not found !!!\nSpace group number not found !!!\n"));
  outcome = RunBraxelCalc(dir, "--help");
  EXPECT_NE(outcome.out.find("--convert-setting N"), std::string::npos);
  EXPECT_NE(outcome.out.find("--find-sg SYMBOL"), std::string::npos);
}

}  // namespace
}  // namespace braxel
