#pragma once

#include <array>
#include <span>
#include <string>

#include "engine/Classification.h"
#include "engine/Reflection.h"
#include "spacegroup/SpaceGroupRecord.h"

namespace braxel {

inline constexpr int kGeneralClass = 7;  // "hkl", which also carries the lattice centring
inline constexpr int kConditionCodeCount = 28;

using ConditionCodes = std::array<int, kReflectionClassCount + 1>;  // [1..14]

struct IndexLimits {
  int hmin = 0;
  int hmax = 0;
  int kmin = 0;
  int kmax = 0;
  int lmin = 0;
  int lmax = 0;
};

const char* ReflectionClassName(int reflectionClass);  // "00l" ... "hhh"
const char* ConditionText(int conditionCode);          // "h=2n" ...; empty off the scale
bool MatchesClass(int h, int k, int l, int reflectionClass);
// 0 when h k l satisfies the condition, -1 when not; codes other than 1..28 never do.
int TestCondition(int h, int k, int l, int conditionCode);

// The reflection class of h k l (the last class whose pattern it matches, 0 for 0 0 0), and
// whether it satisfies the general condition and the condition of every class it matches.
int ClassOfAllowed(int h, int k, int l, const ConditionCodes& conditionCodes, bool& allowed);

IndexLimits ComputeIndexLimits(double a, double b, double c, double twoThetaEnd,
                               int crystalSystemIndex, int centrosymmetric, int laueIndex,
                               double ka1);

// Walks the index box and stores the kept reflections with their multiplicities in entries;
// 0 on success, -1 when more than kMaxGeneratedReflections would be kept.
int EnumerateReflections(const IndexLimits& limits, const ConditionCodes& conditionCodes,
                         const MultiplicityTable& multiplicities, int pointGroupIndex,
                         int settingNumber, int laueIndex, std::span<Reflection> entries,
                         int& count, std::string& runMessage);

}  // namespace braxel
