// The form view's commands on a form of plain texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <tuple>

#include "app/BraxelView.h"
#include "app/CrystalData.h"
#include "app/ReportReadBack.h"
#include "io/InpFile.h"
#include "platform/TextInput.h"
#include "settings/ExternalPrograms.h"
#include "support/RecordingUserInterface.h"
#include "support/ScriptedPresenter.h"
#include "support/TestFiles.h"
#include "support/TextCases.h"

namespace braxel {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;
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
};

// 2theta of 111 of NaCl for Cu Ka1, from d = a / sqrt(3).
const double kNaCl111 = 2.0 * std::asin(1.540562 * std::sqrt(3.0) / (2.0 * 5.6402)) * 180.0 / M_PI;

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
  EXPECT_EQ(form.atoms, std::vector<AtomRow>(80));
  EXPECT_EQ(form.boxes[FormBox::kBeta], "");
  EXPECT_EQ(form.target, 3);
  EXPECT_EQ(form.title, "Braxel --- [File Name : ]");
  EXPECT_EQ(view.CurrentFilePath(), "");
  EXPECT_EQ(view.Data().sgNumber, 225);
  // A refresh brings the structure back, but no result of the earlier run.
  view.ShowCrystalData();
  EXPECT_TRUE(form.reflections.empty());
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
  EXPECT_EQ(view.LastImportType(), ImportFileType::kIns);
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
  EXPECT_EQ(view.LastImportType(), ImportFileType::kInp);
  EXPECT_EQ(view.CurrentFilePath(), path);
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

  const std::string csv = ReadFile(start.File("NaCl.csv"));
  const std::string first = "No,h,k,l,id,2theta,d,F,I,mult\n1,1,1,1,1,";
  ASSERT_TRUE(csv.starts_with(first));
  EXPECT_NEAR(LeadingDouble(csv.substr(first.size())), kNaCl111, 1e-4);
  EXPECT_EQ(std::ranges::count(csv, '\n'), view.Results().reflectionCount + 1);
  EXPECT_EQ(csv.substr(csv.find('\n', first.size()) - 2, 3), ",8\n");

  // 10 to 120 degrees in steps of 0.02; the highest point is 1000.
  const std::string xyText = ReadFile(start.File("NaCl.xy"));
  EXPECT_TRUE(xyText.starts_with("10.0000 ") && xyText.ends_with("\n"));
  std::istringstream xy(xyText);
  std::vector<double> angles;
  int highest = 0;
  for (double angle, intensity; xy >> angle >> intensity;) {
    angles.push_back(angle);
    highest = std::max(highest, static_cast<int>(intensity));
  }
  ASSERT_EQ(angles.size(), 5501u);
  EXPECT_DOUBLE_EQ(angles.back(), 120.0);
  EXPECT_EQ(highest, 1000);
}

// What a gather reads, and what a refused one must leave alone.
auto Fields(const CrystalData& d) {
  return std::tuple(d.sgNumber, d.settingNumber, d.a, d.b, d.c, d.alpha, d.beta, d.gamma,
                    d.atomCount, d.atomLabels[0], d.x[0], d.B[1], d.targetIndex);
}

TEST(GatherCrystalDataTest, ReadsTheWholeForm) {
  FakeForm form;
  form.TypeNaCl();
  form.target = 3;
  CrystalData data;
  testing::RecordingUserInterface ui;
  ASSERT_TRUE(GatherCrystalData(form, data, ui));
  // Target 4 is "Cu", fourth of the seven.
  EXPECT_EQ(Fields(data), std::tuple(225, 1, 5.6402, 5.6402, 5.6402, 90.0, 90.0, 90.0, 2,
                                     std::string("Na1/Na"), 0.0, 0.7, 4));
  EXPECT_DOUBLE_EQ(data.x[1], 0.5);

  // The species is the text after the first slash, the whole label without one.
  EXPECT_EQ(MakeRunInput(data, {"r", "p", "t", "f"}, ProfileParameters{}).species[1], "Cl");
  EXPECT_EQ(SpeciesOf("A/B/C"), "B/C");
  EXPECT_EQ(SpeciesOf("Cl"), "Cl");
}

