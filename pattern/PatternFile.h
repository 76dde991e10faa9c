#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace braxel {

// A powder pattern as the pattern file holds it: intensities on an even 2theta grid, scaled so
// that the highest is 1000, and the 2theta of every reported reflection.
struct Pattern {
  double firstTwoTheta = 0.0;
  double step = 0.0;
  std::vector<int> intensities;
  std::vector<double> markers;

  double TwoThetaAt(std::size_t point) const {
    return firstTwoTheta + step * static_cast<double>(point);
  }
  double LastTwoTheta() const {
    return intensities.empty() ? firstTwoTheta : TwoThetaAt(intensities.size() - 1);
  }
};

// The file's numbers, read as blank-separated words in any line layout: the header "M first
// step", M intensities, the reflection count R and R marker angles. Angles beyond 360 degrees
// and steps below 0.0001 are refused. False with a message naming the path and the first thing
// wrong; pattern is then left as it was.
bool ReadPatternFile(const std::string& path, Pattern& pattern, std::string& message);

}  // namespace braxel
