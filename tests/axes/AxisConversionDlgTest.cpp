// The Axis Conversion dialog as its buttons drive it and the matrix arithmetic under it;
// the\nconversion of the form's record, through the dialog or without a window, and Find SG Number.
#include <gtest/gtest.h>

#include <fstream>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "app/CrystalData.h"
#include "axes/AxisConversion.h"
#include "axes/AxisConversionDlg.h"
#include "io/InpFile.h"
#include "platform/TextInput.h"
#include "support/ImportFixture.h"
#include "support/RecordingUserInterface.h"
#include "support/ScriptedPresenter.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using Strings = std::vector<std::string>;

const std::string kSettingTable = BRAXEL_DATA_DIR "/ABCTrans";
constexpr int kM = kMonoclinicMode, kO = kOrthorhombicMode;

TEST(AxisMatrixTest, InvertsWithRowPivotingAgainstAHandInverse) {
  // Column 1 has its largest value in row 2, so the rows are swapped and the columns put back.
  Matrix3 a = {{{1, 2, 0}, {3, 0, 0}, {0, 0, 4}}};
  double determinant = 0.0;
  ASSERT_TRUE(InvertMatrix(a, kPivotThreshold, determinant));
  const Matrix3 inverse = {{{0, 1.0 / 3, 0}, {0.5, -1.0 / 6, 0}, {0, 0, 0.25}}};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(a[i][j], inverse[i][j], 1e-15) << i << j;
  }
  EXPECT_NEAR(determinant, -24.0, 1e-12);
  // Pivots at the threshold are refused.
  Matrix3 singular = {{{1, 2, 3}, {2, 4, 6}, {0, 0, 1}}};
  EXPECT_FALSE(InvertMatrix(singular, kPivotThreshold, determinant));
  Matrix3 tiny = {{{0.00001, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  EXPECT_FALSE(InvertMatrix(tiny, kPivotThreshold, determinant));
}

// The dialog opened on a record, as the form fills it; the cell as six numbers.
struct OpenDialog {
  OpenDialog(int mode, const char* number, const char* setting, const char* symbol,
             const char* axis, const char* cell, const std::string& table = kSettingTable) {
    dlg.systemMode = mode;
    dlg.tablePath = table;
    dlg.sgNumberText = number;
    dlg.settingText = setting;
    dlg.symbolIn = symbol;
    dlg.uniqueAxis = axis;
    std::istringstream values(cell);
    double value = 0.0;
    for (std::size_t i = 0; values >> value; ++i)
      dlg.originalCell[i] = FormatText("%10.5lf", value);
    dlg.OnInitDialog();
  }
  void ConvertTo(int k) {
    dlg.OnConvertedSettingClicked(k, true);
    dlg.OnConversion();
  }

  testing::RecordingUserInterface ui;
  CAxisConversionDlg dlg{ui};
};

// Whether the words of text are those expected; * stands for any word, or alone for any text.
bool Matches(const std::string& expected, const std::string& text) {
  std::istringstream expectedWords(expected), words(text);
  std::string e, word;
  while (expectedWords >> e) {
    if (!(words >> word) || (e != "*" && e != word)) return false;
  }
  return expected == "*" || !(words >> word);
}

TEST(AxisConversionDlgTest, SettingsFoundConvertedAndRecorded) {
  std::ifstream table(BRAXEL_TEST_DATA_DIR "/axes/conversions.txt");
  int rows = 0;
  for (std::string line; std::getline(table, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string system, number, setting, symbol, axis, cell, atom, converted, targetSymbol,
        recordSetting, atomOut, messages;
    int original = 0, target = 0;
    fields >> system >> number >> setting >> std::quoted(symbol) >> std::quoted(axis) >>
        std::quoted(cell) >> std::quoted(atom) >> original >> target >> std::quoted(converted) >>
        std::quoted(targetSymbol) >> recordSetting >> std::quoted(atomOut) >> std::quoted(messages);
    SCOPED_TRACE(line);
    ++rows;
    OpenDialog d(system == "m" ? kM : kO, number.c_str(), setting.c_str(), symbol.c_str(),
                 axis.c_str(), cell.c_str());
    EXPECT_EQ(d.dlg.originalSetting, original);
    std::istringstream xyz(atom);
    d.dlg.atomCount = 1;
    for (std::string* text : {&d.dlg.xIn[0], &d.dlg.yIn[0], &d.dlg.zIn[0]}) {
      double value = 0.0;
      xyz >> value;
      *text = FormatText("%10.5lf", value);
    }
    d.ConvertTo(target);
    EXPECT_EQ(d.dlg.IsConverted(), !converted.empty());
    std::string cellTexts;
    for (const std::string& text : d.dlg.convertedCell) cellTexts += text + " ";
    EXPECT_PRED2(Matches, converted, cellTexts);
    EXPECT_PRED2(Matches, targetSymbol, d.dlg.convertedSymbol);
    EXPECT_PRED2(Matches, recordSetting, std::to_string(d.dlg.RecordSetting()));
    EXPECT_EQ(d.dlg.OnOK(), !converted.empty());
    EXPECT_PRED2(Matches, atomOut, d.dlg.xOut[0] + " " + d.dlg.yOut[0] + " " + d.dlg.zOut[0]);
    std::string shown;
    for (const std::string& message : d.ui.messages) shown += (shown.empty() ? "" : "|") + message;
    EXPECT_EQ(shown, messages);
  }
  EXPECT_EQ(rows, 20);
}

TEST(AxisConversionDlgTest, OkNeedsAConversionForTheMarkedBox) {
  OpenDialog mono(kM, "14", "1", "P 21/c", "b", "5 6 7 90 100 90");
  EXPECT_FALSE(mono.dlg.OnOK());
  mono.ConvertTo(4);
  mono.dlg.OnConvertedSettingClicked(2, true);  // after the Conversion: nothing converted for it
  EXPECT_FALSE(mono.dlg.OnOK());
  EXPECT_EQ(mono.ui.messages, (Strings{"Convert Axis, please !!!", "Convert Axis, please !!!"}));
  OpenDialog ortho(kO, "62", "1", "P n m a", "no", "5 6 7 90 90 90");
  ortho.ConvertTo(1);
  ortho.dlg.OnConvertedSettingClicked(2, true);
  EXPECT_FALSE(ortho.dlg.OnOK());
  EXPECT_EQ(ortho.ui.messages, Strings{"#1 setting only available !!!"});
}

TEST(AxisConversionDlgTest, TableProblemsLeaveTheDialogUnconverted) {
  testing::TempDir dir;
  const std::string table = dir.File("ABCTrans");
  OpenDialog missing(kM, "14", "2", "P 21/n", "b", "5 6 7 90 100 90", table);
  EXPECT_EQ(missing.dlg.originalSetting, 2);
  EXPECT_EQ(missing.dlg.standardSymbol, "");
  testing::WriteFile(table, "Monoclinic\nNo\n3         P 2\n");
  OpenDialog noGroup(kM, "14", "2", "P 21/n", "b", "5 6 7 90 100 90", table);
  OpenDialog noSystem(kO, "62", "1", "P n m a", "no", "5 6 7 90 90 90", table);
  EXPECT_EQ(missing.ui.messages, Strings{"Table cannot open !!!"});
  EXPECT_EQ(noGroup.ui.messages, Strings{"EOF found !!!"});
  EXPECT_EQ(noSystem.ui.messages, Strings{"Orthorhombic not found !!!\n"});

  // A table that changes or goes between two Conversions stops the second.
  testing::WriteFile(table, "Orthorhombic\n62        P n m a    P m n b    P b n m\n");
  OpenDialog d(kO, "62", "1", "P n m a", "no", "5 6 7 90 90 90", table);
  d.ConvertTo(1);
  ASSERT_TRUE(d.dlg.IsConverted());
  testing::WriteFile(table, "Orthorhombic\n63        C m c m\n");
  d.ConvertTo(1);
  EXPECT_FALSE(d.dlg.IsConverted());
  EXPECT_EQ(d.dlg.convertedSymbol, "");
  d.dlg.tablePath = dir.File("none");
  d.ConvertTo(1);
  EXPECT_EQ(d.ui.messages, (Strings{"EOF found !!!", "Cannot Open !"}));
  EXPECT_EQ(d.dlg.View().convertedCell[0], "");
}

using testing::RecordText;
using testing::ScriptedPresenter;

const std::string kTabsg = BRAXEL_DATA_DIR "/tabsg";
const std::string kFolder = BRAXEL_TEST_DATA_DIR "/axes/";

class AxisConversionTest : public ::testing::Test {
 protected:
  AxisConversionTest() {
    EXPECT_TRUE(ReadInpFile(kFolder + "p1121a.inp", data, ui));
    results.sgSymbol = "P 1 1 21/a";
    results.uniqueAxis = "c";
  }
  bool Convert(ScriptedPresenter<CAxisConversionDlg>& presenter) {
    return ConvertAxisSetting(kMonoclinicMode, data, results, kSettingTable, ui, presenter);
  }
  static bool ConvertToOne(CAxisConversionDlg& dialog) {
    dialog.OnConvertedSettingClicked(1, true);
    dialog.OnConversion();
    return dialog.OnOK();
  }
  CrystalData data;
  CalculationResults results;
  testing::RecordingUserInterface ui;
};

// Cancel after a Conversion leaves the record exactly; OK writes the converted one.
TEST_F(AxisConversionTest, CancelKeepsAndOkWritesTheConvertedRecord) {
  const std::string before = RecordText(data);
  ScriptedPresenter<CAxisConversionDlg> cancelled([](CAxisConversionDlg& dialog) {
    ConvertToOne(dialog);
    dialog.OnCancel();
    return false;
  });
  EXPECT_FALSE(Convert(cancelled));
  EXPECT_EQ(cancelled.shown, 1);
  EXPECT_EQ(RecordText(data), before);
  EXPECT_EQ(results.sgSymbol, "P 1 1 21/a");
  ScriptedPresenter<CAxisConversionDlg> presenter([](CAxisConversionDlg& dialog) {
    EXPECT_EQ(dialog.originalCell[5], " 100.00000");
    EXPECT_EQ(dialog.sgNumberText, "14");
    EXPECT_EQ(dialog.settingText, "4");
    EXPECT_EQ(dialog.uniqueAxis, "c");
    EXPECT_EQ(dialog.originalSetting, 4);
    return ConvertToOne(dialog);
  });
  ASSERT_TRUE(Convert(presenter));
  CrystalData expected;
  ASSERT_TRUE(ReadInpFile(kFolder + "p121c1.inp", expected, ui));
  EXPECT_EQ(RecordText(data), RecordText(expected));
  EXPECT_EQ(results.sgSymbol, "P 1 21/c 1");
  EXPECT_EQ(results.uniqueAxis, "c");
  EXPECT_TRUE(ui.messages.empty());
}

TEST(FindSgNumberTest, TheTypedSymbolAndTheConversionItOffers) {
  struct Case {
    const char* symbol;
    bool rewrite;    // the answer to "Do you rewrite SG symbol ?"
    int heldNumber;  // the record's number before
    FindSgNumberOutcome outcome;
    int number, setting;
    const char* shownSymbol;
    Strings messages;
    std::vector<int> modes;  // the conversions offered
  };
  for (const Case& c : {
           Case{"P 21/c", false, 0, FindSgNumberOutcome::kDeclined, 0, 0, "P 1", Strings{}, {}},
           Case{"X 9", true, 0, FindSgNumberOutcome::kNotFound, 0, 0, "X 9",
                Strings{"space group name not found !!!", "Space group number not found !!!"},
                std::vector<int>{}},
           // A number the record holds stays.
           Case{"X 9", true, 14, FindSgNumberOutcome::kRefreshForm, 14, 2, "X 9", Strings{}, {}},
           // A symbol only the setting table knows offers the conversion of its system.
           Case{"P b n m", true, 0, FindSgNumberOutcome::kRefreshForm, 62, 3, "P b n m", Strings{},
                std::vector<int>{kOrthorhombicMode}},
           Case{"P121/c1", true, 0, FindSgNumberOutcome::kRefreshForm, 14, 1, "P121/c1", Strings{},
                std::vector<int>{kMonoclinicMode}},
       }) {
    SCOPED_TRACE(c.symbol);
    CrystalData data;
    data.sgNumber = c.heldNumber;
    data.settingNumber = c.heldNumber != 0 ? 2 : 0;
    CalculationResults results;
    results.sgSymbol = "P 1";
    testing::RecordingUserInterface ui;
    ui.yesNoAnswers = {c.rewrite};
    std::vector<int> modes;
    EXPECT_EQ(FindSgNumberCommand(c.symbol, data, results, kTabsg, kSettingTable, ui,
                                  [&modes](int mode) { modes.push_back(mode); }),
              c.outcome);
    EXPECT_EQ(data.sgNumber, c.number);
    EXPECT_EQ(data.settingNumber, c.setting);
    EXPECT_EQ(results.sgSymbol, c.shownSymbol);
    EXPECT_EQ(ui.questions, Strings{"Do you rewrite SG symbol ?"});
    EXPECT_EQ(ui.messages, c.messages);
    EXPECT_EQ(modes, c.modes);
  }
}

}  // namespace
}  // namespace braxel
