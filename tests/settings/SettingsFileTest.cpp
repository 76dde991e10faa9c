#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settings/SettingsFile.h"
#include "support/RecordingUserInterface.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::ReadFile;
using testing::RecordingSystemServices;
using testing::RecordingUserInterface;
using testing::TempDir;
using testing::WriteFile;

const std::string kPathLines =
    "editor  = /usr/bin/ed\n"
    "grafino = /opt/grafino\n"
    "kristallon = /opt/kristallon\n"
    "tabsg   = /data/tabsg\n"
    "fscat   = /data/fscat\n";

const std::string kParameterLines =
    "u = 0.01\n"
    "v = -0.02\n"
    "w = 0.03\n"
    "pc = 8\n"
    "r12 = 0.5\n"
    "al = 26.6\n"
    "yeta = 0.4\n"
    "angmin = 5\n"
    "angmax = 100\n"
    "step = 0.01\n";

using Strings = std::vector<std::string>;

void ExpectPaths(const ExternalPaths& p, const Strings& expected) {
  EXPECT_EQ((Strings{p.editorPath, p.grafinoPath, p.kristallonPath, p.tabsgPath, p.fscatPath}),
            expected);
}

// U, V, W, cutoff, Ka2 ratio, monochromator angle, Gauss/Lorentz, start, end, step.
void ExpectProfile(const ProfileParameters& p, const std::vector<double>& expected) {
  const double actual[] = {p.U,
                           p.V,
                           p.W,
                           p.profileCutoff,
                           p.ka2Ratio,
                           p.monoAngle,
                           p.gaussLorentz,
                           p.twoThetaStart,
                           p.twoThetaEnd,
                           p.twoThetaStep};
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_DOUBLE_EQ(actual[i], expected[i]) << i;
}

class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFileTest() { system.currentDirectory = start.Path().string(); }

  Settings Load(const std::string& iniText) {
    WriteFile(start.File("Braxel.ini"), iniText);
    return LoadSettings(system, "", ui);
  }

  FixedPaths StartPaths() const { return MakeFixedPaths(start.Path().string(), ""); }

  TempDir start;
  RecordingSystemServices system;
  RecordingUserInterface ui;
};

TEST_F(SettingsFileTest, FifteenLinesGiveFivePathsAndTenNumbersAndTheFixedPathsLieBeside) {
  const Settings settings = Load(kPathLines + kParameterLines);
  EXPECT_TRUE(ui.messages.empty());
  ExpectPaths(settings.external,
              {"/usr/bin/ed", "/opt/grafino", "/opt/kristallon", "/data/tabsg", "/data/fscat"});
  ExpectProfile(settings.profile, {0.01, -0.02, 0.03, 8, 0.5, 26.6, 0.4, 5, 100, 0.01});
  const FixedPaths& fixed = settings.fixed;
  EXPECT_EQ(fixed.startDirectory, start.Path().string());
  EXPECT_EQ((Strings{fixed.iniPath, fixed.reportPath, fixed.patternPath, fixed.axisTablePath,
                     fixed.structureTempPath}),
            (Strings{start.File("Braxel.ini"), start.File("Braxel.out"), start.File("Braxel.prf"),
                     start.File("ABCTrans"), start.File("temp.ins")}));
}

TEST_F(SettingsFileTest, MissingFileIsReportedAndNothingIsRead) {
  const Settings settings = LoadSettings(system, "", ui);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], start.File("Braxel.ini") + " file not found !!!");
  EXPECT_EQ(settings.external.editorPath, "");
  EXPECT_EQ(settings.profile.U, 0.0);
}

TEST_F(SettingsFileTest, FolderInPlaceOfTheFileIsRefusedAtOnce) {
  std::filesystem::create_directory(start.File("Braxel.ini"));
  LoadSettings(system, "", ui);
  EXPECT_EQ(ui.messages, Strings{start.File("Braxel.ini") + " is a folder, not a file !!!"});
}

// The values stay for the Profile Parameters dialog to show; a run refuses them.
TEST_F(SettingsFileTest, ParametersThatMakeNoProfileAreReported) {
  std::string parameters = kParameterLines;
  parameters.replace(parameters.find("step = 0.01"), 11, "step = 1e-9");
  const Settings settings = Load(kPathLines + parameters);
  EXPECT_EQ(ui.messages, Strings{start.File("Braxel.ini") +
                                 ": Step of 2theta (step) = 1e-09 is outside the accepted range "
                                 "0.001 to 5 !!!"});
  ExpectProfile(settings.profile, {0.01, -0.02, 0.03, 8, 0.5, 26.6, 0.4, 5, 100, 1e-9});
}

