#pragma once

#include <functional>
#include <string>

#include "app/CrystalData.h"
#include "platform/UserInterface.h"

namespace braxel {

// The numbers a script gives where the window would ask: the ICSD entry or CIF data block and
// the EXPO solution, typed into their choosers ("1", the first, unless given).
struct UnattendedChoices {
  std::string entry = "1";
  std::string solution = "1";
};

// Reads a structure file chosen by its extension as File Open does, answering the choosers from
// choices without waiting for anyone. False after a shown message, also for a number a chooser
// refused, and for a file whose space-group number stays unknown.
bool ReadStructureUnattended(const std::string& path, const UnattendedChoices& choices,
                             CrystalData& data, CalculationResults& results,
                             const std::string& tabsgPath, const std::string& settingTablePath,
                             UserInterface& ui,
                             const std::function<void(int systemMode)>& convertAxisSetting);

}  // namespace braxel