// The cases of tests/data/app/gather.txt.
TEST(GatherCrystalDataTest, UnusableValuesAreRefusedByNameAndTheRecordStaysAsItWas) {
  const std::map<std::string, FormBox> boxes = {
      {"sg", FormBox::kSgNumber}, {"setting", FormBox::kSetting},
      {"a", FormBox::kA},         {"b", FormBox::kB},
      {"c", FormBox::kC},         {"alpha", FormBox::kAlpha},
      {"beta", FormBox::kBeta},   {"gamma", FormBox::kGamma}};
  for (const testing::TextCase& c : testing::ReadCases(BRAXEL_TEST_DATA_DIR "/app/gather.txt")) {
    FakeForm form;
    form.TypeNaCl();
    for (const std::string& line : c.input) {
      const std::size_t blank = line.find(' ');
      if (line.starts_with("atom ")) {
        form.atoms[line[5] - '0'][line[7] - '0'] = line.substr(9);
      } else if (!line.starts_with("#")) {
        form.boxes[boxes.at(line.substr(0, blank))] = line.substr(blank + 1);
      }
    }
    CrystalData data;
    data.atomLabels[0] = "Old";
    data.a = 3.0;
    data.x[0] = 0.125;
    const auto before = Fields(data);
    testing::RecordingUserInterface ui;
    EXPECT_FALSE(GatherCrystalData(form, data, ui)) << c.name;
    EXPECT_EQ(ui.messages, c.expected) << c.name;
    EXPECT_EQ(Fields(data), before) << c.name;
  }
}

TEST(GatherCrystalDataTest, NumbersMayCarryBlanksSignsAndExponentsAndAtomsEndAtAnEmptyRow) {
  FakeForm form;
  form.TypeNaCl();
  form.boxes[FormBox::kSgNumber] = " 62";
  form.boxes[FormBox::kA] = "  +5.6402 ";
  form.boxes[FormBox::kGamma] = "1.2e2";
  form.atoms[0][3] = "-.25";
  CrystalData data;
  testing::RecordingUserInterface ui;
  ASSERT_TRUE(GatherCrystalData(form, data, ui)) << ui.messages.front();
  EXPECT_EQ(data.sgNumber, 62);
  EXPECT_DOUBLE_EQ(data.a, 5.6402);
  EXPECT_DOUBLE_EQ(data.gamma, 120.0);
  EXPECT_DOUBLE_EQ(data.x[0], -0.25);
  EXPECT_EQ(data.atomCount, 2);

  form.atoms.assign(81, {"", "Fe", "1", "0.1", "0.2", "0.3", "0.4"});
  ASSERT_TRUE(GatherCrystalData(form, data, ui));
  EXPECT_EQ(data.atomCount, 80);
}

const std::string kNaClReport = ReadFile(BRAXEL_TEST_DATA_DIR "/NaCl.out");

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

TEST(ReportReadBackTest, MissingKeysFailAfterWhatWasRead) {
  TempDir dir;
  WriteFile(dir.File("Braxel.out"), Replaced(kNaClReport, "    Symmetry codes  :", "    Symmetry"));
  CalculationResults results;
  testing::RecordingUserInterface ui;
  EXPECT_FALSE(ReadBackReport(dir.File("Braxel.out"), results, ui));
  EXPECT_EQ(ui.messages, Strings{"    Symmetry codes  : not found !!!\n"});
  EXPECT_EQ(results.centrosymmetric, "yes");
  EXPECT_EQ(results.symmetryCodeCount, 0);

  WriteFile(dir.File("Braxel.out"), Replaced(kNaClReport, "    Centrosymmetric = yes\n", ""));
  EXPECT_FALSE(ReadBackReport(dir.File("Braxel.out"), results, ui));
  EXPECT_EQ(ui.messages.back(), "    Centrosymmetric not found !!!\n");

  EXPECT_FALSE(ReadBackReport(dir.File("none"), results, ui));
  EXPECT_EQ(ui.messages.back(), "Outputfile nout found !!!");
}

TEST(ReportReadBackTest, EditedReportsNeverOverflowTheCapacities) {
  std::string codes;
  for (int i = 1; i <= 300; ++i) codes += "    " + std::to_string(i) + ". x,y,z\n";
  std::string rows;
  for (int i = 1; i <= 7000; ++i) {
    rows +=
        "     " + std::to_string(i) + "   1   0   0   1   10.0000   5.0000    1.0000    1.00   2\n";
  }
  std::string text = Replaced(kNaClReport, "     1. x,y,z\n", codes);
  text =
      Replaced(text, "     1   1   1   1   1   27.3655", rows + "     1   1   1   1   1   27.3655");
  TempDir dir;
  WriteFile(dir.File("Braxel.out"), text);
  CalculationResults results;
  testing::RecordingUserInterface ui;
  ASSERT_TRUE(ReadBackReport(dir.File("Braxel.out"), results, ui));
  EXPECT_EQ(results.symmetryCodeCount, kMaxResultLines);
  EXPECT_EQ(results.reflectionCount, kMaxReflectionRows);
  EXPECT_EQ(results.symmetryCodes.size(), static_cast<std::size_t>(kMaxResultLines));
  EXPECT_EQ(results.reflectionRows.size(), static_cast<std::size_t>(kMaxReflectionRows));
  EXPECT_EQ(results.reflectionRows[5999][0], "6000");
}

}  // namespace
}  // namespace braxel
