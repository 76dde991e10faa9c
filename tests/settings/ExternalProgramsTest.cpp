// The commands that hand the report, the pattern and the help document to other programs.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "settings/ExternalPrograms.h"
#include "settings/TextCases.h"
#include "support/RecordingUserInterface.h"
#include "support/ScriptedPresenter.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;
using Strings = std::vector<std::string>;

void MakeProgram(const std::string& path) {
  WriteFile(path, "#!/bin/sh\n");
  fs::permissions(path, fs::perms::owner_all);
}

// The settings, the system and the user one command works with.
struct Bench {
  Settings settings;
  testing::RecordingSystemServices system;
  testing::RecordingUserInterface ui;
};

// Everything a command did, one line per event: programs started (each argument in brackets,
// with the current directory at the start), file dialogs, messages, text and help windows, beeps.
Strings Events(const Bench& b) {
  Strings events;
  for (const auto& launch : b.system.launched) {
    std::string line = "launch " + launch.program;
    for (const std::string& argument : launch.arguments) line += " [" + argument + "]";
    events.push_back(line + " in " + launch.directory);
  }
  for (const FileDialogRequest& request : b.ui.fileRequests) {
    std::string line = "choose " + request.title + " from " + request.initialPath + ":";
    for (const FileFilter& filter : request.filters) {
      line += (&filter == &request.filters[0] ? " " : ", ") + filter.description + " = " +
              filter.patterns;
    }
    events.push_back(line + " ." + request.defaultExtension);
  }
  for (const std::string& message : b.ui.messages) events.push_back("message " + message);
  for (const auto& [title, text] : b.ui.texts) events.push_back("text " + title + ": " + text);
  for (const std::string& help : b.ui.helps) events.push_back("help " + help);
  if (b.ui.beeps > 0) events.push_back("beep");
  events.push_back("now in " + b.system.currentDirectory);
  return events;
}

// The cases of tests/data/settings/commands.txt.
TEST(ExternalProgramsTest, CommandsStartTheirProgramsOrSayWhyNot) {
  TempDir work;
  const std::string home = work.File("my work");
  const std::string viewers = work.File("my tools/" + std::string(150, 'd'));
  fs::create_directories(home);
  fs::create_directories(viewers);
  MakeProgram(viewers + "/pattern viewer");
  MakeProgram(work.File("ed"));
  MakeProgram(work.File("my editor"));
  MakeProgram(work.File("my editor -n"));
  WriteFile(home + "/Braxel.out", "report\n");
  WriteFile(home + "/BraxelHelp.html", "<html></html>");
  WriteFile(home + "/binary.out", std::string("a\0b", 3));
  using Command = std::function<void(Bench&)>;
  const std::map<std::string, Command> commands = {
      {"show output", [](Bench& b) { OnShowOutput(b.settings, "", b.system, b.ui); }},
      {"save output", [](Bench& b) { OnSaveOutputFile(b.settings, false, "", b.system, b.ui); }},
      {"save output after a run",
       [](Bench& b) { OnSaveOutputFile(b.settings, true, "", b.system, b.ui); }},
      {"show pattern", [](Bench& b) { OnShowPattern(b.settings, false, "", b.system, b.ui); }},
      {"show pattern after a run",
       [](Bench& b) { OnShowPattern(b.settings, true, "", b.system, b.ui); }},
      {"edit file", [](Bench& b) { OnEditFile(b.settings, "", b.system, b.ui); }},
      {"help", [](Bench& b) { OnHelpByHtml(b.settings, "", b.system, b.ui); }},
  };
  for (const testing::TextCase& c : testing::ReadCases(
           BRAXEL_TEST_DATA_DIR "/settings/commands.txt", {{"home", home},
                                                           {"viewers", viewers},
                                                           {"ed", work.File("ed")},
                                                           {"my", work.File("my editor")}})) {
    Bench b;
    b.settings.fixed = MakeFixedPaths(home, "");
    b.settings.external = {"/tools/ed", "/view/Grafino", "/view3d/Kristallon", "", ""};
    b.system.associatedProgram = "/usr/bin/browser";
    for (const std::string& line : c.input) {
      const std::size_t blank = std::min(line.find(' '), line.size());
      const std::string key = line.substr(0, blank);
      const std::string value = line.substr(std::min(blank + 1, line.size()));
      if (key == "editor") b.settings.external.editorPath = value;
      if (key == "grafino") b.settings.external.grafinoPath = value;
      if (key == "report") b.settings.fixed.reportPath = value;
      if (key == "help") b.settings.fixed.helpPath = value;
      if (key == "answer") b.ui.fileAnswers = {value};
      if (line == "launch fails") b.system.launchSucceeds = false;
      if (line == "no browser") b.system.associatedProgram.reset();
      if (key == "run") commands.at(value)(b);
    }
    EXPECT_EQ(Events(b), c.expected) << c.name;
  }
}

