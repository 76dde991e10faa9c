// Reading and saving Braxel.ini: the cases of tests/data/settings/cases.txt, and the bundled files;
// the Profile Parameters dialog over the profile it reads; the commands that hand the report, the
// pattern and the help document to other programs.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "settings/ExternalPrograms.h"
#include "settings/ProfileParametersDlg.h"
#include "settings/SettingsFile.h"
#include "support/RecordingUserInterface.h"
#include "support/ScriptedPresenter.h"
#include "support/TestFiles.h"
#include "support/TextCases.h"

namespace braxel {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;
using Strings = std::vector<std::string>;

const ExternalPaths kNewPaths{"/new/editor", "/new/grafino", "/new/kristallon", "/new/tabsg",
                              "/new/fscat"};

bool Has(const testing::TextCase& c, const std::string& option) {
  return c.name.find("[" + option + "]") != std::string::npos;
}

std::string Text(const testing::TextCase& c, const Strings& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  if (Has(c, "noeol") && !text.empty()) text.pop_back();
  return text;
}

Strings Messages(const testing::RecordingUserInterface& ui) {
  Strings lines;
  for (const std::string& message : ui.messages) lines.push_back("message " + message);
  return lines;
}

// The messages and what was read, as the case file writes them.
Strings Read(const Settings& settings, const testing::RecordingUserInterface& ui) {
  const ExternalPaths& p = settings.external;
  const ProfileParameters& f = settings.profile;
  Strings lines = Messages(ui);
  lines.push_back("paths " + p.editorPath + "|" + p.grafinoPath + "|" + p.kristallonPath + "|" +
                  p.tabsgPath + "|" + p.fscatPath);
  std::ostringstream numbers;
  numbers.precision(15);
  numbers << "profile";
  for (double value : {f.U, f.V, f.W, f.profileCutoff, f.ka2Ratio, f.monoAngle, f.gaussLorentz,
                       f.twoThetaStart, f.twoThetaEnd, f.twoThetaStep}) {
    numbers << ' ' << value;
  }
  lines.push_back(numbers.str());
  return lines;
}

class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFileTest() { system.currentDirectory = start.Path().string(); }

  // The cases of one kind, their file placed in the start directory before each.
  std::vector<testing::TextCase> Cases(const std::string& kind) {
    std::vector<testing::TextCase> cases =
        testing::ReadCases(BRAXEL_TEST_DATA_DIR "/settings/cases.txt", {{"dir", Dir()}});
    std::erase_if(cases, [&kind](const auto& c) { return !c.name.starts_with(kind); });
    return cases;
  }

  void Place(const testing::TextCase& c) {
    fs::remove_all(ini);
    if (Has(c, "folder")) fs::create_directory(ini);
    if (!Has(c, "folder") && !Has(c, "nofile")) WriteFile(ini, Text(c, c.input));
  }

  std::string Dir() const { return start.Path().string(); }

  TempDir start;
  const std::string ini = start.File("Braxel.ini");
  testing::RecordingSystemServices system;
  testing::RecordingUserInterface ui;
};

TEST_F(SettingsFileTest, ReadCasesGiveTheirPathsNumbersAndMessages) {
  for (const testing::TextCase& c : Cases("read")) {
    Place(c);
    testing::RecordingUserInterface read;
    EXPECT_EQ(Read(LoadSettings(system, "", read), read), c.expected) << c.name;
  }
}

TEST_F(SettingsFileTest, SaveCasesRewriteOnlyThePathLinesOrLeaveTheFile) {
  for (const testing::TextCase& c : Cases("save")) {
    SCOPED_TRACE(c.name);
    Place(c);
    testing::RecordingUserInterface saving;
    FixedPaths fixed = MakeFixedPaths(Dir(), "");
    const bool refused = c.expected[0].starts_with("message ");
    EXPECT_EQ(SaveExternalPaths(fixed, kNewPaths, saving), !refused);
    EXPECT_EQ(testing::FileNames(start.Path()).size(), Has(c, "nofile") ? 0u : 1u);
    if (refused) {
      EXPECT_EQ(Messages(saving), c.expected);
      EXPECT_EQ(ReadFile(ini), Text(c, c.input));
    } else {
      EXPECT_EQ(ReadFile(ini), Text(c, c.expected));
      EXPECT_EQ(LoadSettings(system, "", saving).external.kristallonPath, "/new/kristallon");
      EXPECT_TRUE(saving.messages.empty());
    }
  }
}

