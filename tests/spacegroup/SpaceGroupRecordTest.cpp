// Records of the space-group table read by number and setting, and found by their symbols.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "spacegroup/SpaceGroupRecord.h"
#include "spacegroup/SymbolLookup.h"
#include "support/RecordingUserInterface.h"
#include "support/TableText.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::TableRecord;
using testing::TempDir;
using testing::WriteFile;

const std::string kTriclinic = TableRecord(1, 1, 1, 0, "P 1", {"x,y,z"});

// Every failure of the search, with the message the run and the look-up of the symbol give. The
// records found, with their two-column conditions, are checked on every record of the bundled
// table (BundledTableTest).
TEST(SpaceGroupRecordTest, FailureRows) {
  TempDir dir;
  std::string manyRecords;
  for (int r = 1; r < 4000; ++r) manyRecords += kTriclinic;
  const std::string minusOne = TableRecord(2, 1, 1, 1, "P -1", {"x,y,z"});
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
      {TableRecord(1, 1, 1, 0, "P 1", {longCode}), 1,
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

// The text with each "\n" made a line break.
std::string Unescaped(const std::string& text) {
  return std::regex_replace(text, std::regex(R"(\\n)"), "\n");
}

// Each search of tests/data/symbol_lookup.txt from the number and setting it starts with: what
// it gives and what it shows.
TEST(SymbolLookupTest, SearchRows) {
  std::ifstream rows(BRAXEL_TEST_DATA_DIR "/symbol_lookup.txt");
  ASSERT_TRUE(rows.good());
  testing::TempDir dir;
  int checked = 0;
  for (std::string row; std::getline(rows, row);) {
    if (row.empty() || row[0] == '#') continue;
    SCOPED_TRACE(row);
    std::vector<std::string> fields;
    std::istringstream split(row);
    for (std::string field; std::getline(split, field, '|');) fields.push_back(field);
    fields.resize(6);
    const std::string& search = fields[0];
    int number = 0, setting = 0, expectedNumber = 0, expectedSetting = 0;
    std::istringstream(fields[2]) >> number >> setting;
    std::istringstream(fields[3]) >> expectedNumber >> expectedSetting;
    std::vector<std::string> messages;
    std::istringstream shown(fields[4]);
    for (std::string message; std::getline(shown, message, ';');) {
      messages.push_back(Unescaped(message));
    }
    std::string tabsg = BRAXEL_DATA_DIR "/tabsg";
    std::string settings = BRAXEL_DATA_DIR "/ABCTrans";
    if (fields[5] == "missing") {
      tabsg = settings = dir.File("none");
    } else if (!fields[5].empty()) {
      (search == "table" ? tabsg : settings) = dir.File("table");
      testing::WriteFile(dir.File("table"), Unescaped(fields[5]));
    }
    testing::RecordingUserInterface ui;
    bool found = true;
    if (search == "table") {
      FindSgBySymbol(tabsg, fields[1], number, setting, ui);
    } else if (search == "monoclinic" || search == "orthorhombic") {
      FindSgInSettingTable(settings,
                           search == "monoclinic" ? kMonoclinicSection : kOrthorhombicSection,
                           fields[1], number, setting, ui);
    } else if (search == "blank-free") {
      found = FindSgWithoutBlanks(tabsg, settings, fields[1], number, setting) == (number != 0);
    } else {
      ASSERT_EQ(search, "number");
      found =
          FindSgNumberBySymbol(tabsg, settings, fields[1], number, setting, ui) == (number != 0);
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(number, expectedNumber);
    EXPECT_EQ(setting, expectedSetting);
    EXPECT_EQ(ui.messages, messages);
    ++checked;
  }
  EXPECT_EQ(checked, 55);
}

}  // namespace
}  // namespace braxel
