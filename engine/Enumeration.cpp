#include "engine/Enumeration.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

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

std::string ReflectionCapacityMessage() {
  return FormatText("Number of reflections exceeds over %d !!!\nChange range, please.",
                    kMaxGeneratedReflections);
}

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

// The rotations of the Laue group acting on indices, h' = h R: those of the operations and
// their negatives, closed under products so that the forms partition the indices.
class LaueGroup {
 public:
  explicit LaueGroup(std::span<const SymmetryOperation> operations) {
    Add({{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}});  // also when a faulty table lacks it
    for (const SymmetryOperation& op : operations) {
      Matrix R;
      for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) R[r][c] = static_cast<int>(std::lround(op.R[r][c]));
      }
      Add(R);
      for (auto& row : R) {
        for (int& value : row) value = -value;
      }
      Add(R);
    }
    for (int a = 0; a < count_; ++a) {
      for (int b = 0; b < count_; ++b) Add(Product(a, b));
    }
  }
  int Count() const { return count_; }
  Index3 Apply(int g, const Index3& v) const {
    const Matrix& R = rotations_[static_cast<std::size_t>(g)];
    return {v.h * R[0][0] + v.k * R[1][0] + v.l * R[2][0],
            v.h * R[0][1] + v.k * R[1][1] + v.l * R[2][1],
            v.h * R[0][2] + v.k * R[1][2] + v.l * R[2][2]};
  }

 private:
  using Matrix = std::array<std::array<int, 3>, 3>;
  Matrix Product(int a, int b) const {
    const Matrix& A = rotations_[static_cast<std::size_t>(a)];
    const Matrix& B = rotations_[static_cast<std::size_t>(b)];
    Matrix P{};
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 3; ++c) {
        for (int m = 0; m < 3; ++m) P[r][c] += A[r][m] * B[m][c];
      }
    }
    return P;
  }
  void Add(const Matrix& R) {
    if (std::find(rotations_.begin(), rotations_.begin() + count_, R) !=
        rotations_.begin() + count_) {
      return;
    }
    if (count_ == kMaxLaueOperations) return;  // a real point group has at most 48
    // Nor has it numbers beyond 2: a larger product marks codes that make no point group, and
    // leaving it out keeps the products of those kept within an int.
    for (const auto& row : R) {
      for (const int value : row) {
        if (std::abs(value) > 2) return;
      }
    }
    rotations_[static_cast<std::size_t>(count_++)] = R;
  }
  static constexpr int kMaxLaueOperations = 48;
  std::array<Matrix, kMaxLaueOperations> rotations_{};
  int count_ = 0;
};

// The operations that can make a reflection absent, those whose translation leaves the lattice,
// grouped by rotation so that a reflection is tested against each rotation once.
class AbsenceRules {
 public:
  explicit AbsenceRules(std::span<const SymmetryOperation> operations) {
    for (const SymmetryOperation& op : operations) {
      if (std::all_of(std::begin(op.t), std::end(op.t),
                      [](double t) { return t == std::round(t); })) {
        continue;
      }
      auto rule = std::find_if(rules_.begin(), rules_.end(), [&](const Rule& r) {
        return std::equal(&r.R[0][0], &r.R[0][0] + 9, &op.R[0][0]);
      });
      if (rule == rules_.end()) {
        rule = rules_.insert(rules_.end(), Rule{});
        std::copy(&op.R[0][0], &op.R[0][0] + 9, &rule->R[0][0]);
      }
      rule->translations.push_back({op.t[0], op.t[1], op.t[2]});
    }
  }
  bool Absent(const Index3& v) const {
    for (const Rule& rule : rules_) {
      const double(&R)[3][3] = rule.R;
      if (v.h * R[0][0] + v.k * R[1][0] + v.l * R[2][0] != v.h ||
          v.h * R[0][1] + v.k * R[1][1] + v.l * R[2][1] != v.k ||
          v.h * R[0][2] + v.k * R[1][2] + v.l * R[2][2] != v.l) {
        continue;
      }
      for (const auto& t : rule.translations) {
        const double phase = v.h * t[0] + v.k * t[1] + v.l * t[2];
        // The rhombohedral centring is given to six decimals, hence the tolerance.
        if (std::fabs(phase - std::round(phase)) > 1e-3) return true;
      }
    }
    return false;
  }

 private:
  struct Rule {
    double R[3][3];
    std::vector<std::array<double, 3>> translations;
  };
  std::vector<Rule> rules_;
};

}  // namespace

bool IsSystematicallyAbsent(int h, int k, int l, std::span<const SymmetryOperation> operations) {
  return AbsenceRules(operations).Absent({h, k, l});
}

