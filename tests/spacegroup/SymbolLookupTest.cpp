#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "spacegroup/SymbolLookup.h"
#include "support/RecordingUserInterface.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

// The text with each "\n" made a line break.
std::string Unescaped(const std::string& text) {
  std::string unescaped;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool lineBreak = text.compare(i, 2, "\\n") == 0;
    unescaped += lineBreak ? '\n' : text[i];
    i += lineBreak ? 1 : 0;
  }
  return unescaped;
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
