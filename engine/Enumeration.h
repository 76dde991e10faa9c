#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "engine/Reflection.h"
#include "engine/SymmetryCodes.h"
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

// "Number of reflections exceeds over 3000 !!!..." with the capacity of generated reflections.
std::string ReflectionCapacityMessage();

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

// Lists every form of reflections h k l of the index box once, with the number of its members
// under the Laue group as multiplicity, dropping the systematic absences of the operations.
// A form is listed by the member the limits and the Laue class's index restrictions select
// where they select one, else by its first member in walk order (descending l, k, h); the list
// is in walk order. 0 on success, -1 when more than capacity forms would be listed.
int EnumerateReflections(const IndexLimits& limits, std::span<const SymmetryOperation> operations,
                         int settingNumber, int laueIndex, int capacity,
                         std::vector<Reflection>& forms, std::string& runMessage);

// True when an operation (R, t) maps h k l onto itself with a phase h.t that is not whole.
bool IsSystematicallyAbsent(int h, int k, int l, std::span<const SymmetryOperation> operations);

}  // namespace braxel
