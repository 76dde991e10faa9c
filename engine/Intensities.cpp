#include "engine/Intensities.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/Capacity.h"
#include "engine/DecimalText.h"

namespace braxel {

namespace {

constexpr double kTwoPi = 6.2831853;

double TwoThetaOf(double d, double lambda) {
  double sinTheta = 0.5 * lambda / d;
  if (sinTheta > 1.0) sinTheta = 1.0;
  if (sinTheta < -1.0) sinTheta = -1.0;
  return 2.0 * std::asin(sinTheta) / kDegree;
}

// The values an index takes over the entries, ascending and each once.
std::vector<int> UsedValues(const std::vector<int>& values) {
  if (values.empty()) return {};
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  std::vector<bool> used(static_cast<std::size_t>(*high - *low) + 1);
  for (const int value : values) used[static_cast<std::size_t>(value - *low)] = true;
  std::vector<int> result;
  for (std::size_t v = 0; v < used.size(); ++v) {
    if (used[v]) result.push_back(*low + static_cast<int>(v));
  }
  return result;
}

// The values one coordinate takes over an atom's copies, each once, and the value of each copy.
struct AxisValues {
  AxisValues(const Position* sites, int copies, double Position::*axis) {
    for (int m = 0; m < copies; ++m) values.push_back(sites[m].*axis);
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    for (int m = 0; m < copies; ++m) {
      of.push_back(static_cast<int>(std::lower_bound(values.begin(), values.end(), sites[m].*axis) -
                                    values.begin()));
    }
  }
  std::vector<double> values;
  std::vector<int> of;  // per copy, its value's position in values
};

// cos and sin of 2pi n u for every used index value n of an axis and every value u the axis
// takes, one row per n.
class PhaseTable {
 public:
  PhaseTable(const std::vector<int>& used, const std::vector<double>& values)
      : used_(used), width_(values.size()) {
    cos_.resize(used.size() * width_);
    sin_.resize(cos_.size());
    for (std::size_t row = 0; row < used.size(); ++row) {
      for (std::size_t v = 0; v < width_; ++v) {
        const double phase = kTwoPi * used[row] * values[v];
        cos_[row * width_ + v] = std::cos(phase);
        sin_[row * width_ + v] = std::sin(phase);
      }
    }
  }
  const double* Cos(int n) const { return &cos_[Row(n)]; }
  const double* Sin(int n) const { return &sin_[Row(n)]; }

