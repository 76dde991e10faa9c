#include <gtest/gtest.h>

#include <array>

#include "engine/SymmetryCodes.h"
#include "support/TableText.h"

namespace braxel {
namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

Matrix MatrixOf(const SymmetryOperation& op) {
  Matrix m;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) m[r][c] = op.R[r][c];
  }
  return m;
}

SymmetryOperation Parsed(const std::string& code) {
  SymmetryOperation op;
  EXPECT_TRUE(ParseSymmetryCode(code, op)) << code;
  return op;
}

TEST(ParseSymmetryCodeTest, ReadsMatricesAndTranslations) {
  SymmetryOperation op = Parsed("x,y,z");
  EXPECT_EQ(MatrixOf(op), (Matrix{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}));
  EXPECT_EQ(op.t[0] + op.t[1] + op.t[2], 0.0);

  op = Parsed("-x+1/2,y,-z");
  EXPECT_EQ(MatrixOf(op), (Matrix{{{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}}));
  EXPECT_DOUBLE_EQ(op.t[0], 0.5);
  EXPECT_EQ(MatrixOf(Parsed("1/2-x,y,-z")), MatrixOf(op));
  EXPECT_DOUBLE_EQ(Parsed("1/2-x,y,-z").t[0], 0.5);

  op = Parsed("x-y,x,z+1/3");
  EXPECT_EQ(MatrixOf(op), (Matrix{{{1, -1, 0}, {1, 0, 0}, {0, 0, 1}}}));
  EXPECT_DOUBLE_EQ(op.t[2], 1.0 / 3.0);

  EXPECT_EQ(MatrixOf(Parsed("-Y,X,Z")), MatrixOf(Parsed("-y,x,z")));
  op = Parsed("x,y,z+1/2   ");
  EXPECT_DOUBLE_EQ(op.t[2], 0.5);
  EXPECT_DOUBLE_EQ(Parsed("x,y,z-1/6").t[2], -1.0 / 6.0);
  EXPECT_DOUBLE_EQ(Parsed("x+3/4,y,z").t[0], 0.75);
}

TEST(ParseSymmetryCodeTest, TermsAreAssignedNotAccumulated) {
  const SymmetryOperation op = Parsed("x-x,y+1/2+1/4,z");
  EXPECT_EQ(op.R[0][0], -1.0);
  EXPECT_DOUBLE_EQ(op.t[1], 0.25);
}

TEST(ParseSymmetryCodeTest, ASignBeforeATranslationStaysWithTheTranslation) {
  const SymmetryOperation op = Parsed("-1/2+x,-1/4+y,z");
  EXPECT_EQ(op.R[0][0], 1.0);
  EXPECT_EQ(op.R[1][1], 1.0);
  EXPECT_DOUBLE_EQ(op.t[0], -0.5);
  EXPECT_DOUBLE_EQ(op.t[1], -0.25);
}

TEST(ParseSymmetryCodeTest, CodesOutsideTheGrammarAreRefused) {
  SymmetryOperation op;
  for (const char* code :
       {"x,5/6,z", "x,y", "x,y,z,x", "x y,z", "x,y,0", "a,b,c", "x,y,", "x,,z", ""}) {
    EXPECT_FALSE(ParseSymmetryCode(code, op)) << code;
  }
}

TEST(ExpandOperationsTest, InversionThenCentring) {
  std::array<SymmetryOperation, kMaxOperations> ops;
  int count = 1;
  ops[0] = Parsed("x,-y,z+1/2");
  ASSERT_TRUE(ExpandOperations(ops, count, 1, 6));
  ASSERT_EQ(count, 4);
  EXPECT_EQ(MatrixOf(ops[1]), (Matrix{{{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}}));
  EXPECT_DOUBLE_EQ(ops[1].t[2], 0.5);  // copied, not negated
  EXPECT_DOUBLE_EQ(ops[2].t[0], 0.5);
  EXPECT_DOUBLE_EQ(ops[3].t[1], 0.5);
  EXPECT_DOUBLE_EQ(ops[3].t[2], 0.5);

  count = 1;
  ASSERT_TRUE(ExpandOperations(ops, count, 0, 14));
  ASSERT_EQ(count, 3);
  EXPECT_DOUBLE_EQ(ops[1].t[0], 0.333333);
  EXPECT_DOUBLE_EQ(ops[2].t[1], 0.333333 + 0.0);
  for (int code : {0, 15, 21, 99}) {
    count = 1;
    ASSERT_TRUE(ExpandOperations(ops, count, 0, code));
    EXPECT_EQ(count, 1) << code;
  }
}

TEST(ExpandOperationsTest, ListedInversionIsNotDoubled) {
  std::array<SymmetryOperation, kMaxOperations> ops;
  ops[0] = Parsed("x,y,z");
  ops[1] = Parsed("-x+1/2,-y+1/2,-z+1/2");
  int count = 2;
  ASSERT_TRUE(ExpandOperations(ops, count, 1, 0));
  EXPECT_EQ(count, 2);
}

TEST(ExpandOperationsTest, CapacityIsMetExactlyByTwentyFourCentredCodes) {
  std::array<SymmetryOperation, kMaxOperations> ops;
  const auto& codes = testing::RotationsOf432();
  int count = 0;
  for (const std::string& code : codes) ops[count++] = Parsed(code);
  ASSERT_TRUE(ExpandOperations(ops, count, 1, 7));
  EXPECT_EQ(count, 192);
  ops[24] = Parsed("-x,y,z");
  count = 25;
  EXPECT_FALSE(ExpandOperations(ops, count, 1, 7));
}

class PositionsTest : public ::testing::Test {
 protected:
  int Generate(const std::vector<std::string>& codes, int centrosymmetric, int general,
               std::vector<Position> sites, const Cell& cell = {10, 10, 10, 90, 90, 90}) {
    std::vector<double> x, y, z;
    for (const Position& p : sites) {
      x.push_back(p.x);
      y.push_back(p.y);
      z.push_back(p.z);
    }
    std::array<SymmetryOperation, kMaxOperations> ops;
    int count = 0;
    if (BuildOperations(codes, 99, centrosymmetric, general, ops, count, message) != 0) return -1;
    GenerateEquivalentPositions(std::span(ops.data(), static_cast<std::size_t>(count)), cell,
                                static_cast<int>(sites.size()), x.data(), y.data(), z.data(),
                                result);
    return 0;
  }
  EquivalentPositions result;
  std::string message;
};

TEST_F(PositionsTest, InversionKeepsDistinctImagesOnly) {
  ASSERT_EQ(Generate({"x,y,z"}, 1, 0, {{0, 0, 0}, {0.1, 0.2, 0.3}}), 0);
  EXPECT_EQ(result.generalSites, 2);
  EXPECT_EQ(result.siteMultiplicity[0], 1);
  ASSERT_EQ(result.siteMultiplicity[1], 2);
  EXPECT_DOUBLE_EQ(result.At(1, 1).x, 0.9);
  EXPECT_DOUBLE_EQ(result.At(1, 1).y, 0.8);
  EXPECT_DOUBLE_EQ(result.At(1, 1).z, 0.7);
}

TEST_F(PositionsTest, FaceCentringGivesFourImagesOfTheOrigin) {
  ASSERT_EQ(Generate({"x,y,z"}, 0, 7, {{0, 0, 0}}), 0);
  ASSERT_EQ(result.siteMultiplicity[0], 4);
  const Position expected[] = {{0, 0, 0}, {0, 0.5, 0.5}, {0.5, 0, 0.5}, {0.5, 0.5, 0}};
  for (int k = 0; k < 4; ++k) {
    EXPECT_DOUBLE_EQ(result.At(0, k).x, expected[k].x);
    EXPECT_DOUBLE_EQ(result.At(0, k).y, expected[k].y);
    EXPECT_DOUBLE_EQ(result.At(0, k).z, expected[k].z);
  }
  ASSERT_EQ(Generate({"x,y,z", "-x,-y,z"}, 0, 15, {{0.1, 0.1, 0.1}}), 0);
  EXPECT_EQ(result.generalSites, 2);
}

TEST_F(PositionsTest, ImagesCloserThanATenthOfAnAngstromAreOnePosition) {
  // In a 10 angstrom cube the inverted images of x = 0.0045 lie 0.09 angstrom apart, of 0.0055
  // 0.11 angstrom; 0.004 and its image 0.996 are 0.08 angstrom apart across the cell edge.
  const std::vector<std::string> inversion = {"x,y,z", "-x,-y,-z"};
  ASSERT_EQ(Generate(inversion, 0, 0, {{0.0045, 0, 0}, {0.0055, 0, 0}, {0.004, 0.5, 0.5}}), 0);
  EXPECT_EQ(result.siteMultiplicity[0], 1);
  EXPECT_DOUBLE_EQ(result.At(0, 0).x, 0.0045);
  EXPECT_EQ(result.siteMultiplicity[1], 2);
  EXPECT_EQ(result.siteMultiplicity[2], 1);
  // R -3 on hexagonal axes: images at 0.999997 and 0.000003 are the site at the origin.
  ASSERT_EQ(Generate({"x,y,z"}, 1, 14, {{0.33333, 0.66667, 0.66667}}), 0);
  EXPECT_EQ(result.siteMultiplicity[0], 3);
  ASSERT_EQ(Generate({"x,y,z", "-x+1/2,-y+1/2,-z+1/2"}, 0, 0, {{0.25, 0.25, 0.25}}), 0);
  EXPECT_EQ(result.siteMultiplicity[0], 1);
  ASSERT_EQ(Generate({"x,y,z", "x+1/4,y,z"}, 0, 0, {{0.2, 0.2, 0.2}}), 0);
  EXPECT_EQ(result.siteMultiplicity[0], 2);
}

TEST_F(PositionsTest, FewDecimalsStillGiveTheSpecialPosition) {
  // Zn of wurtzite in P 63 m c at (1/3, 2/3, 0) has 2 images; written 0.3333 0.6666 or
  // 0.333 0.667 its images differ by 1e-4 to 1e-3 (under 0.01 angstrom), still 2.
  const std::vector<std::string> p63mc = {
      "x,y,z",   "-y,x-y,z", "-x+y,-x,z", "-x,-y,z+1/2", "y,-x+y,z+1/2", "x-y,x,z+1/2",
      "-y,-x,z", "-x+y,y,z", "x,x-y,z",   "y,x,z+1/2",   "x-y,-y,z+1/2", "-x,-x+y,z+1/2"};
  const Cell wurtzite{3.25, 3.25, 5.21, 90, 90, 120};
  ASSERT_EQ(
      Generate(p63mc, 0, 0, {{0.3333, 0.6666, 0}, {0.333, 0.667, 0.38}, {0.1, 0.25, 0}}, wurtzite),
      0);
  EXPECT_EQ(result.siteMultiplicity[0], 2);
  EXPECT_EQ(result.siteMultiplicity[1], 2);
  EXPECT_EQ(result.siteMultiplicity[2], 12);
}

TEST_F(PositionsTest, CoordinatesAreReducedIntoTheCell) {
  ASSERT_EQ(Generate({"x+1,y-1/2,z+2"}, 0, 0, {{0, 0.25, 0.25}}), 0);
  EXPECT_DOUBLE_EQ(result.At(0, 0).x, 0.0);
  EXPECT_DOUBLE_EQ(result.At(0, 0).y, 0.75);
  EXPECT_DOUBLE_EQ(result.At(0, 0).z, 0.25);
  ASSERT_EQ(Generate({"x,y,z"}, 0, 0, {{-1e-17, 1.0, -0.25}}), 0);
  EXPECT_EQ(result.At(0, 0).x, 0.0);
  EXPECT_EQ(result.At(0, 0).y, 0.0);
  EXPECT_DOUBLE_EQ(result.At(0, 0).z, 0.75);
}

TEST_F(PositionsTest, FailuresNameTheCodeOrTheGroup) {
  EXPECT_EQ(Generate({"x,y,z", "x,y"}, 0, 0, {{0, 0, 0}}), -1);
  EXPECT_EQ(message, "Symmetry code x,y of space group 99 is not readable !!!");
  std::vector<std::string> codes(97, "x,y,z");
  EXPECT_EQ(Generate(codes, 1, 0, {{0, 0, 0}}), -1);
  EXPECT_EQ(message, "Symmetry operations of space group 99 exceed over 192 !!!");
}

}  // namespace
}  // namespace braxel
