// A run as a user makes it: a 20-atom monoclinic structure (P 21/c) with the bundled tables,
// Cu radiation, 2theta 10 to 120 at 0.01, report and pattern file written.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <stdexcept>

#include "engine/CalculationRun.h"

namespace braxel {
namespace {

class TypicalCase {
 public:
  TypicalCase() {
    std::string pattern = (std::filesystem::temp_directory_path() / "braxel-bench-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
    input.files = {(dir_ / "Braxel.out").string(), (dir_ / "Braxel.prf").string(),
                   BRAXEL_DATA_DIR "/tabsg", BRAXEL_DATA_DIR "/fscat"};
    input.profile = {0.01, -0.01, 0.01, 10, 0.5, 0, 0.5, 10, 120, 0.01};
    input.sgNumber = 14;
    input.settingNumber = 1;
    input.targetIndex = 4;
    input.cell = {10.52, 7.31, 12.84, 90, 104.3, 90};
    input.atomCount = 20;
    const char* const species[] = {"Cu", "O", "O", "C", "N"};
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(0.0, 1.0);
    for (int j = 0; j < input.atomCount; ++j) {
      input.species[j] = species[j % 5];
      input.g[j] = 1.0;
      input.x[j] = coordinate(random);
      input.y[j] = coordinate(random);
      input.z[j] = coordinate(random);
      input.B[j] = 1.5;
    }
  }
  ~TypicalCase() { std::filesystem::remove_all(dir_); }

  RunInput input;

 private:
  std::filesystem::path dir_;
};

void BM_TypicalRun(benchmark::State& state) {
  static TypicalCase typical;
  std::string message;
  int entries = 0;
  for (auto _ : state) {
    CalculationRun run;
    if (!run.RunCalculation(typical.input, message)) throw std::runtime_error(message);
    entries = run.entryCount;
  }
  state.counters["entries"] = entries;
}
BENCHMARK(BM_TypicalRun)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace braxel
