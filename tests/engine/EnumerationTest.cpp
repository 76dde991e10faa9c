#include <gtest/gtest.h>

#include <vector>

#include "engine/Enumeration.h"
#include "support/TableText.h"

namespace braxel {
namespace {

TEST(IndexLimitsTest, FollowTheEdgesAndTheEndOfTheRange) {
  // dmin = 1.540562 / (2 sin 45 degrees) = 1.0893.
  const IndexLimits limits = ComputeIndexLimits(5, 6, 7, 90, 3, 1, 5, 1.540562);
  EXPECT_EQ(limits.hmax, 4);
  EXPECT_EQ(limits.kmax, 5);
  EXPECT_EQ(limits.lmax, 6);
  EXPECT_EQ(limits.hmin, 0);
  EXPECT_EQ(limits.kmin, 0);
  EXPECT_EQ(limits.lmin, 0);
}

TEST(IndexLimitsTest, SignsByCrystalSystemAndLaueClass) {
  IndexLimits limits = ComputeIndexLimits(5, 6, 7, 90, 1, 0, 1, 1.540562);
  EXPECT_EQ(limits.hmin, -4);
  EXPECT_EQ(limits.kmin, -5);
  EXPECT_EQ(limits.lmin, -6);
  limits = ComputeIndexLimits(5, 6, 7, 90, 1, 1, 1, 1.540562);
  EXPECT_EQ(limits.lmin, 0);
  limits = ComputeIndexLimits(5, 6, 7, 90, 2, 1, 3, 1.540562);
  EXPECT_EQ(limits.hmin, -4);
  EXPECT_EQ(limits.kmin, 0);
  EXPECT_EQ(limits.lmin, 0);
  limits = ComputeIndexLimits(5, 6, 7, 90, 2, 1, 4, 1.540562);
  EXPECT_EQ(limits.kmin, -5);
  limits = ComputeIndexLimits(5, 6, 7, 90, 2, 1, 2, 1.540562);
  EXPECT_EQ(limits.lmin, -6);
}

TEST(IndexLimitsTest, AbsurdCellsGiveDefinedLimits) {
  const IndexLimits limits = ComputeIndexLimits(1e300, 6, 7, 90, 3, 1, 5, 1.540562);
  EXPECT_EQ(limits.hmax, 1000000);
  const IndexLimits negative = ComputeIndexLimits(-5, 6, 7, 90, 3, 1, 5, 1.540562);
  EXPECT_EQ(negative.hmax, -4);
}

TEST(ConditionTest, TestsFollowTheTable) {
  EXPECT_EQ(TestCondition(1, 0, 0, 13), -1);
  EXPECT_EQ(TestCondition(1, 1, 0, 13), 0);
  EXPECT_EQ(TestCondition(1, 1, 1, 7), 0);
  EXPECT_EQ(TestCondition(2, 0, 0, 7), 0);
  EXPECT_EQ(TestCondition(1, 1, 0, 7), -1);
  EXPECT_EQ(TestCondition(3, 2, 1, 21), 0);
  EXPECT_EQ(TestCondition(1, 2, 0, 21), -1);
  EXPECT_EQ(TestCondition(-4, 0, 0, 16), 0);
  EXPECT_EQ(TestCondition(-3, 0, 0, 1), -1);
  EXPECT_EQ(TestCondition(1, 0, 2, 11), 0);  // 2h + l
  EXPECT_EQ(TestCondition(1, 0, 1, 11), -1);
  EXPECT_EQ(TestCondition(1, 1, 1, 14), -1);
  EXPECT_EQ(TestCondition(1, 0, 1, 14), 0);
  EXPECT_EQ(TestCondition(1, 1, 0, 15), 0);
  EXPECT_EQ(TestCondition(2, 2, 2, 29), -1);
  EXPECT_EQ(TestCondition(2, 2, 2, -1), -1);
  EXPECT_STREQ(ConditionText(11), "2h+1=2n");
  EXPECT_STREQ(ConditionText(21), "|h|>=|k|>=|l|");
  EXPECT_STREQ(ConditionText(28), "h=2n,l=2n");
  EXPECT_STREQ(ConditionText(29), "");
}

TEST(ReflectionClassTest, PatternsOverlapAsNamed) {
  const auto classes = [](int h, int k, int l) {
    std::vector<int> matched;
    for (int cls = 1; cls <= 14; ++cls) {
      if (MatchesClass(h, k, l, cls)) matched.push_back(cls);
    }
    return matched;
  };
  EXPECT_EQ(classes(2, 2, 2), (std::vector<int>{7, 10, 12, 13, 14}));
  EXPECT_EQ(classes(0, 0, 3), (std::vector<int>{1}));
  EXPECT_EQ(classes(0, 2, 2), (std::vector<int>{8}));
  EXPECT_EQ(classes(0, 2, -2), (std::vector<int>{3}));
  EXPECT_EQ(classes(2, 0, 2), (std::vector<int>{5, 11}));
  EXPECT_EQ(classes(1, 1, 0), (std::vector<int>{6, 9}));
  EXPECT_EQ(classes(0, 0, 0), (std::vector<int>{}));
  EXPECT_STREQ(ReflectionClassName(1), "00l");
  EXPECT_STREQ(ReflectionClassName(14), "hhh");
}

// The rotations of point group 23; with the inversion they make m-3.
const std::vector<std::string> kRotationsOf23 = {"x,y,z", "-x,-y,z", "-x,y,-z", "x,-y,-z",
                                                 "z,x,y", "z,-x,-y", "-z,-x,y", "-z,x,-y",
                                                 "y,z,x", "-y,z,-x", "y,-z,-x", "-y,-z,x"};

class EnumerationTest : public ::testing::Test {
 protected:
  int Enumerate(const IndexLimits& limits, const std::vector<std::string>& codes,
                int centrosymmetric, int general, int laueIndex, int settingNumber = 1) {
    count = -1;
    int operationCount = 0;
    EXPECT_EQ(
        BuildOperations(codes, 0, centrosymmetric, general, operations, operationCount, message),
        0);
    const int result = EnumerateReflections(
        limits, std::span(operations.data(), static_cast<std::size_t>(operationCount)),
        settingNumber, laueIndex, kMaxGeneratedReflections, entries, message);
    count = static_cast<int>(entries.size());
    return result;
  }
  const Reflection* Listed(int h, int k, int l) const {
    for (int i = 0; i < count; ++i) {
      if (entries[i].h == h && entries[i].k == k && entries[i].l == l) return &entries[i];
    }
    return nullptr;
  }
  std::array<SymmetryOperation, kMaxOperations> operations;
  std::vector<Reflection> entries;
  int count = 0;
  std::string message;
};

TEST_F(EnumerationTest, CubicFormsKeepTheRestrictedMemberInWalkOrder) {
  ASSERT_EQ(Enumerate({0, 2, 0, 2, 0, 2}, testing::RotationsOf432(), 1, 0, 15), 0);
  // h >= k >= l >= 0 picks one member of each form: 1 0 0, not 0 1 0 or 0 0 -1.
  ASSERT_EQ(count, 9);
  EXPECT_TRUE(Listed(1, 0, 0));
  EXPECT_FALSE(Listed(0, 1, 0));
  EXPECT_FALSE(Listed(0, 0, -1));
  EXPECT_EQ(entries[0].h + entries[0].k + entries[0].l, 6);  // 2 2 2 first
  EXPECT_EQ(entries[count - 1].h, 1);
  EXPECT_EQ(Listed(2, 2, 2)->multiplicity, 8);
  EXPECT_EQ(Listed(2, 1, 0)->multiplicity, 24);
  EXPECT_EQ(Listed(2, 1, 1)->multiplicity, 24);
  EXPECT_EQ(Listed(1, 0, 0)->multiplicity, 6);
  for (int i = 0; i < count; ++i) EXPECT_EQ(entries[i].generated, i);
}

TEST_F(EnumerationTest, BothFormsOfTheTetartoidClassesAreListed) {
  // In m-3, {2 1 0} and {1 2 0} have one d and are not equivalent.
  ASSERT_EQ(Enumerate({0, 2, 0, 2, 0, 2}, kRotationsOf23, 1, 0, 14), 0);
  ASSERT_NE(Listed(2, 1, 0), nullptr);
  EXPECT_EQ(Listed(2, 1, 0)->multiplicity, 12);
  int forms = 0;
  for (int i = 0; i < count; ++i) {
    const Reflection& e = entries[i];
    if (e.h * e.h + e.k * e.k + e.l * e.l == 5) ++forms;
  }
  EXPECT_EQ(forms, 2);
}

TEST_F(EnumerationTest, MultiplicityIsTheSizeOfTheFormUnderTheLaueClass) {
  // P 21 (unique axis b): Laue class 2/m, so h k l counts 4 and h 0 l or 0 k 0 two.
  ASSERT_EQ(Enumerate({-2, 2, 0, 2, 0, 2}, {"x,y,z", "-x,y+1/2,-z"}, 0, 0, 3), 0);
  EXPECT_EQ(Listed(1, 1, 1) ? Listed(1, 1, 1)->multiplicity : 0, 4);
  const Reflection* h0l = Listed(1, 0, 1) ? Listed(1, 0, 1) : Listed(-1, 0, -1);
  ASSERT_NE(h0l, nullptr);
  EXPECT_EQ(h0l->multiplicity, 2);
  // The screw axis removes 0 k 0 with k odd.
  EXPECT_EQ(Listed(0, 1, 0), nullptr);
  EXPECT_EQ(Listed(0, -1, 0), nullptr);
  ASSERT_NE(Listed(0, 2, 0), nullptr);
  EXPECT_EQ(Listed(0, 2, 0)->multiplicity, 2);
}

TEST_F(EnumerationTest, CentringRemovesReflectionsOfEveryClass) {
  ASSERT_EQ(Enumerate({0, 2, 0, 2, 0, 2}, testing::RotationsOf432(), 1, 13, 15), 0);
  EXPECT_FALSE(Listed(1, 0, 0));
  EXPECT_TRUE(Listed(1, 1, 0));
  EXPECT_TRUE(Listed(2, 1, 1));
  EXPECT_FALSE(Listed(1, 1, 1));
}

TEST(AbsenceTest, FollowsTheOperations) {
  std::array<SymmetryOperation, kMaxOperations> ops;
  int count = 0;
  std::string message;
  ASSERT_EQ(BuildOperations({"x,y,z", "-x+1/2,y+1/2,-z"}, 0, 1, 0, ops, count, message), 0);
  const std::span<const SymmetryOperation> list(ops.data(), static_cast<std::size_t>(count));
  EXPECT_TRUE(IsSystematicallyAbsent(0, 1, 0, list));
  EXPECT_FALSE(IsSystematicallyAbsent(0, 2, 0, list));
  // The inverted copy is a glide x+1/2,-y+1/2,z: h 0 l needs h even.
  EXPECT_TRUE(IsSystematicallyAbsent(1, 0, 0, list));
  EXPECT_TRUE(IsSystematicallyAbsent(1, 0, 1, list));
  EXPECT_FALSE(IsSystematicallyAbsent(2, 0, 1, list));
  EXPECT_FALSE(IsSystematicallyAbsent(1, 1, 1, list));
  ASSERT_EQ(BuildOperations({"x,y,z"}, 0, 0, 14, ops, count, message), 0);
  const std::span<const SymmetryOperation> rhombohedral(ops.data(), 3);
  EXPECT_FALSE(IsSystematicallyAbsent(1, 0, 1, rhombohedral));  // -h + k + l = 0
  EXPECT_FALSE(IsSystematicallyAbsent(1, 1, 0, rhombohedral));
  EXPECT_TRUE(IsSystematicallyAbsent(1, 0, 0, rhombohedral));
}

TEST_F(EnumerationTest, CapacityIsThreeThousandReflections) {
  ASSERT_EQ(Enumerate({-3000, 3000, 0, 0, 0, 0}, {"x,y,z"}, 1, 0, 1), 0);
  EXPECT_EQ(count, 3000);
  EXPECT_EQ(Enumerate({-3001, 3001, 0, 0, 0, 0}, {"x,y,z"}, 1, 0, 1), -1);
  EXPECT_EQ(message, "Number of reflections exceeds over 3000 !!!\nChange range, please.");
}

TEST_F(EnumerationTest, HugeBoxIsRefusedBeforeItIsWalked) {
  EXPECT_EQ(Enumerate({0, 1000000, 0, 1000000, 0, 1000000}, {"x,y,z"}, 1, 0, 1), -1);
  EXPECT_EQ(message, "Number of reflections exceeds over 3000 !!!\nChange range, please.");
}

}  // namespace
}  // namespace braxel
