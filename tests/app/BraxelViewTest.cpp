// The form view's commands on a form of plain texts.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>

#include "app/BraxelView.h"
#include "io/InpFile.h"
#include "platform/TextInput.h"
#include "settings/ExternalPrograms.h"
#include "support/CifText.h"
#include "support/RecordingUserInterface.h"
#include "support/ScriptedPresenter.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::ReadFile;
using testing::TempDir;
using AtomRow = std::array<std::string, 7>;
using ReflectionRow = std::array<std::string, 9>;

class FakeForm : public FormControls {
 public:
  std::string BoxText(FormBox box) const override { return boxes.count(box) ? boxes.at(box) : ""; }
  int SelectedTargetPosition() const override { return target; }
  int AtomRowCount() const override { return static_cast<int>(atoms.size()); }
  std::string AtomText(int row, int column) const override { return atoms[row][column]; }
  void SetBoxText(FormBox box, const std::string& text) override { boxes[box] = text; }
  void SelectTargetPosition(int position) override { target = position; }
  std::string InfoText(InfoBox box) const override { return info.count(box) ? info.at(box) : ""; }
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

  void TypeNaCl() {
    boxes = {{FormBox::kSgNumber, "225"}, {FormBox::kSetting, "1"}, {FormBox::kA, "5.6402"},
             {FormBox::kB, "5.6402"},     {FormBox::kC, "5.6402"},  {FormBox::kAlpha, "90"},
             {FormBox::kBeta, "90"},      {FormBox::kGamma, "90"}};
    atoms[0] = {"", "Na1/Na", "1", "0", "0", "0", "0.8"};
    atoms[1] = {"", "Cl1/Cl", "1", "0.5", "0.5", "0.5", "0.7"};
  }

  std::map<FormBox, std::string> boxes;
  std::map<InfoBox, std::string> info;
  std::map<LineList, std::vector<std::string>> lines;
  std::vector<AtomRow> atoms = std::vector<AtomRow>(80);
  std::vector<ReflectionRow> reflections = std::vector<ReflectionRow>(6000);
  int target = -1;
  int selected = -1;
  std::string title;
};

// Shows the dialog's texts, types into it and answers OK or Cancel.
class ScriptedProfileDialog : public DialogPresenter<CProfileParametersDlg> {
 public:
  bool RunModal(CProfileParametersDlg& dialog) override {
    dialog.OnInitDialog();
    shown = dialog.boxText;
    for (const auto& [box, text] : typed) dialog.boxText[box] = text;
    std::string refused;
    return ok && dialog.OnOK(refused);
  }
  std::map<CProfileParametersDlg::Box, std::string> typed;
  std::array<std::string, CProfileParametersDlg::kBoxCount> shown;
  bool ok = true;
};

// A view started in an empty directory, so the bundled settings are read.
class BraxelViewTest : public ::testing::Test {
 protected:
  BraxelViewTest() {
    view.OnInitialUpdate();
    startMessages = ui.messages;
    ui.messages.clear();
  }

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
  testing::ScriptedPresenter<CAxisConversionDlg> axisDialog{
      [](CAxisConversionDlg&) { return false; }};
  testing::ScriptedPresenter<ExternalFilesDialog> externalFilesDialog{
      [](ExternalFilesDialog&) { return false; }};
  testing::ScriptedPresenter<CIcsdEntryDlg> icsdDialog{[](CIcsdEntryDlg&) { return false; }};
  testing::ScriptedPresenter<CExpoSolutionDlg> expoDialog{[](CExpoSolutionDlg&) { return false; }};
  CBraxelView view{
      form,
      ui,
      system,
      ViewDialogs{profileDialog, axisDialog, externalFilesDialog, icsdDialog, expoDialog},
      BRAXEL_DATA_DIR,
      ""};
  std::vector<std::string> startMessages;
};

