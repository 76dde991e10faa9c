#include <gtest/gtest.h>

#include "settings/ProfileParametersDlg.h"

namespace braxel {
namespace {

using Dlg = CProfileParametersDlg;

ProfileParameters Laboratory() {
  ProfileParameters p;
  p.U = 0.01;
  p.V = -0.01;
  p.W = 0.01;
  p.profileCutoff = 10;
  p.ka2Ratio = 0.5;
  p.monoAngle = 26.6;
  p.gaussLorentz = 0.5;
  p.twoThetaStart = 10;
  p.twoThetaEnd = 120;
  p.twoThetaStep = 0.02;
  return p;
}

TEST(ProfileParametersDlgTest, OpensWithTheFormattedValuesAndTheSpinPositions) {
  Dlg dialog(Laboratory());
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.boxText, (std::array<std::string, Dlg::kBoxCount>{
                                "0.0100", "-0.0100", "0.0100", "10.0000", "0.5000", "0.5000",
                                "26.6000", "10.00", "120.00", "0.020"}));
  EXPECT_EQ(dialog.spins[Dlg::kStartSpin].position, 1);
  EXPECT_EQ(dialog.spins[Dlg::kEndSpin].position, 12);
  EXPECT_EQ(dialog.spins[Dlg::kStepSpin].position, 2);
  EXPECT_EQ(dialog.spins[Dlg::kStartSpin].maximum, 15);
  EXPECT_EQ(dialog.spins[Dlg::kStepSpin].minimum, 1);
  EXPECT_EQ(dialog.spins[Dlg::kStepSpin].maximum, 100);
}

TEST(ProfileParametersDlgTest, PositionsAreTruncatedAndKeptInRange) {
  ProfileParameters p = Laboratory();
  p.twoThetaStart = 19.9;
  p.twoThetaEnd = 155;
  p.twoThetaStep = 0.29;  // 28.999... hundredths in binary
  Dlg dialog(p);
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.boxText[Dlg::kEnd], "155.00");
  EXPECT_EQ(dialog.spins[Dlg::kStartSpin].position, 1);
  EXPECT_EQ(dialog.spins[Dlg::kEndSpin].position, 15);
  EXPECT_EQ(dialog.spins[Dlg::kStepSpin].position, 29);

  p.twoThetaEnd = 400;
  p.twoThetaStep = 0.001;
  Dlg outside(p);
  outside.OnInitDialog();
  EXPECT_EQ(outside.spins[Dlg::kEndSpin].position, 15);
  EXPECT_EQ(outside.spins[Dlg::kStepSpin].position, 1);
  EXPECT_EQ(outside.boxText[Dlg::kStep], "0.001");
}

TEST(ProfileParametersDlgTest, SpinMoveShowsTheValueOfTheNewPosition) {
  Dlg dialog(Laboratory());
  dialog.OnInitDialog();
  dialog.OnSpinMoved(Dlg::kStartSpin, 2);
  EXPECT_EQ(dialog.boxText[Dlg::kStart], "20.00");
  dialog.OnSpinMoved(Dlg::kEndSpin, 15);
  EXPECT_EQ(dialog.boxText[Dlg::kEnd], "150.00");
  dialog.OnSpinMoved(Dlg::kStepSpin, 100);
  EXPECT_EQ(dialog.boxText[Dlg::kStep], "1.000");
  dialog.OnSpinMoved(Dlg::kStepSpin, 0);  // below the range
  EXPECT_EQ(dialog.spins[Dlg::kStepSpin].position, 1);
  EXPECT_EQ(dialog.boxText[Dlg::kStep], "0.010");
  // The parameters change only on OK.
  EXPECT_DOUBLE_EQ(dialog.parameters.twoThetaStart, 10.0);
  dialog.OnOK();
  EXPECT_DOUBLE_EQ(dialog.parameters.twoThetaStart, 20.0);
  EXPECT_DOUBLE_EQ(dialog.parameters.twoThetaEnd, 150.0);
  EXPECT_DOUBLE_EQ(dialog.parameters.twoThetaStep, 0.01);
}

TEST(ProfileParametersDlgTest, OkTakesEveryBoxAsANumberAndLettersAsZero) {
  Dlg dialog(Laboratory());
  dialog.OnInitDialog();
  dialog.boxText[Dlg::kU] = "abc";
  dialog.boxText[Dlg::kMonoAngle] = " 12.5xyz";
  dialog.boxText[Dlg::kV] = "";
  dialog.OnOK();
  EXPECT_DOUBLE_EQ(dialog.parameters.U, 0.0);
  EXPECT_DOUBLE_EQ(dialog.parameters.V, 0.0);
  EXPECT_DOUBLE_EQ(dialog.parameters.W, 0.01);
  EXPECT_DOUBLE_EQ(dialog.parameters.monoAngle, 12.5);
  EXPECT_DOUBLE_EQ(dialog.parameters.profileCutoff, 10.0);
  EXPECT_DOUBLE_EQ(dialog.parameters.twoThetaStep, 0.02);
}

}  // namespace
}  // namespace braxel
