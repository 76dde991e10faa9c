#include "pattern/PlotAxes.h"

#include <algorithm>
#include <cmath>

namespace braxel {

AxisTicks MakeTicks(AxisRange range, int maxTicks) {
  AxisTicks ticks;
  const double width = range.Width();
  // Ticks of a range far narrower than its distance from 0 would be counted beyond the precision
  // of a double, and those of a range without width never.
  const double size = std::max(std::fabs(range.low), std::fabs(range.high));
  if (!(width > 0.0) || !std::isfinite(width) || width < size * 1e-9 || maxTicks < 2) return ticks;
  // Start one decade below the width divided evenly and take the first step that fits.
  double decade = std::pow(10.0, std::floor(std::log10(width / maxTicks)));
  if (!(decade > 0.0)) return ticks;
  constexpr double kMultipliers[] = {1.0, 2.0, 5.0};
  while (true) {
    for (double multiplier : kMultipliers) {
      const double step = multiplier * decade;
      const double first = std::ceil(range.low / step - 1e-9);
      const double last = std::floor(range.high / step + 1e-9);
      if (last - first + 1 <= maxTicks) {
        ticks.step = step;
        for (double k = first; k <= last; ++k) {
          const double value = k * step;
          ticks.values.push_back(std::abs(value) < step * 1e-9 ? 0.0 : value);
        }
        ticks.decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
        return ticks;
      }
    }
    decade *= 10.0;
  }
}

AxisRange FullTwoThetaRange(const Pattern& pattern) {
  const double first = pattern.firstTwoTheta;
  const double last = pattern.LastTwoTheta();
  if (last > first) return {first, last};
  return {first - 1.0, first + 1.0};
}

AxisRange IntensityRange(const Pattern& pattern, AxisRange twoTheta) {
  int lowest = 0;
  int highest = 0;
  for (std::size_t i = 0; i < pattern.intensities.size(); ++i) {
    const double angle = pattern.TwoThetaAt(i);
    if (angle < twoTheta.low || angle > twoTheta.high) continue;
    lowest = std::min(lowest, pattern.intensities[i]);
    highest = std::max(highest, pattern.intensities[i]);
  }
  if (highest <= lowest) highest = lowest + 1;
  return {static_cast<double>(lowest), lowest + (highest - lowest) * 1.05};
}

std::optional<AxisRange> DraggedRange(double from, double to, AxisRange whole,
                                      double minimumWidth) {
  const double low = std::max(std::min(from, to), whole.low);
  const double high = std::min(std::max(from, to), whole.high);
  if (high - low < minimumWidth) return std::nullopt;
  return AxisRange{low, high};
}

}  // namespace braxel
