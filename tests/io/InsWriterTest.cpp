// temp.ins for the structure viewer and the Show Structure command.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "io/InpFile.h"
#include "io/InsWriter.h"
#include "support/RecordingUserInterface.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::RecordingSystemServices;
using testing::RecordingUserInterface;
using testing::TempDir;
using testing::WriteFile;

const std::string kRutileIns =
    "VNS1 = 'A-136-1'\n"
    "CELLQ     4.59400    4.59400    2.95900   90.00000   90.00000   90.00000\n"
    "Ti1/Ti4+    1.00000    0.00000    0.00000    0.00000    0.40000\n"
    "O1/O2-    1.00000    0.30480    0.30480    0.00000    0.50000\n"
    "}\n";

class ShowStructureTest : public ::testing::Test {
 protected:
  ShowStructureTest() {
    settings.fixed = MakeFixedPaths(start.Path().string(), "");
    settings.external.kristallonPath = "/view3d/Kristallon";
    EXPECT_TRUE(ReadInpFile(BRAXEL_EXAMPLES_DIR "/rutile.inp", rutile, ui));
  }

  TempDir start;
  Settings settings;
  RecordingSystemServices system;
  RecordingUserInterface ui;
  CrystalData rutile;  // as File Open reads the example
};

TEST_F(ShowStructureTest, WritesTempInsAndStartsTheViewerOrSaysWhyNot) {
  WriteFile(settings.fixed.structureTempPath, "old");
  OnShowStructure(" 136 ", rutile, settings, "", system, ui);
  EXPECT_EQ(ReadFile(start.File("temp.ins")), kRutileIns);
  EXPECT_FALSE(fs::exists(start.File("temp.ins.part")));
  ASSERT_EQ(system.launched.size(), 1u);
  EXPECT_EQ(system.launched[0].program, "/view3d/Kristallon");
  EXPECT_EQ(system.launched[0].arguments, (std::vector<std::string>{"-i", start.File("temp.ins")}));
  EXPECT_EQ(system.launched[0].directory, "/view3d");
  EXPECT_TRUE(ui.messages.empty());

  // An empty space-group box writes nothing; without a viewer the file's place is shown; a file
  // that cannot be written or a label the viewer could not read keeps the old file. None starts
  // a program.
  system = RecordingSystemServices();
  fs::remove(start.File("temp.ins"));
  OnShowStructure("   ", rutile, settings, "", system, ui);
  EXPECT_FALSE(fs::exists(start.File("temp.ins")));
  settings.external.kristallonPath.clear();
  OnShowStructure("136", rutile, settings, "", system, ui);
  EXPECT_EQ(ReadFile(start.File("temp.ins")), kRutileIns);
  settings.external.kristallonPath = "/view3d/Kristallon";
  CrystalData data = rutile;
  data.atomLabels[1] = "O 1";
  OnShowStructure("136", data, settings, "", system, ui);
  EXPECT_EQ(ReadFile(start.File("temp.ins")), kRutileIns);
  // A folder in the file's place: the new file cannot take it over.
  fs::remove(start.File("temp.ins"));
  fs::create_directory(start.File("temp.ins"));
  OnShowStructure("136", rutile, settings, "", system, ui);
  EXPECT_TRUE(fs::is_directory(start.File("temp.ins")));
  settings.fixed = MakeFixedPaths(start.File("no such folder"), "");
  OnShowStructure("136", rutile, settings, "", system, ui);
  EXPECT_EQ(ui.messages,
            (std::vector<std::string>{
                "Data not input !!!",
                "Kristallon path not found, the structure is in " + start.File("temp.ins") + " !!!",
                "Atom 2 label \"O 1\" must be one word without blanks !!!",
                start.File("temp.ins") + " file cannot be created !!!",
                settings.fixed.structureTempPath + " file cannot be created !!!"}));
  EXPECT_EQ(testing::FileNames(start.Path()), std::set<std::string>{"temp.ins"});
  EXPECT_TRUE(system.launched.empty());
  EXPECT_EQ(system.currentDirectory, "/start");
}

}  // namespace
}  // namespace braxel
