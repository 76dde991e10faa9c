#include <gtest/gtest.h>

#include <vector>

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

}  // namespace
}  // namespace braxel
