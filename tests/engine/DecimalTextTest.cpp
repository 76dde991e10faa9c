#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "engine/DecimalText.h"

namespace braxel {
namespace {

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
