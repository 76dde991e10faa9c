// A run at the engine's capacity: a 192-operation group (Fm-3m), 80 atoms at general
// positions, the range widened until close to 3000 generated reflections (6000 entries).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

#include "engine/CalculationRun.h"

namespace braxel {
namespace {

const char* const kRotations[] = {
    "x,y,z",  "-x,-y,z", "-x,y,-z",  "x,-y,-z", "z,x,y",  "z,-x,-y",  "-z,-x,y", "-z,x,-y",
    "y,z,x",  "-y,z,-x", "y,-z,-x",  "-y,-z,x", "y,x,-z", "-y,-x,-z", "y,-x,z",  "-y,x,z",
    "x,z,-y", "-x,z,y",  "-x,-z,-y", "x,-z,y",  "z,y,-x", "z,-y,x",   "-z,y,x",  "-z,-y,-x"};

class CapacityCase {
 public:
  CapacityCase() {
    std::string pattern = (std::filesystem::temp_directory_path() / "braxel-bench-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
    {
      std::ofstream table(dir_ / "tabsg");
      table << "225  1 15  1 24   F m -3 m\n             7\n";
      for (const char* code : kRotations) table << code << "\n";
      std::ofstream fscat(dir_ / "fscat");
      fscat << "Fe    55.845\n11.7695 4.7611 7.3573 0.3072 3.5222 15.3535 2.3045 76.8805 1.0369\n"
               "-0.1 3.2 -0.2 3.3 -0.3 3.4 -1.1 3.2 0.3 0.8 0.2 0.5\n"
               "O     15.9994\n3.0485 13.2771 2.2868 5.7011 1.5463 0.3239 0.867 32.9089 0.2508\n"
               "0 0.03 0 0.03 0 0.03 0 0.03 0 0.01 0 0.01\n";
    }  // closed, so the run reads them whole
    input.files = {(dir_ / "Braxel.out").string(), (dir_ / "Braxel.prf").string(),
                   (dir_ / "tabsg").string(), (dir_ / "fscat").string()};
    input.profile = {0.01, -0.01, 0.01, 10, 0.5, 0, 0.5, 5, 150, 0.02};
    input.sgNumber = 225;
    input.settingNumber = 1;
    input.targetIndex = 5;
    input.atomCount = kMaxAtoms;
    std::mt19937 random(1);
    std::uniform_real_distribution<double> coordinate(0.01, 0.49);
    for (int j = 0; j < kMaxAtoms; ++j) {
      input.species[j] = j % 3 == 0 ? "Fe" : "O";
      input.g[j] = 1.0;
      input.x[j] = coordinate(random);
      input.y[j] = coordinate(random);
      input.z[j] = coordinate(random);
      input.B[j] = 0.5;
    }
    // The largest cell whose list still fits, to a hundredth of an angstrom.
    double a = 5.0;
    for (double step : {1.0, 0.1, 0.01}) {
      while (Fits(a + step)) a += step;
    }
    input.cell = {a, a, a, 90, 90, 90};
  }
  ~CapacityCase() { std::filesystem::remove_all(dir_); }

  RunInput input;

 private:
  bool Fits(double a) {
    input.cell = {a, a, a, 90, 90, 90};
    input.atomCount = 1;  // the count of reflections does not depend on the atoms
    CalculationRun run;
    std::string message;
    const bool fits = run.RunCalculation(input, message);
    input.atomCount = kMaxAtoms;
    return fits;
  }

  std::filesystem::path dir_;
};

CapacityCase& Case() {
  static CapacityCase capacity;
  return capacity;
}

void BM_CapacityRun(benchmark::State& state) {
  const RunInput& input = Case().input;
  std::string message;
  int entries = 0;
  int generated = 0;
  for (auto _ : state) {
    CalculationRun run;
    if (!run.RunCalculation(input, message)) throw std::runtime_error(message);
    entries = run.entryCount;
    generated = run.generatedCount;
  }
  state.counters["generated"] = generated;
  state.counters["entries"] = entries;
  state.counters["a"] = input.cell.a;
}
BENCHMARK(BM_CapacityRun)->Unit(benchmark::kMillisecond);

// The structure-factor step alone, from the state a finished run leaves.
CalculationRun& FinishedRun() {
  static CalculationRun run;
  static bool done = false;
  std::string message;
  if (!done && !run.RunCalculation(Case().input, message)) throw std::runtime_error(message);
  done = true;
  return run;
}

void BM_StructureFactorsSharedPhases(benchmark::State& state) {
  CalculationRun& run = FinishedRun();
  const RunInput& input = Case().input;
  const AtomSites sites{input.g.data(), input.B.data(), &run.atoms, &run.positions,
                        input.atomCount};
  std::string message;
  for (auto _ : state) {
    ComputeIntensities(run.entries, run.entryCount, run.f, sites, input.profile,
                       {run.firstReported, run.lastReported}, message);
    benchmark::DoNotOptimize(run.entries[0].fCalc);
  }
}
BENCHMARK(BM_StructureFactorsSharedPhases)->Unit(benchmark::kMillisecond);

// The textbook loops: one cosine and one sine per entry, atom and copy; |F| is the root mean
// square of h k l and its Friedel mate, as the run forms it.
void BM_StructureFactorsDirect(benchmark::State& state) {
  CalculationRun& run = FinishedRun();
  const RunInput& input = Case().input;
  double largestDifference = 0.0;
  for (auto _ : state) {
    for (int i = 0; i < run.entryCount; ++i) {
      const Reflection& entry = run.entries[i];
      double Ar = 0.0;
      double Ai = 0.0;
      double friedelAr = 0.0;
      double friedelAi = 0.0;
      for (int j = 0; j < input.atomCount; ++j) {
        double C = 0.0;
        double S = 0.0;
        for (int m = 0; m < run.positions.siteMultiplicity[j]; ++m) {
          const Position& p = run.positions.At(j, m);
          const double phi = 6.2831853 * (entry.h * p.x + entry.k * p.y + entry.l * p.z);
          C += std::cos(phi);
          S += std::sin(phi);
        }
        const double T = std::exp(-input.B[j] * entry.s2) * input.g[j];
        Ar += T * (run.f.At(j, i) * C - run.atoms.Deltaf2[j] * S);
        Ai += T * (run.f.At(j, i) * S + run.atoms.Deltaf2[j] * C);
        friedelAr += T * (run.f.At(j, i) * C + run.atoms.Deltaf2[j] * S);
        friedelAi += T * (run.atoms.Deltaf2[j] * C - run.f.At(j, i) * S);
      }
      const double fCalc =
          std::sqrt((Ar * Ar + Ai * Ai + friedelAr * friedelAr + friedelAi * friedelAi) / 2);
      largestDifference = std::max(largestDifference, std::fabs(fCalc - entry.fCalc));
    }
  }
  state.counters["max|dF|"] = largestDifference;
}
BENCHMARK(BM_StructureFactorsDirect)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace braxel

BENCHMARK_MAIN();