TEST_F(SettingsFileTest, EmptyPathIsReportedAndTheSearchStartsAgainAtTheTop) {
  // fscat stands above tabsg, so it is found only because reading went back to the top.
  const Settings settings = Load(
      "fscat   = /data/fscat\n"
      "editor  = /usr/bin/ed\n"
      "grafino = /opt/grafino\n"
      "kristallon = /opt/kristallon\n"
      "tabsg   =\n" +
      kParameterLines);
  EXPECT_EQ(ui.messages, Strings{"Tabsg path not found !!!"});
  EXPECT_EQ(settings.external.tabsgPath, "");
  EXPECT_EQ(settings.external.fscatPath, "/data/fscat");
  EXPECT_DOUBLE_EQ(settings.profile.U, 0.01);
  EXPECT_DOUBLE_EQ(settings.profile.twoThetaStep, 0.01);
}

TEST_F(SettingsFileTest, EmptyProgramPathsAreNoMessageAndALineWithoutEqualsIsEmpty) {
  // fscat stands above the empty kristallon line and is still found.
  const Settings settings = Load("fscat   = /data/fscat\neditor\ngrafino =\nkristallon\n" +
                                 kPathLines.substr(kPathLines.find("tabsg")) + kParameterLines);
  EXPECT_TRUE(ui.messages.empty());
  ExpectPaths(settings.external, {"", "", "", "/data/tabsg", "/data/fscat"});
  EXPECT_DOUBLE_EQ(settings.profile.twoThetaStep, 0.01);
}

TEST_F(SettingsFileTest, MissingStepIsReportedAndTheOtherNineAreRead) {
  const std::string withoutStep = kParameterLines.substr(0, kParameterLines.find("step"));
  const Settings settings = Load(kPathLines + withoutStep);
  EXPECT_EQ(ui.messages, Strings{"step not found !!!\n"});
  EXPECT_DOUBLE_EQ(settings.profile.twoThetaEnd, 100);
  EXPECT_DOUBLE_EQ(settings.profile.U, 0.01);
  EXPECT_EQ(settings.profile.twoThetaStep, 0.0);
}

TEST_F(SettingsFileTest, MissingPathKeyStopsReading) {
  const Settings settings = Load("editor  = /usr/bin/ed\nkristallon = /k\n" + kParameterLines);
  EXPECT_EQ(ui.messages, Strings{"grafino not found !!!\n"});
  EXPECT_EQ(settings.external.editorPath, "/usr/bin/ed");
  EXPECT_EQ(settings.external.kristallonPath, "");
  EXPECT_EQ(settings.profile.U, 0.0);
}

TEST_F(SettingsFileTest, LeadingBlanksOfAPathGoAndTrailingBlanksStay) {
  const Settings settings = Load("editor  =    /usr/bin/ed  \n" +
                                 kPathLines.substr(kPathLines.find("grafino")) + kParameterLines);
  EXPECT_EQ(settings.external.editorPath, "/usr/bin/ed  ");
}

TEST_F(SettingsFileTest, NumberIsTheLastOfThreeWords) {
  const Settings settings = Load(kPathLines +
                                 "u= 0.01\n"
                                 "v =0.5\n"
                                 "w = 0.03 trailing words\n"
                                 "pc = ten\n"
                                 "r12 = 0.5\n"
                                 "al\n"
                                 "yeta = 0.4\n"
                                 "angmin = 5\n"
                                 "angmax = 100\n"
                                 "step = 1e-2\n");
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_DOUBLE_EQ(settings.profile.U, 0.01);
  EXPECT_EQ(settings.profile.V, 0.0);
  EXPECT_DOUBLE_EQ(settings.profile.W, 0.03);
  EXPECT_EQ(settings.profile.profileCutoff, 0.0);
  EXPECT_EQ(settings.profile.monoAngle, 0.0);
  EXPECT_DOUBLE_EQ(settings.profile.twoThetaStep, 0.01);
}

TEST_F(SettingsFileTest, KeysMatchByFirstCharactersAndNeverGoBack) {
  // "vx" is taken for "v"; "u" below "v" is never seen because the search goes on from "v".
  const Settings settings = Load(kPathLines + "vx = 1\nu = 2\n");
  EXPECT_EQ(ui.messages, Strings{"v not found !!!\n"});
  EXPECT_DOUBLE_EQ(settings.profile.U, 2);
  EXPECT_EQ(settings.profile.V, 0.0);

  ui.messages.clear();
  const Settings matched = Load(kPathLines + "u = 2\nvx = 1\n");
  EXPECT_EQ(ui.messages, Strings{"w not found !!!\n"});
  EXPECT_DOUBLE_EQ(matched.profile.V, 1);
}

