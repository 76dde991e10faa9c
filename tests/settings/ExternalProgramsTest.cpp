// The commands that hand the report, the pattern and the help document to other programs.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settings/ExternalPrograms.h"
#include "support/RecordingUserInterface.h"
#include "support/ScriptedPresenter.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::RecordingSystemServices;
using testing::RecordingUserInterface;
using testing::ScriptedPresenter;
using testing::TempDir;
using testing::WriteFile;
using Arguments = std::vector<std::string>;

void MakeProgram(const std::string& path) {
  WriteFile(path, "#!/bin/sh\n");
  fs::permissions(path, fs::perms::owner_all);
}

class ExternalProgramsTest : public ::testing::Test {
 protected:
  ExternalProgramsTest() {
    settings.fixed = MakeFixedPaths("/work", "");
    settings.external = {"/tools/ed", "/view/Grafino", "/view3d/Kristallon", "/data/tabsg",
                         "/data/fscat"};
  }

  const RecordingSystemServices::Launch& OnlyLaunch() const {
    EXPECT_EQ(system.launched.size(), 1u);
    return system.launched.at(0);
  }

  Settings settings;
  RecordingSystemServices system;
  RecordingUserInterface ui;
};

TEST_F(ExternalProgramsTest, TheReportGoesToTheEditorAfterARunOrAtAnyTimeForShowOutput) {
  OnSaveOutputFile(settings, false, "", system, ui);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Calculation not completed !!!"});
  EXPECT_TRUE(system.launched.empty());
  OnShowOutput(settings, "", system, ui);
  OnSaveOutputFile(settings, true, "", system, ui);
  ASSERT_EQ(system.launched.size(), 2u);
  for (const auto& launch : system.launched) {
    EXPECT_EQ(launch.program, "/tools/ed");
    EXPECT_EQ(launch.arguments, Arguments{"/work/Braxel.out"});
  }
  EXPECT_EQ(system.currentDirectory, "/start");
}

TEST_F(ExternalProgramsTest, ShowPatternStartsTheViewerFromItsOwnFolderAfterARun) {
  OnShowPattern(settings, false, "", system, ui);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Calculation not completed !!!"});
  EXPECT_TRUE(system.launched.empty());
  EXPECT_EQ(system.currentDirectory, "/start");

  OnShowPattern(settings, true, "", system, ui);
  const auto& launch = OnlyLaunch();
  EXPECT_EQ(launch.program, "/view/Grafino");
  EXPECT_EQ(launch.arguments, (Arguments{"-x", "/work/Braxel.prf"}));
  EXPECT_EQ(launch.directory, "/view");
  EXPECT_EQ(system.currentDirectory, "/view");  // and stays there
}

TEST_F(ExternalProgramsTest, PathsWithBlanksAndLongPathsReachTheProgramWhole) {
  TempDir tools;
  const std::string folder = tools.File("my tools/" + std::string(150, 'd'));
  fs::create_directories(folder);
  MakeProgram(folder + "/pattern viewer");
  settings.external.grafinoPath = folder + "/pattern viewer";
  settings.fixed = MakeFixedPaths("/my work", "");
  OnShowPattern(settings, true, "", system, ui);
  const auto& launch = OnlyLaunch();
  EXPECT_EQ(launch.program, folder + "/pattern viewer");
  EXPECT_EQ(launch.arguments, (Arguments{"-x", "/my work/Braxel.prf"}));
  EXPECT_EQ(launch.directory, folder);
}

TEST_F(ExternalProgramsTest, ASettingIsSplitIntoProgramAndOptionsWhereNoFileHasItsName) {
  TempDir tools;
  MakeProgram(tools.File("ed"));
  MakeProgram(tools.File("my editor"));
  MakeProgram(tools.File("my editor -n"));
  const std::string ed = tools.File("ed");
  const std::string my = tools.File("my editor");
  const std::pair<std::string, ProgramCommand> cases[] = {
      {ed + " --new-window", {ed, {"--new-window"}}},
      {ed + "  -a\t-b ", {ed, {"-a", "-b"}}},
      {my, {my, {}}},
      {my + " -s", {my, {"-s"}}},
      {my + " -n", {my + " -n", {}}},  // a file carries the whole text
      {"no-such-editor --new-window", {"no-such-editor", {"--new-window"}}},
      {"  ", {}},
  };
  for (const auto& [setting, expected] : cases) {
    const ProgramCommand command = SplitProgramSetting(setting, "", system);
    EXPECT_EQ(command.program, expected.program) << setting;
    EXPECT_EQ(command.options, expected.options) << setting;
  }
  settings.external.editorPath = ed + " --new-window";
  OnShowOutput(settings, "", system, ui);
  EXPECT_EQ(OnlyLaunch().program, ed);
  EXPECT_EQ(OnlyLaunch().arguments, (Arguments{"--new-window", "/work/Braxel.out"}));
}

