// The chooser windows under an offscreen platform, driven as a user drives them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include "io/qt/ChoiceDialogViews.h"
#include "support/RecordingUserInterface.h"

namespace braxel {
namespace {

// Runs the steps one after the other once the modal window is up.
void WhenShown(std::vector<std::function<void(QDialog&)>> steps) {
  QTimer::singleShot(0, [steps = std::move(steps)]() mutable {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    for (auto& step : steps) step(*dialog);
  });
}

void Type(QDialog& dialog, const char* text) {
  dialog.findChild<QLineEdit*>("whichNumber")->setText(text);
}
void Press(QDialog& dialog, const char* button) { dialog.findChild<QPushButton*>(button)->click(); }

TEST(ChoiceDialogViewsTest, EntryChooserShowsTheEntriesAndTakesADoubleClickedRow) {
  testing::RecordingUserInterface ui;
  CIcsdEntryDlg dialog(ui);
  dialog.entryCount = 3;
  dialog.formulas[1] = "Na Cl";
  dialog.formulas[2] = "Si O2";
  dialog.formulas[3] = "Al2 O3";
  IcsdEntryDialogView view;
  int rows = 0;
  QString second, caption;
  WhenShown({[&](QDialog& d) {
    auto* list = d.findChild<QTableWidget*>("choiceList");
    rows = list->rowCount();
    second = list->item(1, 1)->text();
    caption = d.windowTitle();
    Press(d, "ok");  // nothing typed: refused, the window stays
    Type(d, "9");
    Press(d, "ok");
    emit list->cellDoubleClicked(2, 0);
    Press(d, "ok");
  }});
  ASSERT_TRUE(view.RunModal(dialog));
  EXPECT_EQ(rows, 35);
  EXPECT_EQ(second, "Si O2");
  EXPECT_EQ(caption, QString::fromUtf8(CIcsdEntryDlg::kCaption));
  EXPECT_EQ(dialog.chosenEntry, 3);
  EXPECT_EQ(ui.messages, (std::vector<std::string>{"Number not selected !!!",
                                                   "Number must be from 1 to 3 !!!"}));
}

TEST(ChoiceDialogViewsTest, SolutionChooserOkAndCancel) {
  testing::RecordingUserInterface ui;
  CExpoSolutionDlg dialog(ui);
  dialog.solutionCount = 2;
  dialog.rwValues = {"0.21", "0.18"};
  ExpoSolutionDialogView view;
  WhenShown({[](QDialog& d) {
    Type(d, "2");
    Press(d, "ok");
  }});
  ASSERT_TRUE(view.RunModal(dialog));
  EXPECT_EQ(dialog.chosenSolution, 1);
  WhenShown({[](QDialog& d) { Press(d, "cancel"); }});
  EXPECT_FALSE(view.RunModal(dialog));
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace braxel

// Offscreen unless another platform is asked for, also when the tests are only listed.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