TEST_F(SettingsFileTest, LastLineWithoutLineEndKeepsItsLastCharacter) {
  const Settings path = Load(kPathLines.substr(0, kPathLines.size() - 1));
  EXPECT_EQ(path.external.fscatPath, "/data/fscat");
  EXPECT_EQ(ui.messages, Strings{"u not found !!!\n"});

  const Settings number = Load(kPathLines + kParameterLines.substr(0, kParameterLines.size() - 1));
  EXPECT_DOUBLE_EQ(number.profile.twoThetaStep, 0.01);
}

TEST_F(SettingsFileTest, WindowsLineEndsAreNotPartOfThePath) {
  std::string text;
  for (char c : kPathLines + kParameterLines) {
    if (c == '\n') text += '\r';
    text += c;
  }
  const Settings settings = Load(text);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(settings.external.editorPath, "/usr/bin/ed");
  EXPECT_DOUBLE_EQ(settings.profile.twoThetaStep, 0.01);
}

TEST_F(SettingsFileTest, LongLinesAreReadWhole) {
  // The comment's 121st character starts a key; it must not count as a line of its own.
  const std::string longPath = "/" + std::string(300, 'p');
  const Settings settings =
      Load("#" + std::string(119, '-') + "editor  = /wrong\n" + "editor  = " + longPath + "\n" +
           kPathLines.substr(kPathLines.find("grafino")) + kParameterLines);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(settings.external.editorPath, longPath);
}

TEST_F(SettingsFileTest, DotPathsFollowTheSettingsFile) {
  const Settings settings = Load(
      "editor  = xdg-open\ngrafino = ./bin/grafino\nkristallon = ../k\n"
      "tabsg   = ./tabsg\nfscat   = fscat\n" +
      kParameterLines);
  ExpectPaths(settings.external,
              {"xdg-open", start.File("bin/grafino"), "../k", start.File("tabsg"), "fscat"});
}

TEST_F(SettingsFileTest, BundledFilesServeAStartDirectoryWithoutItsOwn) {
  const Settings settings = LoadSettings(system, BRAXEL_DATA_DIR, ui);
  const std::filesystem::path data = BRAXEL_DATA_DIR;
  // No editor and no structure viewer come with the program; that is no error.
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(settings.fixed.iniPath, (data / "Braxel.ini").string());
  EXPECT_EQ(settings.fixed.axisTablePath, (data / "ABCTrans").string());
  EXPECT_EQ(settings.fixed.reportPath, start.File("Braxel.out"));
  ExpectPaths(settings.external,
              {"", "braxel-pattern", "", (data / "tabsg").string(), (data / "fscat").string()});
  EXPECT_TRUE(std::filesystem::is_regular_file(settings.external.tabsgPath));
  EXPECT_TRUE(std::filesystem::is_regular_file(settings.external.fscatPath));
  ExpectProfile(settings.profile, {0.01, -0.01, 0.01, 10, 0.5, 0, 0.5, 10, 120, 0.02});
}

TEST_F(SettingsFileTest, OwnFilesOfTheStartDirectoryWinOverTheBundledOnes) {
  WriteFile(start.File("Braxel.ini"), kPathLines + kParameterLines);
  WriteFile(start.File("ABCTrans"), "");
  const Settings settings = LoadSettings(system, BRAXEL_DATA_DIR, ui);
  EXPECT_EQ(settings.fixed.iniPath, start.File("Braxel.ini"));
  EXPECT_EQ(settings.fixed.axisTablePath, start.File("ABCTrans"));
  EXPECT_EQ(settings.external.tabsgPath, "/data/tabsg");
}

ExternalPaths NewPaths() {
  return {"/new/editor", "/new/grafino", "/new/kristallon", "/new/tabsg", "/new/fscat"};
}

