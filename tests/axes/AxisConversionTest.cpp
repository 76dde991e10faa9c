#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CrystalData.h"
#include "axes/AxisConversion.h"
#include "support/RecordingUserInterface.h"
#include "support/ScriptedPresenter.h"

namespace braxel {
namespace {

using testing::RecordingUserInterface;
using testing::ScriptedPresenter;
using Strings = std::vector<std::string>;

const std::string kTabsg = std::string(BRAXEL_DATA_DIR) + "/tabsg";
const std::string kSettingTable = std::string(BRAXEL_DATA_DIR) + "/ABCTrans";

// P 21/c with unique axis c (setting 4) and two atoms.
CrystalData UniqueAxisCRecord() {
  CrystalData data;
  data.sgNumber = 14;
  data.settingNumber = 4;
  data.targetIndex = 2;
  data.a = 7.0;
  data.b = 5.0;
  data.c = 6.0;
  data.alpha = 90.0;
  data.beta = 90.0;
  data.gamma = 100.0;
  data.atomCount = 2;
  data.atomLabels[0] = "Fe1/Fe3+";
  data.atomLabels[1] = "O1";
  data.g = {0.123456789, 1.0};
  data.B = {1.234564, 0.5};
  data.x = {0.3, 0.9};
  data.y = {0.1, 0.25};
  data.z = {0.2, 0.75};
  return data;
}

void ExpectSameRecord(const CrystalData& got, const CrystalData& want) {
  EXPECT_EQ(got.sgNumber, want.sgNumber);
  EXPECT_EQ(got.settingNumber, want.settingNumber);
  EXPECT_EQ(got.atomCount, want.atomCount);
  EXPECT_EQ(got.targetIndex, want.targetIndex);
  EXPECT_EQ(got.atomLabels, want.atomLabels);
  for (const auto field : {&CrystalData::a, &CrystalData::b, &CrystalData::c, &CrystalData::alpha,
                           &CrystalData::beta, &CrystalData::gamma}) {
    EXPECT_EQ(got.*field, want.*field);
  }
  EXPECT_EQ(got.g, want.g);
  EXPECT_EQ(got.x, want.x);
  EXPECT_EQ(got.y, want.y);
  EXPECT_EQ(got.z, want.z);
  EXPECT_EQ(got.B, want.B);
}

class AxisConversionTest : public ::testing::Test {
 protected:
  AxisConversionTest() {
    data = UniqueAxisCRecord();
    results.sgSymbol = "P 1 1 21/a";
    results.uniqueAxis = "c";
  }
  bool Convert(ScriptedPresenter<CAxisConversionDlg>& presenter) {
    return ConvertAxisSetting(kMonoclinicMode, data, results, kSettingTable, ui, presenter);
  }
  CrystalData data;
  CalculationResults results;
  RecordingUserInterface ui;
};

bool ConvertToOne(CAxisConversionDlg& dialog) {
  dialog.OnConvertedSettingClicked(1, true);
  dialog.OnConversion();
  return dialog.OnOK();
}

TEST_F(AxisConversionTest, TheDialogIsFilledFromTheRecord) {
  ScriptedPresenter<CAxisConversionDlg> presenter([](CAxisConversionDlg& dialog) {
    EXPECT_EQ(dialog.originalCell[0], "   7.00000");
    EXPECT_EQ(dialog.originalCell[5], " 100.00000");
    EXPECT_EQ(dialog.sgNumberText, "14");
    EXPECT_EQ(dialog.settingText, "4");
    EXPECT_EQ(dialog.symbolIn, "P 1 1 21/a");
    EXPECT_EQ(dialog.uniqueAxis, "c");
    EXPECT_EQ(dialog.atomCount, 2);
    EXPECT_EQ(dialog.occupancy[0], "   0.12346");
    EXPECT_EQ(dialog.xIn[1], "   0.90000");
    // The symbol stands at position 43 of the block's first line.
    EXPECT_EQ(dialog.originalSetting, 4);
    return false;
  });
  EXPECT_FALSE(Convert(presenter));
  EXPECT_EQ(presenter.shown, 1);
}

TEST_F(AxisConversionTest, OkWritesTheConvertedRecord) {
  ScriptedPresenter<CAxisConversionDlg> presenter(ConvertToOne);
  ASSERT_TRUE(Convert(presenter));
  EXPECT_DOUBLE_EQ(data.a, 5.0);
  EXPECT_DOUBLE_EQ(data.b, 6.0);
  EXPECT_DOUBLE_EQ(data.c, 7.0);
  EXPECT_DOUBLE_EQ(data.alpha, 90.0);
  EXPECT_DOUBLE_EQ(data.beta, 100.0);
  EXPECT_DOUBLE_EQ(data.gamma, 90.0);
  EXPECT_EQ(data.settingNumber, 1);
  EXPECT_EQ(data.sgNumber, 14);
  EXPECT_EQ(data.atomCount, 2);
  EXPECT_EQ(data.atomLabels[0], "Fe1/Fe3+");
  EXPECT_EQ(results.sgSymbol, "P 1 21/c 1");
  EXPECT_EQ(results.uniqueAxis, "c");
  // c' = a, a' = b, b' = c, so (x, y, z) goes to (y, z, x).
  EXPECT_DOUBLE_EQ(data.x[0], 0.1);
  EXPECT_DOUBLE_EQ(data.y[0], 0.2);
  EXPECT_DOUBLE_EQ(data.z[0], 0.3);
  EXPECT_DOUBLE_EQ(data.z[1], 0.9);
  // g and B come back through their 5-decimal texts.
  EXPECT_DOUBLE_EQ(data.g[0], 0.12346);
  EXPECT_DOUBLE_EQ(data.B[0], 1.23456);
  EXPECT_EQ(data.targetIndex, 2);
}

TEST_F(AxisConversionTest, CancelAfterAConversionLeavesTheRecordExactly) {
  const CrystalData before = data;
  ScriptedPresenter<CAxisConversionDlg> presenter([](CAxisConversionDlg& dialog) {
    ConvertToOne(dialog);
    dialog.OnCancel();
    return false;
  });
  EXPECT_FALSE(Convert(presenter));
  ExpectSameRecord(data, before);
  EXPECT_EQ(results.sgSymbol, "P 1 1 21/a");
}

TEST_F(AxisConversionTest, ModesOfTheSpaceGroups) {
  EXPECT_EQ(AxisConversionModeOf(2), -1);
  EXPECT_EQ(AxisConversionModeOf(3), kMonoclinicMode);
  EXPECT_EQ(AxisConversionModeOf(15), kMonoclinicMode);
  EXPECT_EQ(AxisConversionModeOf(16), kOrthorhombicMode);
  EXPECT_EQ(AxisConversionModeOf(74), kOrthorhombicMode);
  EXPECT_EQ(AxisConversionModeOf(75), -1);
}

TEST_F(AxisConversionTest, ConvertToSettingWithoutAWindow) {
  ASSERT_TRUE(ConvertToSetting(1, data, results, kSettingTable, ui));
  EXPECT_EQ(data.settingNumber, 1);
  EXPECT_DOUBLE_EQ(data.beta, 100.0);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(AxisConversionTest, ConvertToSettingRefusals) {
  const CrystalData before = data;
  EXPECT_FALSE(ConvertToSetting(7, data, results, kSettingTable, ui));
  EXPECT_FALSE(ConvertToSetting(1, data, results, "/nonexistent/ABCTrans", ui));
  data.sgNumber = 62;
  EXPECT_FALSE(ConvertToSetting(3, data, results, kSettingTable, ui));
  data.sgNumber = 75;
  EXPECT_FALSE(ConvertToSetting(1, data, results, kSettingTable, ui));
  data.sgNumber = 14;
  ExpectSameRecord(data, before);
  EXPECT_EQ(ui.messages,
            (Strings{"Setting 7 not available !!!", "Table cannot open !!!", "Cannot Open !",
                     "#1 setting only available !!!", "Space group 75 has no axis settings !!!"}));
}

class FindSgNumberTest : public ::testing::Test {
 protected:
  FindSgNumberOutcome Find(const std::string& symbol) {
    return FindSgNumberCommand(symbol, data, results, kTabsg, kSettingTable, ui,
                               [this](int mode) { modes.push_back(mode); });
  }
  CrystalData data;
  CalculationResults results;
  RecordingUserInterface ui;
  std::vector<int> modes;
};

TEST_F(FindSgNumberTest, NoChangesNothing) {
  results.sgSymbol = "P 1";
  EXPECT_EQ(Find("P 21/c"), FindSgNumberOutcome::kDeclined);
  EXPECT_EQ(results.sgSymbol, "P 1");
  EXPECT_EQ(data.sgNumber, 0);
  EXPECT_EQ(ui.questions, Strings{"Do you rewrite SG symbol ?"});
  EXPECT_TRUE(modes.empty());
}

TEST_F(FindSgNumberTest, UnknownSymbolShowsBothMessages) {
  ui.yesNoAnswers = {true};
  EXPECT_EQ(Find("X 9"), FindSgNumberOutcome::kNotFound);
  EXPECT_EQ(results.sgSymbol, "X 9");
  EXPECT_EQ(data.sgNumber, 0);
  EXPECT_EQ(ui.messages,
            (Strings{"space group name not found !!!", "Space group number not found !!!"}));
  EXPECT_TRUE(modes.empty());
}

TEST_F(FindSgNumberTest, TheSpaceGroupTableOffersNoConversion) {
  ui.yesNoAnswers = {true};
  EXPECT_EQ(Find("P 1 1 21/b"), FindSgNumberOutcome::kRefreshForm);
  EXPECT_EQ(data.sgNumber, 14);
  EXPECT_EQ(data.settingNumber, 6);
  EXPECT_TRUE(modes.empty());
}

TEST_F(FindSgNumberTest, TheSettingTableOffersTheConversionOfItsMode) {
  ui.yesNoAnswers = {true, true, true};
  EXPECT_EQ(Find("P b n m"), FindSgNumberOutcome::kRefreshForm);
  EXPECT_EQ(data.sgNumber, 62);
  EXPECT_EQ(data.settingNumber, 3);
  data.sgNumber = 0;
  EXPECT_EQ(Find("P121/c1"), FindSgNumberOutcome::kRefreshForm);
  EXPECT_EQ(data.sgNumber, 14);
  EXPECT_EQ(data.settingNumber, 1);
  data.sgNumber = 0;
  EXPECT_EQ(Find("Pnma"), FindSgNumberOutcome::kRefreshForm);
  EXPECT_EQ(data.sgNumber, 62);
  EXPECT_EQ(data.settingNumber, 1);
  EXPECT_EQ(modes, (std::vector<int>{kOrthorhombicMode, kMonoclinicMode, kOrthorhombicMode}));
}

TEST_F(FindSgNumberTest, ANumberTheRecordHoldsStays) {
  ui.yesNoAnswers = {true};
  data.sgNumber = 14;
  data.settingNumber = 2;
  EXPECT_EQ(Find("X 9"), FindSgNumberOutcome::kRefreshForm);
  EXPECT_EQ(data.sgNumber, 14);
  EXPECT_EQ(data.settingNumber, 2);
  EXPECT_EQ(results.sgSymbol, "X 9");
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace braxel
