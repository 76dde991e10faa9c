#include "engine/ProfileParameters.h"

#include <array>
#include <cmath>
#include <limits>

#include "platform/TextInput.h"

namespace braxel {
namespace {

constexpr double kAny = std::numeric_limits<double>::max();

// Each field as the Profile Parameters dialog labels it and the settings file keys it, with the
// values it accepts.
struct Parameter {
  const char* name;
  double ProfileParameters::*value;
  double low;
  double high;
};

constexpr std::array<Parameter, 10> kParameters = {{
    {"U (u)", &ProfileParameters::U, -kAny, kAny},
    {"V (v)", &ProfileParameters::V, -kAny, kAny},
    {"W (w)", &ProfileParameters::W, -kAny, kAny},
    {"Profile Cutoff (pc)", &ProfileParameters::profileCutoff, -kAny, kAny},
    {"Ka2/Ka2 Ratio (r12)", &ProfileParameters::ka2Ratio, -kAny, kAny},
    {"MonoChro. Angel (al)", &ProfileParameters::monoAngle, -kAny, kAny},
    {"Gauss/Lorentz (yeta)", &ProfileParameters::gaussLorentz, -kAny, kAny},
    {"Start of 2theta (angmin)", &ProfileParameters::twoThetaStart, kMinTwoTheta, kMaxTwoTheta},
    {"End of 2theta (angmax)", &ProfileParameters::twoThetaEnd, kMinTwoTheta, kMaxTwoTheta},
    {"Step of 2theta (step)", &ProfileParameters::twoThetaStep, kMinTwoThetaStep, kMaxTwoThetaStep},
}};

}  // namespace

int CheckProfileParameters(const ProfileParameters& profile, std::string& message) {
  for (const Parameter& field : kParameters) {
    const double value = profile.*field.value;
    if (!std::isfinite(value)) {
      message = FormatText("%s = %g is not a number !!!", field.name, value);
      return -1;
    }
    if (value < field.low || value > field.high) {
      message = FormatText("%s = %g is outside the accepted range %g to %g !!!", field.name, value,
                           field.low, field.high);
      return -1;
    }
  }
  if (!(profile.twoThetaStart < profile.twoThetaEnd)) {
    message = FormatText("%s = %g is not below %s = %g (accepted: %g <= start < end <= %g) !!!",
                         kParameters[7].name, profile.twoThetaStart, kParameters[8].name,
                         profile.twoThetaEnd, kMinTwoTheta, kMaxTwoTheta);
    return -1;
  }
  return 0;
}

}  // namespace braxel
