#include "engine/Profile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "engine/DecimalText.h"
#include "platform/FileReplace.h"
#include "platform/TextInput.h"

namespace braxel {
namespace {

constexpr double kPi = 3.14159265;

// Pattern value of one point: truncated towards zero, 0 shown as 1. y / ymax is formed first so
// the strongest point gives exactly 1000; the floor keeps a wild negative tail inside int.
int PatternValue(double y, double ymax) {
  if (ymax <= 0.0) return 1;  // nothing above zero: a flat pattern rather than a division by 0
  const int value = static_cast<int>(std::max(-1.0e9, 1000.0 * (y / ymax)));
  return value == 0 ? 1 : value;
}

// Text is handed to the file in pieces of this size, not kept whole.
constexpr std::size_t kChunk = 16384;

bool WritePattern(std::FILE* file, std::span<const ProfilePoint> points, double step,
                  std::span<const Reflection> entries, int firstReported, int lastReported) {
  const double first = points.empty() ? 0.0 : points.front().twoTheta;
  double ymax = 0.0;
  for (const ProfilePoint& point : points) {
    if (point.y >= ymax) ymax = point.y;
  }
  std::fprintf(file, "%4d     %8.4f    %8.4f\n", static_cast<int>(points.size()), first, step);
  std::string text;
  for (std::size_t k = 1; k <= points.size(); ++k) {
    AppendInteger(text, PatternValue(points[k - 1].y, ymax), 8);  // "%8d"
    if (k % 10 == 0) text += '\n';
    if (text.size() > kChunk) {
      std::fputs(text.c_str(), file);
      text.clear();
    }
  }
  text += '\n';
  // A start above the end leaves no entry in range; the count then says so instead of < 0.
  AppendInteger(text, std::max(0, lastReported - firstReported + 1), 4);  // "%4d\n"
  text += '\n';
  for (int i = firstReported; i <= lastReported; ++i) {
    AppendFixed(text, entries[static_cast<std::size_t>(i - 1)].twoTheta, 10, 5);  // "%10.5lf"
    if (i % 10 == 0) text += '\n';
  }
  text += '\n';
  std::fputs(text.c_str(), file);
  return std::ferror(file) == 0;
}

// The grid point after twoTheta, the count-th, by repeated addition of the step, or nothing
// after the last.
std::optional<double> NextGridPoint(double twoTheta, std::size_t count,
                                    const ProfileParameters& profile) {
  const double next = twoTheta + profile.twoThetaStep;
  // A step that does not advance would never reach the end.
  if (count >= kMaxProfilePoints || !(next > twoTheta) || !(next <= profile.twoThetaEnd)) {
    return std::nullopt;
  }
  return next;
}

}  // namespace

double LastGridPoint(const ProfileParameters& profile) {
  double twoTheta = profile.twoThetaStart;
  for (std::size_t count = 1;
       const std::optional<double> next = NextGridPoint(twoTheta, count, profile); ++count) {
    twoTheta = *next;
  }
  return twoTheta;
}

std::vector<ProfilePoint> ComputeProfile(std::span<const Reflection> entries, int count,
                                         const ProfileParameters& profile) {
  std::vector<ProfilePoint> points;
  // Room for the whole grid at once (one point more than the even count may give).
  const double span = (profile.twoThetaEnd - profile.twoThetaStart) / profile.twoThetaStep;
  if (span >= 0.0 && span < kMaxProfilePoints) points.reserve(static_cast<std::size_t>(span) + 2);
  for (std::optional<double> twoTheta = profile.twoThetaStart; twoTheta;
       twoTheta = NextGridPoint(*twoTheta, points.size(), profile)) {
    points.push_back({*twoTheta, 0.0});
  }
  const double ln2 = std::log(2.0);
  const double gaussNorm = 2.0 * std::sqrt(ln2 / kPi);
  const double gaussExponent = -4.0 * ln2;
  const double eta = profile.gaussLorentz;
  // Where its exponent falls below this the Gauss part is under 1e-21 of its height, far below
  // the ten decimals a point keeps; a pure Lorentz peak has none.
  const double negligibleExponent = eta == 1.0 ? 0.0 : -48.0;
  // Each peak is spread over the points within its cutoff only. Entries are added to every
  // point in list order, so each sum is formed exactly as a walk over all entries would.
  for (const Reflection& entry : entries.first(static_cast<std::size_t>(count))) {
    // A zero width (U = V = W = 0) is no peak to spread: it would only divide by zero.
    if (entry.fwhm <= 0.0) continue;
    const double reach = profile.profileCutoff * entry.fwhm;
    const double inverseWidth = 1.0 / entry.fwhm;
    const double lorentzWidth = kPi * entry.fwhm;
    const double iCalc = entry.iCalc;
    const auto delta = [&](const ProfilePoint& point) { return point.twoTheta - entry.twoTheta; };
    const auto exponent = [&](const ProfilePoint& point) {
      const double x = delta(point) * inverseWidth;
      return gaussExponent * x * x;
    };
    const auto lorentz = [&](const ProfilePoint& point) {
      const double x = delta(point) * inverseWidth;
      return 2.0 / (lorentzWidth * (1.0 + 4.0 * x * x));
    };
    // The points within reach, those with the Gauss part and the first past the centre: the
    // grid ascends, so each is a run of points found by bisection. A NaN width reaches all
    // points with both parts.
    ProfilePoint* const begin = points.data();
    ProfilePoint* first = begin;
    ProfilePoint* last = begin + points.size();
    if (!std::isnan(reach)) {
      first = std::partition_point(first, last, [&](const auto& p) { return delta(p) < -reach; });
      last = std::partition_point(first, last, [&](const auto& p) { return delta(p) <= reach; });
    }
    ProfilePoint* const centre =
        std::partition_point(first, last, [&](const auto& p) { return delta(p) < 0.0; });
    ProfilePoint* const gaussFirst = std::partition_point(
        first, centre, [&](const auto& p) { return exponent(p) < negligibleExponent; });
    ProfilePoint* const gaussLast = std::partition_point(
        centre, last, [&](const auto& p) { return !(exponent(p) < negligibleExponent); });
    const auto addLorentz = [&](ProfilePoint* from, ProfilePoint* to) {
#pragma omp simd
      for (ProfilePoint* point = from; point < to; ++point) {
        point->y += eta * lorentz(*point) * iCalc;
      }
    };
    addLorentz(first, gaussFirst);
    // The Gauss part along the grid by products, exp(a x^2) from point to point: the grid is
    // even, so each ratio is the last one times a constant.
    if (gaussFirst != gaussLast) {
      const double x = delta(*gaussFirst) * inverseWidth;
      const double dx = profile.twoThetaStep * inverseWidth;
      double gauss = gaussNorm / entry.fwhm * std::exp(gaussExponent * x * x);
      double ratio = std::exp(gaussExponent * (2.0 * x * dx + dx * dx));
      const double ratioStep = std::exp(2.0 * gaussExponent * dx * dx);
      for (ProfilePoint* point = gaussFirst; point < gaussLast; ++point) {
        if (point != gaussFirst) {
          gauss *= ratio;
          ratio *= ratioStep;
        }
        point->y += (eta * lorentz(*point) + (1.0 - eta) * gauss) * iCalc;
      }
    }
    addLorentz(gaussLast, last);
  }
  for (ProfilePoint& point : points) {
    point = {RoundToDecimals(point.twoTheta, 2), RoundToDecimals(point.y, 10)};
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