TEST_F(ExternalProgramsTest, ARelativePathIsTakenFromTheCurrentDirectory) {
  settings.external.grafinoPath = "./viewers/Grafino";
  OnShowPattern(settings, true, "", system, ui);
  EXPECT_EQ(OnlyLaunch().program, "/start/viewers/Grafino");
  EXPECT_EQ(OnlyLaunch().directory, "/start/viewers");
}

TEST_F(ExternalProgramsTest, AnEmptyPathOrAProgramThatDoesNotStartIsShown) {
  settings.external.grafinoPath.clear();
  OnShowPattern(settings, true, "", system, ui);
  EXPECT_TRUE(system.launched.empty());
  EXPECT_EQ(system.currentDirectory, "/start");
  system.launchSucceeds = false;
  OnShowOutput(settings, "", system, ui);
  EXPECT_EQ(ui.messages, (std::vector<std::string>{"Grafino path not found !!!",
                                                   "/tools/ed cannot be started !!!",
                                                   "/work/Braxel.out file not found !!!"}));
}

TEST_F(ExternalProgramsTest, WithoutAWorkingEditorAFileIsShownInATextWindow) {
  TempDir start;
  settings.fixed = MakeFixedPaths(start.Path().string(), "");
  WriteFile(settings.fixed.reportPath, "report\n");
  WriteFile(start.File("binary.out"), std::string("a\0b", 3));
  ui.fileAnswers = {start.File("binary.out")};
  settings.external.editorPath.clear();
  OnShowOutput(settings, "", system, ui);
  OnEditFile(settings, "", system, ui);
  system.launchSucceeds = false;
  settings.external.editorPath = "/tools/ed";
  OnSaveOutputFile(settings, true, "", system, ui);
  using Text = std::pair<std::string, std::string>;
  EXPECT_EQ(ui.texts, (std::vector<Text>{{settings.fixed.reportPath, "report\n"},
                                         {settings.fixed.reportPath, "report\n"}}));
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_NE(ui.messages[0].find(start.File("binary.out")), std::string::npos);
  EXPECT_EQ(ui.messages[1], "/tools/ed cannot be started !!!");
}

TEST_F(ExternalProgramsTest, BareNamesAreFoundBesideTheProgramThenOnPath) {
  TempDir own;
  TempDir onPath;
  MakeProgram(own.File("braxel-pattern"));
  MakeProgram(onPath.File("braxel-pattern"));
  MakeProgram(onPath.File("viewer"));
  WriteFile(onPath.File("plain"), "not a program");
  const char* oldPath = std::getenv("PATH");
  const std::string savedPath = oldPath ? oldPath : "";
  ::setenv("PATH", ("/nonexistent::" + onPath.Path().string()).c_str(), 1);

  EXPECT_EQ(FindProgram("braxel-pattern", own.Path().string()), own.File("braxel-pattern"));
  EXPECT_EQ(FindProgram("braxel-pattern", ""), onPath.File("braxel-pattern"));
  EXPECT_EQ(FindProgram("viewer", own.Path().string()), onPath.File("viewer"));
  EXPECT_EQ(FindProgram("plain", own.Path().string()), "plain");
  EXPECT_EQ(FindProgram("missing", own.Path().string()), "missing");
  EXPECT_EQ(FindProgram("./missing", own.Path().string()), "./missing");

  settings.external.grafinoPath = "braxel-pattern";
  OnShowPattern(settings, true, own.Path().string(), system, ui);
  settings.external.grafinoPath = "missing";
  OnShowPattern(settings, true, own.Path().string(), system, ui);
  ::setenv("PATH", savedPath.c_str(), 1);

  ASSERT_EQ(system.launched.size(), 2u);
  EXPECT_EQ(system.launched[0].program, own.File("braxel-pattern"));
  EXPECT_EQ(system.launched[0].directory, own.Path().string());
  // Found nowhere: started as named, the directory left as it was.
  EXPECT_EQ(system.launched[1].program, "missing");
  EXPECT_EQ(system.launched[1].directory, own.Path().string());
}

