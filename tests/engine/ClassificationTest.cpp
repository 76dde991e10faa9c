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

// Powder multiplicities of the centrosymmetric point groups are the sizes of the forms under
// the Laue group (textbook values, e.g. International Tables Vol. A, Table 10.1.2.2).
TEST(MultiplicityTableTest, CentrosymmetricColumnsAreTheSizesOfTheForms) {
  const MultiplicityTable& m = StandardMultiplicities();
  // m-3m: {00l} 6, {0kl} 24, {h00} 6, {hh0} 12, {hhl} 24, {hkl} 48, {hhh} 8.
  EXPECT_EQ(m[1][45], 6);
  EXPECT_EQ(m[3][45], 24);
  EXPECT_EQ(m[4][45], 6);
  EXPECT_EQ(m[9][45], 12);
  EXPECT_EQ(m[10][45], 24);
  EXPECT_EQ(m[7][45], 48);
  EXPECT_EQ(m[14][45], 8);
  // 4/mmm: {00l} 2, {h00} 4, {hh0} 4, {hk0} 8, {h0l} 8, {hhl} 8, {hkl} 16.
  const int tetragonal[][2] = {{1, 2}, {4, 4}, {9, 4}, {6, 8}, {5, 8}, {10, 8}, {7, 16}};
  for (const auto& [cls, size] : tetragonal) EXPECT_EQ(m[cls][19], size) << cls;
  // mmm: {h00} 2, {hk0} 4, {hkl} 8.
  EXPECT_EQ(m[4][11], 2);
  EXPECT_EQ(m[6][11], 4);
  EXPECT_EQ(m[7][11], 8);
  // 6/mmm: {00l} 2, {h00} 6, {hh0} 6, {hk0} 12, {hkl} 24.
  EXPECT_EQ(m[1][40], 2);
  EXPECT_EQ(m[4][40], 6);
  EXPECT_EQ(m[9][40], 6);
  EXPECT_EQ(m[6][40], 12);
  EXPECT_EQ(m[7][40], 24);
}

TEST(MultiplicityTableTest, TriclinicAndTheRhombohedralThreeTwoCells) {
  const MultiplicityTable& m = StandardMultiplicities();
  for (int cls = 1; cls <= 14; ++cls) {
    EXPECT_EQ(m[cls][1], 1) << cls;
    EXPECT_EQ(m[cls][2], 2) << cls;
  }
  EXPECT_EQ(m[3][26], 6);
  EXPECT_EQ(m[5][26], 6);
  EXPECT_EQ(m[6][26], 6);
  for (int cls = 1; cls <= 14; ++cls) {
    for (int pg = 1; pg <= 45; ++pg) EXPECT_GT(m[cls][pg], 0) << cls << " " << pg;
  }
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
