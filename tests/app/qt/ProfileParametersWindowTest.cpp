// The Profile Parameters window with its boxes and spins.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "settings/qt/ProfileParametersWindow.h"

namespace braxel {
namespace {

using Dlg = CProfileParametersDlg;

ProfileParameters Range(double start, double end) {
  ProfileParameters p;
  p.U = 0.01;
  p.twoThetaStart = start;
  p.twoThetaEnd = end;
  p.twoThetaStep = 0.02;
  return p;
}

TEST(ProfileParametersWindowTest, SpinsShowTheirNewPositionAndTypingDoesNotMoveThem) {
  Dlg dialog(Range(10, 155));
  ProfileParametersWindow window(dialog);
  QStringList frames;
  for (const QGroupBox* frame : window.findChildren<QGroupBox*>()) frames << frame->title();
  EXPECT_EQ(frames, (QStringList{"Profile", "X-ray", "Range"}));
  EXPECT_EQ(window.Box(Dlg::kU)->text(), "0.0100");
  EXPECT_EQ(window.Box(Dlg::kEnd)->text(), "155.00");
  QTest::keyClick(window.Spin(Dlg::kEndSpin), Qt::Key_Up);  // already at the top
  EXPECT_EQ(window.Box(Dlg::kEnd)->text(), "155.00");
  QTest::keyClick(window.Spin(Dlg::kEndSpin), Qt::Key_Down);
  EXPECT_EQ(window.Box(Dlg::kEnd)->text(), "140.00");
  QTest::keyClick(window.Spin(Dlg::kStepSpin), Qt::Key_Up);
  EXPECT_EQ(window.Box(Dlg::kStep)->text(), "0.030");
  window.Box(Dlg::kStart)->setText("55");
  QTest::keyClick(window.Spin(Dlg::kStartSpin), Qt::Key_Up);
  EXPECT_EQ(window.Box(Dlg::kStart)->text(), "20.00");
}

TEST(ProfileParametersWindowTest, OkReadsTheBoxesCancelLeavesTheParameters) {
  Dlg dialog(Range(10, 120));
  for (bool ok : {false, true}) {
    ProfileParametersWindow window(dialog);
    window.Box(Dlg::kU)->setText("letters");
    window.Box(Dlg::kEnd)->setText(" 90.5");
    ok ? window.accept() : window.reject();
    EXPECT_DOUBLE_EQ(dialog.parameters.U, ok ? 0.0 : 0.01);
    EXPECT_DOUBLE_EQ(dialog.parameters.twoThetaEnd, ok ? 90.5 : 120.0);
  }
}

TEST(ProfileParametersWindowTest, OkWithValuesThatMakeNoProfileSaysWhyAndStaysOpen) {
  Dlg dialog(Range(10, 120));
  ProfileParametersWindow window(dialog);
  window.Box(Dlg::kStep)->setText("1e-9");
  QString shown;
  QTimer::singleShot(0, [&shown] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    shown = box->text();
    box->accept();
  });
  window.accept();
  EXPECT_EQ(shown, "Step of 2theta (step) = 1e-09 is outside the accepted range 0.001 to 5 !!!");
  EXPECT_NE(window.result(), QDialog::Accepted);
  EXPECT_DOUBLE_EQ(dialog.parameters.twoThetaStep, 0.02);
}

}  // namespace
}  // namespace braxel
