#pragma once

#include <array>
#include <string>

#include "engine/ProfileParameters.h"

namespace braxel {

// The "Profile Parameters" dialog: its own copy of the ten parameters, the texts of its ten
// edit boxes and the three spins that step the 2theta range.
class CProfileParametersDlg {
 public:
  // The edit boxes, in the order of their frames "Profile", "X-ray" and "Range".
  enum Box {
    kU,
    kV,
    kW,
    kProfileCutoff,
    kGaussLorentz,
    kKa2Ratio,
    kMonoAngle,
    kStart,
    kEnd,
    kStep
  };
  static constexpr int kBoxCount = 10;
  enum Spin { kStartSpin, kEndSpin, kStepSpin };
  static constexpr int kSpinCount = 3;

  struct SpinControl {
    int minimum = 0;
    int maximum = 0;
    int position = 0;
  };

  explicit CProfileParametersDlg(const ProfileParameters& parameters) : parameters(parameters) {}

  // Writes every parameter into its box and sets the spins' ranges and positions.
  void OnInitDialog();
  // A spin moved to newPosition (kept within its range): its box shows that position's value.
  void OnSpinMoved(Spin spin, int newPosition);
  // Reads the ten boxes into the parameters; a text that is no number gives 0. Values that make
  // no profile (CheckProfileParameters) are refused: false with the message, and the parameters
  // stay as they were.
  bool OnOK(std::string& message);

  ProfileParameters parameters;
  std::array<std::string, kBoxCount> boxText;
  std::array<SpinControl, kSpinCount> spins;
};

}  // namespace braxel
