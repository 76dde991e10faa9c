// The form view's commands on a form of plain texts.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>

#include "app/BraxelView.h"
#include "io/InpFile.h"
#include "platform/TextInput.h"
#include "support/RecordingUserInterface.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

class FakeForm : public FormControls {
 public:
  std::string BoxText(FormBox box) const override { return Find(boxes, box); }
  int SelectedTargetPosition() const override { return target; }
  int AtomRowCount() const override { return static_cast<int>(atoms.size()); }
  std::string AtomText(int row, int column) const override { return atoms[row][column]; }
  void SetBoxText(FormBox box, const std::string& text) override { boxes[box] = text; }
  void SelectTargetPosition(int position) override { target = position; }
  void SetInfoText(InfoBox box, const std::string& text) override { info[box] = text; }
  void SetLines(LineList list, const std::vector<std::string>& texts) override {
    lines[list] = texts;
  }
  void SetAtomText(int row, int column, const std::string& text) override {
    atoms[row][column] = text;
  }
  int SelectedAtomRow() const override { return selected; }
  void InsertAtomRow(int row) override {
    atoms.insert(atoms.begin() + row, AtomRow{});
    atoms.pop_back();
  }
  void DeleteAtomRow(int row) override {
    atoms.erase(atoms.begin() + row);
    atoms.emplace_back();
  }
  int ReflectionRowCount() const override { return static_cast<int>(reflections.size()); }
  std::string ReflectionText(int row, int column) const override {
    return reflections[row][column];
  }
  void SetReflectionText(int row, int column, const std::string& text) override {
    reflections[row][column] = text;
  }
  void SetWindowTitle(const std::string& text) override { title = text; }

  // Types the NaCl example into the boxes and the first two rows.
  void TypeNaCl() {
    const std::pair<FormBox, const char*> texts[] = {
        {FormBox::kSgNumber, "225"}, {FormBox::kSetting, "1"}, {FormBox::kA, "5.6402"},
        {FormBox::kB, "5.6402"},     {FormBox::kC, "5.6402"},  {FormBox::kAlpha, "90"},
        {FormBox::kBeta, "90"},      {FormBox::kGamma, "90"}};
    for (const auto& [box, text] : texts) boxes[box] = text;
    atoms[0] = {"", "Na1/Na", "1", "0", "0", "0", "0.8"};
    atoms[1] = {"", "Cl1/Cl", "1", "0.5", "0.5", "0.5", "0.7"};
  }

  using AtomRow = std::array<std::string, 7>;
  std::map<FormBox, std::string> boxes;
  std::map<InfoBox, std::string> info;
  std::map<LineList, std::vector<std::string>> lines;
  std::vector<AtomRow> atoms = std::vector<AtomRow>(80);
  std::vector<std::array<std::string, 9>> reflections =
      std::vector<std::array<std::string, 9>>(6000);
  int target = -1;
  int selected = -1;
  std::string title;

 private:
  template <class Key>
  static std::string Find(const std::map<Key, std::string>& map, Key key) {
    const auto found = map.find(key);
    return found == map.end() ? std::string() : found->second;
  }
};

// Answers the dialog with OK after setting the texts it was given.
class ScriptedProfileDialog : public DialogPresenter<CProfileParametersDlg> {
 public:
  bool RunModal(CProfileParametersDlg& dialog) override {
    dialog.OnInitDialog();
    shown = dialog.boxText;
    for (const auto& [box, text] : typed) dialog.boxText[box] = text;
    if (ok) dialog.OnOK();
    return ok;
  }
  std::map<CProfileParametersDlg::Box, std::string> typed;
  std::array<std::string, CProfileParametersDlg::kBoxCount> shown;
  bool ok = true;
};

// A view started in an empty directory, so the bundled settings are read.
class BraxelViewTest : public ::testing::Test {
 protected:
  BraxelViewTest() { view.OnInitialUpdate(); }

  static testing::RecordingSystemServices StartedIn(const TempDir& directory) {
    testing::RecordingSystemServices system;
    system.currentDirectory = directory.Path().string();
    return system;
  }

  TempDir start;
  FakeForm form;
  testing::RecordingUserInterface ui;
  testing::RecordingSystemServices system = StartedIn(start);
  ScriptedProfileDialog profileDialog;
  CBraxelView view{form, ui, system, profileDialog, BRAXEL_DATA_DIR};
};

