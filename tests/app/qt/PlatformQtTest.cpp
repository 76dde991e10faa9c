// The Qt side of the platform layer: file dialog set-up and the system services.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <filesystem>

#include "platform/qt/QtSystemServices.h"
#include "platform/qt/QtUserInterface.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

TEST(QtUserInterfaceTest, FiltersBecomeNameFilters) {
  EXPECT_EQ(NameFilters({{"Braxel inp file (*.inp)", "*.inp"},
                         {"Pictures", "*.png *.gif"},
                         {"", "*.*"},
                         {"(*.*)", "*.*"}}),
            (QStringList{"Braxel inp file (*.inp)", "Pictures (*.png *.gif)", "(*.*)", "(*.*)"}));
}

TEST(QtUserInterfaceTest, FileDialogTakesTitleFiltersFolderAndDefaultExtension) {
  testing::TempDir dir;
  FileDialogRequest request;
  request.title = "Save Input File";
  request.filters = {{"Braxel inp file (*.inp)", "*.inp"}, {"Other Files (*.*)", "*.*"}};
  request.defaultExtension = "inp";
  request.initialPath = dir.File("quartz.inp");
  QFileDialog dialog;
  ConfigureFileDialog(dialog, request);
  EXPECT_EQ(dialog.windowTitle(), "Save Input File");
  EXPECT_EQ(dialog.nameFilters(), (QStringList{"Braxel inp file (*.inp)", "Other Files (*.*)"}));
  EXPECT_EQ(dialog.defaultSuffix(), "inp");
  EXPECT_EQ(std::filesystem::path(dialog.directory().absolutePath().toStdString()), dir.Path());
}

TEST(QtSystemServicesTest, DirectoryFilesAndPrograms) {
  testing::TempDir dir;
  QtSystemServices system;
  const std::string before = system.CurrentDirectory();
  ASSERT_TRUE(system.ChangeDirectory(dir.Path().string()));
  EXPECT_EQ(std::filesystem::path(system.CurrentDirectory()), dir.Path());
  EXPECT_FALSE(system.ChangeDirectory(dir.File("missing")));
  EXPECT_FALSE(system.ChangeDirectory(""));
  ASSERT_TRUE(system.ChangeDirectory(before));

  testing::WriteFile(dir.File("old.$$$"), "x");
  EXPECT_TRUE(system.DeleteFile(dir.File("old.$$$")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("old.$$$")));
  EXPECT_FALSE(system.DeleteFile(dir.File("old.$$$")));

  EXPECT_FALSE(system.LaunchProcess("", {}));
  EXPECT_FALSE(system.LaunchProcess(dir.File("no-such-program"), {"a b"}));
  EXPECT_TRUE(system.LaunchProcess("true", {"with blanks", "x"}));
}

}  // namespace
}  // namespace braxel
