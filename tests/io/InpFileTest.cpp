#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>

#include "engine/CalculationRun.h"
#include "io/InpFile.h"
#include "platform/TextInput.h"
#include "support/RecordingUserInterface.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::ReadFile;
using testing::RecordingUserInterface;
using testing::TempDir;
using testing::WriteFile;

const char kNaClText[] =
    "NaCl\n"
    "225   1\n"
    "   5.64020    5.64020    5.64020   90.00000   90.00000   90.00000\n"
    "    Na1/Na    1.00000    0.00000    0.00000    0.00000    0.80000\n"
    "    Cl1/Cl    1.00000    0.50000    0.50000    0.50000    0.70000\n";

CrystalData NaCl() {
  CrystalData data;
  data.sgNumber = 225;
  data.settingNumber = 1;
  data.a = data.b = data.c = 5.6402;
  data.alpha = data.beta = data.gamma = 90.0;
  data.atomCount = 2;
  data.atomLabels[0] = "Na1/Na";
  data.atomLabels[1] = "Cl1/Cl";
  data.g = {1.0, 1.0};
  data.x = {0.0, 0.5};
  data.y = {0.0, 0.5};
  data.z = {0.0, 0.5};
  data.B = {0.8, 0.7};
  return data;
}

// A record that no file read here resembles, to see what a failed read leaves alone.
CrystalData Previous() {
  CrystalData data;
  data.sgNumber = 62;
  data.settingNumber = 3;
  data.targetIndex = 2;
  data.a = 7.0;
  data.gamma = 90.0;
  data.atomCount = 1;
  data.atomLabels[0] = "Fe";
  data.B[0] = 1.5;
  return data;
}

void ExpectSame(const CrystalData& actual, const CrystalData& expected) {
  EXPECT_EQ(actual.sgNumber, expected.sgNumber);
  EXPECT_EQ(actual.settingNumber, expected.settingNumber);
  EXPECT_EQ(actual.atomCount, expected.atomCount);
  EXPECT_EQ(actual.targetIndex, expected.targetIndex);
  EXPECT_EQ(actual.radiationKind, expected.radiationKind);
  EXPECT_EQ(actual.a, expected.a);
  EXPECT_EQ(actual.b, expected.b);
  EXPECT_EQ(actual.c, expected.c);
  EXPECT_EQ(actual.alpha, expected.alpha);
  EXPECT_EQ(actual.beta, expected.beta);
  EXPECT_EQ(actual.gamma, expected.gamma);
  EXPECT_EQ(actual.atomLabels, expected.atomLabels);
  EXPECT_EQ(actual.g, expected.g);
  EXPECT_EQ(actual.x, expected.x);
  EXPECT_EQ(actual.y, expected.y);
  EXPECT_EQ(actual.z, expected.z);
  EXPECT_EQ(actual.B, expected.B);
}

struct ReadResult {
  bool ok = false;
  CrystalData data = Previous();
  std::vector<std::string> messages;
  std::string path;
};

ReadResult ReadText(const std::string& text) {
  TempDir dir;
  WriteFile(dir.File("x.inp"), text);
  RecordingUserInterface ui;
  ReadResult result;
  result.ok = ReadInpFile(dir.File("x.inp"), result.data, ui);
  result.messages = ui.messages;
  result.path = dir.File("x.inp");
  return result;
}

std::string AtomLines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += FormatText("O%d 1 0.1 0.2 0.3 0.5\n", i + 1);
  return text;
}

TEST(ReadInpFileTest, ReadsAFileWrittenBySaveInputFile) {
  const ReadResult read = ReadText(kNaClText);
  ASSERT_TRUE(read.ok);
  EXPECT_TRUE(read.messages.empty());
  CrystalData expected = NaCl();
  expected.targetIndex = Previous().targetIndex;  // the target is the form's, not the file's
  ExpectSame(read.data, expected);
}