TEST_F(BraxelViewTest, StartsWithTheTitleTheBundledSettingsAndCu) {
  EXPECT_EQ(form.title, "Braxel --- [File Name : ]");
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(view.Fixed().reportPath, start.File("Braxel.out"));
  EXPECT_EQ(view.External().tabsgPath, BRAXEL_DATA_DIR "/tabsg");
  EXPECT_DOUBLE_EQ(view.Profile().twoThetaEnd, 120.0);
  EXPECT_EQ(view.LastImportType(), 1);
  EXPECT_EQ(form.target, 3);
}

TEST_F(BraxelViewTest, CalculateProfileShowsTheReportOfTheRun) {
  form.TypeNaCl();
  view.OnCalculateProfile();
  ASSERT_TRUE(ui.messages.empty()) << ui.messages.front();
  EXPECT_EQ(ui.waitCursorShown, 1);
  EXPECT_EQ(ui.waitCursorDepth, 0);
  EXPECT_TRUE(view.Results().calculationDone);
  EXPECT_TRUE(std::filesystem::exists(start.File("Braxel.prf")));
  EXPECT_EQ(form.info[InfoBox::kSgSymbol], "F m -3 m");
  EXPECT_EQ(form.info[InfoBox::kSystem], "cubic");
  EXPECT_EQ(form.info[InfoBox::kCentro], "yes");
  EXPECT_EQ(form.lines[LineList::kSymmetryCodes].size(), 24u);
  EXPECT_EQ(form.lines[LineList::kConditions], std::vector<std::string>{"1. hkl : h,k,l odd/even"});
  // The first line is 111 for Cu Ka1: d = a / sqrt(3), 2theta = 2 asin(lambda / 2d).
  const double d = 5.6402 / std::sqrt(3.0);
  const double twoTheta = 2.0 * std::asin(1.540562 / (2.0 * d)) * 180.0 / M_PI;
  EXPECT_EQ(form.reflections[0][0], "   1");
  EXPECT_EQ((std::array<std::string, 3>{form.reflections[0][1], form.reflections[0][2],
                                        form.reflections[0][3]}),
            (std::array<std::string, 3>{"1", "1", "1"}));
  EXPECT_EQ(form.reflections[0][4], "1");
  EXPECT_NEAR(LeadingDouble(form.reflections[0][5]), twoTheta, 1e-4);
  EXPECT_NEAR(LeadingDouble(form.reflections[0][6]), d, 1e-4);
  const int rows = view.Results().reflectionCount;
  ASSERT_GT(rows, 2);
  EXPECT_FALSE(form.reflections[rows - 1][0].empty());
  EXPECT_TRUE(form.reflections[rows][0].empty());
  // Atoms and cell are written back in the form's formats.
  EXPECT_EQ(form.boxes[FormBox::kSgNumber], "225");
  EXPECT_EQ(form.boxes[FormBox::kA], "   5.64020");
  EXPECT_EQ(form.atoms[1], (FakeForm::AtomRow{" 2", "Cl1/Cl", " 1.00000", " 0.50000", " 0.50000",
                                              " 0.50000", " 0.70000"}));
}

TEST_F(BraxelViewTest, IncompleteFormStopsBeforeTheRun) {
  form.TypeNaCl();
  form.boxes[FormBox::kGamma] = "";
  view.OnCalculateProfile();
  EXPECT_EQ(ui.messages, std::vector<std::string>{"No gamma !!!"});
  EXPECT_EQ(ui.waitCursorShown, 0);
  EXPECT_FALSE(std::filesystem::exists(start.File("Braxel.out")));
}

TEST_F(BraxelViewTest, FailedRunShowsItsMessageAndKeepsTheLastResults) {
  form.TypeNaCl();
  view.OnCalculateProfile();
  ASSERT_TRUE(view.Results().calculationDone);
  const std::string shownRow = form.reflections[0][5];
  form.boxes[FormBox::kSetting] = "9";
  view.OnCalculateProfile();
  EXPECT_EQ(ui.messages, std::vector<std::string>{"No space group found !!!"});
  EXPECT_EQ(ReadFile(start.File("Braxel.out")), "No space group found !!!");
  EXPECT_TRUE(view.Results().calculationDone);
  EXPECT_EQ(form.reflections[0][5], shownRow);
  EXPECT_EQ(ui.waitCursorDepth, 0);
  EXPECT_TRUE(system.launched.empty());
}

TEST_F(BraxelViewTest, NonsenseValuesPassGatheringAndTheRunReportsThem) {
  form.TypeNaCl();
  form.boxes[FormBox::kA] = "-5.6402";
  form.boxes[FormBox::kAlpha] = "abc";  // no number: alpha stays 0
  view.OnCalculateProfile();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_FALSE(ui.messages[0].empty());
  EXPECT_FALSE(view.Results().calculationDone);
  EXPECT_EQ(ReadFile(start.File("Braxel.out")), ui.messages[0]);
}