TEST_F(BraxelViewTest, StartsWithTheTitleTheBundledSettingsAndCu) {
  EXPECT_EQ(form.title, "Braxel --- [File Name : ]");
  // The bundled settings name no structure viewer.
  EXPECT_EQ(startMessages, std::vector<std::string>{"Kristallon path not found !!!"});
  EXPECT_EQ(view.Fixed().reportPath, start.File("Braxel.out"));
  EXPECT_EQ(view.External().tabsgPath, BRAXEL_DATA_DIR "/tabsg");
  EXPECT_DOUBLE_EQ(view.Profile().twoThetaEnd, 120.0);
  EXPECT_EQ(view.LastImportType(), ImportFileType::kIns);
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
  EXPECT_EQ(form.info[InfoBox::kCentro], "yes");
  EXPECT_EQ(form.lines[LineList::kSymmetryCodes].size(), 24u);
  EXPECT_EQ(form.lines[LineList::kConditions], std::vector<std::string>{"1. hkl : h,k,l odd/even"});
  // 111 comes first; for Cu Ka1 d = a / sqrt(3) and 2theta = 2 asin(lambda / 2d).
  const double d = 5.6402 / std::sqrt(3.0);
  const ReflectionRow& first = form.reflections[0];
  EXPECT_EQ(first[0] + first[1] + first[2] + first[3] + first[4], "   11111");
  EXPECT_NEAR(LeadingDouble(first[5]), 2.0 * std::asin(1.540562 / (2.0 * d)) * 180.0 / M_PI, 1e-4);
  EXPECT_NEAR(LeadingDouble(first[6]), d, 1e-4);
  const int rows = view.Results().reflectionCount;
  EXPECT_FALSE(form.reflections[rows - 1][0].empty());
  EXPECT_TRUE(form.reflections[rows][0].empty());
  EXPECT_EQ(form.boxes[FormBox::kSgNumber], "225");
  EXPECT_EQ(form.boxes[FormBox::kA], "   5.64020");
  EXPECT_EQ(form.atoms[1],
            (AtomRow{" 2", "Cl1/Cl", " 1.00000", " 0.50000", " 0.50000", " 0.50000", " 0.70000"}));
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
  const std::string shown = form.reflections[0][5];
  form.boxes[FormBox::kSetting] = "9";
  view.OnCalculateProfile();
  EXPECT_EQ(ui.messages, std::vector<std::string>{"No space group found !!!"});
  EXPECT_EQ(ReadFile(start.File("Braxel.out")), "No space group found !!!");
  EXPECT_TRUE(view.Results().calculationDone);
  EXPECT_EQ(form.reflections[0][5], shown);
  EXPECT_EQ(ui.waitCursorDepth, 0);
  EXPECT_TRUE(system.launched.empty());

  // Nonsense values pass gathering ("abc" leaves alpha 0); the run names the problem.
  form.boxes[FormBox::kSetting] = "1";
  form.boxes[FormBox::kA] = "-5.6402";
  form.boxes[FormBox::kAlpha] = "abc";
  view.OnCalculateProfile();
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_FALSE(ui.messages[1].empty());
  EXPECT_EQ(ReadFile(start.File("Braxel.out")), ui.messages[1]);
}

TEST_F(BraxelViewTest, ShowOutputOpensTheReportInTheEditor) {
  view.OnShowOutput();
  ASSERT_EQ(system.launched.size(), 1u);
  EXPECT_EQ(system.launched[0].program, FindProgram("xdg-open", ""));
  EXPECT_EQ(system.launched[0].arguments, std::vector<std::string>{start.File("Braxel.out")});
}

TEST_F(BraxelViewTest, ShowPatternAfterARunStartsTheBundledViewerOnThePatternFile) {
  view.OnShowPattern();
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Calculation not completed !!!"});
  form.TypeNaCl();
  view.OnCalculateProfile();
  view.OnShowPattern();
  ASSERT_EQ(system.launched.size(), 1u);
  EXPECT_EQ(system.launched[0].arguments,
            (std::vector<std::string>{"-x", start.File("Braxel.prf")}));
}

TEST_F(BraxelViewTest, FindSgNumberTakesTheTypedSymbolAndOffersTheConversion) {
  form.TypeNaCl();
  ASSERT_TRUE(view.GatherCrystalData());
  view.Data().sgNumber = 0;
  form.info[InfoBox::kSgSymbol] = "Pnma";
  form.info[InfoBox::kSystem] = "cubic";
  ui.yesNoAnswers = {true};
  view.OnFindSgNumber();
  EXPECT_EQ(ui.questions, std::vector<std::string>{"Do you rewrite SG symbol ?"});
  EXPECT_EQ(view.Data().sgNumber, 62);
  EXPECT_EQ(axisDialog.shown, 1);
  EXPECT_EQ(form.boxes[FormBox::kSgNumber], " 62");
  EXPECT_EQ(form.info[InfoBox::kSystem], "");
}

