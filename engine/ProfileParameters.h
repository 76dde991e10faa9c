#pragma once

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

}  // namespace braxel