TEST_F(SettingsFileTest, BundledFilesServeAStartDirectoryWithoutItsOwnAndOwnFilesWin) {
  const std::string data = BRAXEL_DATA_DIR;
  const auto fixedPaths = [](const FixedPaths& f) {
    return Strings{f.iniPath,       f.reportPath,        f.patternPath,
                   f.axisTablePath, f.structureTempPath, f.helpPath};
  };
  const Settings bundled = LoadSettings(system, data, ui);
  // No editor and no structure viewer come with the program; that is no error.
  EXPECT_EQ(Read(bundled, ui),
            (Strings{"paths |braxel-pattern||" + data + "/tabsg|" + data + "/fscat",
                     "profile 0.01 -0.01 0.01 10 0.5 0 0.5 10 120 0.02"}));
  EXPECT_EQ(fixedPaths(bundled.fixed),
            (Strings{data + "/Braxel.ini", start.File("Braxel.out"), start.File("Braxel.prf"),
                     data + "/ABCTrans", start.File("temp.ins"), data + "/BraxelHelp.html"}));

  for (const char* name : {"Braxel.ini", "ABCTrans", "BraxelHelp.html"}) {
    WriteFile(start.File(name), Text(Cases("read")[0], Cases("read")[0].input));
  }
  const Settings own = LoadSettings(system, data, ui);
  EXPECT_EQ(fixedPaths(own.fixed), (Strings{ini, start.File("Braxel.out"), start.File("Braxel.prf"),
                                            start.File("ABCTrans"), start.File("temp.ins"),
                                            start.File("BraxelHelp.html")}));
  EXPECT_EQ(own.external.tabsgPath, "/data/tabsg");
}

// A save copies the bundled file into the start directory; a start "directory" that is a plain
// file, or one that is the data directory, gets nothing and the bundled file stays whole.
TEST_F(SettingsFileTest, SaveWritesTheStartDirectorysFileAndNeverTheBundledOne) {
  TempDir data;
  const std::string bundled = "# bundled\n" + Text(Cases("read")[0], Cases("read")[0].input);
  WriteFile(data.File("Braxel.ini"), bundled);
  WriteFile(start.File("plain-file"), "");
  FixedPaths plain = MakeFixedPaths(start.File("plain-file"), data.Path().string());
  EXPECT_FALSE(SaveExternalPaths(plain, kNewPaths, ui));
  FixedPaths inData = MakeFixedPaths(data.Path().string(), data.Path().string());
  EXPECT_FALSE(SaveExternalPaths(inData, kNewPaths, ui));
  EXPECT_EQ(ui.messages,
            (Strings{start.File("plain-file") + "/Braxel.ini file cannot be written !!!",
                     data.File("Braxel.ini") +
                         " is the bundled settings file, which is not rewritten !!!"}));

  FixedPaths fixed = MakeFixedPaths(Dir(), data.Path().string());
  ASSERT_EQ(fixed.iniPath, data.File("Braxel.ini"));
  ASSERT_TRUE(SaveExternalPaths(fixed, kNewPaths, ui));
  EXPECT_EQ(ReadFile(data.File("Braxel.ini")), bundled);
  EXPECT_EQ(fixed.iniPath, ini);
  EXPECT_TRUE(ReadFile(ini).starts_with("# bundled\neditor  = /new/editor\n"));
  EXPECT_EQ(LoadSettings(system, "", ui).external.fscatPath, "/new/fscat");
  EXPECT_EQ(ui.messages.size(), 2u);
}

using Dlg = CProfileParametersDlg;

Dlg Opened(double start, double end, double step) {
  ProfileParameters p;
  p.U = 0.01;
  p.V = -0.01;
  p.profileCutoff = 10;
  p.monoAngle = 26.6;
  p.twoThetaStart = start;
  p.twoThetaEnd = end;
  p.twoThetaStep = step;
  Dlg dialog(p);
  dialog.OnInitDialog();
  return dialog;
}