TEST_F(ExternalProgramsTest, EditFileOpensTheChosenFileAndCancelDoesNothing) {
  ui.fileAnswers = {std::nullopt, "/my work/old run.out"};
  OnEditFile(settings, "", system, ui);
  EXPECT_TRUE(system.launched.empty());
  OnEditFile(settings, "", system, ui);
  EXPECT_EQ(OnlyLaunch().program, "/tools/ed");
  EXPECT_EQ(OnlyLaunch().arguments, Arguments{"/my work/old run.out"});

  ASSERT_EQ(ui.fileRequests.size(), 2u);
  const FileDialogRequest& request = ui.fileRequests[0];
  EXPECT_EQ(request.defaultExtension, "out");
  ASSERT_EQ(request.filters.size(), 2u);
  EXPECT_EQ(request.filters[0].description, "Edit file (*.out)");
  EXPECT_EQ(request.filters[0].patterns, "*.out");
  EXPECT_EQ(request.filters[1].patterns, "*");
}

TEST_F(ExternalProgramsTest, HelpOpensTheDocumentInItsAssociatedProgram) {
  TempDir start;
  WriteFile(start.File("BraxelHelp.html"), "<html></html>");
  settings.fixed = MakeFixedPaths(start.Path().string(), "");
  system.associatedProgram = "/usr/bin/browser";
  OnHelpByHtml(settings, "", system, ui);
  EXPECT_EQ(system.lookedUp, std::vector<std::string>{start.File("BraxelHelp.html")});
  EXPECT_EQ(OnlyLaunch().program, "/usr/bin/browser");
  EXPECT_EQ(OnlyLaunch().arguments, Arguments{start.File("BraxelHelp.html")});
  EXPECT_EQ(ui.beeps, 0);
}

TEST_F(ExternalProgramsTest, HelpWithoutABrowserOpensInTheHelpWindowAndWithoutADocumentBeeps) {
  TempDir start;
  settings.fixed = MakeFixedPaths(start.Path().string(), "");
  system.associatedProgram = "/usr/bin/browser";
  OnHelpByHtml(settings, "", system, ui);  // no document
  EXPECT_EQ(ui.beeps, 1);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Cannot execute html file !!!"});
  WriteFile(start.File("BraxelHelp.html"), "<html></html>");
  system.launchSucceeds = false;
  OnHelpByHtml(settings, "", system, ui);  // a browser that does not start
  system.associatedProgram.reset();
  OnHelpByHtml(settings, "", system, ui);  // no browser
  EXPECT_EQ(system.launched.size(), 1u);
  EXPECT_EQ(ui.helps, std::vector<std::string>(2, start.File("BraxelHelp.html")));
  EXPECT_EQ(ui.beeps, 1);
  EXPECT_EQ(ui.messages.size(), 1u);
}

TEST(HelpPathTest, TheStartDirectorysDocumentWinsOverTheBundledOne) {
  TempDir start;
  const fs::path data = BRAXEL_DATA_DIR;
  EXPECT_EQ(MakeFixedPaths(start.Path().string(), BRAXEL_DATA_DIR).helpPath,
            (data / "BraxelHelp.html").string());
  EXPECT_TRUE(fs::is_regular_file(data / "BraxelHelp.html"));
  WriteFile(start.File("BraxelHelp.html"), "");
  EXPECT_EQ(MakeFixedPaths(start.Path().string(), BRAXEL_DATA_DIR).helpPath,
            start.File("BraxelHelp.html"));
}