 private:
  std::size_t Row(int n) const {
    return static_cast<std::size_t>(std::lower_bound(used_.begin(), used_.end(), n) -
                                    used_.begin()) *
           width_;
  }
  const std::vector<int>& used_;
  std::size_t width_;
  std::vector<double> cos_;
  std::vector<double> sin_;
};

// The reflections the entries stem from, each once and in the enumeration's order (so that k
// and l change seldom), and the position of each entry's reflection among them.
struct NeededReflections {
  explicit NeededReflections(std::span<const Reflection> entries) {
    // The entries number their reflections 0, 1, ... in the enumeration's order.
    std::size_t count = 0;
    for (const Reflection& entry : entries) {
      count = std::max(count, static_cast<std::size_t>(entry.generated) + 1);
    }
    h.resize(count);
    k.resize(count);
    l.resize(count);
    for (const Reflection& entry : entries) {
      const std::size_t n = static_cast<std::size_t>(entry.generated);
      h[n] = entry.h;
      k[n] = entry.k;
      l[n] = entry.l;
      of.push_back(entry.generated);
    }
    hUsed = UsedValues(h);
    kUsed = UsedValues(k);
    lUsed = UsedValues(l);
  }
  std::vector<int> h, k, l;
  std::vector<int> of;  // per entry
  std::vector<int> hUsed, kUsed, lUsed;
};

// The sums over one atom's copies of cos and sin of 2pi (h x + k y + l z) for the needed
// reflections. Copies of a site share coordinate values (the images of centring, inversion and
// the other operations repeat each other's x, y or z), so the sum is taken in stages that
// follow the order of the reflections: once per l over the z of the copies, once per k l over
// the distinct x y pairs, and once per h over the distinct x values only.
void ComputePhaseSums(const NeededReflections& needed, const Position* sites, int copies,
                      std::vector<double>& cosSums, std::vector<double>& sinSums) {
  const AxisValues xv(sites, copies, &Position::x);
  const AxisValues yv(sites, copies, &Position::y);
  const AxisValues zv(sites, copies, &Position::z);
  const PhaseTable X(needed.hUsed, xv.values), Y(needed.kUsed, yv.values),
      Z(needed.lUsed, zv.values);
  // The copies ordered by their x and y values; each run of one x y pair is a group.
  std::vector<int> order(static_cast<std::size_t>(copies));
  for (int m = 0; m < copies; ++m) order[static_cast<std::size_t>(m)] = m;
  std::sort(order.begin(), order.end(), [&](int a, int b) {
    return std::pair(xv.of[a], yv.of[a]) < std::pair(xv.of[b], yv.of[b]);
  });
  struct Group {
    int x;
    int y;
    int first;  // into order
    int end;
  };
  std::vector<Group> groups;
  for (int i = 0; i < copies; ++i) {
    const int m = order[static_cast<std::size_t>(i)];
    if (groups.empty() || groups.back().x != xv.of[m] || groups.back().y != yv.of[m]) {
      groups.push_back({xv.of[m], yv.of[m], i, i});
    }
    groups.back().end = i + 1;
  }
  const std::size_t xCount = xv.values.size();
  std::vector<double> planeCos(groups.size()), planeSin(groups.size());  // sums over z
  std::vector<double> rowCos(xCount), rowSin(xCount);                    // and over y
  cosSums.resize(needed.h.size());
  sinSums.resize(needed.h.size());
  for (std::size_t n = 0; n < needed.h.size(); ++n) {
    const bool newPlane = n == 0 || needed.l[n] != needed.l[n - 1];
    if (newPlane) {
      const double* zc = Z.Cos(needed.l[n]);
      const double* zs = Z.Sin(needed.l[n]);
      for (std::size_t p = 0; p < groups.size(); ++p) {
        double c = 0.0;
        double s = 0.0;
        for (int i = groups[p].first; i < groups[p].end; ++i) {
          const int v = zv.of[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])];
          c += zc[v];
          s += zs[v];
        }
        planeCos[p] = c;
        planeSin[p] = s;
      }
    }
    if (newPlane || needed.k[n] != needed.k[n - 1]) {
      const double* yc = Y.Cos(needed.k[n]);
      const double* ys = Y.Sin(needed.k[n]);
      std::fill(rowCos.begin(), rowCos.end(), 0.0);
      std::fill(rowSin.begin(), rowSin.end(), 0.0);
      for (std::size_t p = 0; p < groups.size(); ++p) {
        const double c = yc[groups[p].y];
        const double s = ys[groups[p].y];
        rowCos[static_cast<std::size_t>(groups[p].x)] += c * planeCos[p] - s * planeSin[p];
        rowSin[static_cast<std::size_t>(groups[p].x)] += c * planeSin[p] + s * planeCos[p];
      }
    }
    const double* xc = X.Cos(needed.h[n]);
    const double* xs = X.Sin(needed.h[n]);
    double c = 0.0;
    double s = 0.0;
    for (std::size_t v = 0; v < xCount; ++v) {
      c += xc[v] * rowCos[v] - xs[v] * rowSin[v];
      s += xc[v] * rowSin[v] + xs[v] * rowCos[v];
    }
    cosSums[n] = c;
    sinSums[n] = s;
  }
}

}  // namespace

Reflection Ka2Copy(const Reflection& entry, double ka2) {
  Reflection copy = entry;
  copy.code = 2;
  copy.d = RoundToSevenDigits(entry.d);
  copy.s2 = RoundToSevenDigits(entry.s2);
  copy.twoTheta = TwoThetaOf(copy.d, ka2);
  return copy;
}

std::vector<int> SelectionSortOrder(std::span<const double> angles, double upTo) {
  // A selection sort picks, at step i, the smallest angle among positions i.. (the lowest
  // position among equal angles) and exchanges it with position i, which moves the entry
  // there further back. Its steps therefore take the angles in ascending order, and only the
  // choice among equal angles depends on where the exchanges have left them: the order is a
  // plain sort, with the positions followed to settle the equal ones.
  std::vector<int> order;
  for (std::size_t e = 0; e < angles.size(); ++e) {
    if (angles[e] <= upTo) order.push_back(static_cast<int>(e));
  }
  std::sort(order.begin(), order.end(), [&](int a, int b) {
    return angles[static_cast<std::size_t>(a)] < angles[static_cast<std::size_t>(b)];
  });
  std::vector<int> positionOf(angles.size());
  std::vector<int> entryAt(angles.size());
  for (std::size_t e = 0; e < angles.size(); ++e) {
    positionOf[e] = static_cast<int>(e);
    entryAt[e] = static_cast<int>(e);
  }
  const auto angleOf = [&](int e) { return angles[static_cast<std::size_t>(e)]; };
  std::size_t equalEnd = 0;  // the end of the run of equal angles the step is in
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (i == equalEnd) {
      while (++equalEnd < order.size() && angleOf(order[equalEnd]) == angleOf(order[i])) {
      }
    }
    // The equal angle that lies at the lowest position goes first.
    for (std::size_t other = i + 1; other < equalEnd; ++other) {
      if (positionOf[static_cast<std::size_t>(order[other])] <
          positionOf[static_cast<std::size_t>(order[i])]) {
        std::swap(order[i], order[other]);
      }
    }
    const int best = order[i];
    const int from = positionOf[static_cast<std::size_t>(best)];
    const int moved = entryAt[i];
    entryAt[static_cast<std::size_t>(from)] = moved;
    positionOf[static_cast<std::size_t>(moved)] = from;
    entryAt[i] = best;
    positionOf[static_cast<std::size_t>(best)] = static_cast<int>(i);
  }
  return order;
}

