#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spacegroup/SymbolLookup.h"
#include "support/RecordingUserInterface.h"
#include "support/TableText.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::RecordingUserInterface;
using testing::TableRecord;
using testing::TempDir;
using testing::WriteFile;

const std::string kTabsg = std::string(BRAXEL_DATA_DIR) + "/tabsg";
const std::string kSettingTable = std::string(BRAXEL_DATA_DIR) + "/ABCTrans";

struct Found {
  int number = 0;
  int setting = 0;
};

class SymbolLookupTest : public ::testing::Test {
 protected:
  Found BySymbol(const std::string& symbol, const std::string& path = kTabsg) {
    FindSgBySymbol(path, symbol, found.number, found.setting, ui);
    return found;
  }
  Found InTable(int section, const std::string& symbol, const std::string& path = kSettingTable) {
    FindSgInSettingTable(path, section, symbol, found.number, found.setting, ui);
    return found;
  }
  Found WithoutBlanks(const std::string& symbol) {
    FindSgWithoutBlanks(kTabsg, kSettingTable, symbol, found.number, found.setting);
    return found;
  }
  Found found;
  RecordingUserInterface ui;
  TempDir dir;
};

void ExpectFound(const Found& found, int number, int setting) {
  EXPECT_EQ(found.number, number);
  EXPECT_EQ(found.setting, setting);
}

TEST_F(SymbolLookupTest, SpaceGroupTableMatchesTheWholeSymbolTextFirst) {
  ExpectFound(BySymbol("P 21/c"), 14, 1);
  ExpectFound(BySymbol("P 1 1 21/n"), 14, 5);
  // C 2 2 21 stands before C 2 2 2 in the table.
  ExpectFound(BySymbol("C 2 2 2"), 21, 1);
  ExpectFound(BySymbol("C 2 2 2  "), 21, 1);
  // Without a whole match, the first record whose text begins with the symbol.
  ExpectFound(BySymbol("P 4/n b"), 125, 1);
  ExpectFound(BySymbol(""), 1, 1);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SymbolLookupTest, SpaceGroupTableMissOrMissingFileChangesNothing) {
  found = {7, 3};
  ExpectFound(BySymbol("Q 9"), 7, 3);
  EXPECT_TRUE(ui.messages.empty());
  ExpectFound(BySymbol("P 21/c", dir.File("none")), 7, 3);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"space group file found !!!"});
}

TEST_F(SymbolLookupTest, EveryLineLongEnoughIsComparedWithTheNumbersLastScanned) {
  const std::string path = dir.File("tabsg");
  WriteFile(path, TableRecord(5, 2, 3, 0, "A 2", {}, {"x,y,z"}));
  found = {9, 9};
  // "x,y,z" is too short to reach column 19.
  ExpectFound(BySymbol("x", path), 9, 9);
  // The condition line reaches it and scans as group 0, setting 0.
  ExpectFound(BySymbol(" 0 0", path), 0, 0);
}

TEST_F(SymbolLookupTest, MonoclinicSectionGivesCellChoiceAndUniqueAxisSettings) {
  ExpectFound(InTable(kMonoclinicSection, "P 1 21/c 1"), 14, 1);
  ExpectFound(InTable(kMonoclinicSection, "P 1 21/a 1"), 14, 3);
  ExpectFound(InTable(kMonoclinicSection, "P 1 1 21/n"), 14, 5);
  ExpectFound(InTable(kMonoclinicSection, "I 1 1 2/b"), 15, 6);
  // A one-line group: setting 1 for unique axis b, 2 for unique axis c.
  ExpectFound(InTable(kMonoclinicSection, "P 1 1 21/m"), 11, 2);
  ExpectFound(InTable(kMonoclinicSection, "P 1 2 1"), 3, 1);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SymbolLookupTest, OrthorhombicSectionGivesTheAxisSetting) {
  ExpectFound(InTable(kOrthorhombicSection, "P n m a"), 62, 1);
  ExpectFound(InTable(kOrthorhombicSection, "P c m n"), 62, 4);
  ExpectFound(InTable(kOrthorhombicSection, "P n a m"), 62, 6);
  ExpectFound(InTable(kOrthorhombicSection, "I m m b"), 74, 2);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SymbolLookupTest, SectionMissesAndTheirMessages) {
  found = {0, 4};
  // The monoclinic search ends silently after group 15; only the field is trimmed.
  ExpectFound(InTable(kMonoclinicSection, "P 1 21/c 1 "), 0, 4);
  EXPECT_TRUE(ui.messages.empty());
  ExpectFound(InTable(kOrthorhombicSection, "P c m n "), 0, 4);
  ExpectFound(InTable(kOrthorhombicSection, "P 21/c"), 0, 4);
  ExpectFound(InTable(kOrthorhombicSection, "P n m a", dir.File("none")), 0, 4);
  const std::string monoclinicOnly = dir.File("ABCTrans");
  WriteFile(monoclinicOnly, "Monoclinic\nNo\n3         P 2        P 1 2 1    P 1 2 1\n");
  ExpectFound(InTable(kOrthorhombicSection, "P n m a", monoclinicOnly), 0, 4);
  // Without group 15 the section ends at the end of the file.
  ExpectFound(InTable(kMonoclinicSection, "P 1 1 2", monoclinicOnly), 0, 4);
  EXPECT_EQ(ui.messages, (std::vector<std::string>{
                             "space group name not found !!!", "space group name not found !!!",
                             "Table cannot open !!!", "Orthorhombic not found !!!\n",
                             "space group name not found !!!"}));
}

