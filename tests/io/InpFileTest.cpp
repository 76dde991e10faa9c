// Writing .inp files: Save Input File and the examples. Reading them is in the cases of
// tests/data/import/cases.txt.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "io/InpFile.h"
#include "support/ImportFixture.h"

namespace braxel {
namespace {

using testing::ReadFile;
using testing::RecordingUserInterface;
using testing::RecordText;
using testing::TempDir;
using testing::WriteFile;

const std::string kNaClFile = BRAXEL_EXAMPLES_DIR "/NaCl.inp";

// The record of the example, read as File Open reads it.
CrystalData NaCl() {
  CrystalData data;
  RecordingUserInterface ui;
  EXPECT_TRUE(ReadInpFile(kNaClFile, data, ui));
  return data;
}

TEST(InpTitleTest, BaseNameOfTheFileOpenedLast) {
  EXPECT_EQ(InpTitle("D:\\work\\quartz.inp"), "quartz");
  EXPECT_EQ(InpTitle("D:\\data.old\\quartz.inp"), "data");  // cut at the first dot first
  EXPECT_EQ(InpTitle("/home/lab/cod/9008567.cif"), "9008567");
  EXPECT_EQ(InpTitle("C:quartz"), "C");
  EXPECT_EQ(InpTitle("/tmp/two\nlines.inp"), "two lines");  // a title stays one line
}

TEST(WriteInpFileTest, WhatIsWrittenReadsBackAndReplacesTheOldFile) {
  TempDir dir;
  WriteFile(dir.File("s.inp"), "old contents, much longer than the new ones will be ......\n");
  CrystalData written = NaCl();
  written.g[0] = 0.5;
  written.x[0] = -0.12345;
  written.y[0] = 0.25;
  written.z[0] = 0.875;
  written.B[0] = 1.25;
  // A label of any length and values far wider than their columns come back as one atom.
  written.atomLabels[1] = std::string(100, 'L') + "/Cl";
  written.x[1] = 1e308;
  written.B[1] = -1e300;
  RecordingUserInterface ui;
  ASSERT_TRUE(WriteInpFile(dir.File("s.inp"), "9008567", written, ui));
  CrystalData read;
  ASSERT_TRUE(ReadInpFile(dir.File("s.inp"), read, ui));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(RecordText(read), RecordText(written));
  EXPECT_EQ(testing::FileNames(dir.Path()), std::set<std::string>{"s.inp"});
}

TEST(WriteInpFileTest, RefusalsKeepTheOldFile) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("taken.inp"));
  WriteFile(dir.File("taken.inp/inside"), "kept");
  WriteFile(dir.File("s.inp"), ReadFile(kNaClFile));
  const std::string cannot = " file cannot be created !!!";
  const std::string label = "\" must be one word without blanks or control characters !!!";
  using namespace std::string_literals;
  for (const auto& [path, atomLabel, message] : {
           std::tuple{dir.File("no/such/dir/s.inp"), "Na"s, dir.File("no/such/dir/s.inp") + cannot},
           {dir.File("taken.inp"), "Na"s, dir.File("taken.inp") + cannot},
           {dir.File("s.inp"), "Na 1"s, "Atom 2 label \"Na 1" + label},
           {dir.File("s.inp"), ""s, "Atom 2 label \"" + label},
           {dir.File("s.inp"), "Na\0B"s, "Atom 2 label \"Na?B" + label},
           {dir.File("s.inp"), "Na\x1b[2J"s, "Atom 2 label \"Na?[2J" + label},
       }) {
    CrystalData data = NaCl();
    data.atomLabels[1] = atomLabel;
    RecordingUserInterface ui;
    EXPECT_FALSE(WriteInpFile(path, "x", data, ui));
    EXPECT_EQ(ui.messages, std::vector<std::string>{message});
  }
  EXPECT_EQ(ReadFile(dir.File("taken.inp/inside")), "kept");
  EXPECT_EQ(ReadFile(dir.File("s.inp")), ReadFile(kNaClFile));
  EXPECT_EQ(testing::FileNames(dir.Path()), (std::set<std::string>{"s.inp", "taken.inp"}));
}

TEST(SaveInputFileTest, AsksForTheFileThenGathersThenWrites) {
  TempDir dir;
  RecordingUserInterface ui;
  ui.fileAnswers.push_back(dir.File("out.inp"));
  CrystalData record;
  int gathered = 0;
  const auto gather = [&gathered](CrystalData& data) {
    data = NaCl();
    return ++gathered > 0;
  };
  ASSERT_TRUE(SaveInputFile(ui, "D:\\work\\NaCl.cif", record, gather));
  EXPECT_EQ(gathered, 1);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ReadFile(dir.File("out.inp")), ReadFile(kNaClFile));
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_EQ(ui.fileRequests[0].defaultExtension, "inp");
  EXPECT_EQ(ui.fileRequests[0].filters.at(1).patterns, "*.*");

  // Cancel, or a form the gathering refuses: nothing is written and the record stays.
  const auto incomplete = [&gathered](CrystalData&) { return ++gathered < 0; };
  record = NaCl();
  RecordingUserInterface cancelled;
  EXPECT_FALSE(SaveInputFile(cancelled, "", record, incomplete));
  EXPECT_EQ(gathered, 1);
  RecordingUserInterface chosen;
  chosen.fileAnswers.push_back(dir.File("other.inp"));
  EXPECT_FALSE(SaveInputFile(chosen, "", record, incomplete));
  EXPECT_EQ(gathered, 2);
  EXPECT_TRUE(chosen.messages.empty());
  EXPECT_FALSE(std::filesystem::exists(dir.File("other.inp")));
  EXPECT_EQ(RecordText(record), RecordText(NaCl()));
}

}  // namespace
}  // namespace braxel
