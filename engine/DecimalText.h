#pragma once

#include <string>

namespace braxel {

// The texts of numbers as printf writes them, and the values they read back as; formed without
// printf where the value allows, since reports and patterns write thousands of them.

// The value that the text "%.<decimals>f" makes of value reads back as, 0 <= decimals <= 15.
double RoundToDecimals(double value, int decimals);

// The value that the text "%12.6e" (seven significant digits) makes of value reads back as.
double RoundToSevenDigits(double value);

// Appends value as "%<width>.<decimals>f" writes it, 0 <= decimals <= 15.
void AppendFixed(std::string& text, double value, int width, int decimals);

// Appends value as "%<width>d" writes it.
void AppendInteger(std::string& text, long long value, int width);

}  // namespace braxel
