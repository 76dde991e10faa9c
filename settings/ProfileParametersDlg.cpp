#include "settings/ProfileParametersDlg.h"

#include <algorithm>
#include <cmath>

#include "platform/TextInput.h"

namespace braxel {
namespace {

struct BoxField {
  double ProfileParameters::*field;
  const char* format;
};

constexpr std::array<BoxField, CProfileParametersDlg::kBoxCount> kBoxFields = {{
    {&ProfileParameters::U, "%6.4f"},
    {&ProfileParameters::V, "%6.4f"},
    {&ProfileParameters::W, "%6.4f"},
    {&ProfileParameters::profileCutoff, "%6.4f"},
    {&ProfileParameters::gaussLorentz, "%6.4f"},
    {&ProfileParameters::ka2Ratio, "%6.4f"},
    {&ProfileParameters::monoAngle, "%6.4f"},
    {&ProfileParameters::twoThetaStart, "%5.2f"},
    {&ProfileParameters::twoThetaEnd, "%6.2f"},
    {&ProfileParameters::twoThetaStep, "%5.3f"},
}};

// Start and end move in steps of 10 degrees, the step in hundredths of a degree.
constexpr std::array<CProfileParametersDlg::Box, CProfileParametersDlg::kSpinCount> kSpinBox = {
    CProfileParametersDlg::kStart, CProfileParametersDlg::kEnd, CProfileParametersDlg::kStep};
constexpr std::array<double, CProfileParametersDlg::kSpinCount> kSpinUnit = {10.0, 10.0, 0.01};
constexpr std::array<int, CProfileParametersDlg::kSpinCount> kSpinMinimum = {0, 0, 1};
constexpr std::array<int, CProfileParametersDlg::kSpinCount> kSpinMaximum = {15, 15, 100};

// The truncated position of a value; a value such as 0.29 is 28.999... hundredths in binary and
// must still give 29.
int PositionOf(double value, double unit) {
  const double units = value / unit;
  if (!std::isfinite(units)) return 0;
  return static_cast<int>(std::trunc(std::clamp(units, -1e6, 1e6) + 1e-9));
}

}  // namespace

void CProfileParametersDlg::OnInitDialog() {
  for (std::size_t box = 0; box < kBoxFields.size(); ++box) {
    boxText[box] = FormatText(kBoxFields[box].format, parameters.*kBoxFields[box].field);
  }
  for (std::size_t spin = 0; spin < spins.size(); ++spin) {
    const double value = parameters.*kBoxFields[kSpinBox[spin]].field;
    spins[spin].minimum = kSpinMinimum[spin];
    spins[spin].maximum = kSpinMaximum[spin];
    spins[spin].position =
        std::clamp(PositionOf(value, kSpinUnit[spin]), kSpinMinimum[spin], kSpinMaximum[spin]);
  }
}

void CProfileParametersDlg::OnSpinMoved(Spin spin, int newPosition) {
  SpinControl& control = spins[spin];
  control.position = std::clamp(newPosition, control.minimum, control.maximum);
  const Box box = kSpinBox[spin];
  boxText[box] = FormatText(kBoxFields[box].format, control.position * kSpinUnit[spin]);
}

bool CProfileParametersDlg::OnOK(std::string& message) {
  ProfileParameters typed;
  for (std::size_t box = 0; box < kBoxFields.size(); ++box) {
    typed.*kBoxFields[box].field = LeadingDouble(boxText[box]);
  }
  if (CheckProfileParameters(typed, message) != 0) return false;
  parameters = typed;
  return true;
}

}  // namespace braxel
