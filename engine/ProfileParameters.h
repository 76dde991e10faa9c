#pragma once

#include <cstddef>
#include <string>

namespace braxel {

// Peak shape and range of a run. Angles in degrees, monoAngle included.
struct ProfileParameters {
  double U = 0.0;
  double V = 0.0;
  double W = 0.0;
  double profileCutoff = 0.0;
  double ka2Ratio = 0.0;
  double monoAngle = 0.0;
  double gaussLorentz = 0.0;
  double twoThetaStart = 0.0;
  double twoThetaEnd = 0.0;
  double twoThetaStep = 0.0;
};

// The profile grids a run accepts: 0 <= start < end <= 180 degrees at a step from 0.001 to 5
// degrees, so that no grid holds more than kMaxProfilePoints points (a few megabytes).
inline constexpr double kMinTwoTheta = 0.0;
inline constexpr double kMaxTwoTheta = 180.0;
inline constexpr double kMinTwoThetaStep = 0.001;
inline constexpr double kMaxTwoThetaStep = 5.0;
inline constexpr std::size_t kMaxProfilePoints = 200000;

// 0 when the parameters make a profile; -1 with a message naming the value and the accepted
// range otherwise: a value that is no finite number, or a grid outside the bounds above.
int CheckProfileParameters(const ProfileParameters& profile, std::string& message);

}  // namespace braxel
