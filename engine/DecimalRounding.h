#pragma once

namespace braxel {

// The value that the text "%.<decimals>f" makes of value reads back as, 0 <= decimals <= 15.
double RoundToDecimals(double value, int decimals);

// The value that the text "%12.6e" (seven significant digits) makes of value reads back as.
double RoundToSevenDigits(double value);

}  // namespace braxel
