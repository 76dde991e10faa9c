#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/ScatteringFactors.h"
#include "support/TableText.h"
#include "support/TestFiles.h"

namespace braxel {
namespace {

using testing::FscatRecord;
using testing::TempDir;
using testing::WriteFile;

const std::initializer_list<double> kAnomalous = {1.1, 1.2, 2.1, 2.2, 3.1, 3.2,
                                                  4.1, 4.2, 5.1, 5.2, 6.1, 6.2};

class ScatteringFactorsTest : public ::testing::Test {
 protected:
  ScatteringFactorsTest() {
    WriteFile(
        dir.File("fscat"),
        FscatRecord("Os", 190.23, {1, 0, 1, 0, 1, 0, 1, 0, 72}, kAnomalous) +
            FscatRecord("O", 15.9994,
                        {3.0485, 13.2771, 2.2868, 5.7011, 1.5463, 0.3239, 0.867, 32.9089, 0.2508},
                        kAnomalous) +
            FscatRecord("Si", 28.0855,
                        {6.2915, 2.4386, 3.0353, 32.3337, 1.9891, 0.6785, 1.541, 81.6937, 1.1407},
                        kAnomalous));
  }

  int Compute(std::vector<std::string> species, const std::vector<std::array<int, 3>>& hkl,
              const Cell& cell, int target = 4, double lambda = 1.540562) {
    for (std::size_t i = 0; i < hkl.size(); ++i) {
      entries[i].h = hkl[i][0];
      entries[i].k = hkl[i][1];
      entries[i].l = hkl[i][2];
    }
    const std::span<Reflection> listed(entries.data(), hkl.size());
    if (ComputeReflectionGeometry(cell, lambda, listed, volume, message) != 0) return -1;
    return ComputeScatteringFactors(dir.File("fscat"), static_cast<int>(species.size()),
                                    species.data(), listed, static_cast<int>(hkl.size()), target, f,
                                    atoms, message);
  }

