// The reflection list, summed per d, against a brute-force sum over every h k l of the sphere:
// each reflection counted once with its own |F|^2 from the same positions and scattering
// factors. Lost, doubled or merged forms and wrong multiplicities all show as a difference.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <map>
#include <vector>

#include "engine/CalculationRun.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

struct Atom {
  const char* species;
  double x, y, z, B;
};

struct Structure {
  const char* name;
  int number;
  int setting;
  Cell cell;
  std::vector<Atom> atoms;
};

const Structure kStructures[] = {
    {"pyrite Pa-3",
     205,
     1,
     {5.417, 5.417, 5.417, 90, 90, 90},
     {{"Fe", 0, 0, 0, 0.3}, {"S", 0.385, 0.385, 0.385, 0.4}}},
    {"scheelite I41/a",
     88,
     2,
     {5.243, 5.243, 11.376, 90, 90, 90},
     {{"Ca", 0, 0.25, 0.625, 0.5}, {"W", 0, 0.25, 0.125, 0.3}, {"O", 0.2413, 0.1511, 0.0861, 0.6}}},
    {"CsCl Pm-3m",
     221,
     1,
     {4.123, 4.123, 4.123, 90, 90, 90},
     {{"Cs", 0, 0, 0, 1.0}, {"Cl", 0.5, 0.5, 0.5, 1.2}}},
    {"P 21 21 21",
     19,
     1,
     {5.1, 6.2, 7.3, 90, 90, 90},
     {{"Fe", 0.1, 0.2, 0.3, 0.4}, {"O", 0.31, 0.07, 0.45, 0.6}}},
    {"alpha-quartz P 32 2 1",
     154,
     1,
     {4.913, 4.913, 5.405, 90, 90, 120},
     {{"Si", 0.4697, 0, 0, 0.5}, {"O", 0.4135, 0.2669, 0.1191, 0.8}}},
    {"corundum R -3 c, hexagonal axes",
     167,
     1,
     {4.759, 4.759, 12.991, 90, 90, 120},
     {{"Al", 0, 0, 0.35216, 0.3}, {"O", 0.30624, 0, 0.25, 0.4}}},
    {"corundum R -3 c, rhombohedral axes",
     167,
     2,
     {5.128, 5.128, 5.128, 55.28, 55.28, 55.28},
     {{"Al", 0.35216, 0.35216, 0.35216, 0.3}, {"O", 0.55624, 0.94376, 0.25, 0.4}}},
    {"ilmenite R -3",
     148,
     1,
     {5.088, 5.088, 14.085, 90, 90, 120},
     {{"Fe", 0, 0, 0.3554, 0.4}, {"Ti", 0, 0, 0.1464, 0.4}, {"O", 0.317, 0.02, 0.245, 0.5}}},
    {"R -3, rhombohedral axes",
     148,
     2,
     {5.5, 5.5, 5.5, 55.0, 55.0, 55.0},
     {{"Fe", 0.1, 0.2, 0.35, 0.4}}},
    {"P 21/c unique axis c, right angles",
     14,
     4,
     {5.0, 6.0, 7.0, 90, 90, 90},
     {{"Fe", 0.12, 0.23, 0.34, 0.4}}},
    {"C 2/c cell choice 2", 15, 2, {9.7, 8.9, 5.3, 90, 105, 90}, {{"Si", 0.11, 0.22, 0.33, 0.5}}},
    {"F d -3 m origin choice 1",
     227,
     1,
     {8.1, 8.1, 8.1, 90, 90, 90},
     {{"Si", 0, 0, 0, 0.4}, {"O", 0.21, 0.11, 0.03, 0.6}}},
    {"I 41/a m d origin choice 1",
     141,
     1,
     {6.5, 6.5, 9.1, 90, 90, 90},
     {{"Fe", 0.07, 0.19, 0.29, 0.4}}},
    {"P 63/m", 176, 1, {9.4, 9.4, 6.9, 90, 90, 120}, {{"Ca", 0.31, 0.11, 0.05, 0.5}}},
    {"P -3 1 m", 162, 1, {5.2, 5.2, 4.8, 90, 90, 120}, {{"Fe", 0.31, 0.11, 0.2, 0.5}}},
    {"P 21 3", 198, 1, {6.1, 6.1, 6.1, 90, 90, 90}, {{"Fe", 0.07, 0.19, 0.29, 0.4}}},
    {"P 4", 75, 1, {5.3, 5.3, 4.1, 90, 90, 90}, {{"Fe", 0.07, 0.19, 0.29, 0.4}}},
    {"P 1", 1, 1, {5.1, 6.2, 7.3, 81, 97, 103}, {{"Fe", 0.07, 0.19, 0.29, 0.4}}},
};

class PowderSumTest : public ::testing::TestWithParam<Structure> {};

