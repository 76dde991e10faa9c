#include <gtest/gtest.h>

#include "spacegroup/SpaceGroupRecord.h"
#include "support/RecordingUserInterface.h"
#include "support/TableText.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::TableRecord;
using testing::TempDir;
using testing::WriteFile;

class SpaceGroupRecordTest : public ::testing::Test {
 protected:
  std::string Table(const std::string& text) {
    WriteFile(dir.File("tabsg"), text);
    return dir.File("tabsg");
  }
  TempDir dir;
  SpaceGroupRecord record;
  std::string message;
};

TEST_F(SpaceGroupRecordTest, ReadsTheTriclinicRecord) {
  const std::string path = Table(
      "  1  1  1  0  1   P 1\n"
      " 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n"
      "x,y,z\n");
  ASSERT_EQ(ReadSpaceGroupRecord(path, 1, 1, record, message), 0);
  EXPECT_EQ(record.number, 1);
  EXPECT_EQ(record.setting, 1);
  EXPECT_EQ(record.laueIndex, 1);
  EXPECT_EQ(record.crystalSystemIndex, 1);
  EXPECT_EQ(record.centrosymmetric, 0);
  EXPECT_EQ(record.symbol, "P 1");
  for (int i = 1; i <= 14; ++i) EXPECT_EQ(record.conditionCodes[i], 0);
  ASSERT_EQ(record.symmetryCodes.size(), 1u);
  EXPECT_EQ(record.symmetryCodes[0], "x,y,z");
  EXPECT_EQ(message, "");
}

TEST_F(SpaceGroupRecordTest, SkipsRecordsByTheirCodeCountAndTakesTheFirstMatch) {
  const std::string path =
      Table(TableRecord(1, 1, 1, 0, "P 1", {}, {"x,y,z"}) +
            TableRecord(14, 1, 3, 1, "P 21/c", {{2, 2}, {5, 3}}, {"x,y,z", "-x,y+1/2,-z+1/2"}) +
            TableRecord(14, 1, 3, 1, "second", {}, {"x,y,z"}));
  ASSERT_EQ(ReadSpaceGroupRecord(path, 14, 1, record, message), 0);
  EXPECT_EQ(record.symbol, "P 21/c");
  EXPECT_EQ(record.conditionCodes[2], 2);
  EXPECT_EQ(record.conditionCodes[5], 3);
  EXPECT_EQ(record.crystalSystemIndex, 2);
  EXPECT_EQ(record.symmetryCodes.back(), "-x,y+1/2,-z+1/2");
}

TEST_F(SpaceGroupRecordTest, ConditionFieldsAreTwoColumnsEach) {
  const std::string path = Table(
      "229  1 15  1  1   I m -3 m\n"
      "            13\n"
      "x,y,z\n");
  ASSERT_EQ(ReadSpaceGroupRecord(path, 229, 1, record, message), 0);
  EXPECT_EQ(record.conditionCodes[7], 13);
  EXPECT_EQ(record.conditionCodes[6], 0);
  EXPECT_EQ(record.conditionCodes[14], 0);
}

TEST_F(SpaceGroupRecordTest, ShortHeaderHasAnEmptySymbol) {
  const std::string path = Table("  2  1  1  1  1\n 0\nx,y,z\n");
  ASSERT_EQ(ReadSpaceGroupRecord(path, 2, 1, record, message), 0);
  EXPECT_EQ(record.symbol, "");
}

TEST_F(SpaceGroupRecordTest, FailuresCarryTheirMessages) {
  EXPECT_EQ(ReadSpaceGroupRecord(dir.File("none"), 1, 1, record, message), -1);
  EXPECT_EQ(message, dir.File("none") + " file not found !!!\n");

  const std::string path = Table(TableRecord(1, 1, 1, 0, "P 1", {}, {"x,y,z"}));
  EXPECT_EQ(ReadSpaceGroupRecord(path, 2, 1, record, message), -1);
  EXPECT_EQ(message, "No space group found !!!");
}

TEST_F(SpaceGroupRecordTest, TheFourThousandAndFirstRecordIsNotFound) {
  std::string text;
  for (int r = 0; r < 4000; ++r) text += TableRecord(1, 1, 1, 0, "P 1", {}, {"x,y,z"});
  const std::string path = Table(text + TableRecord(2, 1, 1, 1, "P -1", {}, {"x,y,z"}));
  EXPECT_EQ(ReadSpaceGroupRecord(path, 2, 1, record, message), -1);
  EXPECT_EQ(message, "No space group 2 setting 1 within 4000 records !!!");
  EXPECT_EQ(ReadSpaceGroupRecord(path, 1, 1, record, message), 0);
}

TEST_F(SpaceGroupRecordTest, RecordsBeyondTheRunsStorageAreRefused) {
  // The three-column count cannot exceed 99 after the centrosymmetric field, so an
  // impossible count is a negative one.
  std::string path = Table("  1  1  1  0 -1   P 1\n 0\nx,y,z\n");
  EXPECT_EQ(ReadSpaceGroupRecord(path, 1, 1, record, message), -1);
  EXPECT_EQ(message, "Symmetry code count -1 of space group 1 setting 1 is out of range !!!");

  const std::string longCode = "x+1/2+1/2+1/2+1/2,y+1/2+1/2,z+1/2+1/2";
  path = Table(TableRecord(1, 1, 1, 0, "P 1", {}, {longCode}));
  EXPECT_EQ(ReadSpaceGroupRecord(path, 1, 1, record, message), -1);
  EXPECT_EQ(message, "Symmetry code " + longCode + " of space group 1 exceeds 34 characters !!!");

  path = Table(std::string(1, '\n').append(TableRecord(1, 1, 1, 0, "P 1", {}, {"x,y,z"})));
  EXPECT_EQ(ReadSpaceGroupRecord(path, 1, 1, record, message), -1);
  EXPECT_EQ(message, "Space group record 1 is not readable:  !!!");
}

TEST_F(SpaceGroupRecordTest, LookUpStoresTheSymbolOrShowsWhyNot) {
  testing::RecordingUserInterface ui;
  const std::string path = Table(TableRecord(14, 1, 3, 1, "P 21/c", {}, {"x,y,z"}) +
                                 TableRecord(14, 2, 3, 1, "P 21/n", {}, {"x,y,z"}));
  std::string symbol = "old";
  EXPECT_TRUE(LookUpSpaceGroupSymbol(path, 14, 2, symbol, ui));
  EXPECT_EQ(symbol, "P 21/n");
  EXPECT_FALSE(LookUpSpaceGroupSymbol(path, 15, 1, symbol, ui));
  EXPECT_FALSE(LookUpSpaceGroupSymbol(dir.File("none"), 14, 1, symbol, ui));
  EXPECT_EQ(symbol, "P 21/n");
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0], "No space group found !!!");
  EXPECT_EQ(ui.messages[1], dir.File("none") + " file not found !!!\n");
}

TEST(CrystalSystemTest, FollowsTheLaueIndex) {
  const int expected[] = {0, 1, 2, 2, 2, 3, 4, 4, 5, 5, 5, 5, 6, 6, 7, 7, 0};
  for (int laue = 0; laue <= 16; ++laue) EXPECT_EQ(CrystalSystemIndexOf(laue), expected[laue]);
}

}  // namespace
}  // namespace braxel