bool PeakWidth(const ProfileParameters& profile, double twoTheta, double& fwhm) {
  const double tangent = std::tan(twoTheta * kDegree / 2.0);
  const double H2 = profile.U * tangent * tangent + profile.V * tangent + profile.W;
  if (H2 < 0.0) return false;
  fwhm = std::sqrt(H2);
  return true;
}

int ComputeIntensities(std::span<Reflection> entries, int count, const ScatteringFactorTable& f,
                       const AtomSites& atoms, const ProfileParameters& profile,
                       ReportedRange reported, std::string& runMessage) {
  if (count == 0) return 0;
  const std::span<Reflection> computed = entries.first(static_cast<std::size_t>(count));
  const NeededReflections needed(computed);
  // F(h k l) and F(-h -k -l) of every entry, summed atom by atom: the cosine sums are even in
  // the indices, the sine sums odd.
  std::vector<double> Ar(computed.size()), Ai(computed.size()), friedelAr(computed.size()),
      friedelAi(computed.size());
  std::vector<double> cosSums, sinSums;
  // The temperature factors of the last atom's B, which atoms listed together often share.
  std::vector<double> T(computed.size());
  for (int j = 0; j < atoms.count; ++j) {
    ComputePhaseSums(needed, &atoms.positions->At(j, 0),
                     atoms.positions->siteMultiplicity[static_cast<std::size_t>(j)], cosSums,
                     sinSums);
    if (j == 0 || !(atoms.B[j] == atoms.B[j - 1])) {
      for (std::size_t i = 0; i < computed.size(); ++i) {
        T[i] = std::exp(-atoms.B[j] * computed[i].s2);
      }
    }
    const double deltaf2 = atoms.scattering->Deltaf2[static_cast<std::size_t>(j)];
    const double* column = f.Column(j);
    for (std::size_t i = 0; i < computed.size(); ++i) {
      const double C = cosSums[static_cast<std::size_t>(needed.of[i])];
      const double S = sinSums[static_cast<std::size_t>(needed.of[i])];
      const double fj = column[i];
      const double weight = T[i] * atoms.g[j];
      Ar[i] += weight * (fj * C - deltaf2 * S);
      Ai[i] += weight * (fj * S + deltaf2 * C);
      friedelAr[i] += weight * (fj * C + deltaf2 * S);
      friedelAi[i] += weight * (deltaf2 * C - fj * S);
    }
  }
  for (std::size_t i = 0; i < computed.size(); ++i) {
    Reflection& entry = computed[i];
    // A form of the Laue class holds h k l and its Friedel mate, which differ where the
    // anomalous terms break Friedel's law: the entry carries the root of their mean square.
    entry.fCalc = std::sqrt((Ar[i] * Ar[i] + Ai[i] * Ai[i] + friedelAr[i] * friedelAr[i] +
                             friedelAi[i] * friedelAi[i]) /
                            2);
    if (!PeakWidth(profile, entry.twoTheta, entry.fwhm)) {
      runMessage = "Inadequote profile parameters !!!";
      return -1;
    }
  }

  const double monochromator = std::cos(2.0 * profile.monoAngle * kDegree);
  for (int i = 0; i < count; ++i) {
    Reflection& entry = entries[static_cast<std::size_t>(i)];
    double Lp = 0.0;
    if (entry.twoTheta < 180.0) {
      const double t = entry.twoTheta * kDegree;
      const double theta = t / 2.0;
      const double sinTheta = std::sin(theta);
      Lp = (1.0 + monochromator * monochromator * std::cos(t) * std::cos(t)) /
           (2.0 * sinTheta * sinTheta * std::cos(theta));
    }
    const double ratio = entry.code == 2 ? profile.ka2Ratio : 1.0;
    entry.iCalc = entry.fCalc * entry.fCalc * Lp * entry.multiplicity * ratio;
  }
  const auto strongest = [&](int first, int last) {
    double Imax = 0.0;
    for (int i = std::max(first, 1); i <= std::min(last, count); ++i) {
      Imax = std::max(Imax, entries[static_cast<std::size_t>(i - 1)].iCalc);
    }
    return Imax;
  };
  double Imax = strongest(reported.first, reported.last);
  if (!(Imax > 0.0)) Imax = strongest(1, count);
  if (!(Imax > 0.0)) {
    runMessage = "All intensities are zero !!!";
    return -1;
  }
  for (int i = 0; i < count; ++i) {
    Reflection& entry = entries[static_cast<std::size_t>(i)];
    entry.iCalc = entry.iCalc * 100.0 / Imax;
  }
  return 0;
}

}  // namespace braxel
