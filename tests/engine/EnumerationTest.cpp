#include <gtest/gtest.h>

#include <vector>

#include "engine/Enumeration.h"

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

class EnumerationTest : public ::testing::Test {
 protected:
  int Enumerate(const IndexLimits& limits, int pointGroupIndex, int laueIndex,
                int settingNumber = 1) {
    count = -1;
    return EnumerateReflections(limits, codes, StandardMultiplicities(), pointGroupIndex,
                                settingNumber, laueIndex, entries, count, message);
  }
  bool Listed(int h, int k, int l) const {
    for (int i = 0; i < count; ++i) {
      if (entries[i].h == h && entries[i].k == k && entries[i].l == l) return true;
    }
    return false;
  }
  ConditionCodes codes{};
  std::vector<Reflection> entries = std::vector<Reflection>(kMaxGeneratedReflections);
  int count = 0;
  std::string message;
};

TEST_F(EnumerationTest, CubicWalkKeepsOneOfEachSetInWalkOrder) {
  ASSERT_EQ(Enumerate({0, 2, 0, 2, 0, 2}, 45, 15), 0);
  EXPECT_TRUE(Listed(1, 0, 0));
  EXPECT_FALSE(Listed(0, 1, 0));
  EXPECT_FALSE(Listed(0, 0, 1));
  EXPECT_FALSE(Listed(0, 0, 0));
  // Descending l, then k, then h.
  ASSERT_EQ(count, 9);
  EXPECT_EQ(entries[0].h, 2);
  EXPECT_EQ(entries[0].l, 2);
  EXPECT_EQ(entries[count - 1].h, 1);
  EXPECT_EQ(entries[count - 1].k, 0);
  for (int i = 0; i < count; ++i) {
    if (entries[i].h == 2 && entries[i].k == 2 && entries[i].l == 2) {
      EXPECT_EQ(entries[i].multiplicity, 8);  // class hhh
    }
    if (entries[i].h == 2 && entries[i].k == 1 && entries[i].l == 0) {
      EXPECT_EQ(entries[i].multiplicity, 24);
    }
    EXPECT_EQ(entries[i].generated, i);
  }
}

TEST_F(EnumerationTest, ConditionsOfTheGeneralAndEveryMatchingClassApply) {
  codes[7] = 13;
  ASSERT_EQ(Enumerate({0, 2, 0, 2, 0, 0}, 45, 15), 0);
  EXPECT_FALSE(Listed(1, 0, 0));
  EXPECT_TRUE(Listed(1, 1, 0));
  codes = {};
  codes[14] = 29;  // not a code: the whole class goes
  codes[10] = 3;   // hhl: l even
  ASSERT_EQ(Enumerate({0, 3, 0, 3, 0, 3}, 45, 15), 0);
  EXPECT_FALSE(Listed(1, 1, 1));
  EXPECT_FALSE(Listed(2, 2, 2));
  EXPECT_FALSE(Listed(2, 2, 1));
  EXPECT_TRUE(Listed(3, 3, 2));
  EXPECT_TRUE(Listed(3, 2, 1));
}

TEST_F(EnumerationTest, RestrictionsByLaueClass) {
  ASSERT_EQ(Enumerate({0, 2, 0, 2, 0, 1}, 19, 7), 0);
  EXPECT_TRUE(Listed(2, 1, 1));
  EXPECT_FALSE(Listed(1, 2, 1));
  ASSERT_EQ(Enumerate({-2, 2, -2, 2, 0, 1}, 40, 13), 0);
  EXPECT_TRUE(Listed(-2, 1, 0));
  EXPECT_FALSE(Listed(1, -2, 0));
  ASSERT_EQ(Enumerate({-2, 2, -2, 2, -2, 2}, 32, 10, 2), 0);
  EXPECT_TRUE(Listed(2, -1, 1));
  EXPECT_FALSE(Listed(1, 2, 1));
  ASSERT_EQ(Enumerate({-2, 2, -2, 2, -2, 2}, 30, 11, 1), 0);
  EXPECT_TRUE(Listed(1, 2, 1));  // the ordering holds only on rhombohedral axes
}

TEST_F(EnumerationTest, CapacityIsThreeThousandReflections) {
  ASSERT_EQ(Enumerate({0, 3000, 0, 0, 0, 0}, 1, 1), 0);
  EXPECT_EQ(count, 3000);
  EXPECT_EQ(Enumerate({0, 3001, 0, 0, 0, 0}, 1, 1), -1);
  EXPECT_EQ(message, "Number of reflections exceeds over 3000 !!!\nChange range, please.");
}

TEST_F(EnumerationTest, HugeBoxIsRefusedBeforeItIsWalked) {
  EXPECT_EQ(Enumerate({0, 1000000, 0, 1000000, 0, 1000000}, 45, 15), -1);
  EXPECT_EQ(message, "Number of reflections exceeds over 3000 !!!\nChange range, please.");
  // An empty box (negative edge) lists nothing.
  EXPECT_EQ(Enumerate({0, -4, 0, 5, 0, 6}, 11, 5), 0);
  EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace braxel
