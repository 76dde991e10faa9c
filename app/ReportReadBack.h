#pragma once

#include <string>

#include "app/CrystalData.h"

namespace braxel {

class UserInterface;

// Fills the result texts from the report of a successful run. False (with the missing key
// shown) when the report is not one a run wrote; what was read before stays.
bool ReadBackReport(const std::string& reportPath, CalculationResults& results, UserInterface& ui);

}  // namespace braxel
