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

const std::string kTriclinic = TableRecord(1, 1, 1, 0, "P 1", {}, {"x,y,z"});

// Records are skipped by their code counts, the first match is taken, and the condition line
// holds two columns per class.
TEST(SpaceGroupRecordTest, ReadsTheFirstMatchingRecord) {
  TempDir dir;
  WriteFile(dir.File("tabsg"),
            kTriclinic + "229 14 15  1  2   P 21/c\n 0 0 0 0 3 013\nx,y,z\n-x,y+1/2,-z+1/2\n" +
                TableRecord(229, 14, 3, 1, "second", {}, {"x,y,z"}) + "  2  1  1  1  1\n 0\nx\n");
  SpaceGroupRecord record;
  std::string message;
  ASSERT_EQ(ReadSpaceGroupRecord(dir.File("tabsg"), 229, 14, record, message), 0);
  EXPECT_EQ(record.number, 229);
  EXPECT_EQ(record.setting, 14);
  EXPECT_EQ(record.laueIndex, 15);
  EXPECT_EQ(record.crystalSystemIndex, 7);
  EXPECT_EQ(record.centrosymmetric, 1);
  EXPECT_EQ(record.symbol, "P 21/c");
  const int conditions[15] = {0, 0, 0, 0, 0, 3, 0, 13, 0, 0, 0, 0, 0, 0, 0};
  for (int i = 1; i <= 14; ++i) EXPECT_EQ(record.conditionCodes[i], conditions[i]) << i;
  EXPECT_EQ(record.symmetryCodes, (std::vector<std::string>{"x,y,z", "-x,y+1/2,-z+1/2"}));
  EXPECT_EQ(message, "");
  // A short header line has an empty symbol.
  ASSERT_EQ(ReadSpaceGroupRecord(dir.File("tabsg"), 2, 1, record, message), 0);
  EXPECT_EQ(record.symbol, "");
}

// Every failure of the search, with the message the run and the look-up of the symbol give.
TEST(SpaceGroupRecordTest, FailureRows) {
  TempDir dir;
  std::string manyRecords;
  for (int r = 1; r < 4000; ++r) manyRecords += kTriclinic;
  const std::string minusOne = TableRecord(2, 1, 1, 1, "P -1", {}, {"x,y,z"});
  const std::string longCode = "x+1/2+1/2+1/2+1/2,y+1/2+1/2,z+1/2+1/2";
  const struct {
    std::string table;  // no file when empty
    int number;
    std::string message;
  } cases[] = {
      {"", 1, dir.File("tabsg") + " file not found !!!\n"},
      {kTriclinic, 2, "No space group found !!!"},
      {manyRecords + kTriclinic + minusOne, 2,
       "No space group 2 setting 1 within 4000 records !!!"},
      // The three-column count cannot exceed 99, so an impossible count is a negative one.
      {"  1  1  1  0 -1   P 1\n 0\nx,y,z\n", 1,
       "Symmetry code count -1 of space group 1 setting 1 is out of range !!!"},
      {TableRecord(1, 1, 1, 0, "P 1", {}, {longCode}), 1,
       "Symmetry code " + longCode + " of space group 1 exceeds 34 characters !!!"},
      {"\n" + kTriclinic, 1, "Space group record 1 is not readable:  !!!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    std::filesystem::remove(dir.File("tabsg"));
    if (!c.table.empty()) WriteFile(dir.File("tabsg"), c.table);
    SpaceGroupRecord record;
    std::string message;
    EXPECT_EQ(ReadSpaceGroupRecord(dir.File("tabsg"), c.number, 1, record, message), -1);
    EXPECT_EQ(message, c.message);
    testing::RecordingUserInterface ui;
    std::string symbol = "old";
    // The look-up reads no symmetry codes.
    if (c.message.find("exceeds 34") == std::string::npos) {
      EXPECT_FALSE(LookUpSpaceGroupSymbol(dir.File("tabsg"), c.number, 1, symbol, ui));
      EXPECT_EQ(ui.messages, std::vector<std::string>{c.message});
    }
    EXPECT_EQ(symbol, "old");
  }
  // The four thousandth record is still found, and the look-up stores its symbol.
  WriteFile(dir.File("tabsg"), manyRecords + minusOne);
  SpaceGroupRecord record;
  std::string message, symbol;
  EXPECT_EQ(ReadSpaceGroupRecord(dir.File("tabsg"), 2, 1, record, message), 0);
  testing::RecordingUserInterface ui;
  EXPECT_TRUE(LookUpSpaceGroupSymbol(dir.File("tabsg"), 2, 1, symbol, ui));
  EXPECT_EQ(symbol, "P -1");
}

}  // namespace
}  // namespace braxel