TEST(ExternalProgramsTest, BareNamesAreFoundBesideTheProgramThenOnPath) {
  TempDir own;
  TempDir onPath;
  MakeProgram(own.File("braxel-pattern"));
  MakeProgram(onPath.File("braxel-pattern"));
  MakeProgram(onPath.File("viewer"));
  WriteFile(onPath.File("plain"), "not a program");
  const char* oldPath = std::getenv("PATH");
  const std::string savedPath = oldPath ? oldPath : "";
  ::setenv("PATH", ("/nonexistent::" + onPath.Path().string()).c_str(), 1);
  const std::string ownDir = own.Path().string();
  EXPECT_EQ(FindProgram("braxel-pattern", ownDir), own.File("braxel-pattern"));
  EXPECT_EQ(FindProgram("braxel-pattern", ""), onPath.File("braxel-pattern"));
  EXPECT_EQ(FindProgram("viewer", ownDir), onPath.File("viewer"));
  for (const char* unfound : {"plain", "missing", "./missing"}) {
    EXPECT_EQ(FindProgram(unfound, ownDir), unfound);
  }
  // Found nowhere: started as named, the directory left as it was.
  Bench b;
  b.settings.fixed = MakeFixedPaths("/work", "");
  for (const char* viewer : {"braxel-pattern", "missing"}) {
    b.settings.external.grafinoPath = viewer;
    OnShowPattern(b.settings, true, ownDir, b.system, b.ui);
  }
  ::setenv("PATH", savedPath.c_str(), 1);
  EXPECT_EQ(
      Events(b),
      (Strings{"launch " + own.File("braxel-pattern") + " [-x] [/work/Braxel.prf] in " + ownDir,
               "launch missing [-x] [/work/Braxel.prf] in " + ownDir, "now in " + ownDir}));
}

// Browse offers each row's files; OK takes the texts as they stand. The path lines are rewritten
// either way, and a missing settings file is named after the dialog.
TEST(ExternalFilesDialogTest, OkTakesTheBrowsedAndTypedPathsAndThePathLinesAreRewritten) {
  TempDir start;
  const std::string ini = start.File("Braxel.ini");
  for (const bool ok : {true, false}) {
    Bench b;
    b.settings.fixed = MakeFixedPaths(start.Path().string(), "");
    b.settings.external = {"/e", "/g", "/k", "/t", "/f"};
    WriteFile(ini,
              "editor=/e\ngrafino=/g\n# viewer\nkristallon=/k\ntabsg=/t\nfscat=/f\nu = 0.01\n");
    b.ui.fileAnswers = {"/opt/viewer", std::nullopt};
    testing::ScriptedPresenter<ExternalFilesDialog> presenter([ok](ExternalFilesDialog& dialog) {
      dialog.OnBrowse(ExternalFilesDialog::kGrafino);
      dialog.OnBrowse(ExternalFilesDialog::kTabsg);  // cancelled
      dialog.texts[ExternalFilesDialog::kEditor] = "no such editor";
      return ok;
    });
    OnSetExternalFiles(b.settings, presenter, b.ui);
    const std::string editor = ok ? "no such editor" : "/e";
    const std::string grafino = ok ? "/opt/viewer" : "/g";
    EXPECT_EQ(b.settings.external.editorPath, editor);
    EXPECT_EQ(b.settings.external.grafinoPath, grafino);
    EXPECT_EQ(b.settings.external.tabsgPath, "/t");
    EXPECT_EQ(ReadFile(ini),
              "editor  = " + editor + "\ngrafino = " + grafino +
                  "\n# viewer\nkristallon = /k\ntabsg   = /t\nfscat   = /f\nu = 0.01\n");
    EXPECT_EQ(Events(b), (Strings{"choose Grafino (pattern viewer) from /g: Execute file (*) = * .",
                                  "choose Tabsg File (space-group table) from /t: (*.*) = * .",
                                  "now in /start"}));
  }
  fs::remove(ini);
  Bench b;
  b.settings.fixed = MakeFixedPaths(start.Path().string(), "");
  testing::ScriptedPresenter<ExternalFilesDialog> presenter(
      [](ExternalFilesDialog&) { return true; });
  OnSetExternalFiles(b.settings, presenter, b.ui);
  EXPECT_EQ(presenter.shown, 1);
  EXPECT_EQ(b.ui.messages, Strings{"Ini file not found !!!"});
  EXPECT_FALSE(fs::exists(ini));
}

}  // namespace
}  // namespace braxel
