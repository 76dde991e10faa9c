#include "engine/Intensities.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <queue>
#include <vector>

#include "engine/Capacity.h"

namespace braxel {

namespace {

constexpr double kTwoPi = 6.2831853;

double TwoThetaOf(double d, double lambda) {
  double sinTheta = 0.5 * lambda / d;
  if (sinTheta > 1.0) sinTheta = 1.0;
  if (sinTheta < -1.0) sinTheta = -1.0;
  return 2.0 * std::asin(sinTheta) / kDegree;
}

// exp(i 2pi n u) for the copies of one atom and every index value n that the entries use,
// rows addressed through the index value.
class PhaseTable {
 public:
  void Build(const std::vector<int>& values, int lowest, int highest, int copies,
             const Position* positions, double Position::*axis) {
    copies_ = copies;
    lowest_ = lowest;
    slot_.assign(static_cast<std::size_t>(highest - lowest + 1), -1);
    int rows = 0;
    for (const int value : values) {
      int& slot = slot_[static_cast<std::size_t>(value - lowest)];
      if (slot < 0) slot = rows++;
    }
    cos_.resize(static_cast<std::size_t>(rows) * copies);
    sin_.resize(cos_.size());
    for (std::size_t v = 0; v < slot_.size(); ++v) {
      if (slot_[v] < 0) continue;
      const int n = lowest + static_cast<int>(v);
      double* c = &cos_[static_cast<std::size_t>(slot_[v]) * copies];
      double* s = &sin_[static_cast<std::size_t>(slot_[v]) * copies];
      for (int m = 0; m < copies; ++m) {
        const double phase = kTwoPi * n * (positions[m].*axis);
        c[m] = std::cos(phase);
        s[m] = std::sin(phase);
      }
    }
  }
  const double* Cos(int value) const { return &cos_[Row(value)]; }
  const double* Sin(int value) const { return &sin_[Row(value)]; }

 private:
  std::size_t Row(int value) const {
    return static_cast<std::size_t>(slot_[static_cast<std::size_t>(value - lowest_)]) * copies_;
  }
  int copies_ = 0;
  int lowest_ = 0;
  std::vector<int> slot_;
  std::vector<double> cos_;
  std::vector<double> sin_;
};

// The sums over an atom's copies of cos and sin of 2pi (h x + k y + l z) for every enumerated
// reflection, atom-major. The phase factorises over the three indices, so a term costs two
// complex products of tabulated values instead of a sine and a cosine.
void ComputePhaseSums(const std::vector<int>& hs, const std::vector<int>& ks,
                      const std::vector<int>& ls, const std::vector<int>& needed,
                      const AtomSites& atoms, int generatedCount, std::vector<double>& cosSums,
                      std::vector<double>& sinSums) {
  const auto [hLow, hHigh] = std::minmax_element(hs.begin(), hs.end());
  const auto [kLow, kHigh] = std::minmax_element(ks.begin(), ks.end());
  const auto [lLow, lHigh] = std::minmax_element(ls.begin(), ls.end());
  PhaseTable X, Y, Z;
  std::vector<double> yzCos(kMaxOperations), yzSin(kMaxOperations);
  for (int j = 0; j < atoms.count; ++j) {
    const int copies = atoms.positions->siteMultiplicity[static_cast<std::size_t>(j)];
    const Position* sites = &atoms.positions->At(j, 0);
    X.Build(hs, *hLow, *hHigh, copies, sites, &Position::x);
    Y.Build(ks, *kLow, *kHigh, copies, sites, &Position::y);
    Z.Build(ls, *lLow, *lHigh, copies, sites, &Position::z);
    double* cosOut = &cosSums[static_cast<std::size_t>(j) * generatedCount];
    double* sinOut = &sinSums[static_cast<std::size_t>(j) * generatedCount];
    int lastK = 0;
    int lastL = 0;
    bool haveYZ = false;
    for (const int g : needed) {
      const std::size_t n = static_cast<std::size_t>(g);
      // The enumeration walks h innermost, so k and l repeat and their product is reused.
      if (!haveYZ || ks[n] != lastK || ls[n] != lastL) {
        const double* yc = Y.Cos(ks[n]);
        const double* ys = Y.Sin(ks[n]);
        const double* zc = Z.Cos(ls[n]);
        const double* zs = Z.Sin(ls[n]);
        for (int m = 0; m < copies; ++m) {
          yzCos[m] = yc[m] * zc[m] - ys[m] * zs[m];
          yzSin[m] = yc[m] * zs[m] + ys[m] * zc[m];
        }
        lastK = ks[n];
        lastL = ls[n];
        haveYZ = true;
      }
      const double* xc = X.Cos(hs[n]);
      const double* xs = X.Sin(hs[n]);
      const double* pc = yzCos.data();
      const double* ps = yzSin.data();
      double c = 0.0;
      double s = 0.0;
#pragma omp simd reduction(+ : c, s)
      for (int m = 0; m < copies; ++m) {
        c += xc[m] * pc[m] - xs[m] * ps[m];
        s += xc[m] * ps[m] + xs[m] * pc[m];
      }
      cosOut[n] = c;
      sinOut[n] = s;
    }
  }
}

}  // namespace

double RoundToSevenDigits(double value) {
  char text[32];
  const auto written =
      std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 6);
  double rounded = value;
  std::from_chars(text, written.ptr, rounded);
  return rounded;
}

