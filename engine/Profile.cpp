#include "engine/Profile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/TextInput.h"

namespace braxel {
namespace {

constexpr double kPi = 3.14159265;

// The value a "%.<decimals>f" line gives back when it is read again.
double AsWritten(double value, int decimals) {
  char text[400];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return std::strtod(text, nullptr);
}

// Pattern value of one point: truncated towards zero, 0 shown as 1. y / ymax is formed first so
// the strongest point gives exactly 1000; the floor keeps a wild negative tail inside int.
int PatternValue(double y, double ymax) {
  if (ymax <= 0.0) return 1;  // nothing above zero: a flat pattern rather than a division by 0
  const int value = static_cast<int>(std::max(-1.0e9, 1000.0 * (y / ymax)));
  return value == 0 ? 1 : value;
}

bool WritePattern(std::FILE* file, std::span<const ProfilePoint> points, double step,
                  std::span<const Reflection> entries, int firstReported, int lastReported) {
  const double first = points.empty() ? 0.0 : points.front().twoTheta;
  double ymax = 0.0;
  for (const ProfilePoint& point : points) {
    if (point.y >= ymax) ymax = point.y;
  }
  std::fprintf(file, "%4d     %8.4f    %8.4f\n", static_cast<int>(points.size()), first, step);
  for (std::size_t k = 1; k <= points.size(); ++k) {
    std::fprintf(file, "%8d", PatternValue(points[k - 1].y, ymax));
    if (k % 10 == 0) std::fputc('\n', file);
  }
  std::fputc('\n', file);
  // A start above the end leaves no entry in range; the count then says so instead of < 0.
  std::fprintf(file, "%4d\n", std::max(0, lastReported - firstReported + 1));
  for (int i = firstReported; i <= lastReported; ++i) {
    std::fprintf(file, "%10.5lf", entries[static_cast<std::size_t>(i - 1)].twoTheta);
    if (i % 10 == 0) std::fputc('\n', file);
  }
  std::fputc('\n', file);
  return std::ferror(file) == 0;
}

}  // namespace

std::vector<ProfilePoint> ComputeProfile(std::span<const Reflection> entries, int count,
                                         const ProfileParameters& profile) {
  std::vector<double> grid;
  for (double twoTheta = profile.twoThetaStart;;) {
    grid.push_back(twoTheta);
    const double next = twoTheta + profile.twoThetaStep;
    // A step that does not advance would never reach the end.
    if (grid.size() == kMaxProfilePoints || !(next > twoTheta) || !(next <= profile.twoThetaEnd)) {
      break;
    }
    twoTheta = next;
  }
  const double ln2 = std::log(2.0);
  const double gaussNorm = 2.0 * std::sqrt(ln2 / kPi);
  const double eta = profile.gaussLorentz;
  // Each peak is spread over the points within its cutoff only. Entries are added to every
  // point in list order, so each sum is formed exactly as a walk over all entries would.
  std::vector<double> y(grid.size(), 0.0);
  for (const Reflection& entry : entries.first(static_cast<std::size_t>(count))) {
    // A zero width (U = V = W = 0) is no peak to spread: it would only divide by zero.
    if (entry.fwhm <= 0.0) continue;
    const double reach = profile.profileCutoff * entry.fwhm;
    auto first = grid.begin();
    auto last = grid.end();
    if (std::isfinite(reach)) {  // a NaN width reaches everywhere, as the test below lets it
      const double margin = std::fabs(reach) * 1e-9 + 1e-9;  // never narrower than the test
      first = std::lower_bound(grid.begin(), grid.end(), entry.twoTheta - reach - margin);
      last = std::upper_bound(first, grid.end(), entry.twoTheta + reach + margin);
    }
    for (auto point = first; point != last; ++point) {
      const double delta = *point - entry.twoTheta;
      if (std::fabs(delta) > reach) continue;
      const double x = delta / entry.fwhm;
      const double gauss = gaussNorm / entry.fwhm * std::exp(-4.0 * ln2 * x * x);
      const double lorentz = 2.0 / (kPi * entry.fwhm * (1.0 + 4.0 * x * x));
      y[static_cast<std::size_t>(point - grid.begin())] +=
          (eta * lorentz + (1.0 - eta) * gauss) * entry.iCalc;
    }
  }
  std::vector<ProfilePoint> points(grid.size());
  for (std::size_t k = 0; k < grid.size(); ++k) {
    points[k] = {AsWritten(grid[k], 2), AsWritten(y[k], 10)};
  }
  return points;
}

int WritePatternFile(std::span<const ProfilePoint> points, double step, FileReplacement& pattern,
                     std::span<const Reflection> entries, int firstReported, int lastReported,
                     std::string& runMessage) {
  if (!pattern.Write([&](std::FILE* file) {
        return WritePattern(file, points, step, entries, firstReported, lastReported);
      })) {
    runMessage = FormatText("%s file not create !!!", pattern.Path().c_str());
    return -1;
  }
  return 0;
}

}  // namespace braxel