TEST_F(BraxelViewTest, ShowOutputOpensTheReportInTheEditor) {
  view.OnShowOutput();
  ASSERT_EQ(system.launched.size(), 1u);
  EXPECT_EQ(system.launched[0].program, "xdg-open");
  EXPECT_EQ(system.launched[0].arguments, std::vector<std::string>{start.File("Braxel.out")});
}

TEST_F(BraxelViewTest, RefreshWritesTheIntensityFromItsText) {
  CalculationResults& results = view.Results();
  results.reflectionCount = 1;
  results.reflectionRows[0] = {"1", "1", "0", "0", "1", "20.0000", "5.0000", "12.3", "1234.56"};
  view.ShowCrystalData();
  EXPECT_EQ(form.reflections[0], (std::array<std::string, 9>{"   1", "1", "0", "0", "1", "20.0000",
                                                             "5.0000", "12.3", "1234.6"}));
  EXPECT_EQ(form.boxes[FormBox::kSgNumber], "  0");
  EXPECT_EQ(form.boxes[FormBox::kGamma], "   0.00000");
}

TEST_F(BraxelViewTest, ClearStopsAtTheFirstUnnumberedRowAndKeepsTheRecord) {
  form.TypeNaCl();
  view.OnCalculateProfile();
  form.atoms[1][0] = "";                                 // a gap after the first atom
  form.atoms[2] = {" 3", "O", "1", "0", "0", "0", "0"};  // kept, after the gap
  form.target = 0;
  view.ClearForm();
  EXPECT_FALSE(view.Results().calculationDone);
  EXPECT_EQ(form.atoms[0], FakeForm::AtomRow{});
  EXPECT_EQ(form.atoms[1][1], "Cl1/Cl");
  EXPECT_EQ(form.atoms[2][1], "O");
  EXPECT_EQ(form.boxes[FormBox::kSgNumber], "");
  EXPECT_EQ(form.boxes[FormBox::kBeta], "");
  EXPECT_EQ(form.target, 3);
  EXPECT_EQ(form.info[InfoBox::kSgSymbol], "");
  EXPECT_TRUE(form.lines[LineList::kSymmetryCodes].empty());
  EXPECT_TRUE(form.reflections[0][0].empty());
  EXPECT_TRUE(form.reflections[view.Results().reflectionCount - 1][8].empty());
  EXPECT_EQ(view.Data().sgNumber, 225);
  EXPECT_EQ(view.Data().atomCount, 2);
  // The next gather meets the empty space-group box.
  view.OnCalculateProfile();
  EXPECT_EQ(ui.messages, std::vector<std::string>{"No SG number !!!"});
}

TEST_F(BraxelViewTest, InsertAndDeleteWorkOnTheSelectedRowWithinTheAtoms) {
  form.TypeNaCl();
  ASSERT_TRUE(view.GatherCrystalData());
  view.OnInsertAtom();  // nothing selected
  EXPECT_EQ(view.Data().atomCount, 2);

  form.selected = 2;  // the empty row after the last atom: appends a numbered row
  view.OnInsertAtom();
  EXPECT_EQ(view.Data().atomCount, 3);
  EXPECT_EQ(form.atoms[2], (FakeForm::AtomRow{" 3", "", "", "", "", "", ""}));
  EXPECT_EQ(form.atoms[0][0], " 1");

  form.selected = 0;
  view.OnInsertAtom();
  EXPECT_EQ(view.Data().atomCount, 4);
  EXPECT_EQ(form.atoms[0][1], "");
  EXPECT_EQ(form.atoms[1], (FakeForm::AtomRow{" 2", "Na1/Na", "1", "0", "0", "0", "0.8"}));
  EXPECT_EQ(form.atoms[3][0], " 4");

  form.selected = 5;  // beyond the atoms
  view.OnInsertAtom();
  view.OnDeleteAtom();
  EXPECT_EQ(view.Data().atomCount, 4);

  form.selected = 0;
  view.OnDeleteAtom();
  EXPECT_EQ(view.Data().atomCount, 3);
  EXPECT_EQ(form.atoms[0][1], "Na1/Na");
  EXPECT_EQ(form.atoms[0][0], " 1");
  EXPECT_EQ(form.atoms.size(), 80u);

  form.selected = 3;  // the empty row after the atoms goes, the count stays
  view.OnDeleteAtom();
  EXPECT_EQ(view.Data().atomCount, 3);
}

