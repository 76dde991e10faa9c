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

// Every failure of the search, with the message the run and the look-up of the symbol give. The
// records found, with their two-column conditions, are checked on every record of the bundled
// table (BundledTableTest).
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
