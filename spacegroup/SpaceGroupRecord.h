#pragma once

#include <array>
#include <string>
#include <vector>

namespace braxel {

class UserInterface;

inline constexpr int kMaxSymmetryCodes = 192;
inline constexpr int kMaxCodeLength = 34;
inline constexpr int kReflectionClassCount = 14;
// The table is searched this many records deep at most.
inline constexpr int kMaxTableRecords = 4000;

struct SpaceGroupRecord {
  int number = 0;
  int setting = 0;
  int laueIndex = 0;
  int centrosymmetric = 0;
  int codeCount = 0;
  std::string symbol;
  std::array<int, kReflectionClassCount + 1> conditionCodes{};  // [1..14]
  std::vector<std::string> symmetryCodes;                       // file order
  int crystalSystemIndex = 0;                                   // 0 when laueIndex is off the scale
};

// 1 triclinic ... 7 cubic; 0 for a laueIndex outside 1 to 15.
int CrystalSystemIndexOf(int laueIndex);

// Fills record from the table file; 0 on success, -1 with the message in runMessage.
int ReadSpaceGroupRecord(const std::string& tablePath, int sgNumber, int settingNumber,
                         SpaceGroupRecord& record, std::string& runMessage);

// Finds the symbol of a group and setting for the form, showing failures in a message box.
bool LookUpSpaceGroupSymbol(const std::string& tablePath, int sgNumber, int settingNumber,
                            std::string& sgSymbol, UserInterface& ui);

}  // namespace braxel
