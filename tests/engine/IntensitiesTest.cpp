#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "engine/DecimalText.h"
#include "engine/Intensities.h"

namespace braxel {
namespace {

Reflection Entry(int h, int k, int l, double twoTheta, int code = 1, int multiplicity = 1) {
  Reflection entry;
  entry.h = h;
  entry.k = k;
  entry.l = l;
  entry.twoTheta = twoTheta;
  entry.code = code;
  entry.multiplicity = multiplicity;
  return entry;
}

// Both roundings against the text their formats write and read back, random values and the
// cases where the last digit is a tie or the text carries a sign of zero.
TEST(DecimalTextTest, GivesTheValueTheTextReadsBackAs) {
  std::vector<double> values = {
      1.0 / 2048,          -1.0 / 2048, 0.125,  0.375, 2.675, -1e-12, 0.99999996,
      9999999.6,           1e-300,      5e-324, 1e20,  -0.0,  0.0,    123456.7890123456,
      0.00049999999999999, 1e-16};
  std::mt19937 random(7);
  std::uniform_real_distribution<double> value(-50.0, 50.0);
  for (int i = 0; i < 2000; ++i) values.push_back(value(random) * std::pow(10.0, i % 9 - 4));
  for (const double x : values) {
    char text[400];
    std::snprintf(text, sizeof text, "%12.6e", x);
    const double seven = std::strtod(text, nullptr);
    EXPECT_EQ(RoundToSevenDigits(x), seven) << text;
    EXPECT_EQ(std::signbit(RoundToSevenDigits(x)), std::signbit(seven)) << text;
    for (const int decimals : {2, 5, 10}) {
      std::snprintf(text, sizeof text, "%.*f", decimals, x);
      const double fixed = std::strtod(text, nullptr);
      EXPECT_EQ(RoundToDecimals(x, decimals), fixed) << text;
      EXPECT_EQ(std::signbit(RoundToDecimals(x, decimals)), std::signbit(fixed)) << text;
      std::snprintf(text, sizeof text, "%9.*f", decimals, x);
      std::string appended = "|";
      AppendFixed(appended, x, 9, decimals);
      EXPECT_EQ(appended.substr(1), text);
    }
    if (std::fabs(x) < 1e9) {
      std::snprintf(text, sizeof text, "%6d", static_cast<int>(x));
      std::string appended;
      AppendInteger(appended, static_cast<int>(x), 6);
      EXPECT_EQ(appended, text);
    }
  }
}

class IntensitiesTest : public ::testing::Test {
 protected:
  void AddAtom(std::vector<Position> copies, double g, double B, double deltaf2) {
    const int j = atomCount++;
    positions.siteMultiplicity[j] = static_cast<int>(copies.size());
    for (std::size_t k = 0; k < copies.size(); ++k)
      positions.At(j, static_cast<int>(k)) = copies[k];
    this->g[j] = g;
    this->B[j] = B;
    scattering.Deltaf2[j] = deltaf2;
    scattering.sameSpeciesAs[j] = j;
  }
  int Compute() {
    const AtomSites sites{g, B, &scattering, &positions, atomCount};
    return ComputeIntensities(entries, count, f, sites, profile, reported, message);
  }
  std::vector<Reflection> entries = std::vector<Reflection>(kMaxReflectionEntries);
  int count = 0;
  ScatteringFactorTable f{8, 512};
  ReportedRange reported{1, kMaxReflectionEntries};
  EquivalentPositions positions{kMaxAtoms, kMaxOperations};
  AtomScattering scattering;
  double g[kMaxAtoms] = {};
  double B[kMaxAtoms] = {};
  int atomCount = 0;
  ProfileParameters profile{0, 0, 0.0001, 0, 0.5, 0, 0, 0, 0, 0};
  std::string message;
};

TEST_F(IntensitiesTest, PhaseSumsAgreeWithTheDirectSum) {
  // Copies as symmetry makes them, sharing coordinate values: the site's coordinates permuted,
  // negated and shifted by a half, in the unit cell.
  std::mt19937 random(3);
  std::uniform_real_distribution<double> coordinate(0.0, 1.0);
  for (int j = 0; j < 5; ++j) {
    const double site[3] = {coordinate(random), coordinate(random), coordinate(random)};
    std::vector<Position> copies(3 + 19 * j);
    for (std::size_t m = 0; m < copies.size(); ++m) {
      double u[3];
      for (int r = 0; r < 3; ++r) {
        const double value = site[(r + m) % 3] * ((m >> r) % 2 == 0 ? 1 : -1) + 0.5 * ((m / 8) % 2);
        u[r] = value - std::floor(value);
      }
      copies[m] = {u[0], u[1], u[2]};
    }
    AddAtom(copies, 0.5 + 0.1 * j, 0.3 * j, 0.2 * j);
  }
  for (int l = 3; l >= -2; --l) {
    for (int k = 4; k >= -1; --k) {
      for (int h = 5; h >= -5; h -= 2) {
        Reflection& entry = entries[count];
        entry = Entry(h, k, l, 20.0 + count * 0.1);
        entry.s2 = 0.01 * count;
        entry.generated = count;
        for (int j = 0; j < atomCount; ++j) f.At(j, count) = 10.0 - 0.1 * j - 0.01 * count;
        ++count;
      }
    }
  }
  ASSERT_EQ(Compute(), 0);
  // |F|^2 of h k l and of -h -k -l, each from its own direct sum over every copy.
  const auto intensity = [&](int i, int sign) {
    const Reflection& entry = entries[i];
    double Ar = 0.0;
    double Ai = 0.0;
    for (int j = 0; j < atomCount; ++j) {
      double C = 0.0;
      double S = 0.0;
      for (int m = 0; m < positions.siteMultiplicity[j]; ++m) {
        const Position& p = positions.At(j, m);
        const double phi = sign * 6.2831853 * (entry.h * p.x + entry.k * p.y + entry.l * p.z);
        C += std::cos(phi);
        S += std::sin(phi);
      }
      const double T = std::exp(-B[j] * entry.s2) * g[j];
      Ar += T * (f.At(j, i) * C - scattering.Deltaf2[j] * S);
      Ai += T * (f.At(j, i) * S + scattering.Deltaf2[j] * C);
    }
    return Ar * Ar + Ai * Ai;
  };
  bool friedelDiffers = false;
  for (int i = 0; i < count; ++i) {
    const double plus = intensity(i, 1);
    const double minus = intensity(i, -1);
    friedelDiffers = friedelDiffers || std::fabs(plus - minus) > 1e-3 * plus;
    EXPECT_NEAR(entries[i].fCalc, std::sqrt((plus + minus) / 2), 1e-10) << i;
  }
  EXPECT_TRUE(friedelDiffers);  // the anomalous terms are felt
}

TEST_F(IntensitiesTest, IntensityIsLorentzPolarizedAndScaled) {
  AddAtom({{0, 0, 0}}, 1, 0, 0);
  entries[0] = Entry(1, 0, 0, 30.0, 1, 6);
  entries[1] = Entry(1, 0, 0, 30.1, 2, 6);
  entries[2] = Entry(1, 1, 0, 180.0, 1, 12);
  for (int i = 0; i < 3; ++i) f.At(0, i) = 10.0;
  count = 3;
  profile.monoAngle = 13.25;
  ASSERT_EQ(Compute(), 0);
  const auto lp = [](double twoTheta, double mono) {
    const double t = twoTheta * M_PI / 180;
    const double c2m = std::cos(2 * mono * M_PI / 180);
    return (1 + c2m * c2m * std::cos(t) * std::cos(t)) /
           (2 * std::sin(t / 2) * std::sin(t / 2) * std::cos(t / 2));
  };
  const double ka2Share = 0.5 * lp(30.1, 13.25) / lp(30.0, 13.25);
  EXPECT_DOUBLE_EQ(entries[0].iCalc, 100.0);
  EXPECT_NEAR(entries[1].iCalc, 100.0 * ka2Share, 1e-6);
  EXPECT_EQ(entries[2].iCalc, 0.0);
  // The strongest reported entry has 100; a range without intensity scales to all entries.
  reported = {2, 3};
  ASSERT_EQ(Compute(), 0);
  EXPECT_DOUBLE_EQ(entries[1].iCalc, 100.0);
  EXPECT_NEAR(entries[0].iCalc, 100.0 / ka2Share, 1e-6);
  reported = {3, 3};
  ASSERT_EQ(Compute(), 0);
  EXPECT_DOUBLE_EQ(entries[0].iCalc, 100.0);
}

}  // namespace
}  // namespace braxel