TEST_P(PowderSumTest, ListSummedPerSpacingEqualsTheSphere) {
  const Structure& s = GetParam();
  testing::TempDir dir;
  RunInput input;
  input.files = {dir.File("Braxel.out"), dir.File("Braxel.prf"), BRAXEL_DATA_DIR "/tabsg",
                 BRAXEL_DATA_DIR "/fscat"};
  input.profile = {0, 0, 0.0001, 10, 0.5, 0, 0.5, 5, 75, 0.02};
  input.sgNumber = s.number;
  input.settingNumber = s.setting;
  input.cell = s.cell;
  input.targetIndex = 4;  // Cu: the anomalous terms break Friedel's law where they can
  input.atomCount = static_cast<int>(s.atoms.size());
  for (std::size_t j = 0; j < s.atoms.size(); ++j) {
    input.species[j] = s.atoms[j].species;
    input.g[j] = 1.0;
    input.x[j] = s.atoms[j].x;
    input.y[j] = s.atoms[j].y;
    input.z[j] = s.atoms[j].z;
    input.B[j] = s.atoms[j].B;
  }
  CalculationRun run;
  std::string message;
  ASSERT_TRUE(run.RunCalculation(input, message)) << message;

  // Reciprocal metric from the direct basis (a along x, b in the xy plane).
  const double rad = M_PI / 180;
  const Cell& c = s.cell;
  const double ca = std::cos(c.alpha * rad), cb = std::cos(c.beta * rad),
               cg = std::cos(c.gamma * rad), sg = std::sin(c.gamma * rad);
  const double A[3][3] = {{c.a, 0, 0},
                          {c.b * cg, c.b * sg, 0},
                          {c.c * cb, c.c * (ca - cb * cg) / sg,
                           c.c * std::sqrt(1 - cb * cb - std::pow((ca - cb * cg) / sg, 2))}};
  const double volume = A[0][0] * A[1][1] * A[2][2];
  // Rows of the inverse transpose are the reciprocal axes.
  const double Bm[3][3] = {{1 / A[0][0], -A[1][0] / (A[0][0] * A[1][1]),
                            (A[1][0] * A[2][1] - A[1][1] * A[2][0]) / volume},
                           {0, 1 / A[1][1], -A[2][1] / (A[1][1] * A[2][2])},
                           {0, 0, 1 / A[2][2]}};
  const auto spacing = [&](int h, int k, int l) {
    double g[3];
    for (int r = 0; r < 3; ++r) g[r] = h * Bm[0][r] + k * Bm[1][r] + l * Bm[2][r];
    return 1 / std::sqrt(g[0] * g[0] + g[1] * g[1] + g[2] * g[2]);
  };

  // The run's Ka1 entries per d, each |Fcal|^2 times its multiplicity; and the scattering
  // factors at each d.
  const double lambda = 1.540562;
  const double dCut = lambda / (2 * std::sin(70.0 / 2 * rad));
  const auto key = [](double d) { return std::llround(d * 1e6); };
  std::map<long long, double> listed;
  std::map<long long, int> entryAt;
  for (int i = 0; i < run.entryCount; ++i) {
    const Reflection& e = run.entries[i];
    if (e.code != 1 || spacing(e.h, e.k, e.l) < dCut) continue;
    // The run's degree factor 0.0174532925 moves d in the ninth digit.
    const double d = spacing(e.h, e.k, e.l);
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
        if (h == 0 && k == 0 && l == 0) continue;
        const double d = spacing(h, k, l);
        if (d < dCut) continue;
        const auto found = entryAt.find(key(d));
        std::complex<double> F = 0;
        for (int j = 0; j < input.atomCount; ++j) {
          // Without an entry at this d the reflection must be absent; f is then immaterial.
          const double f = found == entryAt.end() ? 1.0 : run.f.At(j, found->second);
          const std::complex<double> fj(f, run.atoms.Deltaf2[j]);
          std::complex<double> sum = 0;
          for (int m = 0; m < run.positions.siteMultiplicity[j]; ++m) {
            const Position& p = run.positions.At(j, m);
            sum += std::polar(1.0, 2 * M_PI * (h * p.x + k * p.y + l * p.z));
          }
          F += fj * sum * std::exp(-input.B[j] / (4 * d * d));
        }
        // An absent reflection keeps a trace of |F|^2 from the six-decimal rhombohedral centring.
        if (std::norm(F) > 1e-4) sphere[key(d)] += std::norm(F);
      }
    }
  }
  ASSERT_FALSE(sphere.empty());
  for (const auto& [d, total] : sphere) {
    ASSERT_EQ(listed.count(d), 1u) << s.name << ": no entry at d = " << d * 1e-6;
    EXPECT_NEAR(listed[d], total, 1e-6 * total) << s.name << " d = " << d * 1e-6;
  }
  for (const auto& [d, total] : listed) {
    if (total > 1e-4) {
      EXPECT_EQ(sphere.count(d), 1u) << s.name << ": extra d = " << d * 1e-6;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Structures, PowderSumTest, ::testing::ValuesIn(kStructures));

}  // namespace
}  // namespace braxel