void AppendKa2Entries(std::span<Reflection> entries, int& count, double ka2, int atomCount,
                      const AtomScattering& atoms, ScatteringFactorTable& f) {
  const int n = count;
  for (int i = 0; i < n; ++i) {
    Reflection copy = entries[static_cast<std::size_t>(i)];
    copy.code = 2;
    copy.d = RoundToSevenDigits(copy.d);
    copy.s2 = RoundToSevenDigits(copy.s2);
    copy.twoTheta = TwoThetaOf(copy.d, ka2);
    entries[static_cast<std::size_t>(n + i)] = copy;
  }
  for (int j = 0; j < atomCount; ++j) {
    double* column = f.Column(j);
    const int first = atoms.sameSpeciesAs[static_cast<std::size_t>(j)];
    if (first != j) {
      const double* source = f.Column(first) + n;
      std::copy(source, source + n, column + n);
      continue;
    }
    for (int i = 0; i < n; ++i) column[n + i] = RoundToSevenDigits(column[i]);
  }
  count = 2 * n;
}

void SortReflections(std::span<Reflection> entries, int count, int atomCount,
                     ScatteringFactorTable& f) {
  const int n = count;
  if (n == 0) return;
  // A selection sort picks, at step i, the smallest angle among positions i.. (the lowest
  // position among equal angles) and exchanges it with position i, which moves the entry
  // there further back. The same choices are made here from a heap of (angle, position), with
  // a moved entry pushed again at its new position, in n log n instead of n^2 steps.
  struct Candidate {
    double twoTheta;
    int position;
    int entry;
    bool operator>(const Candidate& other) const {
      return twoTheta != other.twoTheta ? twoTheta > other.twoTheta : position > other.position;
    }
  };
  std::vector<Candidate> storage;
  storage.reserve(static_cast<std::size_t>(2 * n));
  std::priority_queue<Candidate, std::vector<Candidate>, std::greater<>> heap(std::greater<>{},
                                                                              std::move(storage));
  std::vector<int> positionOf(static_cast<std::size_t>(n));
  std::vector<int> entryAt(static_cast<std::size_t>(n));
  std::vector<bool> placed(static_cast<std::size_t>(n), false);
  for (int e = 0; e < n; ++e) {
    positionOf[e] = e;
    entryAt[e] = e;
    heap.push({entries[static_cast<std::size_t>(e)].twoTheta, e, e});
  }
  for (int i = 0; i < n; ++i) {
    Candidate best = heap.top();
    heap.pop();
    while (placed[best.entry] || positionOf[best.entry] != best.position) {
      best = heap.top();
      heap.pop();
    }
    const int moved = entryAt[i];
    entryAt[best.position] = moved;
    positionOf[moved] = best.position;
    entryAt[i] = best.entry;
    positionOf[best.entry] = i;
    placed[best.entry] = true;
    if (moved != best.entry) {
      heap.push({entries[static_cast<std::size_t>(moved)].twoTheta, best.position, moved});
    }
  }

  std::vector<Reflection> sorted(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) sorted[i] = entries[static_cast<std::size_t>(entryAt[i])];
  std::copy(sorted.begin(), sorted.end(), entries.begin());
  std::vector<double> column(static_cast<std::size_t>(n));
  for (int j = 0; j < atomCount; ++j) {
    double* values = f.Column(j);
    std::copy(values, values + n, column.begin());
    for (int i = 0; i < n; ++i) values[i] = column[entryAt[i]];
  }
}

