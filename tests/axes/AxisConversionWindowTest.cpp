// The Axis Conversion window on the offscreen platform: what it shows and what its clicks do.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <memory>
#include <string>

#include "axes/qt/AxisConversionWindow.h"
#include "support/RecordingUserInterface.h"

namespace braxel {
namespace {

const std::string kSettingTable = std::string(BRAXEL_DATA_DIR) + "/ABCTrans";

class AxisConversionWindowTest : public ::testing::Test {
 protected:
  AxisConversionWindowTest() {
    dialog.systemMode = kMonoclinicMode;
    dialog.tablePath = kSettingTable;
    dialog.sgNumberText = "14";
    dialog.settingText = "1";
    dialog.symbolIn = "P 21/c";
    dialog.uniqueAxis = "b";
    dialog.originalCell = {"   5.00000", "   6.00000", "   7.00000",
                           "  90.00000", " 100.00000", "  90.00000"};
    dialog.atomCount = 1;
    dialog.xIn[0] = "   0.10000";
    dialog.yIn[0] = "   0.20000";
    dialog.zIn[0] = "   0.30000";
  }
  void Open() {
    window = std::make_unique<AxisConversionWindow>(dialog);
    dialog.OnInitDialog();
    window->ShowView();
  }
  template <class Widget>
  Widget* Find(const char* name) {
    Widget* widget = window->findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QString EditText(const char* name) { return Find<QLineEdit>(name)->text(); }

  testing::RecordingUserInterface ui;
  CAxisConversionDlg dialog{ui};
  std::unique_ptr<AxisConversionWindow> window;
};

TEST_F(AxisConversionWindowTest, ShowsTheDialogPassesItsClicksAndClipsNothing) {
  Open();
  EXPECT_EQ(window->windowTitle(), "Axis Conversion");
  EXPECT_EQ(Find<QGroupBox>("systemGroup")->title(), "Monoclinic System");
  EXPECT_EQ(Find<QLabel>("convertedRowLabel")->text(),
            " #1      #2      #3      #4      #5      #6");
  EXPECT_TRUE(Find<QCheckBox>("original1")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>("original1")->isEnabled());
  EXPECT_EQ(EditText("standardSymbol"), "P 21/c    ");
  EXPECT_EQ(EditText("originalCell5"), " 100.00000");
  EXPECT_TRUE(Find<QLineEdit>("originalCell1")->isReadOnly());
  EXPECT_TRUE(Find<QPushButton>("ok")->isDefault());
  Find<QCheckBox>("converted4")->click();
  EXPECT_FALSE(Find<QCheckBox>("converted1")->isChecked());
  // Clicking the chosen box leaves it chosen.
  Find<QCheckBox>("converted4")->click();
  EXPECT_TRUE(Find<QCheckBox>("converted4")->isChecked());
  Find<QPushButton>("conversion")->click();
  EXPECT_EQ(EditText("convertedCell1"), "7.00000");
  EXPECT_EQ(EditText("convertedSymbol"), "P 1 1 21/a");
  EXPECT_TRUE(ui.messages.empty());

  // The orthorhombic rows, with the record's setting marked; every text fits its widget.
  dialog.systemMode = kOrthorhombicMode;
  dialog.sgNumberText = "62";
  dialog.symbolIn = "P b n m";
  Open();
  EXPECT_EQ(Find<QGroupBox>("systemGroup")->title(), "Orthorhombic System");
  EXPECT_EQ(Find<QLabel>("convertedRowLabel")->text(),
            "abc     ba-c    cab     -cba    bca     a-cb");
  EXPECT_TRUE(Find<QCheckBox>("original3")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>("original1")->isChecked());
  window->show();
  QApplication::processEvents();
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    if (qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget)) {
      EXPECT_GE(widget->width(), widget->sizeHint().width()) << widget->objectName().toStdString();
      EXPECT_GE(widget->height(), widget->sizeHint().height())
          << widget->objectName().toStdString();
    }
  }
  const QGroupBox* group = Find<QGroupBox>("systemGroup");
  EXPECT_GE(group->width(), group->fontMetrics().horizontalAdvance(group->title()));
}

TEST_F(AxisConversionWindowTest, ModalRunEndsWithOkOrCancel) {
  QtAxisConversionPresenter presenter(nullptr);
  QTimer::singleShot(0, [] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    modal->findChild<QPushButton*>("ok")->click();  // before any Conversion: stays open
    modal->findChild<QPushButton*>("conversion")->click();
    modal->findChild<QPushButton*>("ok")->click();
  });
  EXPECT_TRUE(presenter.RunModal(dialog));
  EXPECT_EQ(dialog.xOut[0], " 0.10000");
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Convert Axis, please !!!"});
  QTimer::singleShot(
      0, [] { QApplication::activeModalWidget()->findChild<QPushButton*>("cancel")->click(); });
  EXPECT_FALSE(presenter.RunModal(dialog));
}

}  // namespace
}  // namespace braxel
