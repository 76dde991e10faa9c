#pragma once

#include <string>

namespace braxel {

class UserInterface;

// Section argument of FindSgInSettingTable.
inline constexpr int kMonoclinicSection = 0;
inline constexpr int kOrthorhombicSection = 1;

// The setting-table section, and so the mode of the axis conversion, of a space group:
// kMonoclinicSection for groups 3 to 15, kOrthorhombicSection for 16 to 74, and -1 for the
// groups without axis settings.
int AxisConversionModeOf(int sgNumber);

// Searches the space-group table for the first line whose symbol text is the whole symbol, and
// when none is, for the first whose text begins with it; on a match sets sgNumber and
// settingNumber, otherwise changes nothing.
void FindSgBySymbol(const std::string& tabsgPath, const std::string& symbol, int& sgNumber,
                    int& settingNumber, UserInterface& ui);

// Searches one section of the setting table (kMonoclinicSection or any other value for the
// orthorhombic one) for a field equal to symbol; on a match sets sgNumber and settingNumber.
void FindSgInSettingTable(const std::string& settingTablePath, int section,
                          const std::string& symbol, int& sgNumber, int& settingNumber,
                          UserInterface& ui);

// Both tables compared whole symbol against whole symbol with every blank removed on both sides,
// so that Pnma or P121/c1 find their groups: the space-group table's symbols, then the fields of
// the monoclinic and the orthorhombic section that FindSgInSettingTable compares. Shows nothing;
// on a match sets sgNumber and settingNumber and returns true.
bool FindSgWithoutBlanks(const std::string& tabsgPath, const std::string& settingTablePath,
                         const std::string& symbol, int& sgNumber, int& settingNumber);

// What follows the space-group table's lookup while sgNumber is 0: the table's setting with the
// operations of the group the symbol names however it is spelt (SpaceGroupOfSymbol); the
// monoclinic and then the orthorhombic section of the setting table; FindSgWithoutBlanks; and
// last, for a group the symbol names in axes the table lacks, its number with setting 1 and a
// message saying so. True when sgNumber is not 0 at the end.
bool FindSgBeyondTable(const std::string& tabsgPath, const std::string& settingTablePath,
                       const std::string& symbol, int& sgNumber, int& settingNumber,
                       UserInterface& ui);

// Find SG Number's search after its question: FindSgBySymbol, then FindSgBeyondTable. True when
// sgNumber is not 0 at the end; "Space group number not found !!!" is left to the caller.
bool FindSgNumberBySymbol(const std::string& tabsgPath, const std::string& settingTablePath,
                          const std::string& symbol, int& sgNumber, int& settingNumber,
                          UserInterface& ui);

}  // namespace braxel
