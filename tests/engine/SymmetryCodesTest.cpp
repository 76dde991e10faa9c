#include <gtest/gtest.h>

#include <array>

#include "engine/SymmetryCodes.h"

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

// Terms are assigned, not accumulated; a sign before a translation stays with it.
TEST(ParseSymmetryCodeTest, ReadsMatricesAndTranslations) {
  const struct {
    const char* code;
    Matrix R;
    std::array<double, 3> t;
  } cases[] = {
      {"x,y,z", {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, {0, 0, 0}},
      {"-x+1/2,y,-z", {{{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}}, {0.5, 0, 0}},
      {"1/2-x,y,-z", {{{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}}, {0.5, 0, 0}},
      {"x-y,x,z+1/3", {{{1, -1, 0}, {1, 0, 0}, {0, 0, 1}}}, {0, 0, 1.0 / 3}},
      {"-Y,X,Z", {{{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}}, {0, 0, 0}},
      {"x,y,z+1/2   ", {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, {0, 0, 0.5}},
      {"x+3/4,y,z-1/6", {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, {0.75, 0, -1.0 / 6}},
      {"x-x,y+1/2+1/4,z", {{{-1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, {0, 0.25, 0}},
      {"-1/2+x,-1/4+y,z", {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, {-0.5, -0.25, 0}},
  };
  for (const auto& c : cases) {
    const SymmetryOperation op = Parsed(c.code);
    EXPECT_EQ(MatrixOf(op), c.R) << c.code;
    for (int r = 0; r < 3; ++r) EXPECT_NEAR(op.t[r], c.t[r], 1e-15) << c.code;
  }
  SymmetryOperation op;
  for (const char* code :
       {"x,5/6,z", "x,y", "x,y,z,x", "x y,z", "x,y,0", "a,b,c", "x,y,", "x,,z", ""}) {
    EXPECT_FALSE(ParseSymmetryCode(code, op)) << code;
  }
}

// Images in the cell, those closer than a tenth of an angstrom one position.
TEST(EquivalentPositionsTest, DistinctImagesInTheCell) {
  const std::vector<std::string> inversion = {"x,y,z", "-x,-y,-z"};
  const std::vector<std::string> p63mc = {
      "x,y,z",   "-y,x-y,z", "-x+y,-x,z", "-x,-y,z+1/2", "y,-x+y,z+1/2", "x-y,x,z+1/2",
      "-y,-x,z", "-x+y,y,z", "x,x-y,z",   "y,x,z+1/2",   "x-y,-y,z+1/2", "-x,-x+y,z+1/2"};
  const Cell wurtzite{3.25, 3.25, 5.21, 90, 90, 120};
  const struct {
    std::vector<std::string> codes;
    int centrosymmetric, general;
    std::vector<double> sites;  // x y z of each
    std::vector<int> multiplicities;
    std::vector<double> imagesOfTheFirst;  // x y z of each; unchecked when empty
    Cell cell = {10, 10, 10, 90, 90, 90};
  } cases[] = {
      {{"x,y,z"}, 1, 0, {0.1, 0.2, 0.3, 0, 0, 0}, {2, 1}, {0.1, 0.2, 0.3, 0.9, 0.8, 0.7}},
      {{"x,y,z"}, 0, 7, {0, 0, 0}, {4}, {0, 0, 0, 0, 0.5, 0.5, 0.5, 0, 0.5, 0.5, 0.5, 0}},
      {{"x,y,z", "-x,-y,z"}, 0, 15, {0.1, 0.1, 0.1}, {2}, {}},
      // In a 10 angstrom cube the inverted images of x = 0.0045 lie 0.09 angstrom apart, of
      // 0.0055 0.11 angstrom; 0.004 and its image 0.996 are 0.08 angstrom apart across the edge.
      {inversion, 0, 0, {0.0045, 0, 0, 0.0055, 0, 0, 0.004, 0.5, 0.5}, {1, 2, 1}, {0.0045, 0, 0}},
      // R -3 on hexagonal axes: images at 0.999997 and 0.000003 are the site at the origin.
      {{"x,y,z"}, 1, 14, {0.33333, 0.66667, 0.66667}, {3}, {}},
      {{"x,y,z", "-x+1/2,-y+1/2,-z+1/2"}, 0, 0, {0.25, 0.25, 0.25}, {1}, {}},
      {{"x,y,z", "x+1/4,y,z"}, 0, 0, {0.2, 0.2, 0.2}, {2}, {}},
      // Zn of wurtzite at (1/3, 2/3, 0) written 0.3333 0.6666 or 0.333 0.667: images differ by
      // 1e-4 to 1e-3 (under 0.01 angstrom), still 2.
      {p63mc,
       0,
       0,
       {0.3333, 0.6666, 0, 0.333, 0.667, 0.38, 0.1, 0.25, 0},
       {2, 2, 12},
       {},
       wurtzite},
      {{"x+1,y-1/2,z+2"}, 0, 0, {0, 0.25, 0.25}, {1}, {0, 0.75, 0.25}},
      {{"x,y,z"}, 0, 0, {-1e-17, 1.0, -0.25}, {1}, {0, 0, 0.75}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.codes.back() + " " + std::to_string(c.general));
    std::vector<double> x, y, z;
    for (std::size_t i = 0; i < c.sites.size(); i += 3) {
      x.push_back(c.sites[i]);
      y.push_back(c.sites[i + 1]);
      z.push_back(c.sites[i + 2]);
    }
    std::array<SymmetryOperation, kMaxOperations> ops;
    int count = 0;
    std::string message;
    ASSERT_EQ(BuildOperations(c.codes, 99, c.centrosymmetric, c.general, ops, count, message), 0);
    EquivalentPositions result;
    GenerateEquivalentPositions(std::span(ops.data(), static_cast<std::size_t>(count)), c.cell,
                                static_cast<int>(x.size()), x.data(), y.data(), z.data(), result);
    EXPECT_EQ(result.generalSites, count);
    for (std::size_t j = 0; j < c.multiplicities.size(); ++j) {
      EXPECT_EQ(result.siteMultiplicity[j], c.multiplicities[j]) << j;
    }
    for (std::size_t i = 0; i < c.imagesOfTheFirst.size(); i += 3) {
      const Position& image = result.At(0, static_cast<int>(i / 3));
      EXPECT_DOUBLE_EQ(image.x, c.imagesOfTheFirst[i]) << i / 3;
      EXPECT_DOUBLE_EQ(image.y, c.imagesOfTheFirst[i + 1]) << i / 3;
      EXPECT_DOUBLE_EQ(image.z, c.imagesOfTheFirst[i + 2]) << i / 3;
    }
  }
}

TEST(EquivalentPositionsTest, FailuresNameTheCodeOrTheGroup) {
  std::array<SymmetryOperation, kMaxOperations> ops;
  int count = 0;
  std::string message;
  EXPECT_EQ(BuildOperations({"x,y,z", "x,y"}, 99, 0, 0, ops, count, message), -1);
  EXPECT_EQ(message, "Symmetry code x,y of space group 99 is not readable !!!");
  EXPECT_EQ(BuildOperations(std::vector<std::string>(97, "x,y,z"), 99, 1, 0, ops, count, message),
            -1);
  EXPECT_EQ(message, "Symmetry operations of space group 99 exceed over 192 !!!");
}

}  // namespace
}  // namespace braxel
