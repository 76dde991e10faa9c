// Reading and saving Braxel.ini: the cases of tests/data/settings/cases.txt, and the bundled files.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "settings/SettingsFile.h"
#include "settings/TextCases.h"
#include "support/RecordingUserInterface.h"
#include "support/TestFiles.h"

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
  for (const std::string& file :
       {bundled.external.tabsgPath, bundled.external.fscatPath, bundled.fixed.helpPath}) {
    EXPECT_TRUE(fs::is_regular_file(file)) << file;
  }

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

}  // namespace
}  // namespace braxel
