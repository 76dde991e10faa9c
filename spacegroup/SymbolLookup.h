#pragma once

#include <string>

namespace braxel {

class UserInterface;

// Section argument of FindSgInSettingTable.
inline constexpr int kMonoclinicSection = 0;
inline constexpr int kOrthorhombicSection = 1;

// Searches the space-group table for the first line whose symbol text begins with symbol; on a
// match sets sgNumber and settingNumber, otherwise changes nothing.
void FindSgBySymbol(const std::string& tabsgPath, const std::string& symbol, int& sgNumber,
                    int& settingNumber, UserInterface& ui);

// Searches one section of the setting table (kMonoclinicSection or any other value for the
// orthorhombic one) for a field equal to symbol; on a match sets sgNumber and settingNumber.
void FindSgInSettingTable(const std::string& settingTablePath, int section,
                          const std::string& symbol, int& sgNumber, int& settingNumber,
                          UserInterface& ui);

// Find SG Number's search after its question: the space-group table; while sgNumber is 0 the
// monoclinic and then the orthorhombic section of the setting table; while still 0 both tables
// once more, whole symbol against whole symbol with every blank removed. True when sgNumber is
// not 0 at the end; "Space group number not found !!!" is left to the caller.
bool FindSgNumberBySymbol(const std::string& tabsgPath, const std::string& settingTablePath,
                          const std::string& symbol, int& sgNumber, int& settingNumber,
                          UserInterface& ui);

}  // namespace braxel