TEST(ReadInpFileTest, TitleLinesOfEveryShapeArePassedOver) {
  const std::string header = "225 1\n5.64 5.64 5.64 90 90 90\nNa 1 0 0 0 0.8\n";
  struct Case {
    std::string text;
    int sgNumber;
    int atomCount;
  };
  // A numeric title comes from a numbered file as structure databases name them (9008567.cif).
  const Case cases[] = {
      {std::string(kNaClText).substr(5), 225, 2},
      {"9008567\n154   1\n4.913 4.913 5.405 90 90 120\nSi 1 0.47 0 0 0.5\n", 154, 1},
      {"\n" + header, 225, 1},
      {std::string(300, 'q') + " 12 34\n" + header, 225, 1},
      {"t\n225 1\n5.64 5.64 5.64 90 90 90\n", 225, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const ReadResult read = ReadText(c.text);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.data.sgNumber, c.sgNumber);
    EXPECT_EQ(read.data.settingNumber, 1);
    EXPECT_DOUBLE_EQ(read.data.b, c.sgNumber == 154 ? 4.913 : read.data.a);
    EXPECT_EQ(read.data.atomCount, c.atomCount);
  }
}

TEST(ReadInpFileTest, BlankLinesAmongAtomsArePassedOverAndCrLfIsAccepted) {
  const ReadResult read = ReadText(
      "t\r\n225 1\r\n5.64 5.64 5.64 90 90 90\r\nNa 1 0 0 0 0.8\r\n\r\n   \t \r\n"
      "Cl 1 0.5 0.5 0.5 0.7\r\n\r\n");
  ASSERT_TRUE(read.ok);
  ASSERT_EQ(read.data.atomCount, 2);
  EXPECT_EQ(read.data.atomLabels[1], "Cl");
  EXPECT_DOUBLE_EQ(read.data.B[1], 0.7);
  EXPECT_DOUBLE_EQ(read.data.gamma, 90.0);
}

TEST(ReadInpFileTest, NumbersAreConvertedLenientlyAndShortLinesGiveZeros) {
  const ReadResult read = ReadText("t\n12abc\n5.1x 6 7 90 abc\nMn2+ 0.5 0.25\n");
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(read.data.sgNumber, 12);
  EXPECT_EQ(read.data.settingNumber, 1);  // no setting given: the first
  EXPECT_DOUBLE_EQ(read.data.a, 5.1);
  EXPECT_DOUBLE_EQ(read.data.beta, 0.0);
  EXPECT_DOUBLE_EQ(read.data.gamma, 0.0);
  EXPECT_EQ(read.data.atomLabels[0], "Mn2+");
  EXPECT_DOUBLE_EQ(read.data.g[0], 0.5);
  EXPECT_DOUBLE_EQ(read.data.x[0], 0.25);
  EXPECT_DOUBLE_EQ(read.data.y[0], 0.0);
  EXPECT_DOUBLE_EQ(read.data.B[0], 0.0);
}

TEST(ReadInpFileTest, AnEightyFirstAtomStopsTheReadKeepingWhatWasRead) {
  const std::string header = "t\n1 1\n5 6 7 90 90 90\n";
  const ReadResult full = ReadText(header + AtomLines(80));
  ASSERT_TRUE(full.ok);
  EXPECT_EQ(full.data.atomCount, 80);
  EXPECT_EQ(full.data.atomLabels[79], "O80");

  const ReadResult read = ReadText(header + AtomLines(81));
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(read.messages, std::vector<std::string>{"Number of species exceeds over 80 !!!"});
  EXPECT_EQ(read.data.sgNumber, 1);
  EXPECT_DOUBLE_EQ(read.data.c, 7.0);
  EXPECT_EQ(read.data.atomCount, 80);
  EXPECT_EQ(read.data.atomLabels[79], "O80");
  EXPECT_EQ(read.data.targetIndex, Previous().targetIndex);
}

TEST(ReadInpFileTest, AMissingOrCutFileLeavesTheRecordAsItWas) {
  TempDir dir;
  CrystalData data = Previous();
  RecordingUserInterface ui;
  EXPECT_FALSE(ReadInpFile(dir.File("none.inp"), data, ui));
  EXPECT_EQ(ui.messages, std::vector<std::string>{dir.File("none.inp") + " file not found !!!"});
  ExpectSame(data, Previous());

  for (const std::string text : {"", "title only\n", "225 1\n", "t\n225 1\n"}) {
    SCOPED_TRACE(text);
    const ReadResult read = ReadText(text);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.messages,
              std::vector<std::string>{read.path + " ends before its cell line !!!"});
    ExpectSame(read.data, Previous());
  }
}

