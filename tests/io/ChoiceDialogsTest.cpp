#include <gtest/gtest.h>

#include "io/ChoiceDialogs.h"
#include "support/RecordingUserInterface.h"

namespace braxel {
namespace {

TEST(ChoiceDialogsTest, EntryChooserRowsDoubleClickAndOk) {
  testing::RecordingUserInterface ui;
  CIcsdEntryDlg dialog(ui);
  dialog.entryCount = 2;
  dialog.formulas[1] = "Na Cl";
  dialog.formulas[2] = "Si O2";
  const std::vector<ChoiceRow> rows = dialog.Rows();
  ASSERT_EQ(rows.size(), 35u);
  EXPECT_EQ(rows[1].number, " 2");
  EXPECT_EQ(rows[1].text, "Si O2");
  EXPECT_EQ(rows[2].text, "");

  EXPECT_FALSE(dialog.OnOk());
  dialog.numberText = "3";
  EXPECT_FALSE(dialog.OnOk());
  EXPECT_EQ(ui.messages, (std::vector<std::string>{"Number not selected !!!",
                                                   "Number must be from 1 to 2 !!!"}));
  dialog.OnDoubleClickRow(1);
  EXPECT_EQ(dialog.numberText, " 2");
  ASSERT_TRUE(dialog.OnOk());
  EXPECT_EQ(dialog.chosenEntry, 2);
}

TEST(ChoiceDialogsTest, SolutionChooserCountsFromZero) {
  testing::RecordingUserInterface ui;
  CExpoSolutionDlg dialog(ui);
  dialog.solutionCount = 1;
  dialog.rwValues[0] = "0.21";
  const std::vector<ChoiceRow> rows = dialog.Rows();
  ASSERT_EQ(rows.size(), 80u);
  EXPECT_EQ(rows[0].number, " 1");
  EXPECT_EQ(rows[79].number, "");
  dialog.numberText = "-1";
  EXPECT_FALSE(dialog.OnOk());
  dialog.numberText = "1";
  ASSERT_TRUE(dialog.OnOk());
  EXPECT_EQ(dialog.chosenSolution, 0);
}

}  // namespace
}  // namespace braxel
