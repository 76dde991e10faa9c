// |Fcal| of whole runs on the bundled table and scattering factors: against cctbx's direct
// structure factors (tests/data/reference_f.txt, made by tools/gen_reference_f.py), and the
// reflection list summed per d against a brute-force sum over every h k l of the sphere
// (tests/data/powder_structures.txt; spacings from gemmi 0.5.7), where lost, doubled or merged
// forms and wrong multiplicities all show as a difference.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <fstream>
#include <functional>
#include <gemmi/unitcell.hpp>
#include <map>
#include <sstream>
#include <tuple>

#include "engine/CalculationRun.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

struct Structure {
  RunInput input;
  std::string name;
  std::map<std::tuple<int, int, int>, double> F;
};

// Blocks of 'structure name number setting a b c alpha beta gamma atom-count', one line per
// atom 'species x y z B', then any 'h k l |F|' lines.
std::vector<Structure> ReadStructures(const std::string& file) {
  std::vector<Structure> structures;
  std::ifstream in(BRAXEL_TEST_DATA_DIR "/" + file);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    if (line.rfind("structure", 0) == 0) {
      Structure structure;
      RunInput& input = structure.input;
      std::string word;
      Cell& c = input.cell;
      fields >> word >> structure.name >> input.sgNumber >> input.settingNumber >> c.a >> c.b >>
          c.c >> c.alpha >> c.beta >> c.gamma >> input.atomCount;
      for (int j = 0; j < input.atomCount && std::getline(in, line); ++j) {
        std::istringstream atom(line);
        atom >> input.species[j] >> input.x[j] >> input.y[j] >> input.z[j] >> input.B[j];
        input.g[j] = 1.0;
      }
      structures.push_back(structure);
      continue;
    }
    int h, k, l;
    double F;
    fields >> h >> k >> l >> F;
    structures.back().F[{h, k, l}] = F;
  }
  return structures;
}

// Runs every structure of the file from 5 to endAngle degrees with this target on the bundled
// files, and hands each run to check.
void ForEachRun(const std::string& file, std::size_t count, double endAngle, int target,
                const std::function<void(const Structure&, const CalculationRun&)>& check) {
  std::vector<Structure> structures = ReadStructures(file);
  ASSERT_EQ(structures.size(), count);
  testing::TempDir dir;
  for (Structure& s : structures) {
    SCOPED_TRACE(s.name);
    s.input.files = {dir.File("Braxel.out"), dir.File("Braxel.prf"), BRAXEL_DATA_DIR "/tabsg",
                     BRAXEL_DATA_DIR "/fscat"};
    s.input.profile = {0, 0, 0.0001, 10, 0.5, 0, 0.5, 5, endAngle, 0.02};
    s.input.targetIndex = target;
    CalculationRun run;
    std::string message;
    ASSERT_TRUE(run.RunCalculation(s.input, message)) << message;
    check(s, run);
  }
}

// The single line takes no anomalous terms, as the reference.
TEST(StructureFactorTest, FcalMatchesCctbx) {
  ForEachRun("reference_f.txt", 3, 70, 7,
             [](const Structure& reference, const CalculationRun& run) {
               int compared = 0;
               for (int i = run.firstReported - 1; i < run.lastReported; ++i) {
                 const Reflection& e = run.entries[i];
                 const auto found = reference.F.find({e.h, e.k, e.l});
                 ASSERT_NE(found, reference.F.end()) << e.h << " " << e.k << " " << e.l;
                 EXPECT_NEAR(e.fCalc, found->second, 1e-4 * std::max(found->second, 1.0))
                     << e.h << " " << e.k << " " << e.l;
                 ++compared;
               }
               EXPECT_GT(compared, 30);
             });
}

// Cu: the anomalous terms break Friedel's law where they can.
TEST(StructureFactorTest, ListSummedPerSpacingEqualsTheSphere) {
  ForEachRun("powder_structures.txt", 25, 75, 4, [](const Structure& s, const CalculationRun& run) {
    const Cell& c = s.input.cell;
    const gemmi::UnitCell cell(c.a, c.b, c.c, c.alpha, c.beta, c.gamma);
    const auto spacing = [&](int h, int k, int l) { return cell.calculate_d({{h, k, l}}); };

    // The run's Ka1 entries per d, each |Fcal|^2 times its multiplicity.
    const double dCut = 1.540562 / (2 * std::sin(35.0 * M_PI / 180));
    const auto key = [](double d) { return std::llround(d * 1e6); };
    std::map<long long, double> listed;
    std::map<long long, int> entryAt;
    for (int i = 0; i < run.entryCount; ++i) {
      const Reflection& e = run.entries[i];
      const double d = spacing(e.h, e.k, e.l);
      if (e.code != 1 || d < dCut) continue;
      // The run's degree factor 0.0174532925 moves d in the ninth digit.
      EXPECT_NEAR(e.d, d, 1e-8 * d);
      listed[key(d)] += e.fCalc * e.fCalc * e.multiplicity;
      entryAt[key(d)] = i;
    }
    std::map<long long, double> sphere;
    const int hmax = static_cast<int>(c.a / dCut) + 1, kmax = static_cast<int>(c.b / dCut) + 1,
              lmax = static_cast<int>(c.c / dCut) + 1;
    for (int h = -hmax; h <= hmax; ++h) {
      for (int k = -kmax; k <= kmax; ++k) {
        for (int l = -lmax; l <= lmax; ++l) {
          const double d = spacing(h, k, l);
          if ((h == 0 && k == 0 && l == 0) || d < dCut) continue;
          const auto found = entryAt.find(key(d));
          std::complex<double> F = 0;
          for (int j = 0; j < s.input.atomCount; ++j) {
            // Without an entry at this d the reflection must be absent; f is then immaterial.
            const double f = found == entryAt.end() ? 1.0 : run.f.At(j, found->second);
            const std::complex<double> fj(f, run.atoms.Deltaf2[j]);
            std::complex<double> sum = 0;
            for (int m = 0; m < run.positions.siteMultiplicity[j]; ++m) {
              const Position& p = run.positions.At(j, m);
              sum += std::polar(1.0, 2 * M_PI * (h * p.x + k * p.y + l * p.z));
            }
            F += fj * sum * std::exp(-s.input.B[j] / (4 * d * d));
          }
          // An absent reflection keeps a trace of |F|^2 from the six-decimal rhombohedral
          // centring.
          if (std::norm(F) > 1e-4) sphere[key(d)] += std::norm(F);
        }
      }
    }
    ASSERT_FALSE(sphere.empty());
    for (const auto& [d, total] : sphere) {
      ASSERT_EQ(listed.count(d), 1u) << "no entry at d = " << d * 1e-6;
      EXPECT_NEAR(listed[d], total, 1e-6 * total + 1e-6) << "d = " << d * 1e-6;
    }
    for (const auto& [d, total] : listed) {
      if (total > 1e-4) {
        EXPECT_EQ(sphere.count(d), 1u) << "extra d = " << d * 1e-6;
      }
    }
  });
}

}  // namespace
}  // namespace braxel
