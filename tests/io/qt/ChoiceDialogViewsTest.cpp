// The chooser windows under an offscreen platform, driven as a user drives them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <functional>

#include "io/qt/ChoiceDialogViews.h"
#include "support/RecordingUserInterface.h"

namespace braxel {
namespace {

// Runs the user's steps once the modal window is up.
void WhenShown(std::function<void(QDialog&)> steps) {
  QTimer::singleShot(
      0, [steps] { steps(*qobject_cast<QDialog*>(QApplication::activeModalWidget())); });
}

void TypeAndPress(QDialog& dialog, const char* number, const char* button) {
  if (number) dialog.findChild<QLineEdit*>("whichNumber")->setText(number);
  dialog.findChild<QPushButton*>(button)->click();
}

TEST(ChoiceDialogViewsTest, ChoosersListTheItemsAndCloseOnlyOnAListedNumber) {
  testing::RecordingUserInterface ui;
  CIcsdEntryDlg entries(ui);
  entries.entryCount = 3;
  entries.formulas = {"", "Na Cl", "Si O2", "Al2 O3"};
  IcsdEntryDialogView entryView;
  WhenShown([](QDialog& d) {
    auto* list = d.findChild<QTableWidget*>("choiceList");
    EXPECT_EQ(list->rowCount(), 35);
    EXPECT_EQ(list->item(1, 1)->text(), "Si O2");
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8(CIcsdEntryDlg::kCaption));
    TypeAndPress(d, nullptr, "ok");  // nothing typed: the window stays
    TypeAndPress(d, "9", "ok");
    emit list->cellDoubleClicked(2, 0);
    TypeAndPress(d, nullptr, "ok");
  });
  ASSERT_TRUE(entryView.RunModal(entries));
  EXPECT_EQ(entries.chosenEntry, 3);
  EXPECT_EQ(ui.messages, (std::vector<std::string>{"Number not selected !!!",
                                                   "Number must be from 1 to 3 !!!"}));

  CExpoSolutionDlg solutions(ui);
  solutions.solutionCount = 2;
  ExpoSolutionDialogView solutionView;
  WhenShown([](QDialog& d) { TypeAndPress(d, "2", "ok"); });
  ASSERT_TRUE(solutionView.RunModal(solutions));
  EXPECT_EQ(solutions.chosenSolution, 1);
  WhenShown([](QDialog& d) { TypeAndPress(d, "1", "cancel"); });
  EXPECT_FALSE(solutionView.RunModal(solutions));
}

}  // namespace
}  // namespace braxel
