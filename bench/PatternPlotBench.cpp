// The pattern viewer's drawing of a pattern of 2 and of 100,000 points on 900 x 560 pixels:
// with at most two vertices per pixel column, the large one costs little more.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "pattern/PlotAxes.h"
#include "pattern/qt/PatternPlot.h"

namespace braxel {
namespace {

void BM_RenderPattern(benchmark::State& state) {
  Pattern pattern;
  pattern.firstTwoTheta = 5.0;
  pattern.step = 145.0 / static_cast<double>(state.range(0) - 1);
  // A few hundred peaks of 0.1 to 0.3 degrees, mostly weak, as a profile has them.
  std::mt19937 random(18);
  std::uniform_real_distribution<double> where(5.0, 150.0), width(0.1, 0.3), share(0.0, 1.0);
  std::vector<double> y(static_cast<std::size_t>(state.range(0)), 0.0);
  for (int peak = 0; peak < 400; ++peak) {
    const double centre = where(random), fwhm = width(random);
    const double height = std::pow(share(random), 4.0) / fwhm;
    for (std::size_t i = 0; i < y.size(); ++i) {
      const double x = (pattern.TwoThetaAt(i) - centre) / fwhm;
      y[i] += height / (1.0 + 4.0 * x * x);
    }
  }
  const double highest = *std::max_element(y.begin(), y.end());
  for (const double value : y)
    pattern.intensities.push_back(1 + static_cast<int>(999 * value / highest));
  pattern.markers = {10.0, 20.0, 30.0};
  const AxisRange range = FullTwoThetaRange(pattern);
  for (auto _ : state) {
    const QImage image = qt::RenderPattern(pattern, range, "bench", QSize(900, 560));
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_RenderPattern)->Arg(2)->Arg(1800)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace braxel

int main(int argc, char** argv) {
  // Pictures only: no display is needed.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
