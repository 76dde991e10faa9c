#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spacegroup/SymbolLookup.h"
#include "support/RecordingUserInterface.h"
#include "support/TableText.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using Strings = std::vector<std::string>;

enum Search { kTable, kMonoclinic, kOrthorhombic, kBlankFree, kNumber };

constexpr const char* kMissing = "missing";
const std::string kMonoclinicOnly = "Monoclinic\nNo\n3         P 2        P 1 2 1    P 1 2 1\n";

struct Case {
  Search search;
  std::string symbol;
  int startNumber, startSetting;
  int number, setting;
  Strings messages = {};
  std::string file = "";  // in place of the bundled table the search reads; kMissing for none
};

const std::string kNotFound = "space group name not found !!!";
// A group the table holds in other axes only is taken in its first setting, after the table's
// own search has missed it.
Strings Taken(const std::string& symbol, int number, const std::string& standard) {
  return {kNotFound, symbol + " is space group " + std::to_string(number) +
                         " in axes the table lacks: setting 1 (" + standard + ") is taken !!!"};
}

// Each search from the number and setting it starts with, what it gives and what it shows.
const Case kCases[] = {
    // The space-group table: the whole symbol text first (C 2 2 21 stands before C 2 2 2), then
    // the first whose text begins with it; a miss or a missing file changes nothing.
    {kTable, "P 21/c", 0, 0, 14, 1},
    {kTable, "P 1 1 21/n", 0, 0, 14, 5},
    {kTable, "C 2 2 2  ", 0, 0, 21, 1},
    {kTable, "P 4/n b", 0, 0, 125, 1},
    {kTable, "", 0, 0, 1, 1},
    {kTable, "Q 9", 7, 3, 7, 3},
    {kTable, "P 21/c", 7, 3, 7, 3, {"space group file found !!!"}, kMissing},
    // Every line long enough is compared, with the numbers last scanned: "x,y,z" is too short
    // to reach column 19, the condition line scans as group 0, setting 0.
    {kTable, "x", 9, 9, 9, 9, {}, testing::TableRecord(5, 2, 3, 0, "A 2", {}, {"x,y,z"})},
    {kTable, " 0 0", 9, 9, 0, 0, {}, testing::TableRecord(5, 2, 3, 0, "A 2", {}, {"x,y,z"})},
    // The setting table's monoclinic section: cell choices, then unique axis c; a one-line group
    // has setting 1 for axis b, 2 for axis c. The search ends silently after group 15 and at
    // any orthorhombic line.
    {kMonoclinic, "P 1 21/c 1", 0, 0, 14, 1},
    {kMonoclinic, "P 1 21/a 1", 0, 0, 14, 3},
    {kMonoclinic, "P 1 1 21/n", 0, 0, 14, 5},
    {kMonoclinic, "I 1 1 2/b", 0, 0, 15, 6},
    {kMonoclinic, "P 1 1 21/m", 0, 0, 11, 2},
    {kMonoclinic, "P 1 2 1", 0, 0, 3, 1},
    {kMonoclinic, "P 1 21/c 1 ", 0, 4, 0, 4},
    {kMonoclinic, "P 1 1 2", 0, 4, 0, 4, {kNotFound}, kMonoclinicOnly},
    {kMonoclinic,
     "P 2 2 2",
     0,
     4,
     0,
     4,
     {},
     "Monoclinic\nNo\n16        P 2 2 2    P 2 2 2    P 2 2 2    P 2 2 2\n"},
    // The orthorhombic section: the axis setting.
    {kOrthorhombic, "P n m a", 0, 0, 62, 1},
    {kOrthorhombic, "P c m n", 0, 0, 62, 4},
    {kOrthorhombic, "P n a m", 0, 0, 62, 6},
    {kOrthorhombic, "I m m b", 0, 0, 74, 2},
    {kOrthorhombic, "P c m n ", 0, 4, 0, 4, {kNotFound}},
    {kOrthorhombic, "P 21/c", 0, 4, 0, 4, {kNotFound}},
    {kOrthorhombic, "P n m a", 0, 4, 0, 4, {"Table cannot open !!!"}, kMissing},
    {kOrthorhombic, "P n m a", 0, 4, 0, 4, {"Orthorhombic not found !!!\n"}, kMonoclinicOnly},
    // Symbols without blanks, whole symbols only; the setting table holds the full monoclinic
    // and the non-standard orthorhombic ones.
    {kBlankFree, "Pnma", 0, 0, 62, 1},
    {kBlankFree, "P212121", 0, 0, 19, 1},
    {kBlankFree, "Fm-3m", 0, 0, 225, 1},
    {kBlankFree, "P121/c1", 0, 0, 14, 1},
    {kBlankFree, "P 1 21/n1", 0, 0, 14, 2},
    {kBlankFree, "Pbnm", 0, 0, 62, 3},
    {kBlankFree, "C222", 0, 0, 21, 1},
    {kBlankFree, "   ", 0, 5, 0, 5},
    {kBlankFree, "Pnm", 0, 5, 0, 5},
    {kBlankFree, "Pnma", 0, 5, 0, 5, {}, kMissing},
    // The tables in turn, and the spellings of files; a number the record holds stays.
    {kNumber, "P b n m", 0, 0, 62, 3},
    {kNumber, "Pbnm", 0, 0, 62, 3, {kNotFound}},
    {kNumber, "P b n m", 14, 1, 14, 1},
    {kNumber, "X 9 9", 0, 0, 0, 0, {kNotFound}},
    {kNumber, "C 2 2 2", 0, 0, 21, 1},
    {kNumber, "F d 3 m", 0, 0, 227, 2},  // the old tables' origin, at the centre
    {kNumber, "F m 3 m", 0, 0, 225, 1},
    {kNumber, "Pm3m", 0, 0, 221, 1},
    {kNumber, "Fd-3m:2", 0, 0, 227, 2},
    {kNumber, "F d -3 m :2", 0, 0, 227, 2},
    {kNumber, "P2~1~/n", 0, 0, 14, 2},
    {kNumber, "P2(1)/c", 0, 0, 14, 1},
    {kNumber, "R -3 m:R", 0, 0, 166, 2},
    {kNumber, "R -3 m :H", 0, 0, 166, 1},
    {kNumber, "I 41/a m d:2", 0, 0, 141, 2},
    {kNumber, "P 21/b 1 1", 0, 0, 14, 1, Taken("P 21/b 1 1", 14, "P 1 21/c 1")},
    {kNumber, "A 1 2/a 1", 0, 0, 15, 1, Taken("A 1 2/a 1", 15, "C 1 2/c 1")},
    {kNumber, "A -1", 0, 0, 2, 1, Taken("A -1", 2, "P -1")},
    {kNumber, "C -1", 0, 0, 2, 1, Taken("C -1", 2, "P -1")},
};

