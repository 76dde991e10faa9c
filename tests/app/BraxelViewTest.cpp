// The form view's commands on a form of plain texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <optional>

#include "app/BraxelView.h"
#include "io/InpFile.h"
#include "platform/TextInput.h"
#include "settings/ExternalPrograms.h"
#include "support/RecordingUserInterface.h"
#include "support/ScriptedPresenter.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::ReadFile;
using testing::TempDir;
using AtomRow = std::array<std::string, 7>;
using Strings = std::vector<std::string>;

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
  void SetReflectionRows(const std::vector<ReflectionRow>& rows) override { reflections = rows; }
  void ShowPattern(const Pattern* shown) override {
    pattern = shown ? std::optional(*shown) : std::nullopt;
  }
  void SetWindowTitle(const std::string& text) override { title = text; }
  void AddRecentFile(const std::string& path) override { recent.push_back(path); }

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
  std::vector<ReflectionRow> reflections;
  std::optional<Pattern> pattern;
  int target = -1;
  int selected = -1;
  std::string title;
  Strings recent;
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
  // The dialog's End as shown; U and End typed over, then OK when profileOk.
  std::string shownEnd;
  bool profileOk = false;
  testing::ScriptedPresenter<CProfileParametersDlg> profileDialog{
      [this](CProfileParametersDlg& dialog) {
        shownEnd = dialog.boxText[CProfileParametersDlg::kEnd];
        dialog.boxText[CProfileParametersDlg::kU] = "abc";
        dialog.boxText[CProfileParametersDlg::kEnd] = "60";
        std::string refused;
        return profileOk && dialog.OnOK(refused);
      }};
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

// 2theta of 111 of NaCl for Cu Ka1, from d = a / sqrt(3).
const double kNaCl111 = 2.0 * std::asin(1.540562 * std::sqrt(3.0) / (2.0 * 5.6402)) * 180.0 / M_PI;