TEST_F(BraxelViewTest, InsertNeverTakesTheListBeyondEightyAtoms) {
  for (FakeForm::AtomRow& row : form.atoms) row[1].assign(1, 'O');
  form.TypeNaCl();
  ASSERT_TRUE(view.GatherCrystalData());
  ASSERT_EQ(view.Data().atomCount, 80);
  form.selected = 10;
  view.OnInsertAtom();
  EXPECT_EQ(view.Data().atomCount, 80);
  EXPECT_EQ(form.atoms[79][1], "O");

  // Nor does it push a typed but not yet gathered last row off the list.
  view.Data().atomCount = 2;
  view.OnInsertAtom();
  EXPECT_EQ(view.Data().atomCount, 2);
  EXPECT_EQ(form.atoms[79][1], "O");
}

TEST_F(BraxelViewTest, OpenedFileIsShownWithItsPathInTheTitle) {
  view.Results().sgSymbol = "P 1";
  view.Results().crystalSystem = "triclinic";
  view.Results().calculationDone = true;
  const std::string path = BRAXEL_EXAMPLES_DIR "/NaCl.inp";
  ASSERT_TRUE(view.OpenStructureFile(path));
  EXPECT_EQ(form.title, "Braxel --- [File Name : " + path + " ]");
  EXPECT_EQ(view.Title(), form.title);
  EXPECT_EQ(view.LastImportType(), 0);
  EXPECT_FALSE(view.Results().calculationDone);
  EXPECT_EQ(form.boxes[FormBox::kSgNumber], "225");
  EXPECT_EQ(form.atoms[1][1], "Cl1/Cl");
  EXPECT_EQ(form.info[InfoBox::kSgSymbol], "P 1");
  EXPECT_EQ(form.info[InfoBox::kSystem], "");
}

TEST_F(BraxelViewTest, FailedOpenKeepsFormAndTitle) {
  view.Results().calculationDone = true;
  ASSERT_FALSE(view.OpenStructureFile(start.File("missing.inp")));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(form.title, "Braxel --- [File Name : ]");
  EXPECT_FALSE(view.Results().calculationDone);
  EXPECT_EQ(view.CurrentFilePath(), start.File("missing.inp"));

  // A type without a reader here says so; the extension still counts, in any case.
  ASSERT_FALSE(view.OpenStructureFile(start.File("x.CIF")));
  EXPECT_EQ(view.LastImportType(), 3);
  EXPECT_EQ(ui.messages.back(),
            start.File("x.CIF") + " is not a structure file this program reads !!!");
  ASSERT_FALSE(view.OpenStructureFile(start.File("notes.dat")));
  EXPECT_EQ(view.LastImportType(), 3);
  EXPECT_TRUE(form.boxes.empty());
}

TEST_F(BraxelViewTest, ProfileParametersChangeOnlyOnOkAndOnlyInMemory) {
  const std::string ini = ReadFile(view.Fixed().iniPath);
  profileDialog.typed = {{CProfileParametersDlg::kU, "abc"}, {CProfileParametersDlg::kEnd, "60"}};
  profileDialog.ok = false;
  view.OnEditProfileParameters();
  EXPECT_DOUBLE_EQ(view.Profile().U, 0.01);
  EXPECT_DOUBLE_EQ(view.Profile().twoThetaEnd, 120.0);
  EXPECT_EQ(profileDialog.shown[CProfileParametersDlg::kEnd], "120.00");

  profileDialog.ok = true;
  view.OnEditProfileParameters();
  EXPECT_DOUBLE_EQ(view.Profile().U, 0.0);
  EXPECT_DOUBLE_EQ(view.Profile().twoThetaEnd, 60.0);
  EXPECT_EQ(ReadFile(view.Fixed().iniPath), ini);

  // The next run uses them: no reflection beyond 60 degrees is listed.
  view.Profile().U = 0.01;
  form.TypeNaCl();
  view.OnCalculateProfile();
  ASSERT_TRUE(view.Results().calculationDone);
  const int rows = view.Results().reflectionCount;
  EXPECT_LE(LeadingDouble(form.reflections[rows - 1][5]), 60.0);
}

TEST_F(BraxelViewTest, SaveInputFileWritesTheGatheredForm) {
  form.TypeNaCl();
  ui.fileAnswers = {start.File("saved.inp")};
  view.OnSaveInputFile();
  ASSERT_TRUE(ui.messages.empty());
  CrystalData read;
  ASSERT_TRUE(ReadInpFile(start.File("saved.inp"), read, ui));
  EXPECT_EQ(read.sgNumber, 225);
  EXPECT_EQ(read.atomCount, 2);
  EXPECT_EQ(read.atomLabels[1], "Cl1/Cl");
}

}  // namespace
}  // namespace braxel