TEST(InpTitleTest, BaseNameOfTheFileOpenedLast) {
  EXPECT_EQ(InpTitle("D:\\work\\quartz.inp"), "quartz");
  EXPECT_EQ(InpTitle("D:\\data.old\\quartz.inp"), "data");  // cut at the first dot first
  EXPECT_EQ(InpTitle("/home/lab/cod/9008567.cif"), "9008567");
  EXPECT_EQ(InpTitle("C:quartz"), "C");
  EXPECT_EQ(InpTitle("/tmp/two\nlines.inp"), "two lines");  // a title stays one line
  EXPECT_EQ(InpTitle(""), "");
}

TEST(InpFileTextTest, WritesTheFixedColumns) {
  EXPECT_EQ(InpFileText("NaCl", NaCl()), kNaClText);

  CrystalData data = NaCl();
  data.atomCount = 1;
  data.atomLabels[0] = "Oxygen1/O2-";
  data.x[0] = 0.333333;
  EXPECT_EQ(InpFileText("", data),
            "\n225   1\n"
            "   5.64020    5.64020    5.64020   90.00000   90.00000   90.00000\n"
            "Oxygen1/O2-    1.00000    0.33333    0.00000    0.00000    0.80000\n");
}

TEST(InpFileTextTest, EightyAtomsAreWrittenInFull) {
  CrystalData data = NaCl();
  data.atomCount = 80;
  for (std::size_t i = 0; i < 80; ++i) data.atomLabels[i] = FormatText("O%zu", i + 1);
  const std::string text = InpFileText("t", data);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 83);
  EXPECT_NE(text.find("       O80    0.00000"), std::string::npos);
}

TEST(WriteInpFileTest, WhatIsWrittenReadsBackAsWritten) {
  TempDir dir;
  CrystalData written = NaCl();
  written.atomCount = 3;
  written.atomLabels[2] = "O1/O2-";
  written.g[2] = 0.5;
  written.x[2] = -0.12345;
  written.y[2] = 0.25;
  written.z[2] = 0.875;
  written.B[2] = 1.25;
  // A label of any length and values far wider than their columns come back as one atom.
  written.atomLabels[1] = std::string(100, 'L') + "/Cl";
  written.x[1] = 1e308;
  written.B[1] = -1e300;
  RecordingUserInterface ui;
  ASSERT_TRUE(WriteInpFile(dir.File("s.inp"), "9008567", written, ui));
  CrystalData read;
  ASSERT_TRUE(ReadInpFile(dir.File("s.inp"), read, ui));
  EXPECT_TRUE(ui.messages.empty());
  ExpectSame(read, written);
}

