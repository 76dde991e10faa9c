// The axis conversion of the form's record, through the dialog or without a window, and Find SG
// Number.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CrystalData.h"
#include "axes/AxisConversion.h"
#include "io/InpFile.h"
#include "support/ImportFixture.h"
#include "support/ScriptedPresenter.h"

namespace braxel {
namespace {

using testing::RecordText;
using testing::ScriptedPresenter;
using Strings = std::vector<std::string>;

const std::string kTabsg = BRAXEL_DATA_DIR "/tabsg";
const std::string kSettingTable = BRAXEL_DATA_DIR "/ABCTrans";
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
