#include "engine/Enumeration.h"

#include <cmath>
#include <cstdlib>

#include "platform/TextInput.h"

namespace braxel {

namespace {

bool Divisible(int value, int by) { return value % by == 0; }
bool Even(int value) { return Divisible(value, 2); }

// A box this large keeps more than the reflection capacity for any real group, so it is
// refused before the walk rather than walked for minutes.
constexpr double kMaxBoxTriples = 2.0e7;
// Keeps the conversion of an absurd cell to integer limits defined.
constexpr double kMaxIndex = 1.0e6;

int IndexLimit(double edge, double dmin) {
  const double limit = edge / dmin;
  if (!(limit < kMaxIndex)) return static_cast<int>(kMaxIndex);  // also NaN
  if (limit < -kMaxIndex) return static_cast<int>(-kMaxIndex);
  return static_cast<int>(limit);
}

std::string CapacityMessage() {
  return FormatText("Number of reflections exceeds over %d !!!\nChange range, please.",
                    kMaxGeneratedReflections);
}

// Keeps one reflection of each set the Laue class makes equivalent.
bool OutsideAsymmetricUnit(int h, int k, int l, int laueIndex, int settingNumber) {
  switch (laueIndex) {
    case 6:
    case 7:
      return h < k;
    case 8:
    case 9:
    case 10:
    case 11:
      return settingNumber == 2 && (std::abs(h) < std::abs(k) || std::abs(k) < std::abs(l));
    case 12:
    case 13:
      return std::abs(h) < std::abs(k);
    case 14:
    case 15:
      return h < k || k < l;
    default:
      return false;
  }
}

}  // namespace

const char* ReflectionClassName(int reflectionClass) {
  static const char* const kNames[] = {"",    "00l", "0k0", "0kl", "h00", "h0l", "hk0", "hkl",
                                       "0kk", "hh0", "hhl", "h0h", "hkk", "hkh", "hhh"};
  return reflectionClass >= 1 && reflectionClass <= kReflectionClassCount ? kNames[reflectionClass]
                                                                          : "";
}

const char* ConditionText(int conditionCode) {
  static const char* const kTexts[] = {
      "",        "h=2n",           "k=2n",      "l=2n",          "k+l=2n",   "h+l=2n",
      "h+k=2n",  "h,k,l odd/even", "k+l=4n",    "h+l=4n",        "h+k=4n",   "2h+1=2n",
      "2h+l=4n", "h+k+l=2n",       "-h+k+l=3n", "h-k+l=3n",      "h=4n",     "k=4n",
      "l=3n",    "l=4n",           "l=6n",      "|h|>=|k|>=|l|", "2h+k=2n",  "2h+k=4n",
      "h+2k=2n", "h+2k=4n",        "h=2n,k=2n", "k=2n,l=2n",     "h=2n,l=2n"};
  return conditionCode >= 1 && conditionCode <= kConditionCodeCount ? kTexts[conditionCode] : "";
}

bool MatchesClass(int h, int k, int l, int reflectionClass) {
  switch (reflectionClass) {
    case 1:
      return h == 0 && k == 0 && l != 0;
    case 2:
      return h == 0 && k != 0 && l == 0;
    case 3:
      return h == 0 && k != 0 && l != 0 && k != l;
    case 4:
      return h != 0 && k == 0 && l == 0;
    case 5:
      return h != 0 && k == 0 && l != 0;
    case 6:
      return h != 0 && k != 0 && l == 0;
    case 7:
      return h != 0 && k != 0 && l != 0;
    case 8:
      return h == 0 && k != 0 && l == k;
    case 9:
      return h != 0 && k == h && l == 0;
    case 10:
      return h != 0 && k == h && l != 0;
    case 11:
      return h != 0 && k == 0 && l == h;
    case 12:
      return h != 0 && k != 0 && l == k;
    case 13:
      return h != 0 && k != 0 && l == h;
    case 14:
      return h != 0 && k == h && l == h;
    default:
      return false;
  }
}

int TestCondition(int h, int k, int l, int conditionCode) {
  bool allowed = false;
  switch (conditionCode) {
    case 1:
      allowed = Even(h);
      break;
    case 2:
      allowed = Even(k);
      break;
    case 3:
      allowed = Even(l);
      break;
    case 4:
      allowed = Even(k + l);
      break;
    case 5:
      allowed = Even(h + l);
      break;
    case 6:
      allowed = Even(h + k);
      break;
    case 7:
      allowed = (Even(h) && Even(k) && Even(l)) || (!Even(h) && !Even(k) && !Even(l));
      break;
    case 8:
      allowed = Divisible(k + l, 4);
      break;
    case 9:
      allowed = Divisible(h + l, 4);
      break;
    case 10:
      allowed = Divisible(h + k, 4);
      break;
    case 11:
      allowed = Even(2 * h + l);
      break;
    case 12:
      allowed = Divisible(2 * h + l, 4);
      break;
    case 13:
      allowed = Even(h + k + l);
      break;
    case 14:
      allowed = Divisible(-h + k + l, 3);
      break;
    case 15:
      allowed = Divisible(h - k + l, 3);
      break;
    case 16:
      allowed = Divisible(h, 4);
      break;
    case 17:
      allowed = Divisible(k, 4);
      break;
    case 18:
      allowed = Divisible(l, 3);
      break;
    case 19:
      allowed = Divisible(l, 4);
      break;
    case 20:
      allowed = Divisible(l, 6);
      break;
    case 21:
      allowed = std::abs(h) >= std::abs(k) && std::abs(k) >= std::abs(l);
      break;
    case 22:
      allowed = Even(2 * h + k);
      break;
    case 23:
      allowed = Divisible(2 * h + k, 4);
      break;
    case 24:
      allowed = Even(h + 2 * k);
      break;
    case 25:
      allowed = Divisible(h + 2 * k, 4);
      break;
    case 26:
      allowed = Even(h) && Even(k);
      break;
    case 27:
      allowed = Even(k) && Even(l);
      break;
    case 28:
      allowed = Even(h) && Even(l);
      break;
    default:
      allowed = false;
      break;
  }
  return allowed ? 0 : -1;
}

int ClassOfAllowed(int h, int k, int l, const ConditionCodes& conditionCodes, bool& allowed) {
  const int general = conditionCodes[kGeneralClass];
  allowed = general == 0 || TestCondition(h, k, l, general) == 0;
  int reflectionClass = 0;
  for (int cls = 1; cls <= kReflectionClassCount && allowed; ++cls) {
    if (!MatchesClass(h, k, l, cls)) continue;
    reflectionClass = cls;
    const int code = conditionCodes[cls];
    allowed = code == 0 || TestCondition(h, k, l, code) == 0;
  }
  return reflectionClass;
}

IndexLimits ComputeIndexLimits(double a, double b, double c, double twoThetaEnd,
                               int crystalSystemIndex, int centrosymmetric, int laueIndex,
                               double ka1) {
  const double dmin = ka1 / (2.0 * std::sin(0.5 * twoThetaEnd * kDegree));
  IndexLimits limits;
  limits.hmax = IndexLimit(a, dmin);
  limits.kmax = IndexLimit(b, dmin);
  limits.lmax = IndexLimit(c, dmin);
  if (crystalSystemIndex == 1) {
    limits.hmin = -limits.hmax;
    limits.kmin = -limits.kmax;
    if (centrosymmetric != 1) limits.lmin = -limits.lmax;
  }
  switch (laueIndex) {
    case 2:
      limits.lmin = -limits.lmax;
      break;
    case 3:
      limits.hmin = -limits.hmax;
      break;
    case 4:
      limits.kmin = -limits.kmax;
      break;
    default:
      break;
  }
  return limits;
}

int EnumerateReflections(const IndexLimits& limits, const ConditionCodes& conditionCodes,
                         const MultiplicityTable& multiplicities, int pointGroupIndex,
                         int settingNumber, int laueIndex, std::span<Reflection> entries,
                         int& count, std::string& runMessage) {
  count = 0;
  const auto span = [](int low, int high) { return high >= low ? double(high) - low + 1.0 : 0.0; };
  if (span(limits.hmin, limits.hmax) * span(limits.kmin, limits.kmax) *
          span(limits.lmin, limits.lmax) >
      kMaxBoxTriples) {
    runMessage = CapacityMessage();
    return -1;
  }
  for (int l = limits.lmax; l >= limits.lmin; --l) {
    for (int k = limits.kmax; k >= limits.kmin; --k) {
      for (int h = limits.hmax; h >= limits.hmin; --h) {
        if (OutsideAsymmetricUnit(h, k, l, laueIndex, settingNumber)) continue;
        bool allowed = false;
        const int reflectionClass = ClassOfAllowed(h, k, l, conditionCodes, allowed);
        if (!allowed || reflectionClass == 0) continue;
        if (count >= kMaxGeneratedReflections || count >= static_cast<int>(entries.size())) {
          runMessage = CapacityMessage();
          return -1;
        }
        Reflection& entry = entries[static_cast<std::size_t>(count)];
        entry = Reflection{};
        entry.h = h;
        entry.k = k;
        entry.l = l;
        entry.multiplicity = pointGroupIndex >= 1 && pointGroupIndex <= kPointGroupCount
                                 ? multiplicities[static_cast<std::size_t>(reflectionClass)]
                                                 [static_cast<std::size_t>(pointGroupIndex)]
                                 : 0;
        entry.generated = count;
        ++count;
      }
    }
  }
  return 0;
}

}  // namespace braxel