Strings Split(const std::string& text, char separator) {
  Strings fields(1);
  for (char c : text) {
    if (c == separator) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

TEST_F(BraxelViewTest, StartsWithTheTitleTheBundledSettingsAndCuAndNoMessage) {
  EXPECT_EQ(form.title, "Braxel --- [File Name : ]");
  // The bundled settings name no editor and no structure viewer; that is no error at start.
  EXPECT_TRUE(startMessages.empty());
  EXPECT_EQ(view.Fixed().reportPath, start.File("Braxel.out"));
  EXPECT_DOUBLE_EQ(view.Profile().twoThetaEnd, 120.0);
  EXPECT_EQ(view.LastImportType(), ImportFileType::kIns);
  EXPECT_EQ(form.target, 3);
}

TEST_F(BraxelViewTest, CalculateProfileShowsTheReportAndThePatternOfTheRun) {
  form.TypeNaCl();
  view.OnCalculateProfile();
  ASSERT_TRUE(ui.messages.empty()) << ui.messages.front();
  EXPECT_EQ(ui.waitCursorShown, 1);
  EXPECT_EQ(ui.waitCursorDepth, 0);
  EXPECT_TRUE(view.Results().calculationDone);
  // What the report says is read back into the form.
  EXPECT_EQ(form.info, (std::map<InfoBox, std::string>{{InfoBox::kSgSymbol, "F m -3 m"},
                                                       {InfoBox::kSystem, "cubic"},
                                                       {InfoBox::kLaueGroup, "m3m"},
                                                       {InfoBox::kPointGroup, "m-3m"},
                                                       {InfoBox::kCentro, "yes"},
                                                       {InfoBox::kUniqueAxis, "no"}}));
  EXPECT_EQ(form.lines[LineList::kSymmetryCodes].size(), 24u);
  EXPECT_EQ(form.lines[LineList::kConditions], Strings{"1. hkl : h,k,l odd/even"});
  // 111 comes first, 8 of them in m-3m; for Cu Ka1 d = a / sqrt(3).
  ASSERT_EQ(form.reflections.size(), static_cast<std::size_t>(view.Results().reflectionCount));
  const ReflectionRow& first = form.reflections[0];
  EXPECT_EQ(first[0] + first[1] + first[2] + first[3] + first[4], "   11111");
  EXPECT_NEAR(LeadingDouble(first[5]), kNaCl111, 1e-4);
  EXPECT_NEAR(LeadingDouble(first[6]), 5.6402 / std::sqrt(3.0), 1e-4);
  EXPECT_EQ(first[9], "8");
  ASSERT_TRUE(form.pattern.has_value());
  EXPECT_EQ(form.pattern->intensities.size(), 5501u);  // 10 to 120 degrees in steps of 0.02
  EXPECT_NEAR(form.pattern->markers.front(), kNaCl111, 1e-3);
  EXPECT_EQ(form.boxes[FormBox::kA], "   5.64020");
  EXPECT_EQ(form.atoms[1],
            (AtomRow{" 2", "Cl1/Cl", " 1.00000", " 0.50000", " 0.50000", " 0.50000", " 0.70000"}));
}

// An incomplete form stops before the run; a run that fails empties the results.
TEST_F(BraxelViewTest, IncompleteFormOrFailedRunShowsItsMessageAndNoResult) {
  form.TypeNaCl();
  form.boxes[FormBox::kGamma] = "";
  view.OnCalculateProfile();
  EXPECT_EQ(ui.waitCursorShown, 0);
  EXPECT_FALSE(std::filesystem::exists(start.File("Braxel.out")));
  form.boxes[FormBox::kGamma] = "90";
  view.OnCalculateProfile();
  form.boxes[FormBox::kSetting] = "9";
  view.OnCalculateProfile();
  EXPECT_EQ(ui.messages, (Strings{"No gamma !!!", "No space group found !!!"}));
  EXPECT_EQ(ReadFile(start.File("Braxel.out")), "No space group found !!!");
  EXPECT_FALSE(view.Results().calculationDone);
  EXPECT_TRUE(form.reflections.empty());
  EXPECT_TRUE(form.lines[LineList::kSymmetryCodes].empty());
  EXPECT_EQ(form.info[InfoBox::kLaueGroup], "");
  EXPECT_FALSE(form.pattern.has_value());
  EXPECT_EQ(ui.waitCursorDepth, 0);
  view.OnShowPattern();
  view.OnExportReflections();
  EXPECT_EQ(ui.messages.back(), "Calculation not completed !!!");
  EXPECT_TRUE(system.launched.empty());
  EXPECT_TRUE(ui.fileRequests.empty());
}

TEST_F(BraxelViewTest, FindSgNumberTakesTheTypedSymbolAndKeepsTheTypedCell) {
  form.TypeNaCl();
  ASSERT_TRUE(view.GatherCrystalData());
  view.Data().sgNumber = 0;
  form.boxes[FormBox::kA] = "7.25";  // typed, not gathered yet
  form.info[InfoBox::kSgSymbol] = "Pnma";
  form.info[InfoBox::kSystem] = "cubic";
  ui.yesNoAnswers = {true};
  view.OnFindSgNumber();
  EXPECT_EQ(ui.questions, Strings{"Do you rewrite SG symbol ?"});
  EXPECT_EQ(view.Data().sgNumber, 62);
  EXPECT_EQ(axisDialog.shown, 1);
  EXPECT_EQ(form.boxes[FormBox::kSgNumber], " 62");
  EXPECT_EQ(form.boxes[FormBox::kA], "7.25");
  EXPECT_EQ(form.info[InfoBox::kSgSymbol], "Pnma");
  EXPECT_EQ(form.info[InfoBox::kSystem], "");
}

TEST_F(BraxelViewTest, RefreshWritesTheIntensityFromItsText) {
  view.Results().reflectionCount = 1;
  view.Results().calculationDone = true;
  view.Results().reflectionRows[0] = {"1",    "1",   "0",    "0",       "1",
                                      "20.0", "5.0", "12.3", "1234.56", "6"};
  view.ShowCrystalData();
  const ReflectionRow shown = {"   1", "1", "0", "0", "1", "20.0", "5.0", "12.3", "1234.6", "6"};
  EXPECT_EQ(form.reflections, std::vector<ReflectionRow>{shown});
  EXPECT_EQ(form.boxes[FormBox::kSgNumber], "  0");
}

TEST_F(BraxelViewTest, ClearEmptiesEveryRowTheResultsAndTheTitleAndKeepsTheRecord) {
  ASSERT_TRUE(view.OpenStructureFile(BRAXEL_EXAMPLES_DIR "/NaCl.inp"));
  view.OnCalculateProfile();
  form.atoms[3] = {"", "O", "1", "0", "0", "0", "0"};  // typed below a gap
  form.target = 0;
  view.ClearForm();
  EXPECT_FALSE(view.Results().calculationDone);
  EXPECT_EQ(form.atoms, std::vector<AtomRow>(80));
  EXPECT_EQ(form.boxes[FormBox::kBeta], "");
  EXPECT_EQ(form.target, 3);
  EXPECT_EQ(form.info[InfoBox::kSgSymbol], "");
  EXPECT_EQ(form.title, "Braxel --- [File Name : ]");
  EXPECT_EQ(view.CurrentFilePath(), "");
  EXPECT_EQ(view.Data().sgNumber, 225);
  // A refresh brings the structure back, but no result of the earlier run.
  view.ShowCrystalData();
  EXPECT_TRUE(form.reflections.empty());
  EXPECT_TRUE(form.lines[LineList::kSymmetryCodes].empty());
  EXPECT_FALSE(form.pattern.has_value());
  view.ClearForm();
  view.OnCalculateProfile();
  EXPECT_EQ(ui.messages, Strings{"No SG number !!!"});
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

  // An insert never pushes an atom off the list, gathered or only typed.
  form.atoms.assign(80, AtomRow{"", "O", "1", "0", "0", "0", "0"});
  form.TypeNaCl();
  ASSERT_TRUE(view.GatherCrystalData());
  form.selected = 10;
  view.OnInsertAtom();
  EXPECT_EQ(view.Data().atomCount, 80);
  view.Data().atomCount = 2;
  view.OnInsertAtom();
  EXPECT_EQ(view.Data().atomCount, 2);
  EXPECT_EQ(form.atoms[79][1], "O");
}

TEST_F(BraxelViewTest, OpenShowsTheFileWithItsPathInTheTitleAndNoEarlierResult) {
  form.TypeNaCl();
  view.OnCalculateProfile();
  ui.fileAnswers = {std::nullopt};
  view.OnFileOpenStructure();  // cancelled: nothing changes
  EXPECT_TRUE(view.Results().calculationDone);
  ASSERT_FALSE(view.OpenStructureFile(start.File("missing.inp")));
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(form.title, "Braxel --- [File Name : ]");
  // The structure shown stays, with its symbol; its results are gone with calculationDone.
  EXPECT_FALSE(view.Results().calculationDone);
  EXPECT_TRUE(form.reflections.empty());
  EXPECT_EQ(form.boxes[FormBox::kSgNumber], "225");
  EXPECT_EQ(form.info[InfoBox::kSgSymbol], "F m -3 m");
  // The extension chooses the reader, in any case; another extension keeps the type.
  ASSERT_FALSE(view.OpenStructureFile(start.File("x.CIF")));
  ASSERT_FALSE(view.OpenStructureFile(start.File("notes.dat")));
  EXPECT_EQ(view.LastImportType(), ImportFileType::kCif);
  EXPECT_EQ(ui.messages.size(), 3u);

  // A file without a symbol shows none, not the one of the last run.
  const std::string path = BRAXEL_EXAMPLES_DIR "/NaCl.inp";
  ASSERT_TRUE(view.OpenStructureFile(path));
  EXPECT_EQ(form.title, "Braxel --- [File Name : " + path + " ]");
  EXPECT_EQ(form.recent, Strings{path});
  EXPECT_EQ(view.LastImportType(), ImportFileType::kInp);
  EXPECT_EQ(view.CurrentFilePath(), path);
  EXPECT_EQ(form.boxes[FormBox::kSgNumber], "225");
  EXPECT_EQ(form.atoms[1][1], "Cl1/Cl");
  EXPECT_EQ(form.info[InfoBox::kSgSymbol], "");
}

TEST_F(BraxelViewTest, ProfileParametersChangeOnlyOnOkAndOnlyInMemory) {
  form.TypeNaCl();
  view.OnCalculateProfile();
  const int longList = view.Results().reflectionCount;
  const std::string ini = ReadFile(view.Fixed().iniPath);
  view.OnEditProfileParameters();
  EXPECT_DOUBLE_EQ(view.Profile().U, 0.01);
  EXPECT_EQ(shownEnd, "120.00");
  profileOk = true;
  view.OnEditProfileParameters();
  EXPECT_DOUBLE_EQ(view.Profile().U, 0.0);
  EXPECT_DOUBLE_EQ(view.Profile().twoThetaEnd, 60.0);
  EXPECT_EQ(ReadFile(view.Fixed().iniPath), ini);
  // The next run lists nothing beyond 60 degrees, and no row of the longer list stays.
  view.Profile().U = 0.01;
  view.OnCalculateProfile();
  const int rows = view.Results().reflectionCount;
  ASSERT_LT(rows, longList);
  ASSERT_EQ(form.reflections.size(), static_cast<std::size_t>(rows));
  EXPECT_LE(LeadingDouble(form.reflections.back()[5]), 60.0);
}

TEST_F(BraxelViewTest, SaveInputFileWritesTheGatheredFormAndNamesTheWindow) {
  form.TypeNaCl();
  ui.fileAnswers = {start.File("saved.inp")};
  view.OnSaveInputFile();
  CrystalData read;
  ASSERT_TRUE(ReadInpFile(start.File("saved.inp"), read, ui));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(read.atomCount, 2);
  EXPECT_EQ(read.atomLabels[1], "Cl1/Cl");
  EXPECT_EQ(form.title, "Braxel --- [File Name : " + start.File("saved.inp") + " ]");
  EXPECT_EQ(form.recent, Strings{start.File("saved.inp")});
}

TEST_F(BraxelViewTest, ExportsWriteTheReflectionListAndThePatternOfTheLastRun) {
  view.OnExportPattern();
  EXPECT_EQ(ui.messages, Strings{"Calculation not completed !!!"});
  form.TypeNaCl();
  view.OnCalculateProfile();
  ui.fileAnswers = {start.File("NaCl.csv"), start.File("NaCl.xy"), start.File("no/such.csv")};
  view.OnExportReflections();
  view.OnExportPattern();
  view.OnExportReflections();
  EXPECT_EQ(ui.fileRequests[0].defaultExtension, "csv");
  EXPECT_EQ(ui.messages.back(), start.File("no/such.csv") + " file cannot be created !!!");

  const Strings csv = Split(ReadFile(start.File("NaCl.csv")), '\n');
  ASSERT_EQ(csv.size(), static_cast<std::size_t>(view.Results().reflectionCount) + 2);
  EXPECT_EQ(csv[0], "No,h,k,l,id,2theta,d,F,I,mult");
  const Strings first = Split(csv[1], ',');
  ASSERT_EQ(first.size(), 10u);
  EXPECT_EQ((Strings{first[0], first[1], first[2], first[3], first[4], first[9]}),
            (Strings{"1", "1", "1", "1", "1", "8"}));
  EXPECT_NEAR(LeadingDouble(first[5]), kNaCl111, 1e-4);
  EXPECT_EQ(csv.back(), "");

  const Strings xy = Split(ReadFile(start.File("NaCl.xy")), '\n');
  ASSERT_EQ(xy.size(), 5502u);  // 10 to 120 degrees in steps of 0.02, and the last line end
  EXPECT_EQ(Split(xy[0], ' ')[0], "10.0000");
  EXPECT_EQ(Split(xy[5500], ' ')[0], "120.0000");
  int highest = 0;
  for (std::size_t i = 0; i + 1 < xy.size(); ++i) {
    highest = std::max(highest, LeadingInt(Split(xy[i], ' ').at(1)));
  }
  EXPECT_EQ(highest, 1000);
}

}  // namespace
}  // namespace braxel
