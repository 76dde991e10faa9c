#include "engine/Classification.h"

#include <cstddef>

namespace braxel {

namespace {

template <std::size_t N>
const char* NameAt(const char* const (&names)[N], int index) {
  return index >= 1 && index < static_cast<int>(N) ? names[index] : "";
}

// Point group by space-group number for the groups whose class does not depend on the setting.
struct NumberRange {
  int first;
  int last;
  int pointGroupIndex;
};

constexpr NumberRange kAnySetting[] = {
    {1, 1, 1},      {2, 2, 2},      {16, 24, 9},    {25, 46, 10},   {47, 74, 11},   {75, 80, 12},
    {81, 82, 13},   {83, 88, 14},   {89, 98, 15},   {99, 110, 16},  {111, 114, 17}, {121, 122, 17},
    {115, 120, 18}, {123, 142, 19}, {150, 150, 24}, {152, 152, 24}, {154, 154, 24}, {149, 149, 25},
    {151, 151, 25}, {153, 153, 25}, {156, 156, 27}, {158, 158, 27}, {157, 157, 28}, {159, 159, 28},
    {164, 165, 30}, {162, 163, 31}, {168, 173, 33}, {174, 174, 34}, {175, 176, 35}, {177, 182, 36},
    {183, 186, 37}, {187, 188, 38}, {189, 190, 39}, {191, 194, 40}, {195, 199, 41}, {200, 206, 42},
    {207, 214, 43}, {215, 220, 44}, {221, 230, 45},
};

// Groups with one setting per axis choice: setting 1 / setting 2.
struct TwoSettings {
  int first;
  int last;
  int setting1;
  int setting2;
};

constexpr TwoSettings kTwoSettings[] = {
    {3, 4, 3, 4},       {6, 6, 5, 6},       {10, 11, 7, 8},     {143, 146, 20, 21},
    {147, 148, 22, 23}, {155, 155, 24, 26}, {160, 161, 27, 29}, {166, 167, 30, 32},
};

// Monoclinic groups with three cell choices: settings 1-3 unique axis b, 4-6 unique axis c.
struct SixSettings {
  int first;
  int last;
  int axisB;
  int axisC;
};

constexpr SixSettings kSixSettings[] = {{5, 5, 3, 4}, {7, 9, 5, 6}, {12, 15, 7, 8}};

}  // namespace

int ClassifyPointGroup(int sgNumber, int settingNumber) {
  for (const NumberRange& range : kAnySetting) {
    if (sgNumber >= range.first && sgNumber <= range.last) return range.pointGroupIndex;
  }
  for (const TwoSettings& range : kTwoSettings) {
    if (sgNumber < range.first || sgNumber > range.last) continue;
    if (settingNumber == 1) return range.setting1;
    if (settingNumber == 2) return range.setting2;
    return 0;
  }
  for (const SixSettings& range : kSixSettings) {
    if (sgNumber < range.first || sgNumber > range.last) continue;
    if (settingNumber >= 1 && settingNumber <= 3) return range.axisB;
    if (settingNumber >= 4 && settingNumber <= 6) return range.axisC;
    return 0;
  }
  return 0;
}

const char* CrystalSystemName(int crystalSystemIndex) {
  static const char* const kNames[] = {"",           "triclinic", "monoclinic", "orthorhombic",
                                       "tetragonal", "trigonal",  "hexagonal",  "cubic"};
  return NameAt(kNames, crystalSystemIndex);
}

const char* LaueClassName(int laueIndex) {
  static const char* const kNames[] = {"",
                                       "-1",
                                       "2/m a-axis",
                                       "2/m b-axis",
                                       "2/m c-axis",
                                       "mmm",
                                       "4/m",
                                       "4/mmm",
                                       "-3 Rhombohedral",
                                       "-3 Hexagonal",
                                       "-3m Rhombohedral",
                                       "-3m Hexagonal",
                                       "6/m",
                                       "6/mmm",
                                       "m3",
                                       "m3m"};
  return NameAt(kNames, laueIndex);
}

const char* UniqueAxisName(int laueIndex) {
  static const char* const kNames[] = {"",   "no", "a",  "b",  "c",  "no", "no", "no",
                                       "no", "no", "no", "no", "no", "no", "no", "no"};
  return NameAt(kNames, laueIndex);
}

const char* PointGroupName(int pointGroupIndex) {
  static const char* const kNames[] = {
      "",        "1",        "-1",        "2",         "2",          "m",        "m",
      "2/m",     "2/m",      "222",       "mm2",       "mmm",        "4",        "-4",
      "4/m",     "422",      "4mm",       "-42m",      "-42m(-4m2)", "4/mmm",    "3(hexa)",
      "3(rhom)", "-3(hexa)", "-3(rhom)",  "32(321)",   "32(312)",    "32(rhom)", "3m(3m1)",
      "3m(31m)", "3m(rhom)", "-3m(-3m1)", "-3m(-31m)", "-3m(rhom)",  "6",        "-6",
      "6/m",     "622",      "6mm",       "-62m",      "-62m",       "6/mmm",    "23",
      "m-3",     "432",      "-43m",      "m-3m"};
  return NameAt(kNames, pointGroupIndex);
}

}  // namespace braxel