class ExternalFilesDialogTest : public ::testing::Test {
 protected:
  ExternalFilesDialogTest() {
    settings.fixed = MakeFixedPaths(start.Path().string(), "");
    settings.external = {"/e", "/g", "/k", "/t", "/f"};
    WriteFile(settings.fixed.iniPath, kIni);
  }

  static constexpr const char* kIni =
      "editor=/e\ngrafino=/g\n# viewer\nkristallon=/k\ntabsg=/t\nfscat=/f\nu = 0.01\n";
  TempDir start;
  Settings settings;
  RecordingUserInterface ui;
};

TEST_F(ExternalFilesDialogTest, BrowseOffersEachRowsFilesAndReplacesItsText) {
  ExternalFilesDialog dialog(settings.external, ui);
  EXPECT_EQ(dialog.texts[ExternalFilesDialog::kKristallon], "/k");
  ui.fileAnswers = {"/opt/viewer", std::nullopt};
  dialog.OnBrowse(ExternalFilesDialog::kGrafino);
  dialog.OnBrowse(ExternalFilesDialog::kTabsg);
  EXPECT_EQ(dialog.texts[ExternalFilesDialog::kGrafino], "/opt/viewer");
  EXPECT_EQ(dialog.texts[ExternalFilesDialog::kTabsg], "/t");  // cancelled

  ASSERT_EQ(ui.fileRequests.size(), 2u);
  EXPECT_EQ(ui.fileRequests[0].title, "Grafino (pattern viewer)");
  EXPECT_EQ(ui.fileRequests[1].title, "Tabsg File (space-group table)");
  EXPECT_EQ(ui.fileRequests[0].initialPath, "/g");
  EXPECT_EQ(ui.fileRequests[0].filters[0].description, "Execute file (*)");
  EXPECT_EQ(ui.fileRequests[1].defaultExtension, "");
  ASSERT_EQ(ui.fileRequests[1].filters.size(), 1u);
  EXPECT_EQ(ui.fileRequests[1].filters[0].patterns, "*");
  EXPECT_EQ(ExternalFilesDialog::BrowseRequest(ExternalFilesDialog::kEditor).defaultExtension, "");
}

TEST_F(ExternalFilesDialogTest, OkTakesTheTextsAsTheyStandAndRewritesThePathLines) {
  ScriptedPresenter<ExternalFilesDialog> presenter([this](ExternalFilesDialog& dialog) {
    ui.fileAnswers = {"/new/tabsg"};
    dialog.OnBrowse(ExternalFilesDialog::kTabsg);
    dialog.texts[ExternalFilesDialog::kEditor] = "no such editor";
    return true;
  });
  OnSetExternalFiles(settings, presenter, ui);
  EXPECT_EQ(presenter.shown, 1);
  EXPECT_EQ(settings.external.editorPath, "no such editor");
  EXPECT_EQ(settings.external.tabsgPath, "/new/tabsg");
  EXPECT_EQ(ReadFile(settings.fixed.iniPath),
            "editor  = no such editor\ngrafino = /g\n# viewer\nkristallon = /k\n"
            "tabsg   = /new/tabsg\nfscat   = /f\nu = 0.01\n");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ExternalFilesDialogTest, CancelKeepsThePathsButStillRewritesTheirLines) {
  ScriptedPresenter<ExternalFilesDialog> presenter([](ExternalFilesDialog& dialog) {
    dialog.texts[ExternalFilesDialog::kFscat] = "/changed";
    return false;
  });
  OnSetExternalFiles(settings, presenter, ui);
  EXPECT_EQ(settings.external.fscatPath, "/f");
  EXPECT_EQ(ReadFile(settings.fixed.iniPath),
            "editor  = /e\ngrafino = /g\n# viewer\nkristallon = /k\ntabsg   = /t\nfscat   = /f\n"
            "u = 0.01\n");
}

TEST_F(ExternalFilesDialogTest, AMissingSettingsFileIsShownAfterTheDialog) {
  fs::remove(settings.fixed.iniPath);
  ScriptedPresenter<ExternalFilesDialog> presenter([](ExternalFilesDialog&) { return true; });
  OnSetExternalFiles(settings, presenter, ui);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Ini file not found !!!"});
  EXPECT_FALSE(fs::exists(settings.fixed.iniPath));
}

}  // namespace
}  // namespace braxel
