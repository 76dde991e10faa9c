#include "engine/Enumeration.h"

#include <algorithm>
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

namespace {

struct Index3 {
  int h;
  int k;
  int l;
  bool operator==(const Index3&) const = default;
};

// The rotations of the Laue group acting on indices, h' = h R, from the point group of the
// operations and the inversion.
class LaueGroup {
 public:
  explicit LaueGroup(std::span<const SymmetryOperation> operations) {
    for (const SymmetryOperation& op : operations) {
      int R[3][3];
      for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) R[r][c] = static_cast<int>(std::lround(op.R[r][c]));
      }
      Add(R);
      for (auto& row : R) {
        for (int& value : row) value = -value;
      }
      Add(R);
    }
  }
  int Count() const { return count_; }
  Index3 Apply(int g, const Index3& v) const {
    const auto& R = rotations_[static_cast<std::size_t>(g)];
    return {v.h * R[0][0] + v.k * R[1][0] + v.l * R[2][0],
            v.h * R[0][1] + v.k * R[1][1] + v.l * R[2][1],
            v.h * R[0][2] + v.k * R[1][2] + v.l * R[2][2]};
  }

 private:
  void Add(const int (&R)[3][3]) {
    for (int g = 0; g < count_; ++g) {
      if (std::equal(&R[0][0], &R[0][0] + 9, &rotations_[static_cast<std::size_t>(g)][0][0])) {
        return;
      }
    }
    if (count_ == kMaxLaueOperations) return;  // a real point group has at most 48
    std::copy(&R[0][0], &R[0][0] + 9, &rotations_[static_cast<std::size_t>(count_++)][0][0]);
  }
  static constexpr int kMaxLaueOperations = 48;
  std::array<int[3][3], kMaxLaueOperations> rotations_{};
  int count_ = 0;
};

}  // namespace

bool IsSystematicallyAbsent(int h, int k, int l, std::span<const SymmetryOperation> operations) {
  for (const SymmetryOperation& op : operations) {
    bool fixed = true;
    for (int c = 0; c < 3 && fixed; ++c) {
      fixed = h * op.R[0][c] + k * op.R[1][c] + l * op.R[2][c] == (c == 0 ? h : c == 1 ? k : l);
    }
    if (!fixed) continue;
    const double phase = h * op.t[0] + k * op.t[1] + l * op.t[2];
    // The rhombohedral centring is given to six decimals, hence the tolerance.
    if (std::fabs(phase - std::round(phase)) > 1e-3) return true;
  }
  return false;
}

int EnumerateReflections(const IndexLimits& limits, std::span<const SymmetryOperation> operations,
                         int settingNumber, int laueIndex, std::span<Reflection> entries,
                         int& count, std::string& runMessage) {
  count = 0;
  // The limits bound |h|, |k| and |l| of every reflection in range; the walk covers all signs.
  const int hmax = std::max(std::abs(limits.hmin), limits.hmax);
  const int kmax = std::max(std::abs(limits.kmin), limits.kmax);
  const int lmax = std::max(std::abs(limits.lmin), limits.lmax);
  if ((2.0 * hmax + 1) * (2.0 * kmax + 1) * (2.0 * lmax + 1) > kMaxBoxTriples) {
    runMessage = CapacityMessage();
    return -1;
  }
  const LaueGroup laue(operations);
  const auto inBox = [&](const Index3& v) {
    return std::abs(v.h) <= hmax && std::abs(v.k) <= kmax && std::abs(v.l) <= lmax;
  };
  // The member that represents a form: inside the limits and restrictions first, then the
  // earliest in walk order.
  const auto precedes = [&](const Index3& a, const Index3& b) {
    const auto selected = [&](const Index3& v) {
      return v.h >= limits.hmin && v.h <= limits.hmax && v.k >= limits.kmin && v.k <= limits.kmax &&
             v.l >= limits.lmin && v.l <= limits.lmax &&
             !OutsideAsymmetricUnit(v.h, v.k, v.l, laueIndex, settingNumber);
    };
    const bool aSelected = selected(a);
    if (aSelected != selected(b)) return aSelected;
    if (a.l != b.l) return a.l > b.l;
    if (a.k != b.k) return a.k > b.k;
    return a.h > b.h;
  };
  for (int l = lmax; l >= -lmax; --l) {
    for (int k = kmax; k >= -kmax; --k) {
      for (int h = hmax; h >= -hmax; --h) {
        if (h == 0 && k == 0 && l == 0) continue;
        const Index3 self{h, k, l};
        bool representative = true;
        for (int g = 0; g < laue.Count() && representative; ++g) {
          const Index3 member = laue.Apply(g, self);
          representative = member == self || !inBox(member) || !precedes(member, self);
        }
        if (!representative || IsSystematicallyAbsent(h, k, l, operations)) continue;
        if (count >= kMaxGeneratedReflections || count >= static_cast<int>(entries.size())) {
          runMessage = CapacityMessage();
          return -1;
        }
        std::array<Index3, 48> members;
        int size = 0;
        for (int g = 0; g < laue.Count(); ++g) {
          const Index3 member = laue.Apply(g, self);
          if (std::find(members.begin(), members.begin() + size, member) ==
              members.begin() + size) {
            members[static_cast<std::size_t>(size++)] = member;
          }
        }
        Reflection& entry = entries[static_cast<std::size_t>(count)];
        entry = Reflection{};
        entry.h = h;
        entry.k = k;
        entry.l = l;
        entry.multiplicity = size;
        entry.generated = count;
        ++count;
      }
    }
  }
  return 0;
}

}  // namespace braxel