int EnumerateReflections(const IndexLimits& limits, std::span<const SymmetryOperation> operations,
                         int settingNumber, int laueIndex, int capacity,
                         std::vector<Reflection>& forms, std::string& runMessage) {
  forms.clear();
  // The limits bound |h|, |k| and |l| of every reflection in range; the walk covers all signs.
  const int hmax = std::max(std::abs(limits.hmin), limits.hmax);
  const int kmax = std::max(std::abs(limits.kmin), limits.kmax);
  const int lmax = std::max(std::abs(limits.lmin), limits.lmax);
  if ((2.0 * hmax + 1) * (2.0 * kmax + 1) * (2.0 * lmax + 1) > kMaxBoxTriples) {
    runMessage = ReflectionCapacityMessage();
    return -1;
  }
  const LaueGroup laue(operations);
  const AbsenceRules absence(operations);
  const std::size_t rowLength = static_cast<std::size_t>(2 * hmax + 1);
  const std::size_t planeSize = rowLength * static_cast<std::size_t>(2 * kmax + 1);
  const auto walkIndex = [&](const Index3& v) {
    return static_cast<std::size_t>(lmax - v.l) * planeSize +
           static_cast<std::size_t>(kmax - v.k) * rowLength + static_cast<std::size_t>(hmax - v.h);
  };
  const auto inBox = [&](const Index3& v) {
    return std::abs(v.h) <= hmax && std::abs(v.k) <= kmax && std::abs(v.l) <= lmax;
  };
  const auto selected = [&](const Index3& v) {
    return v.h >= limits.hmin && v.h <= limits.hmax && v.k >= limits.kmin && v.k <= limits.kmax &&
           v.l >= limits.lmin && v.l <= limits.lmax &&
           !OutsideAsymmetricUnit(v.h, v.k, v.l, laueIndex, settingNumber);
  };
  struct Form {
    std::size_t walk;  // of the member that represents it
    Index3 member;
    int size;
  };
  std::vector<Form> found;
  // Room for the forms at once (most have all the group's members in the box): growing the
  // list by copies would touch its pages twice over.
  const std::size_t boxPoints = planeSize * static_cast<std::size_t>(2 * lmax + 1);
  found.reserve(std::min(static_cast<std::size_t>(capacity),
                         2 * boxPoints / static_cast<std::size_t>(laue.Count()) + 16));
  // Each form is met once, at its first member in walk order; all its members in the box are
  // marked then, so the walk only tests a bit for the others.
  std::vector<bool> visited(boxPoints, false);
  std::size_t index = 0;
  for (int l = lmax; l >= -lmax; --l) {
    for (int k = kmax; k >= -kmax; --k) {
      for (int h = hmax; h >= -hmax; --h, ++index) {
        // Absence is shared by all members of a form, so an absent one is passed over without
        // forming its members; each of them is passed over alike when the walk meets it.
        if (visited[index] || (h == 0 && k == 0 && l == 0) || absence.Absent({h, k, l})) continue;
        // The member that represents the form: inside the limits and restrictions first, then
        // the earliest in walk order.
        Form form{index, {h, k, l}, 0};
        bool formSelected = selected(form.member);
        // A form has as many members as the group has rotations over those that fix it.
        int fixedBy = 0;
        for (int g = 0; g < laue.Count(); ++g) {
          const Index3 member = laue.Apply(g, {h, k, l});
          if (member == Index3{h, k, l}) ++fixedBy;
          if (!inBox(member)) continue;
          const std::size_t at = walkIndex(member);
          if (visited[at]) continue;
          visited[at] = true;
          const bool memberSelected = selected(member);
          if ((memberSelected && !formSelected) ||
              (memberSelected == formSelected && at < form.walk)) {
            form.walk = at;
            form.member = member;
            formSelected = memberSelected;
          }
        }
        form.size = laue.Count() / fixedBy;
        if (static_cast<int>(found.size()) >= capacity) {
          runMessage = ReflectionCapacityMessage();
          return -1;
        }
        found.push_back(form);
      }
    }
  }
  std::sort(found.begin(), found.end(),
            [](const Form& a, const Form& b) { return a.walk < b.walk; });
  forms.resize(found.size());
  for (std::size_t i = 0; i < found.size(); ++i) {
    Reflection& entry = forms[i];
    entry.h = found[i].member.h;
    entry.k = found[i].member.k;
    entry.l = found[i].member.l;
    entry.multiplicity = found[i].size;
    entry.generated = static_cast<int>(i);
  }
  return 0;
}

}  // namespace braxel