TEST_F(SettingsFileTest, SaveRewritesThePathLinesInPlaceAndKeepsEverythingElse) {
  const std::string longComment = "; " + std::string(400, 'c');
  std::string filler;
  for (int i = 0; i < 60; ++i) filler += "unknown line " + std::to_string(i) + " \t\n";
  const std::string before =
      "# settings\n"
      "editor  = /old/editor\n"
      "grafino=/old/grafino\r\n"
      "a comment line\n" +
      longComment +
      "\n"
      "kristallon  =  /old/kristallon\n"
      "\n"
      "tabsg   = /old/tabsg\n"
      "fscat   = /old/fscat\n" +
      kParameterLines + filler + "editor  = a second editor line\n" + "last line without end";
  WriteFile(start.File("Braxel.ini"), before);
  FixedPaths fixed = StartPaths();
  ASSERT_TRUE(SaveExternalPaths(fixed, NewPaths(), ui));
  EXPECT_TRUE(ui.messages.empty());
  const std::string after =
      "# settings\n"
      "editor  = /new/editor\n"
      "grafino = /new/grafino\r\n"
      "a comment line\n" +
      longComment +
      "\n"
      "kristallon = /new/kristallon\n"
      "\n"
      "tabsg   = /new/tabsg\n"
      "fscat   = /new/fscat\n" +
      kParameterLines + filler + "editor  = a second editor line\n" + "last line without end";
  EXPECT_EQ(ReadFile(start.File("Braxel.ini")), after);
  EXPECT_FALSE(std::filesystem::exists(start.File("Braxel.ini.part")));
}

TEST_F(SettingsFileTest, SavedPathsReadBack) {
  WriteFile(start.File("Braxel.ini"), kPathLines + kParameterLines);
  FixedPaths fixed = StartPaths();
  ASSERT_TRUE(SaveExternalPaths(fixed, NewPaths(), ui));
  const Settings settings = LoadSettings(system, "", ui);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(settings.external.kristallonPath, "/new/kristallon");
  EXPECT_EQ(settings.external.fscatPath, "/new/fscat");
  EXPECT_DOUBLE_EQ(settings.profile.monoAngle, 26.6);
}

TEST_F(SettingsFileTest, SaveWithAMissingKeyLeavesTheFileAsItWas) {
  const std::string before = "editor  = /e\ngrafino = /g\nkristallon = /k\ntabsg   = /t\n";
  WriteFile(start.File("Braxel.ini"), before);
  FixedPaths fixed = StartPaths();
  EXPECT_FALSE(SaveExternalPaths(fixed, NewPaths(), ui));
  EXPECT_EQ(ui.messages, Strings{"EOF reached !!!"});
  EXPECT_EQ(ReadFile(start.File("Braxel.ini")), before);
}

TEST_F(SettingsFileTest, SaveCopiesTheBundledFileIntoTheStartDirectory) {
  TempDir data;
  const std::string bundled = "# bundled\n" + kPathLines + kParameterLines;
  WriteFile(data.File("Braxel.ini"), bundled);
  FixedPaths fixed = MakeFixedPaths(start.Path().string(), data.Path().string());
  ASSERT_EQ(fixed.iniPath, data.File("Braxel.ini"));
  ASSERT_TRUE(SaveExternalPaths(fixed, NewPaths(), ui));
  EXPECT_EQ(ReadFile(data.File("Braxel.ini")), bundled);
  EXPECT_EQ(fixed.iniPath, start.File("Braxel.ini"));
  EXPECT_EQ(ReadFile(start.File("Braxel.ini")),
            "# bundled\n"
            "editor  = /new/editor\n"
            "grafino = /new/grafino\n"
            "kristallon = /new/kristallon\n"
            "tabsg   = /new/tabsg\n"
            "fscat   = /new/fscat\n" +
                kParameterLines);
}

// No file, a start "directory" that is a plain file, a start directory that is the data
// directory: nothing is written, and the bundled file stays whole.
TEST_F(SettingsFileTest, SaveWithoutAWritableFileIsReportedAndWritesNothing) {
  FixedPaths none = StartPaths();
  EXPECT_FALSE(SaveExternalPaths(none, NewPaths(), ui));
  EXPECT_FALSE(std::filesystem::exists(start.File("Braxel.ini")));

  TempDir data;
  const std::string bundled = kPathLines + kParameterLines;
  WriteFile(data.File("Braxel.ini"), bundled);
  WriteFile(start.File("plain-file"), "");
  FixedPaths plain = MakeFixedPaths(start.File("plain-file"), data.Path().string());
  EXPECT_FALSE(SaveExternalPaths(plain, NewPaths(), ui));
  EXPECT_EQ(ReadFile(data.File("Braxel.ini")), bundled);

  FixedPaths own = MakeFixedPaths(data.Path().string(), data.Path().string());
  EXPECT_FALSE(SaveExternalPaths(own, NewPaths(), ui));
  EXPECT_EQ(ReadFile(data.File("Braxel.ini")), bundled);
  EXPECT_EQ(ui.messages,
            (Strings{"Ini file not found !!!",
                     start.File("plain-file") + "/Braxel.ini file cannot be written !!!",
                     data.File("Braxel.ini") +
                         " is the bundled settings file, which is not rewritten !!!"}));
}

}  // namespace
}  // namespace braxel
