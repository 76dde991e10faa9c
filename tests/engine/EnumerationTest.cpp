// Point groups, reflection classes, conditions, index limits and the capacity of the walk. The
// walk's forms, multiplicities and absences are checked on every record of the bundled table
// in tests/spacegroup/BundledTableTest.cpp.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine/Classification.h"
#include "engine/Enumeration.h"
#include "engine/SymmetryCodes.h"

namespace braxel {
namespace {

// Monoclinic settings choose the unique axis, trigonal ones the axes; settings a group lacks
// are not classified.
TEST(ClassificationTest, PointGroupByNumberAndSetting) {
  const int cases[][3] = {{14, 1, 7},   {14, 4, 8},   {3, 1, 3},    {3, 2, 4},    {4, 1, 3},
                          {4, 2, 4},    {9, 3, 5},    {9, 6, 6},    {155, 1, 24}, {155, 2, 26},
                          {167, 2, 32}, {146, 2, 21}, {162, 1, 31}, {149, 1, 25}, {225, 2, 45},
                          {3, 3, 0},    {14, 7, 0},   {166, 3, 0},  {0, 1, 0},    {231, 1, 0}};
  for (const auto& [number, setting, index] : cases) {
    EXPECT_EQ(ClassifyPointGroup(number, setting), index) << number << " " << setting;
  }
}

// Which classes h k l falls in, and so the conditions of whole groups, are checked against
// gemmi's absences on every bundled record.
TEST(ConditionTest, ConditionsFollowTheirText) {
  // h k l, condition code, and whether the condition holds.
  const struct {
    int h, k, l, code;
    bool holds;
  } cases[] = {{1, 0, 0, 13, false}, {1, 1, 0, 13, true},  {1, 1, 1, 7, true},
               {2, 0, 0, 7, true},   {1, 1, 0, 7, false},  {3, 2, 1, 21, true},
               {2, 2, 1, 21, true},  {2, 1, 1, 21, true},  {1, 2, 0, 21, false},
               {-4, 0, 0, 16, true}, {-3, 0, 0, 1, false}, {1, 0, 2, 11, true},
               {1, 0, 1, 11, false}, {1, 1, 1, 14, false}, {1, 0, 1, 14, true},
               {1, 1, 0, 15, true},  {2, 2, 2, 29, false}, {2, 2, 2, -1, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(TestCondition(c.h, c.k, c.l, c.code), c.holds ? 0 : -1)
        << c.h << c.k << c.l << " " << ConditionText(c.code);
  }
}

// The classes each h k l falls in; one reflection may fall in several.
TEST(ReflectionClassTest, PatternsOverlapAsNamed) {
  const int indices[][3] = {{2, 2, 2}, {0, 0, 3}, {0, 3, 0}, {0, 2, -2}, {3, 0, 0}, {2, 0, 2},
                            {1, 1, 0}, {0, 2, 2}, {1, 2, 2}, {1, 2, 1},  {0, 0, 0}};
  std::string shown;
  for (const auto& [h, k, l] : indices) {
    shown += "|";
    for (int cls = 1; cls <= kReflectionClassCount; ++cls) {
      if (MatchesClass(h, k, l, cls)) shown += std::to_string(cls) + " ";
    }
  }
  EXPECT_EQ(shown, "|7 10 12 13 14 |1 |2 |3 |4 |5 11 |6 9 |8 |7 12 |7 13 |");
}

// dmin = 1.540562 / (2 sin 45 degrees) = 1.0893: limits follow the edges, signed by crystal
// system and Laue class; absurd cells give defined limits.
TEST(IndexLimitsTest, FollowTheEdgesAndTheSymmetry) {
  const struct {
    double a;
    int system, centrosymmetric, laue;
    IndexLimits limits;
  } cases[] = {
      {5, 3, 1, 5, {0, 4, 0, 5, 0, 6}},           {5, 1, 0, 1, {-4, 4, -5, 5, -6, 6}},
      {5, 1, 1, 1, {-4, 4, -5, 5, 0, 6}},         {5, 2, 1, 3, {-4, 4, 0, 5, 0, 6}},
      {5, 2, 1, 4, {0, 4, -5, 5, 0, 6}},          {5, 2, 1, 2, {0, 4, 0, 5, -6, 6}},
      {1e300, 3, 1, 5, {0, 1000000, 0, 5, 0, 6}}, {-5, 3, 1, 5, {0, -4, 0, 5, 0, 6}},
  };
  const auto fields = [](const IndexLimits& x) {
    return std::array{x.hmin, x.hmax, x.kmin, x.kmax, x.lmin, x.lmax};
  };
  for (const auto& c : cases) {
    EXPECT_EQ(
        fields(ComputeIndexLimits(c.a, 6, 7, 90, c.system, c.centrosymmetric, c.laue, 1.540562)),
        fields(c.limits))
        << c.a << " laue " << c.laue;
  }
}

// 3000 forms fit, one more does not, and a box far beyond is refused before it is walked.
TEST(EnumerationTest, CapacityIsThreeThousandForms) {
  SymmetryOperation identity;
  ASSERT_TRUE(ParseSymmetryCode("x,y,z", identity));
  const IndexLimits boxes[] = {
      {-3001, 3001, 0, 0, 0, 0}, {0, 1000000, 0, 1000000, 0, 1000000}, {-3000, 3000, 0, 0, 0, 0}};
  std::vector<Reflection> forms;  // what a refused walk left must go
  for (const IndexLimits& box : boxes) {
    const bool fits = box.hmax == 3000;
    std::string message;
    EXPECT_EQ(
        EnumerateReflections(box, {&identity, 1}, 1, 1, kMaxGeneratedReflections, forms, message),
        fits ? 0 : -1);
    EXPECT_EQ(message,
              fits ? "" : "Number of reflections exceeds over 3000 !!!\nChange range, please.");
    EXPECT_EQ(forms.size(), fits ? 3000u : forms.size());
    for (std::size_t i = 0; fits && i < forms.size(); ++i)
      EXPECT_EQ(forms[i].generated, static_cast<int>(i));
  }
}

}  // namespace
}  // namespace braxel