TEST_F(SymbolLookupTest, MonoclinicSearchStopsBeforeOrthorhombicLines) {
  const std::string path = dir.File("ABCTrans");
  WriteFile(path,
            "Monoclinic\nNo\n"
            "16        P 2 2 2    P 2 2 2    P 2 2 2    P 2 2 2\n");
  ExpectFound(InTable(kMonoclinicSection, "P 2 2 2", path), 0, 0);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SymbolLookupTest, BlankFreeSymbolsFindTheirGroupsWholeSymbolOnly) {
  ExpectFound(WithoutBlanks("Pnma"), 62, 1);
  ExpectFound(WithoutBlanks("P212121"), 19, 1);
  ExpectFound(WithoutBlanks("Fm-3m"), 225, 1);
  ExpectFound(WithoutBlanks("P21/c"), 14, 1);
  // Only the setting table holds full monoclinic and non-standard orthorhombic symbols.
  ExpectFound(WithoutBlanks("P121/c1"), 14, 1);
  ExpectFound(WithoutBlanks("P 1 21/n1"), 14, 2);
  ExpectFound(WithoutBlanks("Pbnm"), 62, 3);
  // C 2 2 2 is a leading part of C 2 2 21, which comes first in the table.
  ExpectFound(WithoutBlanks("C222"), 21, 1);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SymbolLookupTest, BlankFreeMissesChangeNothing) {
  found = {0, 5};
  EXPECT_FALSE(FindSgWithoutBlanks(kTabsg, kSettingTable, "   ", found.number, found.setting));
  EXPECT_FALSE(FindSgWithoutBlanks(kTabsg, kSettingTable, "Pnm", found.number, found.setting));
  EXPECT_FALSE(
      FindSgWithoutBlanks(dir.File("none"), dir.File("none"), "Pnma", found.number, found.setting));
  ExpectFound(found, 0, 5);
}

TEST_F(SymbolLookupTest, FindSgNumberTriesTheTablesInTurn) {
  EXPECT_TRUE(
      FindSgNumberBySymbol(kTabsg, kSettingTable, "P b n m", found.number, found.setting, ui));
  ExpectFound(found, 62, 3);
  found = {};
  EXPECT_TRUE(FindSgNumberBySymbol(kTabsg, kSettingTable, "Pbnm", found.number, found.setting, ui));
  ExpectFound(found, 62, 3);
  // The orthorhombic section ran to its end before the blank-free comparison.
  EXPECT_EQ(ui.messages, (std::vector<std::string>{"space group name not found !!!"}));
}

TEST_F(SymbolLookupTest, FindSgNumberUnderstandsTheSpellingsOfFiles) {
  struct Case {
    const char* symbol;
    int number, setting;
    const char* message;  // "" for none
  };
  for (const Case& c : {
           Case{"C 2 2 2", 21, 1, ""},
           Case{"F d 3 m", 227, 2, ""},  // the old tables' origin, at the centre
           Case{"F m 3 m", 225, 1, ""},
           Case{"Pm3m", 221, 1, ""},
           Case{"Fd-3m:2", 227, 2, ""},
           Case{"F d -3 m :2", 227, 2, ""},
           Case{"P2~1~/n", 14, 2, ""},
           Case{"P2(1)/c", 14, 1, ""},
           Case{"R -3 m:R", 166, 2, ""},
           Case{"R -3 m :H", 166, 1, ""},
           Case{"I 41/a m d:2", 141, 2, ""},
           Case{"P 21/b 1 1", 14, 1,
                "P 21/b 1 1 is space group 14 in axes the table lacks: setting 1 (P 1 21/c 1) "
                "is taken !!!"},
           Case{"A 1 2/a 1", 15, 1,
                "A 1 2/a 1 is space group 15 in axes the table lacks: setting 1 (C 1 2/c 1) is "
                "taken !!!"},
           Case{"A -1", 2, 1,
                "A -1 is space group 2 in axes the table lacks: setting 1 (P -1) is taken !!!"},
           Case{"C -1", 2, 1,
                "C -1 is space group 2 in axes the table lacks: setting 1 (P -1) is taken !!!"},
       }) {
    Found found;
    RecordingUserInterface ui;
    EXPECT_TRUE(
        FindSgNumberBySymbol(kTabsg, kSettingTable, c.symbol, found.number, found.setting, ui))
        << c.symbol;
    ExpectFound(found, c.number, c.setting);
    if (*c.message != '\0') {
      ASSERT_FALSE(ui.messages.empty()) << c.symbol;
      EXPECT_EQ(ui.messages.back(), c.message);
    } else {
      EXPECT_TRUE(ui.messages.empty()) << c.symbol;
    }
  }
}

TEST_F(SymbolLookupTest, FindSgNumberKeepsANumberTheRecordHolds) {
  found = {14, 1};
  EXPECT_TRUE(
      FindSgNumberBySymbol(kTabsg, kSettingTable, "P b n m", found.number, found.setting, ui));
  ExpectFound(found, 14, 1);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SymbolLookupTest, FindSgNumberOfAnUnknownSymbol) {
  EXPECT_FALSE(
      FindSgNumberBySymbol(kTabsg, kSettingTable, "X 9 9", found.number, found.setting, ui));
  ExpectFound(found, 0, 0);
  EXPECT_EQ(ui.messages, (std::vector<std::string>{"space group name not found !!!"}));
}

}  // namespace
}  // namespace braxel