TEST(WriteInpFileTest, ReplacesAnOldFileAndLeavesNothingBeside) {
  TempDir dir;
  WriteFile(dir.File("s.inp"), "old contents, much longer than the new ones will be ......\n");
  RecordingUserInterface ui;
  ASSERT_TRUE(WriteInpFile(dir.File("s.inp"), "NaCl", NaCl(), ui));
  EXPECT_EQ(ReadFile(dir.File("s.inp")), kNaClText);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(WriteInpFileTest, AFileThatCannotBeCreatedGivesAClearMessage) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("taken.inp"));
  WriteFile(dir.File("taken.inp/inside"), "kept");
  const std::string paths[] = {dir.File("no/such/dir/s.inp"), dir.File("taken.inp")};
  for (const std::string& path : paths) {
    RecordingUserInterface ui;
    EXPECT_FALSE(WriteInpFile(path, "NaCl", NaCl(), ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], path + " file cannot be created !!!");
  }
  EXPECT_EQ(ReadFile(dir.File("taken.inp/inside")), "kept");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(WriteInpFileTest, ALabelTheReaderWouldSplitIsRefusedAndTheOldFileKept) {
  TempDir dir;
  WriteFile(dir.File("s.inp"), kNaClText);
  using namespace std::string_literals;
  for (const auto& [label, shown] :
       {std::pair{"Na 1"s, "Na 1"s}, {""s, ""s}, {"Na\0B"s, "Na?B"s}, {"Na\x1b[2J"s, "Na?[2J"s}}) {
    CrystalData data = NaCl();
    data.atomLabels[1] = label;
    RecordingUserInterface ui;
    EXPECT_FALSE(WriteInpFile(dir.File("s.inp"), "x", data, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "Atom 2 label \"" + shown +
                                  "\" must be one word without blanks or control characters !!!");
  }
  EXPECT_EQ(ReadFile(dir.File("s.inp")), kNaClText);
}

TEST(SaveInputFileTest, AsksForTheFileThenGathersThenWrites) {
  TempDir dir;
  RecordingUserInterface ui;
  ui.fileAnswers.push_back(dir.File("out.inp"));
  CrystalData record;
  int gathered = 0;
  const auto gather = [&gathered](CrystalData& data) {
    ++gathered;
    data = NaCl();
    return true;
  };
  ASSERT_TRUE(SaveInputFile(ui, "D:\\work\\NaCl.cif", record, gather));
  EXPECT_EQ(gathered, 1);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ReadFile(dir.File("out.inp")), kNaClText);
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  const FileDialogRequest& request = ui.fileRequests[0];
  EXPECT_EQ(request.defaultExtension, "inp");
  EXPECT_TRUE(request.initialPath.empty());
  ASSERT_EQ(request.filters.size(), 2u);
  EXPECT_EQ(request.filters[0].description, "Braxel inp file (*.inp)");
  EXPECT_EQ(request.filters[0].patterns, "*.inp");
  EXPECT_EQ(request.filters[1].description, "Other Files (*.*)");
  EXPECT_EQ(request.filters[1].patterns, "*.*");
}

TEST(SaveInputFileTest, CancelOrIncompleteFormWritesNothing) {
  TempDir dir;
  int gathered = 0;
  const auto incomplete = [&gathered](CrystalData&) {
    ++gathered;
    return false;
  };
  CrystalData record = Previous();
  RecordingUserInterface cancelled;
  EXPECT_FALSE(SaveInputFile(cancelled, "", record, incomplete));
  EXPECT_EQ(gathered, 0);

  RecordingUserInterface chosen;
  chosen.fileAnswers.push_back(dir.File("out.inp"));
  EXPECT_FALSE(SaveInputFile(chosen, "", record, incomplete));
  EXPECT_EQ(gathered, 1);
  EXPECT_TRUE(chosen.messages.empty());
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.inp")));
  ExpectSame(record, Previous());
}

TEST(InpExamplesTest, EachExampleIsInTheWritersFormatAndRunsOnTheBundledData) {
  int examples = 0;
  for (const auto& entry : std::filesystem::directory_iterator(BRAXEL_EXAMPLES_DIR)) {
    if (entry.path().extension() != ".inp") continue;
    const std::string path = entry.path().string();
    SCOPED_TRACE(path);
    ++examples;
    CrystalData data;
    RecordingUserInterface ui;
    ASSERT_TRUE(ReadInpFile(path, data, ui));
    EXPECT_GE(data.atomCount, 2);
    EXPECT_EQ(InpFileText(entry.path().stem().string(), data), ReadFile(path));

    TempDir dir;
    const RunInput input = MakeRunInput(data,
                                        {dir.File("Braxel.out"), dir.File("Braxel.prf"),
                                         BRAXEL_DATA_DIR "/tabsg", BRAXEL_DATA_DIR "/fscat"},
                                        {0.01, -0.01, 0.01, 10, 0.5, 0, 0.5, 10, 120, 0.02});
    CalculationRun run;
    std::string message;
    ASSERT_TRUE(run.RunCalculation(input, message)) << message;
    EXPECT_GT(run.lastReported, run.firstReported);
  }
  EXPECT_GE(examples, 4);
}

}  // namespace
}  // namespace braxel
