#include "engine/DecimalText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/TextInput.h"

namespace braxel {
namespace {

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kExactPowers = 23;  // 10^0 .. 10^22 are doubles without rounding

// Below this the scaled value and its rounding error are exact, and every integer is a double.
constexpr double kExactScaledLimit = 0x1p51;

// Added to and taken from a value below 2^51 in size, this leaves it rounded to an integer,
// halves to even, as nearbyint does in the default rounding mode, without a library call.
constexpr double kRoundingShift = 0x1.8p52;

// The exact product value x scale rounded to an integer, halves to even, as decimal text
// rounds it; scale is a power of ten and |value x scale| < kExactScaledLimit.
double RoundScaled(double value, double scale) {
  const double product = value * scale;
  const double nearest = (product + kRoundingShift) - kRoundingShift;
  const double fraction = product - nearest;  // exact, in [-0.5, 0.5]
  // Only a product that fell on a half can lie on the other side of it; its rounding error,
  // exact from fma, tells which way the exact value goes.
  if (std::fabs(fraction) != 0.5) return nearest;
  const double error = std::fma(value, scale, -product);
  if (fraction == 0.5 && error > 0.0) return nearest + 1.0;
  if (fraction == -0.5 && error < 0.0) return nearest - 1.0;
  return nearest;
}

// n / scale is the double nearest to the decimal n x 10^-k, as reading the text gives it;
// a zero keeps the sign that the text "-0.0..." has.
double Unscaled(double rounded, double scale, double value) {
  return rounded == 0.0 ? std::copysign(0.0, value) : rounded / scale;
}

// "00" "01" ... "99": digits are written two at a time.
constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
    pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

// Writes count digits of value ending before end, leading zeros included; returns the first.
char* WriteDigits(char* end, unsigned long long& value, int count) {
  for (; count >= 2; count -= 2) {
    end -= 2;
    std::memcpy(end, &kDigitPairs[static_cast<std::size_t>(2 * (value % 100))], 2);
    value /= 100;
  }
  if (count == 1) {
    *--end = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  return end;
}

// Appends the digits of scaled / 10^decimals with its point, signed and right-aligned in width.
void AppendDigits(std::string& text, unsigned long long scaled, bool negative, int width,
                  int decimals) {
  char digits[64];
  std::memset(digits, ' ', sizeof digits);  // the padding, filled ahead at a constant size
  char* const end = digits + sizeof digits;
  char* first = WriteDigits(end, scaled, decimals);
  if (decimals > 0) *--first = '.';
  while (scaled >= 100) first = WriteDigits(first, scaled, 2);
  first = WriteDigits(first, scaled, scaled >= 10 ? 2 : 1);
  if (negative) *--first = '-';
  first = std::min(first, end - std::min<std::ptrdiff_t>(width, end - digits));
  text.append(first, static_cast<std::size_t>(end - first));
}

}  // namespace

double RoundToDecimals(double value, int decimals) {
  const double scale = kPowersOfTen[decimals];
  if (value == 0.0) return value;
  if (std::fabs(value) * scale < kExactScaledLimit && std::fabs(value) > 1e-290) {
    return Unscaled(RoundScaled(value, scale), scale, value);
  }
  char text[400];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return std::strtod(text, nullptr);
}

double RoundToSevenDigits(double value) {
  const double magnitude = std::fabs(value);
  if (magnitude > 1e-15 && magnitude < 1e7) {
    // The exponent e of the text (10^e <= |value| < 10^(e+1)) makes the scaled value a whole
    // number of seven digits; 6 - e lies within the exact powers here.
    // 2^b <= |value| < 2^(b+1) puts the decimal exponent at floor(b log10 2) or one above;
    // b x 78913 / 2^18, shifted down, is that floor for these b.
    const int binary =
        static_cast<int>((std::bit_cast<unsigned long long>(magnitude) >> 52) & 0x7ff) - 1023;
    int digits = 6 - ((binary * 78913) >> 18);
    for (int attempt = 0; attempt < 3 && digits >= 0 && digits < kExactPowers; ++attempt) {
      const double scale = kPowersOfTen[digits];
      const double product = magnitude * scale;
      // Only a product that fell on a bound needs the exact one's side of it.
      if (product < 1e6 || (product == 1e6 && std::fma(magnitude, scale, -product) < 0.0)) {
        ++digits;
      } else if (product > 1e7 || (product == 1e7 && std::fma(magnitude, scale, -product) >= 0.0)) {
        --digits;
      } else {
        return Unscaled(RoundScaled(value, scale), scale, value);
      }
    }
  }
  char text[32];
  const auto written =
      std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 6);
  return WholeDouble(std::string_view(text, written.ptr)).value_or(value);
}

void AppendFixed(std::string& text, double value, int width, int decimals) {
  const double scale = kPowersOfTen[decimals];
  const double magnitude = std::fabs(value);
  if (!(magnitude * scale < kExactScaledLimit) || (magnitude != 0.0 && magnitude < 1e-290)) {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%*.*f", width, decimals, value);
    text += buffer;
    return;
  }
  // printf writes the sign of every negative value, -0.0 and those that round to 0 included.
  AppendDigits(text, static_cast<unsigned long long>(RoundScaled(magnitude, scale)),
               std::signbit(value), width, decimals);
}

void AppendInteger(std::string& text, long long value, int width) {
  const unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                 : static_cast<unsigned long long>(value);
  AppendDigits(text, magnitude, value < 0, width, 0);
}

}  // namespace braxel
