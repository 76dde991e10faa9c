#pragma once

#include <optional>
#include <vector>

#include "pattern/PatternFile.h"

namespace braxel {

struct AxisRange {
  double low = 0.0;
  double high = 1.0;
  double Width() const { return high - low; }
};

// Tick marks at multiples of a step of 1, 2 or 5 times a power of ten.
struct AxisTicks {
  double step = 1.0;
  std::vector<double> values;  // every multiple of step inside the range, ascending
  int decimals = 0;            // enough to tell neighbouring ticks apart
};

// The finest such step that gives at most maxTicks ticks in the range (maxTicks >= 2); none for
// a range without a finite width or narrower than a billionth of its distance from 0.
AxisTicks MakeTicks(AxisRange range, int maxTicks);

// The whole 2theta range of the pattern; a single point gets one degree on either side.
AxisRange FullTwoThetaRange(const Pattern& pattern);

// The intensity range for the points inside a 2theta range: from 0 (or the lowest value when
// it is negative) to the highest value with a little room above it.
AxisRange IntensityRange(const Pattern& pattern, AxisRange twoTheta);

// The range dragged over from one 2theta to another, in either direction, cut to the whole
// range; nothing when what is left is narrower than minimumWidth (a click rather than a drag).
std::optional<AxisRange> DraggedRange(double from, double to, AxisRange whole, double minimumWidth);

}  // namespace braxel
