#pragma once

#include <vector>

#include "engine/Capacity.h"

namespace braxel {

struct Reflection {
  int h = 0;
  int k = 0;
  int l = 0;
  int multiplicity = 0;
  int code = 0;  // 1 = Ka1 entry, 2 = Ka2 entry
  // Position of the reflection in the enumeration's list, and among the reflections a run
  // computes once it has chosen them; a Ka2 copy shares its Ka1 entry's, so the phase sums and
  // scattering factors of one h k l are formed once.
  int generated = 0;
  double twoTheta = 0.0;
  double d = 0.0;
  double s2 = 0.0;  // (sin theta / lambda)^2
  double fCalc = 0.0;
  double iCalc = 0.0;
  double fwhm = 0.0;
};

// Scattering factor f[j] of every atom j at every entry i, one column of entries per atom, or
// per species where atoms share their species' column.
class ScatteringFactorTable {
 public:
  ScatteringFactorTable() = default;
  ScatteringFactorTable(int atomCount, int entryCount) { Resize(atomCount, entryCount); }
  // With sameSpeciesAs (the first atom of each atom's species), an atom reads and writes the
  // column of the first atom of its species.
  void Resize(int atomCount, int entryCount, const int* sameSpeciesAs = nullptr) {
    entries_ = static_cast<std::size_t>(entryCount);
    columnOf_.resize(static_cast<std::size_t>(atomCount));
    std::size_t columns = 0;
    for (int j = 0; j < atomCount; ++j) {
      const int first = sameSpeciesAs == nullptr ? j : sameSpeciesAs[j];
      columnOf_[static_cast<std::size_t>(j)] =
          first == j ? columns++ : columnOf_[static_cast<std::size_t>(first)];
    }
    values_.assign(columns * entries_, 0.0);
  }
  double& At(int atom, int entry) { return Column(atom)[entry]; }
  double At(int atom, int entry) const { return Column(atom)[entry]; }
  double* Column(int atom) {
    return values_.data() + columnOf_[static_cast<std::size_t>(atom)] * entries_;
  }
  const double* Column(int atom) const {
    return values_.data() + columnOf_[static_cast<std::size_t>(atom)] * entries_;
  }

 private:
  std::size_t entries_ = 0;
  std::vector<std::size_t> columnOf_;
  std::vector<double> values_;
};

}  // namespace braxel