int ComputeIntensities(std::span<Reflection> entries, int count, int generatedCount,
                       const ScatteringFactorTable& f, const AtomSites& atoms,
                       const ProfileParameters& profile, std::string& runMessage) {
  if (count == 0) return 0;
  // The h k l of every enumerated reflection that an entry still stems from, in the order of
  // the enumeration.
  std::vector<int> hs(static_cast<std::size_t>(generatedCount)), ks(hs.size()), ls(hs.size());
  std::vector<bool> used(hs.size(), false);
  for (int i = 0; i < count; ++i) {
    const Reflection& entry = entries[static_cast<std::size_t>(i)];
    const std::size_t g = static_cast<std::size_t>(entry.generated);
    hs[g] = entry.h;
    ks[g] = entry.k;
    ls[g] = entry.l;
    used[g] = true;
  }
  std::vector<int> needed;
  needed.reserve(hs.size());
  for (std::size_t g = 0; g < used.size(); ++g) {
    if (used[g]) needed.push_back(static_cast<int>(g));
  }
  std::vector<double> cosSums(static_cast<std::size_t>(atoms.count) * generatedCount);
  std::vector<double> sinSums(cosSums.size());
  ComputePhaseSums(hs, ks, ls, needed, atoms, generatedCount, cosSums, sinSums);

  for (int i = 0; i < count; ++i) {
    Reflection& entry = entries[static_cast<std::size_t>(i)];
    // F(h k l) and F(-h -k -l): the cosine sums are even in the indices, the sine sums odd.
    double Ar = 0.0;
    double Ai = 0.0;
    double friedelAr = 0.0;
    double friedelAi = 0.0;
    for (int j = 0; j < atoms.count; ++j) {
      const std::size_t sum = static_cast<std::size_t>(j) * generatedCount + entry.generated;
      const double C = cosSums[sum];
      const double S = sinSums[sum];
      const double T = std::exp(-atoms.B[j] * entry.s2);
      const double fj = f.At(j, i);
      const double deltaf2 = atoms.scattering->Deltaf2[static_cast<std::size_t>(j)];
      const double weight = T * atoms.g[j];
      Ar += weight * (fj * C - deltaf2 * S);
      Ai += weight * (fj * S + deltaf2 * C);
      friedelAr += weight * (fj * C + deltaf2 * S);
      friedelAi += weight * (deltaf2 * C - fj * S);
    }
    // A form of the Laue class holds h k l and its Friedel mate, which differ where the
    // anomalous terms break Friedel's law: the entry carries the root of their mean square.
    entry.fCalc =
        std::sqrt((Ar * Ar + Ai * Ai + friedelAr * friedelAr + friedelAi * friedelAi) / 2);
    const double theta = entry.twoTheta * kDegree / 2.0;
    const double tangent = std::tan(theta);
    const double H2 = profile.U * tangent * tangent + profile.V * tangent + profile.W;
    if (H2 < 0.0) {
      runMessage = "Inadequote profile parameters !!!";
      return -1;
    }
    entry.fwhm = std::sqrt(H2);
  }

  const double monochromator = std::cos(2.0 * profile.monoAngle * kDegree);
  double Imax = 0.0;
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
    if (i == 0 || entry.iCalc >= Imax) Imax = entry.iCalc;
  }
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