// Positions are truncated and kept in range; 0.29 is 28.999... hundredths in binary.
TEST(ProfileParametersDlgTest, OpensWithTheFormattedValuesAndTheSpinPositions) {
  EXPECT_EQ(Opened(10, 120, 0.02).boxText, (std::array<std::string, Dlg::kBoxCount>{
                                               "0.0100", "-0.0100", "0.0000", "10.0000", "0.0000",
                                               "0.0000", "26.6000", "10.00", "120.00", "0.020"}));
  const std::array<double, 6> cases[] = {
      {10, 120, 0.02, 1, 12, 2}, {19.9, 155, 0.29, 1, 15, 29}, {-20, 400, 0.001, 0, 15, 1}};
  for (const auto& [start, end, step, startPosition, endPosition, stepPosition] : cases) {
    const Dlg dialog = Opened(start, end, step);
    EXPECT_EQ(dialog.spins[Dlg::kStartSpin].position, startPosition) << start;
    EXPECT_EQ(dialog.spins[Dlg::kEndSpin].position, endPosition) << end;
    EXPECT_EQ(dialog.spins[Dlg::kStepSpin].position, stepPosition) << step;
    EXPECT_EQ(dialog.spins[Dlg::kStepSpin].maximum, 100);
  }
  EXPECT_EQ(Opened(0, 180, 0.001).boxText[Dlg::kStep], "0.001");
}

TEST(ProfileParametersDlgTest, SpinMoveShowsTheNewPositionAndOkReadsEveryBox) {
  Dlg dialog = Opened(10, 120, 0.02);
  dialog.OnSpinMoved(Dlg::kStartSpin, 2);
  dialog.OnSpinMoved(Dlg::kStepSpin, 100);
  EXPECT_EQ(dialog.boxText[Dlg::kStep], "1.000");
  dialog.OnSpinMoved(Dlg::kStepSpin, 0);  // below the range
  EXPECT_EQ(dialog.spins[Dlg::kStepSpin].position, 1);
  EXPECT_EQ(dialog.boxText[Dlg::kStep], "0.010");
  EXPECT_DOUBLE_EQ(dialog.parameters.twoThetaStart, 10.0);  // only OK changes them

  dialog.boxText[Dlg::kU] = "abc";
  dialog.boxText[Dlg::kV] = "";
  dialog.boxText[Dlg::kMonoAngle] = " 12.5xyz";
  std::string message;
  ASSERT_TRUE(dialog.OnOK(message)) << message;
  EXPECT_DOUBLE_EQ(dialog.parameters.U, 0.0);
  EXPECT_DOUBLE_EQ(dialog.parameters.V, 0.0);
  EXPECT_DOUBLE_EQ(dialog.parameters.monoAngle, 12.5);
  EXPECT_DOUBLE_EQ(dialog.parameters.profileCutoff, 10.0);
  EXPECT_DOUBLE_EQ(dialog.parameters.twoThetaStart, 20.0);
  EXPECT_DOUBLE_EQ(dialog.parameters.twoThetaStep, 0.01);
}

// Values that make no profile, or one beyond memory, are refused with the accepted range (the
// cases of tests/data/settings/profile.txt); the parameters stay as they were.
TEST(ProfileParametersDlgTest, OkRefusesValuesThatMakeNoProfile) {
  const std::map<std::string, Dlg::Box> boxes = {{"step", Dlg::kStep},
                                                 {"end", Dlg::kEnd},
                                                 {"start", Dlg::kStart},
                                                 {"u", Dlg::kU},
                                                 {"yeta", Dlg::kGaussLorentz}};
  for (const testing::TextCase& c :
       testing::ReadCases(BRAXEL_TEST_DATA_DIR "/settings/profile.txt")) {
    Dlg dialog = Opened(10, 120, 0.02);
    const std::size_t blank = c.input[0].find(' ');
    dialog.boxText[boxes.at(c.input[0].substr(0, blank))] = c.input[0].substr(blank + 1);
    std::string message;
    EXPECT_FALSE(dialog.OnOK(message)) << c.name;
    EXPECT_EQ(std::vector<std::string>{message}, c.expected);
    EXPECT_DOUBLE_EQ(dialog.parameters.twoThetaStep, 0.02);
    EXPECT_DOUBLE_EQ(dialog.parameters.U, 0.01);
  }
  // The widest grid is accepted.
  Dlg widest = Opened(0, 180, 0.001);
  std::string message;
  EXPECT_TRUE(widest.OnOK(message)) << message;
}

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