TEST_F(BraxelViewTest, RefreshWritesTheIntensityFromItsText) {
  view.Results().reflectionCount = 1;
  view.Results().reflectionRows[0] = {"1", "1", "0", "0", "1", "20.0", "5.0", "12.3", "1234.56"};
  view.ShowCrystalData();
  EXPECT_EQ(form.reflections[0],
            (ReflectionRow{"   1", "1", "0", "0", "1", "20.0", "5.0", "12.3", "1234.6"}));
  EXPECT_EQ(form.boxes[FormBox::kSgNumber], "  0");
}

TEST_F(BraxelViewTest, ClearStopsAtTheFirstUnnumberedRowAndKeepsTheRecord) {
  form.TypeNaCl();
  view.OnCalculateProfile();
  form.atoms[1][0] = "";                                 // a gap after the first atom
  form.atoms[2] = {" 3", "O", "1", "0", "0", "0", "0"};  // kept, after the gap
  form.target = 0;
  view.ClearForm();
  EXPECT_FALSE(view.Results().calculationDone);
  EXPECT_EQ(form.atoms[0], AtomRow{});
  EXPECT_EQ(form.atoms[1][1], "Cl1/Cl");
  EXPECT_EQ(form.atoms[2][1], "O");
  EXPECT_EQ(form.boxes[FormBox::kBeta], "");
  EXPECT_EQ(form.target, 3);
  EXPECT_EQ(form.info[InfoBox::kSgSymbol], "");
  EXPECT_TRUE(form.lines[LineList::kSymmetryCodes].empty());
  EXPECT_EQ(form.reflections[view.Results().reflectionCount - 1], ReflectionRow{});
  EXPECT_EQ(view.Data().sgNumber, 225);
  view.OnCalculateProfile();
  EXPECT_EQ(ui.messages, std::vector<std::string>{"No SG number !!!"});
}

TEST_F(BraxelViewTest, InsertAndDeleteWorkOnTheSelectedRowWithinTheAtoms) {
  form.TypeNaCl();
  ASSERT_TRUE(view.GatherCrystalData());
  view.OnInsertAtom();  // nothing selected
  EXPECT_EQ(view.Data().atomCount, 2);
  form.selected = 2;  // the empty row after the last atom: a numbered row is appended
  view.OnInsertAtom();
  EXPECT_EQ(view.Data().atomCount, 3);
  EXPECT_EQ(form.atoms[2], (AtomRow{" 3", "", "", "", "", "", ""}));
  form.selected = 0;
  view.OnInsertAtom();
  EXPECT_EQ(form.atoms[1], (AtomRow{" 2", "Na1/Na", "1", "0", "0", "0", "0.8"}));
  EXPECT_EQ(form.atoms[3][0], " 4");
  form.selected = 5;  // beyond the atoms
  view.OnInsertAtom();
  view.OnDeleteAtom();
  EXPECT_EQ(view.Data().atomCount, 4);
  form.selected = 0;
  view.OnDeleteAtom();
  EXPECT_EQ(view.Data().atomCount, 3);
  EXPECT_EQ(form.atoms[0][1], "Na1/Na");
  form.selected = 3;  // the empty row after the atoms goes; it was no atom
  view.OnDeleteAtom();
  EXPECT_EQ(view.Data().atomCount, 3);
  EXPECT_EQ(form.atoms.size(), 80u);
}

TEST_F(BraxelViewTest, InsertNeverPushesAnAtomOffTheList) {
  for (AtomRow& row : form.atoms) row[1].assign(1, 'O');
  form.TypeNaCl();
  ASSERT_TRUE(view.GatherCrystalData());
  ASSERT_EQ(view.Data().atomCount, 80);
  form.selected = 10;
  view.OnInsertAtom();
  EXPECT_EQ(view.Data().atomCount, 80);
  view.Data().atomCount = 2;  // the last row is typed but not yet gathered
  view.OnInsertAtom();
  EXPECT_EQ(view.Data().atomCount, 2);
  EXPECT_EQ(form.atoms[79][1], "O");
}

