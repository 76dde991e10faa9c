// The numbers of the report as text: the formula and Z from the atoms, and decimal rounding.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "engine/DecimalText.h"
#include "engine/Formula.h"

namespace braxel {
namespace {

// Counts per element reduced by their common divisor into the formula, Z the divisor; the
// density of NaCl is 233.7712 g/mol in 179.4252 A^3 with Avogadro's 6.02214076e23.
TEST(FormulaTest, ElementsCountsAndZ) {
  const double weights[] = {22.9898, 35.453, 1.0};
  const struct {
    std::vector<std::string> species;
    std::vector<double> g;
    std::vector<int> sites;
    std::string formula;  // unchecked when empty
    int Z;
  } cases[] = {
      {{"Na", "Cl"}, {1, 1}, {4, 4}, "Na1 Cl1 ", 4},
      {{"O2-", "Fe3+", "O1-"}, {1, 1, 0.5}, {12, 8, 8}, "O2 Fe1 ", 8},  // 16 O and 8 Fe
      {{"A", "B"}, {1, 1}, {36, 72}, "", 36},
      {{"A", "B"}, {1, 1}, {10, 20}, "", 2},
      {{"A", "B"}, {0.3, 1}, {4, 4}, "", 1},
      {{"A", "B"}, {0.5, 1}, {4, 4}, "A1 B2 ", 2},
      // A count beyond an int is written whole, a small negative one as 0.
      {{"A", "B"}, {1e12, -0.3}, {4, 4}, "A4000000000000 B0 ", 1},
  };
  for (const auto& c : cases) {
    const FormulaAndDensity result =
        ComputeFormulaAndDensity(static_cast<int>(c.species.size()), c.species.data(), c.g.data(),
                                 c.sites.data(), weights, 179.4252);
    if (!c.formula.empty()) {
      EXPECT_EQ(result.formula, c.formula);
    }
    EXPECT_EQ(result.Z, c.Z) << c.species[0] << " " << c.g[0] << " " << c.sites[0];
    if (&c == &cases[0]) {
      EXPECT_NEAR(result.weight, 233.7712, 1e-9);
      EXPECT_NEAR(result.density, 233.7712 / (179.4252 * 0.602214076), 1e-12);
    }
  }
  EXPECT_EQ(ElementOf("Fe3+"), "Fe");
  EXPECT_EQ(ElementOf("O2-"), "O");
  EXPECT_EQ(ElementOf("Na1+"), "Na");
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

}  // namespace
}  // namespace braxel
