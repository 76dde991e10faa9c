#include <gtest/gtest.h>

#include "settings/ProfileParametersDlg.h"

namespace braxel {
namespace {

using Dlg = CProfileParametersDlg;

Dlg Opened(double start, double end, double step) {
  ProfileParameters p;
  p.U = 0.01;
  p.V = -0.01;
  p.profileCutoff = 10;
  p.monoAngle = 26.6;
  p.twoThetaStart = start;
  p.twoThetaEnd = end;
  p.twoThetaStep = step;
  Dlg dialog(p);
  dialog.OnInitDialog();
  return dialog;
}

// Positions are truncated and kept in range; 0.29 is 28.999... hundredths in binary.
TEST(ProfileParametersDlgTest, OpensWithTheFormattedValuesAndTheSpinPositions) {
  EXPECT_EQ(Opened(10, 120, 0.02).boxText, (std::array<std::string, Dlg::kBoxCount>{
                                               "0.0100", "-0.0100", "0.0000", "10.0000", "0.0000",
                                               "0.0000", "26.6000", "10.00", "120.00", "0.020"}));
  const std::array<double, 6> cases[] = {
      {10, 120, 0.02, 1, 12, 2}, {19.9, 155, 0.29, 1, 15, 29}, {-20, 400, 0.001, 0, 15, 1}};
  for (const auto& [start, end, step, startPosition, endPosition, stepPosition] : cases) {
    const Dlg dialog = Opened(start, end, step);
    EXPECT_EQ(dialog.spins[Dlg::kStartSpin].position, startPosition) << start;
    EXPECT_EQ(dialog.spins[Dlg::kEndSpin].position, endPosition) << end;
    EXPECT_EQ(dialog.spins[Dlg::kStepSpin].position, stepPosition) << step;
    EXPECT_EQ(dialog.spins[Dlg::kEndSpin].maximum, 15);
    EXPECT_EQ(dialog.spins[Dlg::kStepSpin].minimum, 1);
    EXPECT_EQ(dialog.spins[Dlg::kStepSpin].maximum, 100);
  }
  EXPECT_EQ(Opened(0, 180, 0.001).boxText[Dlg::kStep], "0.001");
}

TEST(ProfileParametersDlgTest, SpinMoveShowsTheNewPositionAndOkReadsEveryBox) {
  Dlg dialog = Opened(10, 120, 0.02);
  dialog.OnSpinMoved(Dlg::kStartSpin, 2);
  EXPECT_EQ(dialog.boxText[Dlg::kStart], "20.00");
  dialog.OnSpinMoved(Dlg::kStepSpin, 100);
  EXPECT_EQ(dialog.boxText[Dlg::kStep], "1.000");
  dialog.OnSpinMoved(Dlg::kStepSpin, 0);  // below the range
  EXPECT_EQ(dialog.spins[Dlg::kStepSpin].position, 1);
  EXPECT_EQ(dialog.boxText[Dlg::kStep], "0.010");
  EXPECT_DOUBLE_EQ(dialog.parameters.twoThetaStart, 10.0);  // only OK changes them

  dialog.boxText[Dlg::kU] = "abc";
  dialog.boxText[Dlg::kV] = "";
  dialog.boxText[Dlg::kMonoAngle] = " 12.5xyz";
  std::string message;
  ASSERT_TRUE(dialog.OnOK(message)) << message;
  EXPECT_DOUBLE_EQ(dialog.parameters.U, 0.0);
  EXPECT_DOUBLE_EQ(dialog.parameters.V, 0.0);
  EXPECT_DOUBLE_EQ(dialog.parameters.monoAngle, 12.5);
  EXPECT_DOUBLE_EQ(dialog.parameters.profileCutoff, 10.0);
  EXPECT_DOUBLE_EQ(dialog.parameters.twoThetaStart, 20.0);
  EXPECT_DOUBLE_EQ(dialog.parameters.twoThetaStep, 0.01);
}

// Values that make no profile, or one beyond memory, are refused with the accepted range; the
// parameters stay as they were.
TEST(ProfileParametersDlgTest, OkRefusesValuesThatMakeNoProfile) {
  const std::pair<std::pair<Dlg::Box, const char*>, const char*> cases[] = {
      {{Dlg::kStep, "1e-5"},
       "Step of 2theta (step) = 1e-05 is outside the accepted range 0.001 to 5 !!!"},
      {{Dlg::kStep, "0"}, "Step of 2theta (step) = 0 is outside the accepted range 0.001 to 5 !!!"},
      {{Dlg::kEnd, "1e308"},
       "End of 2theta (angmax) = 1e+308 is outside the accepted range 0 to 180 !!!"},
      {{Dlg::kStart, "-1"},
       "Start of 2theta (angmin) = -1 is outside the accepted range 0 to 180 !!!"},
      {{Dlg::kStart, "120"},
       "Start of 2theta (angmin) = 120 is not below End of 2theta (angmax) = 120 (accepted: 0 <= "
       "start < end <= 180) !!!"},
      {{Dlg::kU, "nan"}, "U (u) = nan is not a number !!!"},
      {{Dlg::kGaussLorentz, "inf"}, "Gauss/Lorentz (yeta) = inf is not a number !!!"},
  };
  for (const auto& [typed, expected] : cases) {
    Dlg dialog = Opened(10, 120, 0.02);
    dialog.boxText[typed.first] = typed.second;
    std::string message;
    EXPECT_FALSE(dialog.OnOK(message)) << typed.second;
    EXPECT_EQ(message, expected);
    EXPECT_DOUBLE_EQ(dialog.parameters.twoThetaStep, 0.02);
    EXPECT_DOUBLE_EQ(dialog.parameters.U, 0.01);
  }
  // The widest grid is accepted.
  Dlg widest = Opened(0, 180, 0.001);
  std::string message;
  EXPECT_TRUE(widest.OnOK(message)) << message;
}

}  // namespace
}  // namespace braxel