TEST_F(BraxelViewTest, OpenShowsTheFileWithItsPathInTheTitleAndFailureChangesNothing) {
  view.Results().sgSymbol = "P 1";
  view.Results().crystalSystem = "triclinic";
  view.Results().calculationDone = true;
  ASSERT_FALSE(view.OpenStructureFile(start.File("missing.inp")));
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(form.title, "Braxel --- [File Name : ]");
  EXPECT_FALSE(view.Results().calculationDone);
  EXPECT_TRUE(form.boxes.empty());
  // The extension chooses the reader, in any case; another extension keeps the type.
  ASSERT_FALSE(view.OpenStructureFile(start.File("x.CIF")));
  ASSERT_FALSE(view.OpenStructureFile(start.File("notes.dat")));
  EXPECT_EQ(view.LastImportType(), ImportFileType::kCif);
  EXPECT_EQ(ui.messages.size(), 3u);

  const std::string path = BRAXEL_EXAMPLES_DIR "/NaCl.inp";
  ASSERT_TRUE(view.OpenStructureFile(path));
  EXPECT_EQ(form.title, "Braxel --- [File Name : " + path + " ]");
  EXPECT_EQ(view.LastImportType(), ImportFileType::kInp);
  EXPECT_EQ(view.CurrentFilePath(), path);
  EXPECT_EQ(form.boxes[FormBox::kSgNumber], "225");
  EXPECT_EQ(form.atoms[1][1], "Cl1/Cl");
  EXPECT_EQ(form.info[InfoBox::kSgSymbol], "P 1");
  EXPECT_EQ(form.info[InfoBox::kSystem], "");
}

TEST_F(BraxelViewTest, FileOpenReadsADatabaseCifThatThenCalculates) {
  testing::WriteFile(start.File("Si.cif"), testing::DiamondCif(true));
  ui.fileAnswers = {start.File("Si.cif")};
  view.OnFileOpenStructure();
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_EQ(form.title, "Braxel --- [File Name : " + start.File("Si.cif") + " ]");
  EXPECT_EQ(view.Data().sgNumber, 227);
  EXPECT_EQ(view.Data().settingNumber, 2);  // origin choice 2, from the listed operations
  EXPECT_EQ(view.LastImportType(), ImportFileType::kCif);
  view.OnCalculateProfile();
  EXPECT_TRUE(view.Results().calculationDone) << ui.messages.back();
}

TEST_F(BraxelViewTest, ProfileParametersChangeOnlyOnOkAndOnlyInMemory) {
  form.TypeNaCl();
  view.OnCalculateProfile();
  const int longList = view.Results().reflectionCount;
  const std::string ini = ReadFile(view.Fixed().iniPath);
  profileDialog.typed = {{CProfileParametersDlg::kU, "abc"}, {CProfileParametersDlg::kEnd, "60"}};
  profileDialog.ok = false;
  view.OnEditProfileParameters();
  EXPECT_DOUBLE_EQ(view.Profile().U, 0.01);
  EXPECT_EQ(profileDialog.shown[CProfileParametersDlg::kEnd], "120.00");
  profileDialog.ok = true;
  view.OnEditProfileParameters();
  EXPECT_DOUBLE_EQ(view.Profile().U, 0.0);
  EXPECT_DOUBLE_EQ(view.Profile().twoThetaEnd, 60.0);
  EXPECT_EQ(ReadFile(view.Fixed().iniPath), ini);
  // The next run lists nothing beyond 60 degrees, and no row of the longer list stays.
  view.Profile().U = 0.01;
  view.OnCalculateProfile();
  const int rows = view.Results().reflectionCount;
  ASSERT_LT(rows, longList);
  EXPECT_LE(LeadingDouble(form.reflections[rows - 1][5]), 60.0);
  EXPECT_EQ(form.reflections[rows], ReflectionRow{});
  EXPECT_EQ(form.reflections[longList - 1], ReflectionRow{});
}

TEST_F(BraxelViewTest, SaveInputFileWritesTheGatheredForm) {
  form.TypeNaCl();
  ui.fileAnswers = {start.File("saved.inp")};
  view.OnSaveInputFile();
  CrystalData read;
  ASSERT_TRUE(ReadInpFile(start.File("saved.inp"), read, ui));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(read.atomCount, 2);
  EXPECT_EQ(read.atomLabels[1], "Cl1/Cl");
}

}  // namespace
}  // namespace braxel
