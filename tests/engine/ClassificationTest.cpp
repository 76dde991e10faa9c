#include <gtest/gtest.h>

#include <string>

#include "engine/Classification.h"

namespace braxel {
namespace {

TEST(ClassifyPointGroupTest, MonoclinicSettingsChooseTheUniqueAxis) {
  EXPECT_EQ(ClassifyPointGroup(14, 1), 7);
  EXPECT_EQ(ClassifyPointGroup(14, 4), 8);
  EXPECT_EQ(ClassifyPointGroup(3, 1), 3);
  EXPECT_EQ(ClassifyPointGroup(3, 2), 4);
  EXPECT_EQ(ClassifyPointGroup(4, 1), 3);
  EXPECT_EQ(ClassifyPointGroup(4, 2), 4);
  EXPECT_EQ(ClassifyPointGroup(9, 3), 5);
  EXPECT_EQ(ClassifyPointGroup(9, 6), 6);
}

TEST(ClassifyPointGroupTest, TrigonalSettingsChooseTheAxes) {
  EXPECT_EQ(ClassifyPointGroup(155, 1), 24);
  EXPECT_EQ(ClassifyPointGroup(155, 2), 26);
  EXPECT_EQ(ClassifyPointGroup(167, 2), 32);
  EXPECT_EQ(ClassifyPointGroup(146, 2), 21);
  EXPECT_EQ(ClassifyPointGroup(162, 1), 31);
  EXPECT_EQ(ClassifyPointGroup(149, 1), 25);
}

TEST(ClassifyPointGroupTest, SettingsTheGroupDoesNotHaveAreNotClassified) {
  EXPECT_EQ(ClassifyPointGroup(3, 3), 0);
  EXPECT_EQ(ClassifyPointGroup(14, 7), 0);
  EXPECT_EQ(ClassifyPointGroup(166, 3), 0);
  EXPECT_EQ(ClassifyPointGroup(0, 1), 0);
  EXPECT_EQ(ClassifyPointGroup(231, 1), 0);
}

TEST(ClassifyPointGroupTest, EveryGroupHasAPointGroupInItsFirstSetting) {
  for (int number = 1; number <= 230; ++number) {
    const int index = ClassifyPointGroup(number, 1);
    EXPECT_GE(index, 1) << number;
    EXPECT_LE(index, 45) << number;
  }
  EXPECT_EQ(ClassifyPointGroup(225, 2), 45);
  EXPECT_STREQ(PointGroupName(ClassifyPointGroup(225, 1)), "m-3m");
}

TEST(NamesTest, ReportNamesByIndex) {
  EXPECT_STREQ(CrystalSystemName(1), "triclinic");
  EXPECT_STREQ(CrystalSystemName(7), "cubic");
  EXPECT_STREQ(CrystalSystemName(8), "");
  EXPECT_STREQ(LaueClassName(3), "2/m b-axis");
  EXPECT_STREQ(LaueClassName(10), "-3m Rhombohedral");
  EXPECT_STREQ(LaueClassName(15), "m3m");
  EXPECT_STREQ(UniqueAxisName(3), "b");
  EXPECT_STREQ(UniqueAxisName(5), "no");
  EXPECT_STREQ(UniqueAxisName(2), "a");
  EXPECT_STREQ(PointGroupName(1), "1");
  EXPECT_STREQ(PointGroupName(18), "-42m(-4m2)");
  EXPECT_STREQ(PointGroupName(26), "32(rhom)");
  EXPECT_STREQ(PointGroupName(32), "-3m(rhom)");
  EXPECT_STREQ(PointGroupName(40), "6/mmm");
  EXPECT_STREQ(PointGroupName(45), "m-3m");
  EXPECT_STREQ(PointGroupName(46), "");
}

}  // namespace
}  // namespace braxel