TEST(SymbolLookupTest, SearchRows) {
  testing::TempDir dir;
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::to_string(c.search) + " '" + c.symbol + "'");
    std::string tabsg = BRAXEL_DATA_DIR "/tabsg";
    std::string settings = BRAXEL_DATA_DIR "/ABCTrans";
    std::string& replaced = c.search == kTable ? tabsg : settings;
    if (c.file == kMissing) {
      tabsg = settings = dir.File("none");
    } else if (!c.file.empty()) {
      replaced = dir.File("table");
      testing::WriteFile(replaced, c.file);
    }
    testing::RecordingUserInterface ui;
    int number = c.startNumber;
    int setting = c.startSetting;
    bool found = true;
    switch (c.search) {
      case kTable:
        FindSgBySymbol(tabsg, c.symbol, number, setting, ui);
        break;
      case kMonoclinic:
      case kOrthorhombic:
        FindSgInSettingTable(settings,
                             c.search == kMonoclinic ? kMonoclinicSection : kOrthorhombicSection,
                             c.symbol, number, setting, ui);
        break;
      case kBlankFree:
        found = FindSgWithoutBlanks(tabsg, settings, c.symbol, number, setting);
        break;
      case kNumber:
        found = FindSgNumberBySymbol(tabsg, settings, c.symbol, number, setting, ui);
        break;
    }
    EXPECT_EQ(found, c.search < kBlankFree || number != 0);
    EXPECT_EQ(number, c.number);
    EXPECT_EQ(setting, c.setting);
    EXPECT_EQ(ui.messages, c.messages);
  }
}

}  // namespace
}  // namespace braxel
