#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <sstream>

#include "engine/SymmetryCodes.h"

namespace braxel {
namespace {

// The text split at the separator.
std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  return parts;
}

// The rows of tests/data/symmetry_codes.txt of this kind, with their fields after the kind.
std::vector<std::vector<std::string>> Rows(const std::string& kind, std::size_t fields) {
  std::ifstream in(BRAXEL_TEST_DATA_DIR "/symmetry_codes.txt");
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> row = Split(line, '|');
    if (row.empty() || row[0] != kind) continue;
    row.resize(fields + 1);
    rows.push_back(row);
  }
  return rows;
}

std::vector<double> Numbers(const std::string& text) {
  std::vector<double> numbers;
  std::istringstream in(text);
  for (double x; in >> x;) numbers.push_back(x);
  return numbers;
}

TEST(ParseSymmetryCodeTest, ReadsMatricesAndTranslationsAndRefusesOtherCodes) {
  const auto codes = Rows("code", 3);
  ASSERT_EQ(codes.size(), 9u);
  for (const auto& row : codes) {
    SymmetryOperation op;
    ASSERT_TRUE(ParseSymmetryCode(row[1], op)) << row[1];
    const std::vector<double> R = Numbers(row[2]);
    const std::vector<double> t = Numbers(row[3]);
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 3; ++c) EXPECT_EQ(op.R[r][c], R[3 * r + c]) << row[1];
      EXPECT_NEAR(op.t[r], t[r], 1e-15) << row[1];
    }
  }
  const auto refused = Rows("refused", 1);
  ASSERT_EQ(refused.size(), 9u);
  for (const auto& row : refused) {
    SymmetryOperation op;
    EXPECT_FALSE(ParseSymmetryCode(row[1], op)) << row[1];
  }
}

TEST(EquivalentPositionsTest, DistinctImagesInTheCell) {
  const auto rows = Rows("images", 6);
  ASSERT_EQ(rows.size(), 11u);
  for (const auto& row : rows) {
    SCOPED_TRACE(row[1] + " " + row[2]);
    const std::vector<double> flags = Numbers(row[2]);
    const std::vector<double> sites = Numbers(row[3]);
    const std::vector<double> multiplicities = Numbers(row[4]);
    const std::vector<double> images = Numbers(row[5]);
    const std::vector<double> edges = Numbers(row[6]);
    const Cell cell = edges.empty()
                          ? Cell{10, 10, 10, 90, 90, 90}
                          : Cell{edges[0], edges[1], edges[2], edges[3], edges[4], edges[5]};
    std::vector<double> x, y, z;
    for (std::size_t i = 0; i < sites.size(); i += 3) {
      x.push_back(sites[i]);
      y.push_back(sites[i + 1]);
      z.push_back(sites[i + 2]);
    }
    std::array<SymmetryOperation, kMaxOperations> ops;
    int count = 0;
    std::string message;
    ASSERT_EQ(BuildOperations(Split(row[1], ';'), 99, static_cast<int>(flags[0]),
                              static_cast<int>(flags[1]), ops, count, message),
              0);
    EquivalentPositions result;
    GenerateEquivalentPositions(std::span(ops.data(), static_cast<std::size_t>(count)), cell,
                                static_cast<int>(x.size()), x.data(), y.data(), z.data(), result);
    EXPECT_EQ(result.generalSites, count);
    for (std::size_t j = 0; j < multiplicities.size(); ++j) {
      EXPECT_EQ(result.siteMultiplicity[j], multiplicities[j]) << j;
    }
    for (std::size_t i = 0; i < images.size(); i += 3) {
      const Position& image = result.At(0, static_cast<int>(i / 3));
      EXPECT_DOUBLE_EQ(image.x, images[i]) << i / 3;
      EXPECT_DOUBLE_EQ(image.y, images[i + 1]) << i / 3;
      EXPECT_DOUBLE_EQ(image.z, images[i + 2]) << i / 3;
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
