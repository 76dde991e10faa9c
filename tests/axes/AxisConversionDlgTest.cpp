#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "axes/AxisConversionDlg.h"
#include "platform/TextInput.h"
#include "support/RecordingUserInterface.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::RecordingUserInterface;
using testing::TempDir;
using testing::WriteFile;

const std::string kSettingTable = std::string(BRAXEL_DATA_DIR) + "/ABCTrans";
using Cell = std::array<double, 6>;
using Strings = std::vector<std::string>;

TEST(AxisMatrixTest, InvertsWithRowPivotingAgainstHandInverses) {
  // Column 1 has its largest value in row 2, so the rows are swapped and the columns put back.
  Matrix3 a = {{{1, 2, 0}, {3, 0, 0}, {0, 0, 4}}};
  double determinant = 0.0;
  ASSERT_TRUE(InvertMatrix(a, kPivotThreshold, determinant));
  const Matrix3 inverse = {{{0, 1.0 / 3, 0}, {0.5, -1.0 / 6, 0}, {0, 0, 0.25}}};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(a[i][j], inverse[i][j], 1e-15) << i << j;
  }
  EXPECT_NEAR(determinant, -24.0, 1e-12);
}

TEST(AxisMatrixTest, RefusesPivotsAtTheThreshold) {
  Matrix3 singular = {{{1, 2, 3}, {2, 4, 6}, {0, 0, 1}}};
  double determinant = 0.0;
  EXPECT_FALSE(InvertMatrix(singular, kPivotThreshold, determinant));
  Matrix3 tiny = {{{0.00001, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  EXPECT_FALSE(InvertMatrix(tiny, kPivotThreshold, determinant));
}

TEST(AxisMatrixTest, EverySettingKeepsHandednessAndVolume) {
  for (const int mode : {kMonoclinicMode, kOrthorhombicMode}) {
    for (int setting = 1; setting <= kAxisSettingCount; ++setting) {
      Matrix3 m = SettingMatrix(mode, setting);
      double determinant = 0.0;
      ASSERT_TRUE(InvertMatrix(m, kPivotThreshold, determinant));
      EXPECT_DOUBLE_EQ(determinant, 1.0) << mode << " " << setting;
    }
  }
}

TEST(AxisMatrixTest, MetricTensorOfAMonoclinicCell) {
  const Matrix3 g = MetricTensor(5, 6, 7, 90, 100, 90);
  EXPECT_DOUBLE_EQ(g[0][0], 25.0);
  EXPECT_NEAR(g[0][2], 35.0 * -0.17364817766693, 1e-7);
  EXPECT_NEAR(g[0][1], 0.0, 1e-7);
  EXPECT_DOUBLE_EQ(BilinearForm({1, 0, 0}, g, {0, 0, 1}), g[0][2]);
}

class AxisConversionDlgTest : public ::testing::Test {
 protected:
  void Open(int mode, const std::string& number, const std::string& setting,
            const std::string& symbol, const std::string& axis, const Cell& cell) {
    dlg = std::make_unique<CAxisConversionDlg>(ui);
    dlg->systemMode = mode;
    dlg->tablePath = tablePath;
    dlg->sgNumberText = number;
    dlg->settingText = setting;
    dlg->symbolIn = symbol;
    dlg->uniqueAxis = axis;
    for (std::size_t i = 0; i < cell.size(); ++i)
      dlg->originalCell[i] = FormatText("%10.5lf", cell[i]);
    dlg->OnInitDialog();
  }
  void AddAtom(double x, double y, double z) {
    dlg->xIn[dlg->atomCount] = FormatText("%10.5lf", x);
    dlg->yIn[dlg->atomCount] = FormatText("%10.5lf", y);
    dlg->zIn[dlg->atomCount] = FormatText("%10.5lf", z);
    ++dlg->atomCount;
  }
  void ConvertTo(int k) {
    dlg->OnConvertedSettingClicked(k, true);
    dlg->OnConversion();
  }
  std::array<std::string, 6> ConvertedCell() const { return dlg->convertedCell; }
  Strings Atom(int i) const { return {dlg->xOut[i], dlg->yOut[i], dlg->zOut[i]}; }

  RecordingUserInterface ui;
  std::unique_ptr<CAxisConversionDlg> dlg;
  std::string tablePath = kSettingTable;
  TempDir dir;
};

using Texts = std::array<std::string, 6>;

TEST_F(AxisConversionDlgTest, OrthorhombicConversionAlwaysGoesToSettingOne) {
  Open(kOrthorhombicMode, "62", "1", "P n m a", "no", {5, 6, 7, 90, 90, 90});
  EXPECT_EQ(dlg->originalSetting, 1);
  EXPECT_EQ(dlg->standardSymbol, "P n m a   ");
  ConvertTo(4);
  EXPECT_EQ(dlg->convertedSetting, 1);
  EXPECT_EQ(ConvertedCell(),
            (Texts{"5.00000", "6.00000", "7.00000", "90.00000", "90.00000", "90.00000"}));
  EXPECT_EQ(dlg->convertedSymbol, "P n m a   ");
  EXPECT_TRUE(dlg->View().convertedMarks[0]);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(AxisConversionDlgTest, CabToAbcPermutesCellAndCoordinates) {
  Open(kOrthorhombicMode, "62", "1", "P b n m", "no", {7, 5, 6, 90, 90, 90});
  EXPECT_EQ(dlg->originalSetting, 3);
  AddAtom(0.1, 0.2, 0.3);
  ConvertTo(1);
  EXPECT_EQ(ConvertedCell(),
            (Texts{"5.00000", "6.00000", "7.00000", "90.00000", "90.00000", "90.00000"}));
  ASSERT_TRUE(dlg->OnOK());
  EXPECT_EQ(Atom(0), (Strings{" 0.20000", " 0.30000", " 0.10000"}));
}

TEST_F(AxisConversionDlgTest, MonoclinicUniqueAxisBToC) {
  Open(kMonoclinicMode, "14", "1", "P 21/c", "b", {5, 6, 7, 90, 100, 90});
  EXPECT_EQ(dlg->originalSetting, 1);
  EXPECT_EQ(dlg->standardSymbol, "P 21/c    ");
  AddAtom(0.1, 0.2, 0.3);
  ConvertTo(4);
  EXPECT_EQ(ConvertedCell(),
            (Texts{"7.00000", "5.00000", "6.00000", "90.00000", "90.00000", "100.00000"}));
  EXPECT_EQ(dlg->convertedSymbol, "P 1 1 21/a");
  EXPECT_EQ(dlg->RecordSetting(), 4);
  ASSERT_TRUE(dlg->OnOK());
  EXPECT_EQ(Atom(0), (Strings{" 0.30000", " 0.10000", " 0.20000"}));
}

TEST_F(AxisConversionDlgTest, NegativeCoordinatesGetOneAddedOnce) {
  // Cell choice 2 has a' = -a - c, b' = b, c' = a, so x' = -z and z' = x - z.
  Open(kMonoclinicMode, "14", "1", "P 21/c", "b", {5, 6, 7, 90, 100, 90});
  AddAtom(-1.0, 0.2, 0.25);
  ConvertTo(2);
  EXPECT_EQ(dlg->convertedSymbol, "P 1 21/n 1");
  ASSERT_TRUE(dlg->OnOK());
  EXPECT_EQ(Atom(0), (Strings{" 0.75000", " 0.20000", "-0.25000"}));
  // |a + c| with 100 degrees between a and c, by hand: sqrt(25 + 49 + 70 cos 100) = 7.864136.
  EXPECT_EQ(dlg->convertedCell[0], "7.86414");
}

TEST_F(AxisConversionDlgTest, AStoppedConversionLeavesTheDialogUnconverted) {
  tablePath = dir.File("ABCTrans");
  WriteFile(tablePath, "Orthorhombic\n62        P n m a    P m n b    P b n m\n");
  Open(kOrthorhombicMode, "62", "1", "P n m a", "no", {5, 6, 7, 90, 90, 90});
  ConvertTo(1);
  ASSERT_TRUE(dlg->IsConverted());
  WriteFile(tablePath, "Orthorhombic\n63        C m c m\n");
  ConvertTo(1);
  EXPECT_FALSE(dlg->IsConverted());
  EXPECT_EQ(dlg->convertedSymbol, "");
  EXPECT_FALSE(dlg->OnOK());
  dlg->tablePath = dir.File("none");
  ConvertTo(1);
  EXPECT_EQ(ui.messages, (Strings{"EOF found !!!", "Convert Axis, please !!!", "Cannot Open !"}));
  EXPECT_EQ(dlg->View().convertedCell[0], "");
}

TEST_F(AxisConversionDlgTest, ConversionRefusesAnUnknownOriginalSetting) {
  Open(kOrthorhombicMode, "62", "0", "X 1", "no", {5, 6, 7, 90, 90, 90});
  EXPECT_EQ(dlg->originalSetting, 0);
  EXPECT_EQ(dlg->standardSymbol, "");
  ConvertTo(1);
  EXPECT_FALSE(dlg->IsConverted());
  EXPECT_EQ(ui.messages, (Strings{"Original setting not available !!!"}));
  EXPECT_EQ(dlg->View().originalMarks, (std::array<bool, 6>{}));
}

TEST_F(AxisConversionDlgTest, ADegenerateCellHasNoConversion) {
  Open(kOrthorhombicMode, "62", "1", "P n m a", "no", {0, 6, 7, 90, 90, 90});
  ConvertTo(1);
  EXPECT_FALSE(dlg->IsConverted());
  EXPECT_EQ(ui.messages, (Strings{"Matrix not positive defined !!!"}));
}

TEST_F(AxisConversionDlgTest, ArccosArgumentsJustOutsideTheRangeAreClamped) {
  // With beta 0, a' = -a - c and c' = a are antiparallel; the cosine of beta' comes out as
  // -1.0000000000000002 for these edges.
  Open(kMonoclinicMode, "14", "1", "P 21/c", "b", {1.04386, 6, 2.06678, 90, 0, 90});
  ConvertTo(2);
  EXPECT_EQ(dlg->convertedCell[4], "180.00000");
}

TEST_F(AxisConversionDlgTest, OrthorhombicSettingFromTheTableOrTheRecord) {
  // A leading part of a longer field matches it.
  Open(kOrthorhombicMode, "62", "1", "P c m", "no", {5, 6, 7, 90, 90, 90});
  EXPECT_EQ(dlg->originalSetting, 4);
  Open(kOrthorhombicMode, "62", "5", "P 43", "no", {5, 6, 7, 90, 90, 90});
  EXPECT_EQ(dlg->originalSetting, 5);
  EXPECT_EQ(dlg->View().groupCaption, "Orthorhombic System");
  EXPECT_EQ(dlg->View().rowLabel, "abc     ba-c    cab     -cba    bca     a-cb");
  EXPECT_TRUE(dlg->View().originalMarks[4]);
  EXPECT_FALSE(dlg->View().originalRowEnabled);
}

TEST_F(AxisConversionDlgTest, MonoclinicCellChoicesOfThreeLineGroups) {
  Open(kMonoclinicMode, "14", "1", "P 1 1 21/n", "c", {5, 6, 7, 90, 90, 100});
  EXPECT_EQ(dlg->originalSetting, 5);
  EXPECT_EQ(dlg->View().groupCaption, "Monoclinic System");
  EXPECT_EQ(dlg->View().rowLabel, " #1      #2      #3      #4      #5      #6");
  Open(kMonoclinicMode, "15", "1", "I 1 2/a 1", "b", {5, 6, 7, 90, 100, 90});
  EXPECT_EQ(dlg->originalSetting, 3);
  // None of the six settings has unique axis a.
  Open(kMonoclinicMode, "14", "1", "P 21/b 1 1", "a", {5, 6, 7, 100, 90, 90});
  EXPECT_EQ(dlg->originalSetting, 0);
}

TEST_F(AxisConversionDlgTest, MonoclinicOneLineGroups) {
  Open(kMonoclinicMode, "11", "1", "P 1 1 21/m", "c", {5, 6, 7, 90, 90, 100});
  EXPECT_EQ(dlg->originalSetting, 6);
  // The symbol names unique axis c whatever the record's letter says.
  Open(kMonoclinicMode, "11", "1", "P 1 1 21/m", "b", {5, 6, 7, 90, 90, 100});
  EXPECT_EQ(dlg->originalSetting, 6);
  // The space-group table's own symbols: setting 1 is unique axis b, setting 2 unique axis c.
  Open(kMonoclinicMode, "11", "1", "P 21/m", "b", {5, 6, 7, 90, 100, 90});
  EXPECT_EQ(dlg->originalSetting, 1);
  Open(kMonoclinicMode, "3", "2", "X", "", {5, 6, 7, 90, 90, 100});
  EXPECT_EQ(dlg->originalSetting, 4);
  Open(kMonoclinicMode, "4", "1", "P 21 1 1", "a", {5, 6, 7, 100, 90, 90});
  EXPECT_EQ(dlg->originalSetting, 0);
}

TEST_F(AxisConversionDlgTest, OneLineGroupsGetOnlyTheTablesTwoSettings) {
  Open(kMonoclinicMode, "11", "1", "P 21/m", "b", {5, 6, 7, 90, 100, 90});
  ConvertTo(5);
  EXPECT_EQ(dlg->convertedSymbol, "P 1 1 21/m");
  EXPECT_EQ(dlg->RecordSetting(), 2);
  ConvertTo(3);
  EXPECT_EQ(dlg->convertedSymbol, "P 1 21/m 1");
  EXPECT_EQ(dlg->RecordSetting(), 1);
}

TEST_F(AxisConversionDlgTest, OriginChoiceTwoStaysWithItsAxes) {
  Open(kOrthorhombicMode, "50", "2", "P b a n", "no", {5, 6, 7, 90, 90, 90});
  ConvertTo(1);
  EXPECT_EQ(dlg->RecordSetting(), 2);
  Open(kOrthorhombicMode, "68", "2", "C c c b", "no", {5, 6, 7, 90, 90, 90});
  EXPECT_EQ(dlg->originalSetting, 2);
  ConvertTo(1);
  EXPECT_EQ(dlg->RecordSetting(), 1);
}

TEST_F(AxisConversionDlgTest, BoxesActAsAOneOfSixChoice) {
  Open(kMonoclinicMode, "14", "1", "P 21/c", "b", {5, 6, 7, 90, 100, 90});
  dlg->OnConvertedSettingClicked(3, true);
  EXPECT_EQ(dlg->convertedSetting, 3);
  // Clicking the chosen box takes its mark away; the refresh puts it back.
  dlg->OnConvertedSettingClicked(3, false);
  EXPECT_EQ(dlg->convertedSetting, 3);
  EXPECT_EQ(dlg->View().convertedMarks,
            (std::array<bool, 6>{false, false, true, false, false, false}));
  EXPECT_TRUE(dlg->View().originalMarks[0]);
}

TEST_F(AxisConversionDlgTest, OkChecksTargetAndConversion) {
  Open(kMonoclinicMode, "14", "1", "P 21/c", "b", {5, 6, 7, 90, 100, 90});
  EXPECT_FALSE(dlg->OnOK());
  ConvertTo(4);
  // A box chosen after the Conversion has no converted data yet.
  dlg->OnConvertedSettingClicked(2, true);
  EXPECT_FALSE(dlg->OnOK());
  Open(kOrthorhombicMode, "62", "1", "P n m a", "no", {5, 6, 7, 90, 90, 90});
  ConvertTo(1);
  dlg->OnConvertedSettingClicked(2, true);
  EXPECT_FALSE(dlg->OnOK());
  EXPECT_EQ(ui.messages, (Strings{"Convert Axis, please !!!", "Convert Axis, please !!!",
                                  "#1 setting only available !!!"}));
}

TEST_F(AxisConversionDlgTest, TableProblemsAtTheStart) {
  tablePath = dir.File("none");
  Open(kMonoclinicMode, "14", "2", "P 21/n", "b", {5, 6, 7, 90, 100, 90});
  EXPECT_EQ(dlg->originalSetting, 2);
  EXPECT_EQ(dlg->standardSymbol, "");
  tablePath = dir.File("ABCTrans");
  WriteFile(tablePath, "Monoclinic\nNo\n3         P 2\n");
  Open(kMonoclinicMode, "14", "2", "P 21/n", "b", {5, 6, 7, 90, 100, 90});
  Open(kOrthorhombicMode, "62", "1", "P n m a", "no", {5, 6, 7, 90, 90, 90});
  EXPECT_EQ(ui.messages,
            (Strings{"Table cannot open !!!", "EOF found !!!", "Orthorhombic not found !!!\n"}));
}

}  // namespace
}  // namespace braxel