  TempDir dir;
  std::vector<Reflection> entries = std::vector<Reflection>(kMaxReflectionEntries);
  ScatteringFactorTable f;
  AtomScattering atoms;
  double volume = 0.0;
  std::string message;
};

TEST_F(ScatteringFactorsTest, CubicCellGivesVolumeAndSpacings) {
  ASSERT_EQ(Compute({"Si"}, {{1, 1, 1}, {1, 0, 0}}, {4, 4, 4, 90, 90, 90}), 0);
  EXPECT_NEAR(volume, 64.0, 1e-9);
  EXPECT_NEAR(entries[0].d, 4.0 / std::sqrt(3.0), 1e-12);
  EXPECT_NEAR(entries[1].d, 4.0, 1e-12);
  EXPECT_EQ(entries[0].code, 1);
  const double twoTheta = 2 * std::asin(1.540562 / (2 * entries[0].d)) * 180 / M_PI;
  EXPECT_NEAR(entries[0].twoTheta, twoTheta, 1e-6);
  EXPECT_NEAR(entries[0].s2, 3.0 / 64.0, 1e-9);  // (1 / 2d)^2
  EXPECT_DOUBLE_EQ(atoms.Awt[0], 28.0855);
  EXPECT_DOUBLE_EQ(atoms.Deltaf2[0], 4.2);
}

TEST_F(ScatteringFactorsTest, ObliqueCellSpacingsFollowTheMetric) {
  // Monoclinic: 1/d^2 = (h^2/a^2 + k^2 sin^2(beta)/b^2 + l^2/c^2 - 2hl cos(beta)/(ac)) /
  // sin^2(beta).
  const double a = 5.1, b = 6.3, c = 7.2, beta = 104.5 * M_PI / 180;
  ASSERT_EQ(Compute({"O"}, {{1, 2, -3}, {2, 0, 1}}, {a, b, c, 90, 104.5, 90}), 0);
  const auto spacing = [&](int h, int k, int l) {
    const double q = (h * h / (a * a) + k * k * std::sin(beta) * std::sin(beta) / (b * b) +
                      l * l / (c * c) - 2 * h * l * std::cos(beta) / (a * c)) /
                     (std::sin(beta) * std::sin(beta));
    return 1 / std::sqrt(q);
  };
  EXPECT_NEAR(entries[0].d, spacing(1, 2, -3), 1e-7);
  EXPECT_NEAR(entries[1].d, spacing(2, 0, 1), 1e-7);
  EXPECT_NEAR(volume, a * b * c * std::sin(beta), 1e-6);
}

TEST_F(ScatteringFactorsTest, FormFactorUsesTheTargetsAnomalousTerms) {
  ASSERT_EQ(Compute({"Si", "Si"}, {{1, 1, 1}}, {4, 4, 4, 90, 90, 90}, 6, 0.5594075), 0);
  const double s2 = entries[0].s2;
  const double expected = 6.2915 * std::exp(-2.4386 * s2) + 3.0353 * std::exp(-32.3337 * s2) +
                          1.9891 * std::exp(-0.6785 * s2) + 1.541 * std::exp(-81.6937 * s2) +
                          1.1407 + 6.1;
  EXPECT_NEAR(f.At(0, 0), expected, 1e-9);
  EXPECT_EQ(f.At(1, 0), f.At(0, 0));
  EXPECT_DOUBLE_EQ(atoms.Deltaf2[1], 6.2);
  ScatteringFactorRecord record;
  record.a1 = 1;
  record.a2 = 2;
  record.a3 = 3;
  record.a4 = 4;
  record.c = 0.5;
  record.Deltaf1 = 0.25;
  EXPECT_DOUBLE_EQ(record.FormFactor(0.0), 10.75);
}

TEST_F(ScatteringFactorsTest, SingleLineTargetTakesNoAnomalousTerms) {
  ASSERT_EQ(Compute({"Si"}, {{1, 1, 1}}, {4, 4, 4, 90, 90, 90}, 7, 1.39222), 0);
  EXPECT_EQ(atoms.Deltaf2[0], 0.0);
  EXPECT_NEAR(
      f.At(0, 0) - 1.1407,
      6.2915 * std::exp(-2.4386 * entries[0].s2) + 3.0353 * std::exp(-32.3337 * entries[0].s2) +
          1.9891 * std::exp(-0.6785 * entries[0].s2) + 1.541 * std::exp(-81.6937 * entries[0].s2),
      1e-9);
}

TEST_F(ScatteringFactorsTest, TheRecordOfExactlyTheSpeciesIsTaken) {
  // Os stands before O in this file; O must not take its factors, nor M those of Mg.
  ASSERT_EQ(Compute({"O"}, {{1, 0, 0}}, {4, 4, 4, 90, 90, 90}), 0);
  EXPECT_DOUBLE_EQ(atoms.Awt[0], 15.9994);
  EXPECT_EQ(Compute({"S"}, {{1, 0, 0}}, {4, 4, 4, 90, 90, 90}), -1);
  EXPECT_EQ(message, "S name not found !!!");
}

TEST_F(ScatteringFactorsTest, SpellingsTheTableLacksTakeItsRecords) {
  WriteFile(dir.File("fscat"),
            FscatRecord("Na", 22.9898, {1, 0, 1, 0, 1, 0, 1, 0, 7}, kAnomalous) +
                FscatRecord("Na1+", 22.9898, {1, 0, 1, 0, 1, 0, 1, 0, 6}, kAnomalous) +
                FscatRecord("Na+", 22.9898, {0, 0, 0, 0, 0, 0, 0, 0, 0}, kAnomalous));
  // A record of the name itself comes first; without one, "Na+" is "Na1+", never "Na".
  ASSERT_EQ(Compute({"Na+"}, {{1, 0, 0}}, {4, 4, 4, 90, 90, 90}), 0);
  EXPECT_NEAR(f.At(0, 0), 0.0 + 4.1, 1e-12);  // its zeros plus Deltaf1 of Cu
  WriteFile(dir.File("fscat"),
            FscatRecord("Na", 22.9898, {1, 0, 1, 0, 1, 0, 1, 0, 7}, kAnomalous) +
                FscatRecord("Na1+", 22.9898, {1, 0, 1, 0, 1, 0, 1, 0, 6}, kAnomalous));
  ASSERT_EQ(Compute({"Na+"}, {{1, 0, 0}}, {4, 4, 4, 90, 90, 90}), 0);
  EXPECT_NEAR(f.At(0, 0), 4 * 1.0 + 6.0 + 4.1, 1e-12);
  // A site name, and an ion the table lacks, are the neutral atom; anything else stays unknown.
  for (const char* neutral : {"Na12", "Na3+", "Na2-"}) {
    ASSERT_EQ(Compute({neutral}, {{1, 0, 0}}, {4, 4, 4, 90, 90, 90}), 0) << neutral;
    EXPECT_NEAR(f.At(0, 0), 4 * 1.0 + 7.0 + 4.1, 1e-12) << neutral;
  }
  for (const char* unknown : {"K+", "Nb2", "Na1a", "Na++", "1Na", "Na-1", "Na2+x"}) {
    EXPECT_EQ(Compute({unknown}, {{1, 0, 0}}, {4, 4, 4, 90, 90, 90}), -1) << unknown;
    EXPECT_EQ(message, std::string(unknown) + " name not found !!!");
  }
}

TEST_F(ScatteringFactorsTest, TheBundledFileHasDeuteriumWithHydrogensFactors) {
  std::vector<std::string> species = {"H", "D"};
  entries[0].h = 1;
  const std::span<Reflection> first(entries.data(), 1);
  ASSERT_EQ(ComputeReflectionGeometry({4, 4, 4, 90, 90, 90}, 1.540562, first, volume, message), 0);
  ASSERT_EQ(ComputeScatteringFactors(BRAXEL_DATA_DIR "/fscat", 2, species.data(), first, 1, 4, f,
                                     atoms, message),
            0)
      << message;
  EXPECT_EQ(f.At(1, 0), f.At(0, 0));
  EXPECT_DOUBLE_EQ(atoms.Awt[0], 1.00794);
  EXPECT_DOUBLE_EQ(atoms.Awt[1], 2.0141);
}

TEST_F(ScatteringFactorsTest, AngleBeyondTheSphereIsOneEighty) {
  ASSERT_EQ(Compute({"Si"}, {{10, 0, 0}}, {4, 4, 4, 90, 90, 90}), 0);
  EXPECT_DOUBLE_EQ(entries[0].twoTheta, 2 * std::asin(1.0) / kDegree);
  EXPECT_NEAR(entries[0].twoTheta, 180.0, 1e-6);
}

TEST_F(ScatteringFactorsTest, FailuresCarryTheirMessages) {
  EXPECT_EQ(Compute({"Si", "Fe"}, {{1, 0, 0}}, {4, 4, 4, 90, 90, 90}), -1);
  EXPECT_EQ(message, "Fe name not found !!!");
  EXPECT_EQ(Compute({""}, {{1, 0, 0}}, {4, 4, 4, 90, 90, 90}), -1);
  EXPECT_EQ(message, " name not found !!!");
  EXPECT_EQ(Compute({std::string(35, 'O')}, {{1, 0, 0}}, {4, 4, 4, 90, 90, 90}), -1);
  EXPECT_EQ(message, "Species name " + std::string(35, 'O') + " exceeds over 34 characters !!!");
  EXPECT_EQ(Compute({"Si"}, {{1, 0, 0}}, {4, 4, 4, 10, 10, 170}), -1);
  EXPECT_EQ(message, "sqrt error !!!");
  EXPECT_EQ(Compute({"Si"}, {{1, 0, 0}}, {4, 4, 0, 90, 90, 90}), -1);
  EXPECT_EQ(message, "sqrt error !!!");
  WriteFile(dir.File("fscat"), "Si    28.0855\n1 2 3\n");
  EXPECT_EQ(Compute({"Si"}, {{1, 0, 0}}, {4, 4, 4, 90, 90, 90}), -1);
  EXPECT_EQ(message, "Si record of " + dir.File("fscat") + " is not readable !!!");
  std::filesystem::remove(dir.File("fscat"));
  EXPECT_EQ(Compute({"Si"}, {{1, 0, 0}}, {4, 4, 4, 90, 90, 90}), -1);
  EXPECT_EQ(message, dir.File("fscat") + " file not found !!!\n");
}

}  // namespace
}  // namespace braxel
