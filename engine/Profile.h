#pragma once

#include <span>
#include <string>
#include <vector>

#include "engine/ProfileParameters.h"
#include "engine/Reflection.h"
#include "platform/FileReplace.h"

namespace braxel {

// One grid point of the powder profile, both values already rounded as the point lines
// "%6.2lf  %20.10lf" hold them, so the pattern file gets the header and scaling it always had.
struct ProfilePoint {
  double twoTheta = 0.0;
  double y = 0.0;
};

// The profile's 2theta grid is twoThetaStart, twoThetaStart + step, ... up to twoThetaEnd by
// repeated addition. The first point is always there; a step that does not advance the angle
// gives that point alone, and no grid goes beyond kMaxProfilePoints points. This is its last
// point.
double LastGridPoint(const ProfileParameters& profile);

// Sums the pseudo-Voigt peaks of the first count entries on the grid.
std::vector<ProfilePoint> ComputeProfile(std::span<const Reflection> entries, int count,
                                         const ProfileParameters& profile);

// Writes the pattern file into pattern, which replaces the old file only when committed: the
// grid (point count, first 2theta and step), every point scaled to the strongest (1000), and
// the positions of entries firstReported..lastReported (1-based) as markers. 0, or -1 with
// "%s file not create !!!" and the pattern file's path in runMessage.
int WritePatternFile(std::span<const ProfilePoint> points, double step, FileReplacement& pattern,
                     std::span<const Reflection> entries, int firstReported, int lastReported,
                     std::string& runMessage);

}  // namespace braxel
