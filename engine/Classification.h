#pragma once

namespace braxel {

inline constexpr int kPointGroupCount = 45;

// The point group of a space group and setting, 1..45; 0 when the setting is not one the
// group is classified for.
int ClassifyPointGroup(int sgNumber, int settingNumber);

// Names for the report; an empty text for an index off the scale.
const char* CrystalSystemName(int crystalSystemIndex);
const char* LaueClassName(int laueIndex);
const char* UniqueAxisName(int laueIndex);  // "a", "b", "c" or "no"
const char* PointGroupName(int pointGroupIndex);

}  // namespace braxel
