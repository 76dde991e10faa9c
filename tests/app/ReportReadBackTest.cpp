#include <gtest/gtest.h>

#include "app/ReportReadBack.h"
#include "support/RecordingUserInterface.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

const std::string kNaCl = ReadFile(BRAXEL_TEST_DATA_DIR "/NaCl.out");

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

TEST(ReportReadBackTest, MissingKeysFailAfterWhatWasRead) {
  TempDir dir;
  WriteFile(dir.File("Braxel.out"), Replaced(kNaCl, "    Symmetry codes  :", "    Symmetry"));
  CalculationResults results;
  testing::RecordingUserInterface ui;
  EXPECT_FALSE(ReadBackReport(dir.File("Braxel.out"), results, ui));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "    Symmetry codes  : not found !!!\n");
  EXPECT_EQ(results.centrosymmetric, "yes");
  EXPECT_EQ(results.symmetryCodeCount, 0);

  WriteFile(dir.File("Braxel.out"), Replaced(kNaCl, "    Centrosymmetric = yes\n", ""));
  EXPECT_FALSE(ReadBackReport(dir.File("Braxel.out"), results, ui));
  EXPECT_EQ(ui.messages.back(), "    Centrosymmetric not found !!!\n");

  EXPECT_FALSE(ReadBackReport(dir.File("none"), results, ui));
  EXPECT_EQ(ui.messages.back(), "Outputfile nout found !!!");
  // The message of a failed run is no report.
  WriteFile(dir.File("Braxel.out"), "No space group found !!!");
  EXPECT_FALSE(ReadBackReport(dir.File("Braxel.out"), results, ui));
}

TEST(ReportReadBackTest, EditedReportsNeverOverflowTheCapacities) {
  std::string codes;
  for (int i = 1; i <= 300; ++i) codes += "    " + std::to_string(i) + ". x,y,z\n";
  std::string rows;
  for (int i = 1; i <= 7000; ++i) {
    rows +=
        "     " + std::to_string(i) + "   1   0   0   1   10.0000   5.0000    1.0000    1.00   2\n";
  }
  std::string text = Replaced(kNaCl, "     1. x,y,z\n", codes);
  text =
      Replaced(text, "     1   1   1   1   1   27.3655", rows + "     1   1   1   1   1   27.3655");
  TempDir dir;
  WriteFile(dir.File("Braxel.out"), text);
  CalculationResults results;
  testing::RecordingUserInterface ui;
  ASSERT_TRUE(ReadBackReport(dir.File("Braxel.out"), results, ui));
  EXPECT_EQ(results.symmetryCodeCount, kMaxResultLines);
  EXPECT_EQ(results.reflectionCount, kMaxReflectionRows);
  EXPECT_EQ(results.symmetryCodes.size(), static_cast<std::size_t>(kMaxResultLines));
  EXPECT_EQ(results.reflectionRows.size(), static_cast<std::size_t>(kMaxReflectionRows));
  EXPECT_EQ(results.reflectionRows[5999][0], "6000");
}

}  // namespace
}  // namespace braxel
