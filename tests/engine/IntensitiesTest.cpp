#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

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

TEST(RoundToSevenDigitsTest, MatchesTheTemporaryFilesFormat) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> value(-50.0, 50.0);
  for (int i = 0; i < 1000; ++i) {
    const double x = value(random) * std::pow(10.0, i % 7 - 3);
    char text[32];
    std::snprintf(text, sizeof text, "%12.6e", x);
    EXPECT_EQ(RoundToSevenDigits(x), std::strtod(text, nullptr)) << x;
  }
}

TEST(AppendKa2EntriesTest, CopiesCarryRoundedValuesAndTheirOwnAngle) {
  std::vector<Reflection> entries(4);
  entries[0] = Entry(1, 1, 1, 28.0);
  entries[0].d = 3.256370987654;
  entries[0].s2 = 0.0235759876543;
  entries[0].multiplicity = 8;
  entries[0].generated = 0;
  ScatteringFactorTable f;
  f.At(0, 0) = 10.123456789;
  f.At(1, 0) = 10.123456789;
  AtomScattering atoms;
  atoms.sameSpeciesAs[0] = 0;
  atoms.sameSpeciesAs[1] = 0;
  int count = 1;
  AppendKa2Entries(entries, count, 1.54439, 2, atoms, f);
  ASSERT_EQ(count, 2);
  const Reflection& copy = entries[1];
  EXPECT_EQ(copy.code, 2);
  EXPECT_EQ(copy.h + copy.k + copy.l, 3);
  EXPECT_EQ(copy.multiplicity, 8);
  EXPECT_EQ(copy.generated, 0);
  EXPECT_EQ(copy.d, 3.256371);
  EXPECT_EQ(copy.s2, 0.02357599);
  EXPECT_EQ(f.At(0, 1), 10.12346);
  EXPECT_EQ(f.At(1, 1), 10.12346);
  EXPECT_DOUBLE_EQ(copy.twoTheta, 2 * std::asin(1.54439 / (2 * 3.256371)) / kDegree);
}

// The literal selection sort with exchanges, as the reference for the order of equal angles.
std::vector<int> SelectionSortOrder(std::vector<double> keys) {
  std::vector<int> order(keys.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    std::size_t m = i;
    for (std::size_t k = i + 1; k < keys.size(); ++k) {
      if (keys[k] < keys[m]) m = k;
    }
    std::swap(keys[i], keys[m]);
    std::swap(order[i], order[m]);
  }
  return order;
}

TEST(SortReflectionsTest, EqualAnglesEndInTheOrderASelectionSortGives) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> angle(1, 12);
  for (int trial = 0; trial < 50; ++trial) {
    const int n = 5 + trial * 3;
    std::vector<Reflection> entries(n);
    std::vector<double> keys(n);
    ScatteringFactorTable f;
    for (int i = 0; i < n; ++i) {
      keys[i] = angle(random) * 10.0;
      entries[i] = Entry(i + 1, 0, 0, keys[i]);
      f.At(0, i) = i;
    }
    SortReflections(entries, n, 1, f);
    const std::vector<int> expected = SelectionSortOrder(keys);
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(entries[i].h, expected[i] + 1) << trial << " " << i;
      EXPECT_EQ(f.At(0, i), expected[i]);
    }
  }
}

TEST(SortReflectionsTest, InequivalentReflectionsAtOneAngleAllStay) {
  // 3 3 0 and 4 1 1 of a cubic cell, and h k l beside -h k l of a cell with beta = 90.
  std::vector<Reflection> entries = {Entry(4, 1, 1, 40.0), Entry(3, 3, 0, 40.0),
                                     Entry(-1, 2, 3, 30.0), Entry(1, 2, 3, 30.0)};
  ScatteringFactorTable f;
  for (int i = 0; i < 4; ++i) f.At(0, i) = 100 + i;
  SortReflections(entries, 4, 1, f);
  EXPECT_EQ(entries[0].h, -1);
  EXPECT_EQ(entries[1].h, 1);
  EXPECT_EQ(entries[2].h, 4);
  EXPECT_EQ(entries[3].h, 3);
  EXPECT_EQ(f.At(0, 0), 102);
  EXPECT_EQ(f.At(0, 3), 101);
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
    return ComputeIntensities(entries, count, count, f, sites, profile, message);
  }
  std::vector<Reflection> entries = std::vector<Reflection>(kMaxReflectionEntries);
  int count = 0;
  ScatteringFactorTable f;
  EquivalentPositions positions;
  AtomScattering scattering;
  double g[kMaxAtoms] = {};
  double B[kMaxAtoms] = {};
  int atomCount = 0;
  ProfileParameters profile{0, 0, 0.0001, 0, 0.5, 0, 0, 0, 0, 0};
  std::string message;
};

TEST_F(IntensitiesTest, OneAtomAtTheOriginGivesItsFormFactor) {
  AddAtom({{0, 0, 0}}, 1, 0, 0);
  entries[0] = Entry(1, 2, 3, 40.0);
  entries[1] = Entry(2, 0, 0, 50.0);
  entries[1].generated = 1;
  f.At(0, 0) = 7.5;
  f.At(0, 1) = 6.5;
  count = 2;
  ASSERT_EQ(Compute(), 0);
  EXPECT_DOUBLE_EQ(entries[0].fCalc, 7.5);
  EXPECT_DOUBLE_EQ(entries[1].fCalc, 6.5);
  EXPECT_DOUBLE_EQ(entries[0].fwhm, 0.01);
  EXPECT_DOUBLE_EQ(entries[1].fwhm, 0.01);
}

TEST_F(IntensitiesTest, PhaseSumsAgreeWithTheDirectSum) {
  std::mt19937 random(3);
  std::uniform_real_distribution<double> coordinate(0.0, 1.0);
  for (int j = 0; j < 5; ++j) {
    std::vector<Position> copies(3 + 7 * j);
    for (Position& p : copies) p = {coordinate(random), coordinate(random), coordinate(random)};
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
  EXPECT_DOUBLE_EQ(entries[0].iCalc, 100.0);
  EXPECT_NEAR(entries[1].iCalc, 100.0 * 0.5 * lp(30.1, 13.25) / lp(30.0, 13.25), 1e-6);
  EXPECT_EQ(entries[2].iCalc, 0.0);
}

TEST_F(IntensitiesTest, CentrosymmetricSitesCancelTheSineSums) {
  AddAtom({{0.1, 0.2, 0.3}, {0.9, 0.8, 0.7}}, 1, 0, 0);
  entries[0] = Entry(1, 2, 3, 40.0);
  f.At(0, 0) = 5.0;
  count = 1;
  ASSERT_EQ(Compute(), 0);
  EXPECT_NEAR(entries[0].fCalc, std::fabs(10.0 * std::cos(6.2831853 * 1.4)), 1e-6);
}

TEST_F(IntensitiesTest, FailuresOfTheStep) {
  AddAtom({{0, 0, 0}}, 1, 0, 0);
  entries[0] = Entry(1, 0, 0, 30.0);
  f.At(0, 0) = 10.0;
  count = 1;
  profile.W = -0.0001;
  EXPECT_EQ(Compute(), -1);
  EXPECT_EQ(message, "Inadequote profile parameters !!!");
  profile.W = 0.0001;
  g[0] = 0.0;
  EXPECT_EQ(Compute(), -1);
  EXPECT_EQ(message, "All intensities are zero !!!");
}

}  // namespace
}  // namespace braxel
